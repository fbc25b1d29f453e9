// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace lumvane {
namespace {

// An atomic, not a volatile: the signal may be handled on a worker thread while the run
// thread reads it. The one state of the process a signal handler can reach.
std::atomic<int> stop_signal{0};
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");

void OnStopSignal(int signal) {
  stop_signal = signal;
}

}  // namespace

const std::atomic<int>& InstallStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  return stop_signal;
}

bool CanExecute(const std::string& path) {
  return access(path.c_str(), X_OK) == 0;
}

Status ExecuteInPlace(const std::string& path, std::vector<std::string> args) {
  std::vector<char*> argv = {const_cast<char*>(path.c_str())};
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  execv(path.c_str(), argv.data());
  return Status::FromErrno(errno, std::strerror(errno));
}

bool IsTerminal(FILE* stream) {
  return isatty(fileno(stream)) != 0;
}

bool TerminalTakesEscapes() {
  const char* term = std::getenv("TERM");
  return term != nullptr && *term != '\0' && std::strcmp(term, "dumb") != 0;
}

}  // namespace lumvane
