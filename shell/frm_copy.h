// SPDX-License-Identifier: GPL-3.0-or-later
// The Copy Originals question: no copy, copies under their own names, or under unique names.
#ifndef LUMVANE_SHELL_FRM_COPY_H_
#define LUMVANE_SHELL_FRM_COPY_H_

#include <QDialog>
#include <QRadioButton>

namespace lumvane {

class FrmCopy : public QDialog {
  Q_OBJECT
 public:
  explicit FrmCopy(QWidget* owner);

  // Shows the question modally; returns 0, 1 or 2 for OK, and -1 for Cancel or when the
  // dialog was closed another way (its close box): a run never starts without an answer.
  static int Ask(QWidget* owner);

 protected:
  // Escape is Cancel; Enter is OK (the default button).
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int Answer() const;

  QRadioButton* no_;
  QRadioButton* keep_names_;
  QRadioButton* rename_;
  int outcome_;
};

}  // namespace lumvane

#endif  // LUMVANE_SHELL_FRM_COPY_H_
