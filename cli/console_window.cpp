#include "cli/console_window.h"

#include <unistd.h>

#include <cstdio>

namespace lumvane {

ConsoleWindow::ConsoleWindow(const CliOptions& options, Locations locations,
                             const volatile std::sig_atomic_t* interrupted)
    : options_(options), locations_(std::move(locations)), interrupted_(interrupted) {
  if (!options.quiet && isatty(STDERR_FILENO)) progress_ = std::make_unique<ProgressBar>(stderr);
}

std::string ConsoleWindow::go_caption() const {
  if (*interrupted_ != 0 && go_caption_ == kGoRunning) return kGoStopRequested;
  return go_caption_;
}

void ConsoleWindow::set_go_caption(const std::string& caption) {
  if (caption == kGoRunning) run_started_ = true;
  go_caption_ = caption;
}

void ConsoleWindow::ShowProgress(int handled, int total) {
  if (progress_) progress_->Update(handled, total);
}

void ConsoleWindow::FinishProgress() {
  if (progress_) progress_->Finish();
}

int ConsoleWindow::AskCopyOriginals(int) {
  return options_.copy_mode.value_or(2);
}

void ConsoleWindow::ShowMessage(const std::string& text) {
  FinishProgress();
  std::string line = text;
  for (char& c : line) {
    if (c == '\r') c = '\n';
  }
  std::fprintf(stderr, "lumvane: %s\n", line.c_str());
  reported_errors_ = true;
}

bool ConsoleWindow::AskRetry(const std::string& text) {
  ShowMessage(text);
  return false;
}

void ConsoleWindow::OpenEditor(const std::string& folder) {
  ShowMessage("The archive editor is not available on the command line (" + folder + ").");
}

}  // namespace lumvane
