// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/frm_copy.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "shell/window_style.h"

namespace lumvane {
FrmCopy::FrmCopy(QWidget* owner, int start, const CopySurvey* survey)
    : QDialog(owner), outcome_(-1) {
  setObjectName("frmCopy");
  setWindowTitle("Copy Originals");
  setFont(WindowFont());
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(3945 / 15, 2400 / 15);
  auto* frame = Placed(new QFrame(this), "Frame1", Twips(120, 120, 3735, 1680));
  // As wide as the frame, which leaves room for the question mark in our font.
  Placed(new QLabel("Copy original image files to destination directory?", frame), "Label1",
         Twips(120, 0, 3615, 255));
  no_ = Placed(new QRadioButton("&No", frame), "Option0", Twips(200, 360, 3255, 255));
  keep_names_ = Placed(new QRadioButton("Yes, &Retain original file names", frame), "Option1",
                       Twips(200, 640, 3255, 255));
  rename_ = Placed(new QRadioButton("Yes, R&ename files to unique 8.3 names", frame), "Option2",
                   Twips(200, 1160, 3375, 255));
  const bool known = survey != nullptr && survey->complete;
  Placed(
      new QLabel(known ? QString::fromStdString(CopyFiguresText(survey->keep_names)) : "", frame),
      "KeepNamesCopies", Twips(480, 895, 3255, 225));
  Placed(new QLabel(known ? QString::fromStdString(CopyFiguresText(survey->rename)) : "", frame),
         "RenameCopies", Twips(480, 1415, 3255, 225));
  QRadioButton* chosen = start == 0 ? no_ : start == 1 ? keep_names_ : rename_;
  chosen->setChecked(true);
  chosen->setFocus();  // arrow keys then choose from the chosen answer, as in a radio group
  auto* ok = Placed(new QPushButton("OK", this), "OK", Twips(960, 1920, 975, 375));
  ok->setDefault(true);
  auto* cancel = Placed(new QPushButton("Cancel", this), "Cancel", Twips(2040, 1920, 975, 375));
  setTabOrder(no_, keep_names_);
  setTabOrder(keep_names_, rename_);
  setTabOrder(rename_, ok);
  setTabOrder(ok, cancel);
  connect(ok, &QPushButton::clicked, this, [this] {
    outcome_ = Answer();
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, [this] {
    outcome_ = -1;
    reject();
  });
}

int FrmCopy::Answer() const {
  if (rename_->isChecked()) return 2;
  if (keep_names_->isChecked()) return 1;
  return 0;
}

void FrmCopy::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    outcome_ = -1;
    reject();
    return;
  }
  QDialog::keyPressEvent(event);
}

int FrmCopy::Ask(QWidget* owner, int start, const CopySurvey* survey) {
  FrmCopy dialog(owner, start, survey);
  dialog.exec();
  return dialog.outcome_;
}

}  // namespace lumvane
