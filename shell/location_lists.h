// SPDX-License-Identifier: GPL-3.0-or-later
// The three location widgets of the main window: a drive list (the mounted volumes), a
// directory list (a folder tree of the chosen volume) and a file list (the visible files of a
// folder that its filter keeps).
#ifndef LUMVANE_SHELL_LOCATION_LISTS_H_
#define LUMVANE_SHELL_LOCATION_LISTS_H_

#include <QComboBox>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QListWidget>
#include <QTreeView>
#include <functional>
#include <vector>

#include "locations/volumes.h"

namespace lumvane {

// The mounted volume that holds `path`: the one with the longest mount point that is a prefix.
// REQUIRES: `volumes` holds "/" or another prefix of `path`.
const Volume* VolumeHolding(const std::vector<Volume>& volumes, const QString& path);

// Reads the mounted volumes, root first.
using VolumeTable = std::function<std::vector<Volume>()>;

class DriveList : public QComboBox {
  Q_OBJECT
 public:
  // Lists `volumes` (as `read_volumes` gave them a moment ago), and reads them again through
  // `read_volumes` whenever the list is opened: volumes come and go while the program runs.
  // Each entry's tooltip is its mount point.
  DriveList(VolumeTable read_volumes, std::vector<Volume> volumes, QWidget* parent = nullptr);
  // Chooses the volume holding `path` without raising driveChanged.
  void ShowVolumeOf(const QString& path);
  // The volumes as last read.
  const std::vector<Volume>& volumes() const { return volumes_; }
  void showPopup() override;

 signals:
  // The user chose another volume; `previous` is the one chosen before.
  void driveChanged(const QString& drive, int previous);

 private:
  // Lists `volumes`, keeping the chosen one chosen while it is still mounted.
  void Show(std::vector<Volume> volumes);

  VolumeTable read_volumes_;
  std::vector<Volume> volumes_;
  int current_ = 0;
};

// The folder tree's model with each folder's full path as its tooltip.
class FullPathTips : public QIdentityProxyModel {
 public:
  QVariant data(const QModelIndex& index, int role) const override;
};

// A folder tree that never scrolls sideways: a long name is shortened in its middle (its full
// path is its tooltip, and the main window's path line shows the open folder's).
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
  // The open folder was removed; the list stays on its name and chooses no other.
  void folderGone(const QString& path);

 protected:
  // A right click opens the context menu only: it chooses no folder, so that a menu
  // cancelled leaves the chosen folder as it was.
  void mousePressEvent(QMouseEvent* event) override;
  // Called before the model takes rows away, ahead of the selection's own handling.
  void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;

 private:
  // After the model took rows away: the open folder stays open while it exists. A listing
  // read before a folder was made drops its row for a moment, and its neighbour must not
  // become the destination; nor when the folder itself has gone.
  void KeepPathOpen();

  QFileSystemModel model_;
  FullPathTips tips_;
  QString path_;
  bool rows_leaving_ = false;
};

class FileList : public QListWidget {
  Q_OBJECT
 public:
  // Which file names the list shows; null shows them all.
  using Filter = std::function<bool(const QString& name)>;

  explicit FileList(QWidget* parent = nullptr);
  // Lists the visible files of `folder` that the filter keeps, sorted, each with its full path
  // as tooltip; nothing is selected afterwards.
  void SetPath(const QString& folder);
  // Lists the folder again through `filter`; the chosen file stays chosen while it is shown.
  void SetFilter(Filter filter);
  // The bare name of the selected file, or "" when none is selected.
  QString fileName() const;

 signals:
  void fileClicked(const QString& name);
  void focusLost();

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  QString folder_;
  Filter filter_;
};

}  // namespace lumvane

#endif  // LUMVANE_SHELL_LOCATION_LISTS_H_
