#include "shell/location_lists.h"

#include <QDir>
#include <QHeaderView>

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

DriveList::DriveList(const std::vector<Volume>& volumes, QWidget* parent)
    : QComboBox(parent), volumes_(volumes) {
  for (const Volume& volume : volumes_) {
    const QString mount = QString::fromStdString(volume.mount_point);
    const QString label = QString::fromStdString(volume.label);
    addItem(label.isEmpty() ? mount : label + "  (" + mount + ")", mount);
  }
  connect(this, &QComboBox::activated, this, [this](int index) {
    const int previous = current_;
    current_ = index;
    if (index != previous) emit driveChanged(itemData(index).toString(), previous);
  });
}

void DriveList::ShowVolumeOf(const QString& path) {
  const Volume* volume = VolumeHolding(volumes_, path);
  if (volume == nullptr) return;
  const int index = findData(QString::fromStdString(volume->mount_point));
  if (index < 0) return;
  current_ = index;
  setCurrentIndex(index);
}

DirectoryList::DirectoryList(QWidget* parent) : QTreeView(parent) {
  model_.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  model_.setReadOnly(true);
  setModel(&model_);
  for (int column = 1; column < model_.columnCount(); ++column) hideColumn(column);
  header()->hide();
  setUniformRowHeights(true);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& index) {
            const QString path = model_.filePath(index);
            if (path.isEmpty() || path == path_) return;
            path_ = path;
            emit pathChanged(path_);
          });
}

void DirectoryList::SetPath(const QString& root, const QString& path) {
  model_.setRootPath(root);
  setRootIndex(model_.index(root).parent());
  const QModelIndex index = model_.index(path);
  expand(index);
  setCurrentIndex(index);
  scrollTo(index);
  if (path_ != path) {
    path_ = path;
    emit pathChanged(path_);
  }
}

FileList::FileList(QWidget* parent) : QListWidget(parent) {
  connect(this, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { emit fileClicked(item->text()); });
}

void FileList::SetPath(const QString& folder) {
  clear();
  const QStringList names =
      QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
  addItems(names);
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
