// SPDX-License-Identifier: GPL-3.0-or-later
// Lumvane's settings file: lumvane.ini in the user's configuration folder ($XDG_CONFIG_HOME/
// lumvane, else ~/.config/lumvane), one file for the window and the command line. It is looked
// at before it is opened, so that no content or kind of file there can make a run hang, take
// more than a moment, or write through a link to a file that is not the user's.
#ifndef LUMVANE_SETTINGS_SETTINGS_FILE_H_
#define LUMVANE_SETTINGS_SETTINGS_FILE_H_

#include <QSettings>
#include <memory>
#include <string>

#include "platform/status.h"

namespace lumvane {

// A settings file larger than this is no settings file of ours.
inline constexpr long long kLargestSettingsFile = 1 << 20;

// The path of the settings file, whether it exists or not.
std::string SettingsFilePath();

// Opens the settings into `settings` when the file is missing, or is a regular file (or a link
// to one) of at most kLargestSettingsFile that may be read and that reads without a format
// error. With `for_writing`, a link must lead to a regular file of this user's. Errors name
// the file and the reason, and leave `settings` empty. Never blocks.
Status OpenSettings(bool for_writing, std::unique_ptr<QSettings>* settings);

}  // namespace lumvane

#endif  // LUMVANE_SETTINGS_SETTINGS_FILE_H_
