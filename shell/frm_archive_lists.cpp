// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's habits beyond its specified controls: folders and catalogs dropped onto
// the lists or chosen through their context menus, and the last session remembered.
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QUrl>
#include <algorithm>
#include <filesystem>

#include "platform/paths.h"
#include "run/catalog_types.h"
#include "run/copy_survey.h"
#include "settings/settings_file.h"
#include "shell/frm_archive.h"
#include "shell/frm_copy.h"
#include "shell/frm_history.h"

namespace lumvane {

std::pair<DriveList*, DirectoryList*> FrmArchive::ListsOf(Group group) const {
  switch (group) {
    case Group::kCatalog:
      return {cat_drive_, cat_dir_};
    case Group::kSource:
      return {src_drive_, src_dir_};
    case Group::kDest:
      break;
  }
  return {dest_drive_, dest_dir_};
}

bool FrmArchive::ShowFolder(Group group, const QString& folder) {
  if (!QFileInfo(folder).isDir()) return false;
  const QString path = QDir(folder).absolutePath();
  const auto [drives, folders] = ListsOf(group);
  drives->ShowVolumeOf(path);
  const Volume* volume = VolumeHolding(drives->volumes(), path);
  folders->SetPath(volume != nullptr ? QString::fromStdString(volume->mount_point) : "/", path);
  return true;
}

bool FrmArchive::ShowCatalogFile(const QString& path) {
  const QFileInfo file(path);
  if (!file.isFile() || !ShowFolder(Group::kCatalog, file.absolutePath())) return false;
  cat_file_->SetPath(file.absolutePath());  // the list is filled now, not when the model has read
  auto found = cat_file_->findItems(file.fileName(), Qt::MatchExactly);
  if (found.isEmpty() && cat_filter_->currentIndex() == 0) {  // a file of another type: all files
    cat_filter_->setCurrentIndex(1);
    found = cat_file_->findItems(file.fileName(), Qt::MatchExactly);
  }
  if (found.isEmpty()) return false;
  cat_file_->setCurrentItem(found.front());
  set_status(CatalogTypeCaption(file.fileName().toStdString()));
  return true;
}

void FrmArchive::AddPathLine(Group group, QLineEdit* line, DirectoryList* folders) {
  line->setToolTip("The folder's full path; type or paste another and press Enter");
  line->setText(folders->path());
  connect(folders, &DirectoryList::pathChanged, line, &QLineEdit::setText);
  connect(line, &QLineEdit::returnPressed, this,
          [this, group, line] { GoToTypedPath(group, line); });
}

void FrmArchive::GoToTypedPath(Group group, QLineEdit* line) {
  const QString open = ListsOf(group).second->path();
  QString typed = line->text().trimmed();
  if (typed == "~" || typed.startsWith("~/")) typed.replace(0, 1, QDir::homePath());
  const QString path = QDir::cleanPath(QDir(open).absoluteFilePath(typed));
  const QFileInfo info(path);
  if (group == Group::kCatalog && info.isFile()) {
    ShowCatalogFile(path);
  } else if (info.isDir()) {
    ShowFolder(group, path);
  } else if (info.exists()) {
    ShowMessage(path.toStdString() + " is not a folder.");
  } else {
    QMessageBox box(QMessageBox::Question, "Lumvane", "There is no folder " + path + ".\nMake it?",
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName("MakeFolder");
    if (box.exec() == QMessageBox::Yes) {
      std::error_code error;
      std::filesystem::create_directories(path.toStdString(), error);
      if (error) {
        ShowMessage("Cannot make the folder " + path.toStdString() + ": " + error.message() + ".");
      } else {
        ShowFolder(group, path);
      }
    }
  }
  line->setText(ListsOf(group).second->path());  // the open folder, whether it changed or not
}

void FrmArchive::AddListHabits(Group group, std::initializer_list<QWidget*> lists) {
  for (QWidget* list : lists) {
    auto* view = qobject_cast<QAbstractItemView*>(list);
    QWidget* target = view != nullptr ? view->viewport() : list;
    target->setAcceptDrops(true);
    target->installEventFilter(this);
    drop_targets_[target] = group;
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this,
            [this, group, list](const QPoint& at) { ShowListMenu(group, list, at); });
  }
}

bool FrmArchive::eventFilter(QObject* watched, QEvent* event) {
  const auto target = drop_targets_.find(watched);
  if (target == drop_targets_.end() || !static_cast<QWidget*>(watched)->isEnabled()) {
    return QWidget::eventFilter(watched, event);
  }
  if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
    auto* drag = static_cast<QDropEvent*>(event);
    if (!drag->mimeData()->hasUrls() || !drag->mimeData()->urls().front().isLocalFile())
      return false;
    drag->acceptProposedAction();
    return true;
  }
  if (event->type() != QEvent::Drop) return QWidget::eventFilter(watched, event);
  auto* drop = static_cast<QDropEvent*>(event);
  const QString path = drop->mimeData()->urls().value(0).toLocalFile();
  const QFileInfo dropped(path);
  bool shown = false;
  if (dropped.isDir()) {
    shown = ShowFolder(target->second, path);
  } else if (target->second == Group::kCatalog) {
    shown = ShowCatalogFile(path);
  } else {
    shown = ShowFolder(target->second, dropped.absolutePath());  // a file: its folder
  }
  if (shown) drop->acceptProposedAction();
  return true;
}

void FrmArchive::ShowListMenu(Group group, QWidget* list, const QPoint& at) {
  if (!list->isEnabled()) return;
  QMenu menu(this);
  const bool catalog = group == Group::kCatalog;
  menu.addAction(catalog ? "Go to file..." : "Go to folder...", this, [this, group, catalog] {
    QFileDialog dialog(this, catalog ? "Go to file" : "Go to folder",
                       ListsOf(group).second->path());
    dialog.setObjectName("GoTo");
    dialog.setOption(QFileDialog::DontUseNativeDialog);  // takes a typed or pasted path too
    dialog.setFileMode(catalog ? QFileDialog::ExistingFile : QFileDialog::Directory);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString chosen = dialog.selectedFiles().front();
    if (catalog) ShowCatalogFile(chosen);
    if (!catalog) ShowFolder(group, chosen);
  });
  if (group == Group::kDest)
    menu.addAction("New folder...", this, &FrmArchive::NewDestinationFolder);
  // A menu asked for from the keyboard opens at the current item, which may lie outside the
  // visible part of the list: kept within it.
  auto* view = qobject_cast<QAbstractItemView*>(list);
  QWidget* area = view != nullptr ? view->viewport() : list;
  const QPoint inside(std::clamp(at.x(), 0, area->width() - 1),
                      std::clamp(at.y(), 0, area->height() - 1));
  menu.exec(area->mapToGlobal(inside));
}

void FrmArchive::NewDestinationFolder() {
  bool ok = false;
  const QString name = QInputDialog::getText(
      this, "New folder", "Name of the new folder in " + QString::fromStdString(dest_dir()) + ":",
      QLineEdit::Normal, {}, &ok);
  if (!ok || name.trimmed().isEmpty()) return;
  QDir parent(QString::fromStdString(dest_dir()));
  if (name.contains('/') || !parent.mkdir(name.trimmed())) {
    ShowMessage("Cannot make the folder " + name.toStdString() + " in " + dest_dir() + ".");
    return;
  }
  ShowFolder(Group::kDest, parent.filePath(name.trimmed()));
}

void FrmArchive::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction("Locations...", this, &FrmArchive::ShowLocations);
  menu.addAction("History...", this, [this] {
    FrmHistory dialog(dest_dir(), this);
    dialog.exec();
  });
  menu.addAction("Open archive", this, &FrmArchive::OpenArchive);
  menu.exec(event->globalPos());
}

namespace {

// The settings key of the copy answer last given for `dest`: its path, escaped, since the
// settings take a slash for a group.
QString CopyAnswerKey(const std::string& dest) {
  return "copy/" + QString::fromLatin1(QUrl::toPercentEncoding(QString::fromStdString(dest)));
}

}  // namespace

// The answer last given for this destination comes first (the rename answer for a new one);
// what each Yes copies is counted first, Stop ending the count and the run.
CopyMode FrmArchive::AskCopyOriginals() {
  std::unique_ptr<QSettings> settings;
  const bool readable = OpenSettings(/*for_writing=*/false, &settings).ok();
  const int last = readable ? settings->value(CopyAnswerKey(dest_dir()), 2).toInt() : 2;
  CopySurvey survey;
  if (!subfolders_->isChecked() || mode() != Mode::kSourceScan) {
    set_go_state(GoState::kRunning);
    set_status("Counting the originals...");
    survey = SurveyCopies(*this, environment_);
    const bool stopped = StopRequested();
    set_go_state(GoState::kIdle);
    set_status("");
    if (stopped) return CopyMode::kCancelled;
  }
  const int answer = FrmCopy::Ask(this, last >= 0 && last <= 2 ? last : 2, &survey);
  if (answer >= 0 && OpenSettings(/*for_writing=*/true, &settings).ok()) {
    settings->setValue(CopyAnswerKey(dest_dir()), answer);
  }
  return static_cast<CopyMode>(answer);
}

// A settings file that cannot be read as one is neither read nor replaced: the window starts
// with its defaults, and the saved locations report it.
void FrmArchive::SaveSession() const {
  std::unique_ptr<QSettings> settings;
  if (!OpenSettings(/*for_writing=*/true, &settings).ok()) return;
  settings->beginGroup("window");
  settings->setValue("mode", static_cast<int>(mode()));
  settings->setValue(
      "catalog",
      QString::fromStdString(catalog_file().empty() ? catalog_dir()
                                                    : JoinPath(catalog_dir(), catalog_file())));
  settings->setValue("source", QString::fromStdString(source_dir()));
  settings->setValue("destination", QString::fromStdString(dest_dir()));
  settings->setValue("position", pos());
  settings->endGroup();
}

void FrmArchive::RestoreSession() {
  std::unique_ptr<QSettings> settings;
  if (!OpenSettings(/*for_writing=*/false, &settings).ok()) return;
  settings->beginGroup("window");
  const int mode = settings->value("mode", 0).toInt();
  if (mode >= 1 && mode <= 5) {
    options_[mode - 1]->setChecked(true);
    ApplyMode(static_cast<Mode>(mode));
  }
  const QString catalog = settings->value("catalog").toString();
  if (!ShowCatalogFile(catalog)) ShowFolder(Group::kCatalog, catalog);
  ShowFolder(Group::kSource, settings->value("source").toString());
  ShowFolder(Group::kDest, settings->value("destination").toString());
  const QPoint position = settings->value("position", pos()).toPoint();
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen->availableGeometry().contains(position)) move(position);
  }
  set_status("");
}

}  // namespace lumvane
