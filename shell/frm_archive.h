// The main window: five modes, the catalog, source and destination locations, Go and Exit.
// It is the run's window (RunWindow) and owns the run state for the program's life; the run
// itself is the run driver's, which yields to this window's event loop once per picture.
#ifndef LUMVANE_SHELL_FRM_ARCHIVE_H_
#define LUMVANE_SHELL_FRM_ARCHIVE_H_

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>
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

  // RunWindow.
  Mode mode() const override;
  std::string catalog_dir() const override;
  std::string catalog_file() const override;
  std::string source_dir() const override;
  std::string dest_dir() const override;
  GoState go_state() const override;
  void set_go_state(GoState state) override;
  std::string status() const override;
  void set_status(const std::string& text) override;
  void LetEventsRun() override;
  CopyMode AskCopyOriginals() override;
  bool ConfirmMasterOver(const std::string& page, int pictures) override;
  void ShowMessage(const std::string& text) override;
  bool AskRetry(const std::string& text) override;
  void OpenEditor(const std::string& folder) override;
  // One message with the counts by reason, the files in its details; silent when nothing was
  // left out.
  void ReportRun(const RunState& state) override;

 signals:
  void statusChanged(const QString& text);

 protected:
  // Enter presses the focused button, as Space does.
  void keyPressEvent(QKeyEvent* event) override;
  // During a run, closing is a stop request and the window closes when the run has ended.
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildLocations();
  void BuildModes();
  void ConnectLists();
  void ApplyMode(Mode mode);
  void ChangeDrive(DriveList* drives, DirectoryList* folders, const QString& drive, int previous);
  void OnGo();
  void OnExit();

  RunEnvironment environment_;
  VolumeTable volumes_;
  RunState state_;
  GoState go_state_ = GoState::kIdle;
  std::unique_ptr<FrmEditHtml> editor_;  // the archive editor while it is open
  bool close_after_run_ = false;

  QLabel* status_;
  QGroupBox* catalog_frame_;
  QGroupBox* source_frame_;
  QGroupBox* dest_frame_;
  DriveList* cat_drive_;
  DirectoryList* cat_dir_;
  FileList* cat_file_;
  DriveList* src_drive_;
  DirectoryList* src_dir_;
  DriveList* dest_drive_;
  DirectoryList* dest_dir_;
  QPushButton* go_;
  QPushButton* exit_;
  std::array<QRadioButton*, 5> options_;
};

}  // namespace lumvane

#endif  // LUMVANE_SHELL_FRM_ARCHIVE_H_
