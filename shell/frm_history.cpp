// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/frm_history.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "page/archive_history.h"
#include "page/archive_restore.h"
#include "platform/paths.h"
#include "shell/window_style.h"

namespace lumvane {

FrmHistory::FrmHistory(std::string dest, QWidget* owner) : QDialog(owner), dest_(std::move(dest)) {
  setObjectName("frmHistory");
  setWindowTitle("History");
  setFont(WindowFont());
  resize(520, 300);
  auto* layout = new QVBoxLayout(this);
  intro_ = new QLabel(this);
  intro_->setWordWrap(true);
  layout->addWidget(intro_);
  table_ = RowTable("Versions", {"Version", "Replaced", "By", "Pictures"}, this);
  layout->addWidget(table_);
  auto* buttons = new QHBoxLayout;
  auto* restore = new QPushButton("&Restore", this);
  restore->setObjectName("Restore");
  restore->setAutoDefault(false);
  auto* close = new QPushButton("&Close", this);
  close->setObjectName("Close");
  buttons->addWidget(restore);
  buttons->addStretch();
  buttons->addWidget(close);
  layout->addLayout(buttons);
  connect(restore, &QPushButton::clicked, this, &FrmHistory::RestoreChosen);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  Fill();
}

void FrmHistory::Fill() {
  table_->setRowCount(0);
  Status problem;
  const std::vector<Generation> generations = ListGenerations(dest_, &problem);
  intro_->setText(QString::fromStdString(
      problem.ok() ? "Earlier versions of " + JoinPath(dest_, "archive.htm") +
                         ", each kept when a run, a master, an edit or a restore replaced it."
                   : problem.message()));
  for (const Generation& g : generations) {
    const int at = table_->rowCount();
    table_->insertRow(at);
    const QString cells[] = {QString::number(g.number), QString::fromStdString(g.replaced),
                             QString::fromStdString(g.by), QString::number(g.pictures)};
    for (int column = 0; column < 4; ++column) {
      table_->setItem(at, column, new QTableWidgetItem(cells[column]));
    }
  }
  table_->resizeColumnsToContents();
  if (table_->rowCount() > 0) table_->selectRow(0);
}

void FrmHistory::RestoreChosen() {
  const int at = table_->currentRow();
  if (at < 0) return;
  if (Restore(this, dest_, table_->item(at, 0)->text().toInt())) Fill();
}

bool FrmHistory::Restore(QWidget* parent, const std::string& dest, int number) {
  Restored restored;
  const Status status = RestoreGeneration(dest, number, &restored);
  const std::string text = status.ok() ? RestoreSummary(restored, dest) : status.message();
  QMessageBox box(QMessageBox::NoIcon, "Lumvane", QString::fromStdString(text), QMessageBox::Ok,
                  parent);
  box.setObjectName("Restored");
  box.exec();
  return status.ok();
}

}  // namespace lumvane
