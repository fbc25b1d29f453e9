// SPDX-License-Identifier: GPL-3.0-or-later
// The lumvane program run as a real process, with its output captured in files.
#ifndef LUMVANE_TESTS_SUPPORT_LUMVANE_PROCESS_H_
#define LUMVANE_TESTS_SUPPORT_LUMVANE_PROCESS_H_

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

extern char** environ;

namespace testing_support {

struct Finished {
  int exit_code;  // -1 when a signal ended the process
  std::string out, err;
};

// The prefix that runs lumvane as nobody when the tests run as root, who reads everything.
inline std::vector<std::string> AsNobody() {
  if (geteuid() != 0) return {};
  return {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
}

class Process {
 public:
  // Starts lumvane with `args`; `prefix` (a program and its arguments, such as setpriv's)
  // runs it when given. Standard output and error go to files in `logs`. Unless the test set
  // XDG_CONFIG_HOME, the program's settings are kept in `logs`, never in the user's own.
  Process(const std::vector<std::string>& args, const TempDir& logs,
          const std::vector<std::string>& prefix = {})
      : logs_(logs) {
    std::vector<std::string> argv = prefix;
    argv.push_back(LUMVANE_BIN);
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (auto& a : argv) pointers.push_back(a.data());
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, (logs / "out").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, (logs / "err").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
      environment.emplace_back(*variable);
    }
    if (std::getenv("XDG_CONFIG_HOME") == nullptr) {
      environment.push_back("XDG_CONFIG_HOME=" + logs.path());
    }
    std::vector<char*> variables;
    for (auto& v : environment) variables.push_back(v.data());
    variables.push_back(nullptr);
    posix_spawn(&pid_, argv[0].c_str(), &actions, nullptr, pointers.data(), variables.data());
    posix_spawn_file_actions_destroy(&actions);
  }
  void Signal(int signal) { kill(pid_, signal); }
  Finished Wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(logs_ / "out"),
            ReadAll(logs_ / "err")};
  }

 private:
  const TempDir& logs_;
  pid_t pid_ = -1;
};

inline Finished RunLumvane(const std::vector<std::string>& args,
                           const std::vector<std::string>& prefix = {}) {
  TempDir logs;
  return Process(args, logs, prefix).Wait();
}

}  // namespace testing_support

#endif  // LUMVANE_TESTS_SUPPORT_LUMVANE_PROCESS_H_
