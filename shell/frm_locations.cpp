// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/frm_locations.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/window_style.h"

namespace lumvane {
namespace {

// A row's drive letter (one character) or volume label, and whether it is a drive.
constexpr int kKeyRole = Qt::UserRole;
constexpr int kDriveRole = Qt::UserRole + 1;

}  // namespace

FrmLocations::FrmLocations(QWidget* owner) : QDialog(owner) {
  const Status loaded = SavedLocations::Load(&saved_);
  setObjectName("frmLocations");
  setWindowTitle("Locations");
  setFont(WindowFont());
  resize(520, 300);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(
      "Catalogs made on Windows name pictures on drives (D:) or volumes (by their label).\n"
      "Runs read each from the folder of this machine saved for it here.",
      this));
  if (!loaded.ok()) {  // said here, and again by any save, which is refused
    auto* problem = new QLabel(QString::fromStdString(loaded.message()), this);
    problem->setObjectName("LocationsProblem");
    problem->setWordWrap(true);
    layout->addWidget(problem);
  }
  table_ = RowTable("Locations", {"Drive or volume", "Folder"}, this);
  layout->addWidget(table_);
  auto* buttons = new QHBoxLayout;
  const auto button = [this, buttons](const char* name, const QString& text, auto slot) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    buttons->addWidget(b);
    connect(b, &QPushButton::clicked, this, slot);
  };
  button("AddDrive", "Add drive...", [this] { Add(true); });
  button("AddVolume", "Add volume...", [this] { Add(false); });
  button("ChangeFolder", "Change folder...", [this] { ChangeFolder(); });
  button("Remove", "Remove", [this] { Remove(); });
  buttons->addStretch();
  button("Close", "Close", [this] { accept(); });
  layout->addLayout(buttons);
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this] { ChangeFolder(); });
  Fill();
}

void FrmLocations::Fill() {
  table_->setRowCount(0);
  const auto row = [this](bool drive, const QString& what, const QString& key,
                          const std::string& folder) {
    const int at = table_->rowCount();
    table_->insertRow(at);
    auto* name = new QTableWidgetItem(what);
    name->setData(kKeyRole, key);
    name->setData(kDriveRole, drive);
    table_->setItem(at, 0, name);
    const QString path = QString::fromStdString(folder);
    auto* place = new QTableWidgetItem(QDir(path).exists() ? path : path + "  (not there)");
    place->setToolTip(path);
    table_->setItem(at, 1, place);
  };
  for (const auto& [letter, folder] : saved_.drives) {
    row(true, QString("drive %1:").arg(letter), QString(letter), folder);
  }
  for (const auto& [label, folder] : saved_.volumes) {
    row(false, "volume " + QString::fromStdString(label), QString::fromStdString(label), folder);
  }
  table_->resizeColumnToContents(0);
}

QString FrmLocations::AskFolder(const QString& what, const QString& start) {
  QFileDialog dialog(this, "Folder of " + what, start);
  dialog.setObjectName("LocationFolder");
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

void FrmLocations::Add(bool drive) {
  bool ok = false;
  QString key = QInputDialog::getText(
      this, "Locations", drive ? "Drive letter (as in D:):" : "Volume label:", QLineEdit::Normal,
      {}, &ok);
  if (drive) key = key.trimmed().remove(':').toUpper();
  if (!ok || key.isEmpty()) return;
  if (drive && (key.size() != 1 || key[0] < 'A' || key[0] > 'Z')) {
    QMessageBox::information(this, "Lumvane", "A drive is one letter, A to Z.");
    return;
  }
  const QString what = drive ? "drive " + key + ":" : "volume " + key;
  SetFolder(drive, key, AskFolder(what, QDir::homePath()));
}

void FrmLocations::ChangeFolder() {
  const int at = table_->currentRow();
  if (at < 0) return;
  const QTableWidgetItem* name = table_->item(at, 0);
  SetFolder(name->data(kDriveRole).toBool(), name->data(kKeyRole).toString(),
            AskFolder(name->text(), table_->item(at, 1)->toolTip()));
}

void FrmLocations::SetFolder(bool drive, const QString& key, const QString& folder) {
  if (folder.isEmpty()) return;
  Save([&](SavedLocations& changed) {
    if (drive) changed.drives[key[0].toLatin1()] = folder.toStdString();
    if (!drive) changed.volumes[key.toStdString()] = folder.toStdString();
    return true;
  });
}

void FrmLocations::Remove() {
  const int at = table_->currentRow();
  if (at < 0) return;
  const QTableWidgetItem* name = table_->item(at, 0);
  const QString key = name->data(kKeyRole).toString();
  const bool drive = name->data(kDriveRole).toBool();
  Save([&](SavedLocations& changed) {
    if (drive) changed.drives.erase(key[0].toLatin1());
    if (!drive) changed.volumes.erase(key.toStdString());
    return true;
  });
}

bool FrmLocations::Save(const std::function<bool(SavedLocations&)>& change) {
  if (const Status saved = SavedLocations::Change(change, &saved_); !saved.ok()) {
    QMessageBox::warning(this, "Lumvane", QString::fromStdString(saved.message()));
    return false;
  }
  Fill();
  return true;
}

}  // namespace lumvane
