// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace lumvane {
namespace {

constexpr size_t kKeptOutput = 4096;

// The last line of `text` that is not empty.
std::string LastLine(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  const size_t newline = text.find_last_of('\n');
  return newline == std::string::npos ? text : text.substr(newline + 1);
}

// Reads `fd` to its end, keeping the last kKeptOutput bytes.
std::string ReadTail(int fd) {
  std::string kept;
  char buffer[1024];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    kept.append(buffer, static_cast<size_t>(got));
    if (kept.size() > 2 * kKeptOutput) kept.erase(0, kept.size() - kKeptOutput);
  }
  return kept;
}

}  // namespace

Status RunProgram(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return Status::FromErrno(EINVAL, "no program to run");
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  int pipe_ends[2];
  if (pipe2(pipe_ends, O_CLOEXEC) != 0) return Status::FromErrno(errno, std::strerror(errno));
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], 2);
  pid_t child = -1;
  const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[1]);
  if (spawned != 0) {
    close(pipe_ends[0]);
    return Status::FromErrno(spawned, arguments[0] + ": " + std::strerror(spawned));
  }
  const std::string printed = ReadTail(pipe_ends[0]);
  close(pipe_ends[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return Status::Ok();
  std::string why = LastLine(printed);
  if (why.empty()) {
    why = WIFSIGNALED(status) ? std::string("ended by ") + strsignal(WTERMSIG(status))
                              : "exited with " + std::to_string(WEXITSTATUS(status));
  }
  return Status::FromErrno(EIO, arguments[0] + ": " + why);
}

}  // namespace lumvane
