// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/locate_missing.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "locations/locate_pictures.h"
#include "locations/saved_locations.h"
#include "platform/plural.h"
#include "run/run_summary.h"

namespace lumvane {
namespace {

// The folder the user says holds `place`'s picture; "" when cancelled.
QString AskWhereItIs(QWidget* parent, const CatalogPlace& place, const std::vector<Volume>& volumes,
                     const QString& start) {
  const QString windows_path = QString::fromStdString(place.Text());
  QFileDialog dialog(parent, "Where is " + windows_path + " now?");
  dialog.setObjectName("LocateDialog");
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOptions(QFileDialog::DontUseNativeDialog);  // the photos show which folder it is
  dialog.setLabelText(QFileDialog::FileName, "Folder:");
  dialog.setLabelText(QFileDialog::Accept, "Here");
  QList<QUrl> places;
  for (const Volume& volume : volumes) {
    places.append(QUrl::fromLocalFile(QString::fromStdString(volume.mount_point)));
  }
  dialog.setSidebarUrls(places);
  dialog.setDirectory(start);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

bool Ask(QWidget* parent, const QString& name, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, "Lumvane", text, QMessageBox::Yes | QMessageBox::No, parent);
  box.setObjectName(name);
  return box.exec() == QMessageBox::Yes;
}

void Tell(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, "Lumvane", text, QMessageBox::Ok, parent);
  box.exec();
}

QString Pictures(int count) {
  return QString::fromStdString(CountOf(count, "picture"));
}

}  // namespace

bool LocateMissingPictures(QWidget* parent, const RunState& state,
                           const std::vector<Volume>& volumes, const QString& catalog_folder) {
  const auto groups = MissingByPlace(state);
  if (groups.empty()) return false;
  const CatalogPlace place = *groups.front().front()->place;
  std::vector<CatalogPlace> missing;
  for (const PassedOverPicture* picture : groups.front()) missing.push_back(*picture->place);
  const QString name = QString::fromStdString(place.Name());
  Located located;
  for (QString chosen = catalog_folder;;) {
    chosen = AskWhereItIs(parent, place, volumes, chosen.isEmpty() ? QDir::homePath() : chosen);
    if (chosen.isEmpty()) return false;
    if (QFileInfo(chosen).isFile())
      chosen = QFileInfo(chosen).absolutePath();  // a photo: its folder
    const Status status = LocateFrom(place, chosen.toStdString(), missing, &located);
    if (status.ok()) break;
    Tell(parent, QString::fromStdString(status.message()));
  }
  const QString root = QString::fromStdString(located.root);
  if (located.found == 1 && located.missing > 1 &&
      !Ask(parent, "OnlyOneFound",
           QString("Only %1 is below %2: none of the other %3 missing pictures of %4 is.\n"
                   "Read %4 from %2 all the same?")
               .arg(QString::fromStdString(place.Text()), root)
               .arg(located.missing - 1)
               .arg(name))) {
    return false;
  }
  const Status written = SavedLocations::Change([&](SavedLocations& saved) {
    if (place.kind == CatalogPlace::Kind::kDrive) saved.drives[place.key[0]] = located.root;
    if (place.kind == CatalogPlace::Kind::kVolume) saved.volumes[place.key] = located.root;
    return true;
  });
  if (!written.ok()) {
    Tell(parent, QString::fromStdString(written.message()));
    return false;
  }
  return Ask(parent, "RunAgain",
             QString("%1 is read from %2 now, which holds %3 of its %4 missing.\nRun again?")
                 .arg(name, root, QString::number(located.found), Pictures(located.missing)));
}

}  // namespace lumvane
