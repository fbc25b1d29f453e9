// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: five modes, the catalog, source and destination locations, Go and Exit.
// It is the run's window (RunWindow) and owns the run state for the program's life; the run
// itself is the run driver's, which yields to this window's event loop once per picture.
// Beyond the specified controls: the saved locations (a button and the context menu), folders
// and catalogs dropped onto the lists or chosen through their context menus, and the last
// session remembered.
#ifndef LUMVANE_SHELL_FRM_ARCHIVE_H_
#define LUMVANE_SHELL_FRM_ARCHIVE_H_

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>
#include <map>
#include <memory>
#include <vector>

#include "run/run_driver.h"
#include "run/run_state.h"
#include "run/run_window.h"
#include "shell/frm_edit_html.h"
#include "shell/location_lists.h"

namespace lumvane {

class FrmArchive : public QWidget, public RunWindow {
  Q_OBJECT
 public:
  // `volumes` fill the drive lists (root first), read again whenever a list is opened; all
  // three lists start on the process's current folder.
  FrmArchive(RunEnvironment environment, VolumeTable volumes, QWidget* parent = nullptr);

  const RunState& state() const { return state_; }

  // The three location groups.
  enum class Group { kCatalog, kSource, kDest };
  // Opens `folder` in the group's lists (its drive list follows); false when it is no folder.
  bool ShowFolder(Group group, const QString& folder);
  // Opens the folder of the file at `path` in the catalog lists and selects the file there.
  bool ShowCatalogFile(const QString& path);

  // The mode, locations and window position of the last session, from the settings file;
  // folders that have gone are passed over. SaveSession writes them.
  void RestoreSession();
  void SaveSession() const;

  // RunWindow.
  Mode mode() const override;
  std::string catalog_dir() const override;
  std::string catalog_file() const override;
  std::string source_dir() const override;
  std::string dest_dir() const override;
  GoState go_state() const override;
  void set_go_state(GoState state) override;
  void set_status(const std::string& text) override;
  void LetEventsRun() override;
  // "Running... 31 of 160" in Status while the total is known; set_status's text stays for after
  // the run.
  void ShowProgress(int handled, int total) override;
  CopyMode AskCopyOriginals() override;
  void ShowMessage(const std::string& text) override;
  bool AskRetry(const std::string& text) override;
  void OpenEditor(const std::string& folder) override;
  // One message with the counts by reason, the files in its details, and buttons to locate
  // missing pictures, edit the saved locations and open the archive; silent when nothing was
  // left out.
  void ReportRun(const RunState& state) override;
  // The message, with the summary's buttons.
  void ReportNothingArchived(const std::string& text, const RunState& state) override;
  bool ConfirmMasterOver(const std::string& page, int pictures) override;

 signals:
  void statusChanged(const QString& text);

 protected:
  // Enter presses the focused button, as Space does.
  void keyPressEvent(QKeyEvent* event) override;
  // During a run, closing is a stop request and the window closes when the run has ended.
  void closeEvent(QCloseEvent* event) override;
  // Folders and files dropped onto the location lists.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void BuildLocations();
  void BuildModes();
  void ConnectLists();
  void ApplyMode(Mode mode);
  void ChangeDrive(DriveList* drives, DirectoryList* folders, const QString& drive, int previous);
  void OnGo();
  // What Go says when a folder the mode reads or writes is no longer there; "" when all are.
  std::string GoneFolder() const;
  void OnExit();
  void ShowLocations();
  // The summary box: `text`, the files left out in its details, and its buttons.
  void ShowSummary(std::string text, const RunState& state);
  void OpenArchive();
  // After a run that left nothing out: `text` and "Open archive", in a box that does not hold
  // up the window (the last run's box goes).
  void ShowFinished(const std::string& text);
  // Lets the group's lists take dropped folders and files, and gives them a context menu.
  void AddListHabits(Group group, std::initializer_list<QWidget*> lists);
  void ShowListMenu(Group group, QWidget* list, const QPoint& at);
  // The group's drive list and folder list.
  std::pair<DriveList*, DirectoryList*> ListsOf(Group group) const;
  // Creates a folder in the destination folder, named by the user, and opens it.
  void NewDestinationFolder();
  // The path line above a folder tree: shows its folder, and opens a typed one (a catalog
  // file's folder with the file chosen; a folder that is not there made after asking).
  void AddPathLine(Group group, QLineEdit* line, DirectoryList* folders);
  void GoToTypedPath(Group group, QLineEdit* line);

  RunEnvironment environment_;
  VolumeTable volumes_;
  RunState state_;
  GoState go_state_ = GoState::kIdle;
  std::unique_ptr<FrmEditHtml> editor_;  // the archive editor while it is open
  bool close_after_run_ = false;
  bool run_again_ = false;  // Locate found missing pictures and the user asked for a new run
  std::map<QObject*, Group> drop_targets_;
  QPointer<QWidget> finished_;  // the box of the last run that left nothing out

  QLabel* status_;
  QGroupBox* catalog_frame_;
  QGroupBox* source_frame_;
  QGroupBox* dest_frame_;
  DriveList* cat_drive_;
  QLineEdit* cat_path_;
  DirectoryList* cat_dir_;
  FileList* cat_file_;
  QComboBox* cat_filter_;
  DriveList* src_drive_;
  QLineEdit* src_path_;
  DirectoryList* src_dir_;
  QCheckBox* subfolders_;
  DriveList* dest_drive_;
  QLineEdit* dest_path_;
  DirectoryList* dest_dir_;
  QPushButton* go_;
  QPushButton* exit_;
  std::array<QRadioButton*, 5> options_;
};

}  // namespace lumvane

#endif  // LUMVANE_SHELL_FRM_ARCHIVE_H_
