// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/library_run.h"

#include "platform/plural.h"
#include "run/library_plan.h"

namespace lumvane {
namespace {

// The window as one step of the library sees it: that step's mode and folders, the copy
// answer given for the library, and the Go button left as Stop between steps.
class StepWindow : public RunWindow {
 public:
  StepWindow(RunWindow& window, const LibraryStep& step, CopyMode copy_answer)
      : window_(window), step_(step), copy_answer_(copy_answer) {}

  Mode mode() const override {
    return step_.kind == LibraryStep::Kind::kScan ? Mode::kSourceScan : Mode::kMaster;
  }
  std::string catalog_dir() const override { return ""; }
  std::string catalog_file() const override { return ""; }
  std::string source_dir() const override { return step_.source; }
  std::string dest_dir() const override { return step_.dest; }
  // Idle to the step's GoClick until it starts (the library runs already), then the window's.
  GoState go_state() const override {
    const GoState state = window_.go_state();
    return state == GoState::kRunning && !started_ ? GoState::kIdle : state;
  }
  void set_go_state(GoState state) override {
    started_ = state != GoState::kIdle;
    if (state != GoState::kIdle) window_.set_go_state(state);
  }
  void set_status(const std::string& text) override { window_.set_status(text); }
  void ShowProgress(int handled, int total) override { window_.ShowProgress(handled, total); }
  void LetEventsRun() override { window_.LetEventsRun(); }
  CopyMode AskCopyOriginals() override { return copy_answer_; }
  bool ConfirmMasterOver(const std::string&, int) override { return false; }
  void ShowMessage(const std::string& text) override { window_.ShowMessage(text); }
  bool AskRetry(const std::string& text) override { return window_.AskRetry(text); }
  void ReportRun(const RunState&) override {}
  void ReportNothingArchived(const std::string&, const RunState&) override {}
  void OpenEditor(const std::string&) override {}

 private:
  RunWindow& window_;
  const LibraryStep& step_;
  CopyMode copy_answer_;
  bool started_ = false;
};

// Adds what one step's run left out to the library's.
void Gather(const RunState& step, bool scan, RunState* library) {
  if (scan) {
    library->picture_count += step.picture_count;
    for (const auto& [format, count] : step.formats) library->formats[format] += count;
  }
  library->passed_over.insert(library->passed_over.end(), step.passed_over.begin(),
                              step.passed_over.end());
  library->uncopied.insert(library->uncopied.end(), step.uncopied.begin(), step.uncopied.end());
}

}  // namespace

std::string LibraryOptions(CopyMode copy_mode, const RunEnvironment& environment) {
  return "copy=" + std::to_string(static_cast<int>(copy_mode)) +
         " embedded=" + (environment.read_embedded ? "1" : "0") +
         " jpeg=" + (environment.jpeg_only ? "1" : "0") +
         " deleted=" + (environment.with_deleted ? "1" : "0") +
         " pair=" + (environment.pair_raw ? "1" : "0") +
         " previews=" + (environment.clip_previews ? "1" : "0");
}

void RunLibrary(RunWindow& window, RunState& state, const RunEnvironment& environment) {
  LibraryPlan plan;
  const Status planned =
      PlanLibrary(window.source_dir(), window.dest_dir(), environment.jpeg_only, &plan);
  if (!planned.ok() || plan.steps.empty()) {
    window.ShowMessage(planned.ok() ? "There are no pictures in " + window.source_dir() +
                                          " or any folder below it; nothing was written."
                                    : planned.message());
    return;
  }
  CopyMode copy_answer = window.AskCopyOriginals();
  if (copy_answer == CopyMode::kCancelled) return;
  RunState library;
  library.drive_cache = state.drive_cache;
  const std::string options = LibraryOptions(copy_answer, environment);
  int made = 0, unchanged = 0;
  window.set_go_state(GoState::kRunning);
  for (const LibraryStep& step : plan.steps) {
    if (window.StopRequested()) break;
    const auto run = [&] {
      StepWindow step_window(window, step, copy_answer);
      RunState step_state;
      GoClick(step_window, step_state, environment);
      Gather(step_state, step.kind == LibraryStep::Kind::kScan, &library);
      return step_state.outcome == RunOutcome::kWritten;
    };
    Status noted;  // a note not written only runs the step again next time
    const StepOutcome outcome = RunStepUnlessUnchanged(step, environment.jpeg_only, options,
                                                       environment.render_again, run, &noted);
    made += outcome == StepOutcome::kMade ? 1 : 0;
    unchanged += outcome == StepOutcome::kUnchanged ? 1 : 0;
  }
  library.copy_mode = copy_answer;
  library.archive_written = made > 0;
  library.outcome = made > 0 || unchanged > 0 ? RunOutcome::kWritten : RunOutcome::kFailed;
  for (const std::string& folder : plan.left_out) {
    library.passed_over.push_back({folder, "left out of the library", false});
  }
  window.set_go_state(GoState::kIdle);
  window.set_status(CountOf(made, "archive") + " made, " + CountOf(unchanged, "archive") +
                    " unchanged: " + plan.steps.back().dest);
  state = std::move(library);
  window.ReportRun(state);
}

}  // namespace lumvane
