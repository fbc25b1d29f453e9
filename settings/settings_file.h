// Lumvane's settings file: lumvane.ini in the user's configuration folder ($XDG_CONFIG_HOME/
// lumvane, else ~/.config/lumvane), one file for the window and the command line.
#ifndef LUMVANE_SETTINGS_SETTINGS_FILE_H_
#define LUMVANE_SETTINGS_SETTINGS_FILE_H_

#include <QSettings>
#include <memory>

namespace lumvane {

inline std::unique_ptr<QSettings> OpenSettings() {
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "lumvane",
                                     "lumvane");
}

}  // namespace lumvane

#endif  // LUMVANE_SETTINGS_SETTINGS_FILE_H_
