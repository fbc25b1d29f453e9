// SPDX-License-Identifier: GPL-3.0-or-later
// The Locations dialog: the saved drives and volumes of catalogs made on Windows, each with the
// folder of this machine that holds it, listed, added, changed and removed. Every change is
// saved at once, for the window and the command line alike.
#ifndef LUMVANE_SHELL_FRM_LOCATIONS_H_
#define LUMVANE_SHELL_FRM_LOCATIONS_H_

#include <QDialog>
#include <QTableWidget>

#include "locations/saved_locations.h"

namespace lumvane {

class FrmLocations : public QDialog {
  Q_OBJECT
 public:
  explicit FrmLocations(QWidget* owner);

 private:
  void Fill();
  void Add(bool drive);
  void ChangeFolder();
  // Saves `folder` ("" does nothing) for the drive letter or volume label `key`.
  void SetFolder(bool drive, const QString& key, const QString& folder);
  void Remove();
  // Saves `change` of what is saved now (another program may have saved since) and shows it;
  // shows why when it cannot be saved. True when saved.
  bool Save(const std::function<bool(SavedLocations&)>& change);
  // The folder the user picks for `what` ("drive D:"), starting at `start`; "" when cancelled.
  QString AskFolder(const QString& what, const QString& start);

  SavedLocations saved_;
  QTableWidget* table_;
};

}  // namespace lumvane

#endif  // LUMVANE_SHELL_FRM_LOCATIONS_H_
