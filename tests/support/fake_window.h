// SPDX-License-Identifier: GPL-3.0-or-later
// A RunWindow for tests: settable mode and folders, recorded messages and status texts, and a
// hook that runs at each yield (to click Stop after the n-th picture, for example).
#ifndef LUMVANE_TESTS_SUPPORT_FAKE_WINDOW_H_
#define LUMVANE_TESTS_SUPPORT_FAKE_WINDOW_H_

#include <functional>
#include <string>
#include <vector>

#include "run/run_window.h"

namespace testing_support {

class FakeWindow : public lumvane::RunWindow {
 public:
  lumvane::Mode mode_value = lumvane::Mode::kSourceScan;
  std::string catalog_dir_value, catalog_file_value, source_dir_value, dest_dir_value;
  lumvane::GoState go = lumvane::GoState::kIdle;
  std::string status_text;
  std::vector<std::string> statuses;  // every text Status showed, in order
  std::vector<std::string> messages;
  std::vector<std::string> editor_folders;
  lumvane::CopyMode copy_answer = lumvane::CopyMode::kRename;
  int copy_questions = 0;
  bool replace_answer = false;
  int retries_left = 0;
  int yields = 0;
  int reports = 0;  // runs reported after their archive was put in place
  std::function<void(FakeWindow&)> on_yield;
  std::function<void()> on_retry;  // runs before a Retry answer

  lumvane::Mode mode() const override { return mode_value; }
  std::string catalog_dir() const override { return catalog_dir_value; }
  std::string catalog_file() const override { return catalog_file_value; }
  std::string source_dir() const override { return source_dir_value; }
  std::string dest_dir() const override { return dest_dir_value; }
  lumvane::GoState go_state() const override { return go; }
  void set_go_state(lumvane::GoState state) override { go = state; }
  std::string caption() const { return lumvane::GoCaption(go); }
  void set_status(const std::string& text) override {
    status_text = text;
    statuses.push_back(text);
  }
  void LetEventsRun() override {
    ++yields;
    if (on_yield) on_yield(*this);
  }
  lumvane::CopyMode AskCopyOriginals() override {
    ++copy_questions;
    return copy_answer;
  }
  bool ConfirmMasterOver(const std::string& page, int) override {
    messages.push_back("replace " + page + "?");
    return replace_answer;
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool AskRetry(const std::string& text) override {
    messages.push_back(text);
    if (retries_left-- <= 0) return false;
    if (on_retry) on_retry();
    return true;
  }
  void OpenEditor(const std::string& folder) override { editor_folders.push_back(folder); }
  void ReportRun(const lumvane::RunState&) override { ++reports; }

  // Clicks Go (reading "Stop") once `pictures` yields have happened.
  void StopAfter(int pictures) {
    on_yield = [pictures](FakeWindow& w) {
      if (w.yields == pictures) w.go = lumvane::GoState::kStopRequested;
    };
  }
};

}  // namespace testing_support

#endif  // LUMVANE_TESTS_SUPPORT_FAKE_WINDOW_H_
