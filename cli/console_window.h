// SPDX-License-Identifier: GPL-3.0-or-later
// The run's window on the command line: the mode and folders come from the arguments, Ctrl-C
// is the stop request, messages go to standard error.
#ifndef LUMVANE_CLI_CONSOLE_WINDOW_H_
#define LUMVANE_CLI_CONSOLE_WINDOW_H_

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/progress_bar.h"
#include "run/run_window.h"

namespace lumvane {

class ConsoleWindow : public RunWindow {
 public:
  // The folders as the run should see them (absolute). `stop_signal` is set by the program's
  // signal handler: not 0 is a stop request.
  struct Locations {
    Mode mode = Mode::kSourceScan;
    std::string catalog_dir, catalog_file, source_dir, dest_dir;
  };
  ConsoleWindow(const CliOptions& options, Locations locations,
                const std::atomic<int>* stop_signal);

  Mode mode() const override { return locations_.mode; }
  std::string catalog_dir() const override { return locations_.catalog_dir; }
  std::string catalog_file() const override { return locations_.catalog_file; }
  std::string source_dir() const override { return locations_.source_dir; }
  std::string dest_dir() const override { return locations_.dest_dir; }
  GoState go_state() const override;
  void set_go_state(GoState state) override { go_state_ = state; }
  void set_status(const std::string&) override {}
  void ShowProgress(int handled, int total) override;
  void LetEventsRun() override {}
  CopyMode AskCopyOriginals() override;
  // --replace answers; without it the run is refused with a message.
  bool ConfirmMasterOver(const std::string& page, int pictures) override;
  void ShowMessage(const std::string& text) override;
  bool AskRetry(const std::string& text) override;
  void OpenEditor(const std::string& folder) override;
  // Names the originals that could not be copied, and counts the pictures that were left out
  // though they are pictures, on standard error (both make the run fail); the summary of the
  // rest is the program's.
  void ReportRun(const RunState& state) override;
  void ReportNothingArchived(const std::string& text, const RunState& state) override;

  void FinishProgress();

 private:
  CliOptions options_;
  Locations locations_;
  const std::atomic<int>* stop_signal_;
  GoState go_state_ = GoState::kIdle;
  std::unique_ptr<ProgressBar> progress_;  // null when standard error is no terminal

  void ReportLost(const RunState& state);
};

}  // namespace lumvane

#endif  // LUMVANE_CLI_CONSOLE_WINDOW_H_
