// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the run sees it. The Qt window, the command line and the tests each
// implement it, so that all three drive the very same run.
#ifndef LUMVANE_RUN_RUN_WINDOW_H_
#define LUMVANE_RUN_RUN_WINDOW_H_

#include <string>

#include "pictures/copy_mode.h"
#include "run/run_state.h"

namespace lumvane {

enum class Mode {
  kCatalogOriginalPaths = 1,  // catalog file, pictures where the catalog says
  kCatalogSourceDir = 2,      // catalog file, pictures from the chosen source folder
  kSourceScan = 3,            // every picture of the source folder
  kMaster = 4,                // master archive from subfolder archives
  kEdit = 5,                  // edit an existing archive
};

// The run's state as the Go button shows it: idle ("Go"), running ("Stop"), and stop
// requested ("Stopping...").
enum class GoState { kIdle, kRunning, kStopRequested };

// The caption of the Go button in `state`.
const char* GoCaption(GoState state);

class RunWindow {
 public:
  virtual ~RunWindow() = default;

  // The chosen mode and locations, read afresh whenever the run needs them.
  virtual Mode mode() const = 0;
  virtual std::string catalog_dir() const = 0;
  virtual std::string catalog_file() const = 0;  // the selected file name, "" when none
  virtual std::string source_dir() const = 0;
  virtual std::string dest_dir() const = 0;

  // The run's state, shown on the Go button. The window sets kStopRequested when the user
  // asks the run to stop; the run reads it through StopRequested.
  virtual GoState go_state() const = 0;
  virtual void set_go_state(GoState state) = 0;
  bool StopRequested() const { return go_state() == GoState::kStopRequested; }

  // The status line; the run keeps what it shows and never reads it back.
  virtual void set_status(const std::string& text) = 0;

  // Progress of the pictures handed over so far, when the importer knows the total (-1 if not).
  virtual void ShowProgress(int handled, int total) { (void)handled, (void)total; }

  // Lets pending window events run once (a click on Stop among them).
  virtual void LetEventsRun() = 0;

  // The Copy Originals question; kCancelled when it was cancelled or closed without an answer.
  virtual CopyMode AskCopyOriginals() = 0;

  // Asked before a master run replaces `page`, an archive of `pictures` pictures of its own
  // folder (not a master archive): true to replace it, keeping it in the archive's history.
  virtual bool ConfirmMasterOver(const std::string& page, int pictures) = 0;

  // A message with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;

  // A message with Retry and Cancel; true for Retry.
  virtual bool AskRetry(const std::string& text) = 0;

  // After a run that put its archive in place: tells what it left out (pictures passed over,
  // originals not copied), if anything.
  virtual void ReportRun(const RunState& state) = 0;

  // After a run that archived nothing and so kept the archive it found: `text` says so.
  virtual void ReportNothingArchived(const std::string& text, const RunState& state) {
    (void)state;
    ShowMessage(text);
  }

  // Opens the archive editor on the archive in `folder`.
  virtual void OpenEditor(const std::string& folder) = 0;
};

}  // namespace lumvane

#endif  // LUMVANE_RUN_RUN_WINDOW_H_
