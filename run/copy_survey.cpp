// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/copy_survey.h"

#include "platform/plural.h"
#include "run/dry_run_lines.h"

namespace lumvane {
namespace {

// The window as the survey's dry run sees it: its mode and folders, an answer that copies (the
// dry run counts both), no message, and the Go button's stop request.
class SurveyWindow : public RunWindow {
 public:
  explicit SurveyWindow(RunWindow& window) : window_(window) {}

  Mode mode() const override { return window_.mode(); }
  std::string catalog_dir() const override { return window_.catalog_dir(); }
  std::string catalog_file() const override { return window_.catalog_file(); }
  std::string source_dir() const override { return window_.source_dir(); }
  std::string dest_dir() const override { return window_.dest_dir(); }
  GoState go_state() const override { return window_.go_state(); }
  void set_go_state(GoState) override {}
  void set_status(const std::string&) override {}
  void LetEventsRun() override { window_.LetEventsRun(); }
  CopyMode AskCopyOriginals() override { return CopyMode::kKeepNames; }
  bool ConfirmMasterOver(const std::string&, int) override { return true; }
  void ShowMessage(const std::string&) override {}
  bool AskRetry(const std::string&) override { return false; }
  void ReportRun(const RunState&) override {}
  void ReportNothingArchived(const std::string&, const RunState&) override {}
  void OpenEditor(const std::string&) override {}

 private:
  RunWindow& window_;
};

}  // namespace

CopySurvey SurveyCopies(RunWindow& window, const RunEnvironment& environment) {
  RunEnvironment dry = environment;
  dry.dry_run = true;
  SurveyWindow surveyed(window);
  RunState state;
  RunDriver(surveyed, state, dry);
  return {state.dry.keep_names, state.dry.rename,
          state.outcome == RunOutcome::kSurveyed && !window.StopRequested()};
}

std::string CopyFiguresText(const CopyFigures& figures) {
  const int all = figures.copies + figures.there;
  if (figures.copies == 0 && all > 0) {
    return "copies nothing: the " + CountOf(all, "original") + (all == 1 ? " is" : " are") +
           " there already";
  }
  std::string text =
      "copies " + CountOf(figures.copies, "original") + ", " + BytesText(figures.bytes);
  if (figures.there > 0) text += "; " + ThereAlready(figures.there);
  return text;
}

}  // namespace lumvane
