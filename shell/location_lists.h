// The three location widgets of the main window: a drive list (the mounted volumes), a
// directory list (a folder tree of the chosen volume) and a file list (every visible file of
// a folder, never filtered).
#ifndef LUMVANE_SHELL_LOCATION_LISTS_H_
#define LUMVANE_SHELL_LOCATION_LISTS_H_

#include <QComboBox>
#include <QFileSystemModel>
#include <QListWidget>
#include <QTreeView>
#include <functional>
#include <vector>

#include "platform/volumes.h"

namespace lumvane {

// The mounted volume that holds `path`: the one with the longest mount point that is a prefix.
// REQUIRES: `volumes` holds "/" or another prefix of `path`.
const Volume* VolumeHolding(const std::vector<Volume>& volumes, const QString& path);

class DriveList : public QComboBox {
  Q_OBJECT
 public:
  explicit DriveList(const std::vector<Volume>& volumes, QWidget* parent = nullptr);
  // Chooses the volume holding `path` without raising driveChanged.
  void ShowVolumeOf(const QString& path);

 signals:
  // The user chose another volume; `previous` is the one chosen before.
  void driveChanged(const QString& drive, int previous);

 private:
  std::vector<Volume> volumes_;
  int current_ = 0;
};

class DirectoryList : public QTreeView {
  Q_OBJECT
 public:
  explicit DirectoryList(QWidget* parent = nullptr);
  // The folder open in the list.
  QString path() const { return path_; }
  // Shows the tree of `root` and opens `path` in it; raises pathChanged.
  void SetPath(const QString& root, const QString& path);

 signals:
  void pathChanged(const QString& path);

 private:
  QFileSystemModel model_;
  QString path_;
};

class FileList : public QListWidget {
  Q_OBJECT
 public:
  explicit FileList(QWidget* parent = nullptr);
  // Lists the visible files of `folder`, sorted; nothing is selected afterwards.
  void SetPath(const QString& folder);
  // The bare name of the selected file, or "" when none is selected.
  QString fileName() const;

 signals:
  void fileClicked(const QString& name);
  void focusLost();

 protected:
  void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace lumvane

#endif  // LUMVANE_SHELL_LOCATION_LISTS_H_
