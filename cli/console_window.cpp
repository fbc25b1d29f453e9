// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/console_window.h"

#include <cstdio>

#include "platform/plural.h"
#include "platform/process.h"
#include "run/run_summary.h"

namespace lumvane {

ConsoleWindow::ConsoleWindow(const CliOptions& options, Locations locations,
                             const std::atomic<int>* stop_signal)
    : options_(options), locations_(std::move(locations)), stop_signal_(stop_signal) {
  if (!options.quiet && IsTerminal(stderr)) progress_ = std::make_unique<ProgressBar>(stderr, TerminalTakesEscapes());
}

GoState ConsoleWindow::go_state() const {
  if (*stop_signal_ != 0 && go_state_ == GoState::kRunning) return GoState::kStopRequested;
  return go_state_;
}

void ConsoleWindow::ShowProgress(int handled, int total) {
  if (progress_) progress_->Update(handled, total);
}

void ConsoleWindow::FinishProgress() {
  if (progress_) progress_->Finish();
}

CopyMode ConsoleWindow::AskCopyOriginals() {
  return options_.copy_mode.value_or(CopyMode::kNone);
}

bool ConsoleWindow::ConfirmMasterOver(const std::string& page, int pictures) {
  if (options_.replace) return true;
  ShowMessage(page + " is an archive of " + CountOf(pictures, "picture") +
              ", not a master archive; it was left as it was. --replace replaces it, keeping it "
              "in the archive's history.");
  return false;
}

void ConsoleWindow::ShowMessage(const std::string& text) {
  FinishProgress();
  std::string line = text;
  for (char& c : line) {
    if (c == '\r') c = '\n';
  }
  std::fprintf(stderr, "lumvane: %s\n", line.c_str());
}

bool ConsoleWindow::AskRetry(const std::string& text) {
  ShowMessage(text);
  return false;
}

void ConsoleWindow::ReportRun(const RunState& state) {
  if (!state.uncopied.empty()) ShowMessage(UncopiedMessage(state, locations_.dest_dir));
  ReportLost(state);
}

void ConsoleWindow::ReportNothingArchived(const std::string& text, const RunState& state) {
  ShowMessage(text);
  ReportLost(state);
}

void ConsoleWindow::ReportLost(const RunState& state) {
  const int lost = LostPictures(state);
  if (lost == 0) return;
  ShowMessage("Could not archive " + CountOf(lost, "picture") + "; " +
              (lost == 1 ? "it is" : "they are") + " not in the archive" +
              (options_.verbose ? "." : " (--verbose names them)."));
}

void ConsoleWindow::OpenEditor(const std::string& folder) {
  ShowMessage("The archive editor is not available on the command line (" + folder + ").");
}

}  // namespace lumvane
