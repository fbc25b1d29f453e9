// SPDX-License-Identifier: GPL-3.0-or-later
// exiftool (Debian's libimage-exiftool-perl) writes the metadata that the tests read back.
#ifndef LUMVANE_TESTS_SUPPORT_EXIFTOOL_H_
#define LUMVANE_TESTS_SUPPORT_EXIFTOOL_H_

#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

extern char** environ;

namespace testing_support {

// Runs `exiftool -q -overwrite_original ARGS... FILE`; true when it succeeded.
inline bool Exiftool(const std::string& file, std::vector<std::string> args) {
  std::vector<std::string> argv = {"exiftool", "-q", "-q", "-overwrite_original"};
  argv.insert(argv.end(), args.begin(), args.end());
  argv.push_back(file);
  std::vector<char*> pointers;
  for (auto& a : argv) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, "exiftool", nullptr, nullptr, pointers.data(), environ) != 0) {
    return false;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace testing_support

#endif  // LUMVANE_TESTS_SUPPORT_EXIFTOOL_H_
