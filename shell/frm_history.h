// SPDX-License-Identifier: GPL-3.0-or-later
// The History dialog: the earlier versions of an archive that its history keeps, newest
// first, and Restore for the one chosen (which keeps the archive it replaces as a version of
// its own).
#ifndef LUMVANE_SHELL_FRM_HISTORY_H_
#define LUMVANE_SHELL_FRM_HISTORY_H_

#include <QDialog>
#include <QLabel>
#include <QTableWidget>
#include <string>

namespace lumvane {

class FrmHistory : public QDialog {
  Q_OBJECT
 public:
  FrmHistory(std::string dest, QWidget* owner);

  // Brings back version `number` of the archive in `dest` and says what became of it in a
  // message over `parent`. True when it was restored.
  static bool Restore(QWidget* parent, const std::string& dest, int number);

 private:
  void Fill();
  void RestoreChosen();

  std::string dest_;
  QLabel* intro_;  // what the list is, or why it cannot be read
  QTableWidget* table_;
};

}  // namespace lumvane

#endif  // LUMVANE_SHELL_FRM_HISTORY_H_
