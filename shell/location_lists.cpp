// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/location_lists.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTimer>

namespace lumvane {

const Volume* VolumeHolding(const std::vector<Volume>& volumes, const QString& path) {
  const Volume* best = nullptr;
  for (const Volume& volume : volumes) {
    const QString mount = QString::fromStdString(volume.mount_point);
    const bool holds = path == mount || mount == "/" || path.startsWith(mount + "/");
    if (holds && (best == nullptr || volume.mount_point.size() > best->mount_point.size())) {
      best = &volume;
    }
  }
  return best;
}

DriveList::DriveList(VolumeTable read_volumes, std::vector<Volume> volumes, QWidget* parent)
    : QComboBox(parent), read_volumes_(std::move(read_volumes)) {
  Show(std::move(volumes));
  connect(this, &QComboBox::activated, this, [this](int index) {
    const int previous = current_;
    current_ = index;
    if (index != previous) emit driveChanged(itemData(index).toString(), previous);
  });
}

void DriveList::Show(std::vector<Volume> volumes) {
  const QString chosen = currentIndex() >= 0 ? itemData(currentIndex()).toString() : QString();
  volumes_ = std::move(volumes);
  clear();
  for (const Volume& volume : volumes_) {
    const QString mount = QString::fromStdString(volume.mount_point);
    const QString label = QString::fromStdString(volume.label);
    addItem(label.isEmpty() ? mount : label + "  (" + mount + ")", mount);
    setItemData(count() - 1, mount, Qt::ToolTipRole);
  }
  const int index = findData(chosen);
  current_ = index >= 0 ? index : 0;
  setCurrentIndex(current_);
}

void DriveList::showPopup() {
  Show(read_volumes_());
  QComboBox::showPopup();
}

void DriveList::ShowVolumeOf(const QString& path) {
  const Volume* volume = VolumeHolding(volumes_, path);
  if (volume == nullptr) return;
  const int index = findData(QString::fromStdString(volume->mount_point));
  if (index < 0) return;
  current_ = index;
  setCurrentIndex(index);
}

QVariant FullPathTips::data(const QModelIndex& index, int role) const {
  if (role != Qt::ToolTipRole) return QIdentityProxyModel::data(index, role);
  const auto* files = static_cast<const QFileSystemModel*>(sourceModel());
  return files->filePath(mapToSource(index));
}

DirectoryList::DirectoryList(QWidget* parent) : QTreeView(parent) {
  model_.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  model_.setReadOnly(true);
  tips_.setSourceModel(&model_);
  setModel(&tips_);
  for (int column = 1; column < model_.columnCount(); ++column) hideColumn(column);
  header()->hide();
  header()->setStretchLastSection(false);
  header()->setSectionResizeMode(0, QHeaderView::Stretch);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTextElideMode(Qt::ElideMiddle);
  setIndentation(12);
  setUniformRowHeights(true);
  // The open folder comes into view once the folders above it are read.
  connect(&model_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
    if (path_.startsWith(loaded)) scrollTo(currentIndex());
  });
  connect(&tips_, &QAbstractItemModel::rowsRemoved, this, [this] {
    if (!rows_leaving_) return;
    rows_leaving_ = false;
    QTimer::singleShot(0, this, &DirectoryList::KeepPathOpen);
  });
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& index) {
            if (rows_leaving_) return;  // not the user's choice; see KeepPathOpen
            const QString path = model_.filePath(tips_.mapToSource(index));
            if (path.isEmpty() || path == path_) return;
            path_ = path;
            emit pathChanged(path_);
          });
}

void DirectoryList::SetPath(const QString& root, const QString& path) {
  model_.setRootPath(root);
  setRootIndex(tips_.mapFromSource(model_.index(root).parent()));
  const QModelIndex index = tips_.mapFromSource(model_.index(path));
  expand(index);
  setCurrentIndex(index);
  scrollTo(index);
  if (path_ != path) {
    path_ = path;
    emit pathChanged(path_);
  }
}

void DirectoryList::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
  rows_leaving_ = true;
  QTreeView::rowsAboutToBeRemoved(parent, start, end);
}

void DirectoryList::KeepPathOpen() {
  if (QFileInfo(path_).isDir()) {
    setCurrentIndex(tips_.mapFromSource(model_.index(path_)));
    return;
  }
  setCurrentIndex(QModelIndex());  // no neighbour shows as chosen
  emit folderGone(path_);
}

void DirectoryList::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    event->accept();
    return;
  }
  QTreeView::mousePressEvent(event);
}

FileList::FileList(QWidget* parent) : QListWidget(parent) {
  connect(this, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { emit fileClicked(item->text()); });
}

void FileList::SetPath(const QString& folder) {
  clear();
  folder_ = folder;
  const QDir dir(folder);
  const QStringList names =
      dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
  for (const QString& name : names) {
    if (filter_ && !filter_(name)) continue;
    auto* item = new QListWidgetItem(name, this);
    item->setToolTip(dir.filePath(name));
  }
}

void FileList::SetFilter(Filter filter) {
  const QString chosen = fileName();
  filter_ = std::move(filter);
  if (folder_.isEmpty()) return;
  SetPath(folder_);
  const auto found = findItems(chosen, Qt::MatchExactly);
  if (!chosen.isEmpty() && !found.isEmpty()) setCurrentItem(found.front());
}

QString FileList::fileName() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? QString() : selected.front()->text();
}

void FileList::focusOutEvent(QFocusEvent* event) {
  QListWidget::focusOutEvent(event);
  emit focusLost();
}

}  // namespace lumvane
