// SPDX-License-Identifier: GPL-3.0-or-later
// The Copy Originals question: no copy, copies under their own names, or under unique names;
// under each Yes, what it copies.
#ifndef LUMVANE_SHELL_FRM_COPY_H_
#define LUMVANE_SHELL_FRM_COPY_H_

#include <QDialog>
#include <QLabel>
#include <QRadioButton>

#include "run/copy_survey.h"

namespace lumvane {

class FrmCopy : public QDialog {
  Q_OBJECT
 public:
  // `start`: the answer chosen at first (0, 1 or 2); `survey`: what each Yes copies, when known.
  FrmCopy(QWidget* owner, int start, const CopySurvey* survey);

  // Shows the question modally; returns 0, 1 or 2 for OK, and -1 for Cancel or when the
  // dialog was closed another way (its close box): a run never starts without an answer.
  static int Ask(QWidget* owner, int start = 2, const CopySurvey* survey = nullptr);

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
