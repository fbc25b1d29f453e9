// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define LUMVANE_SANITIZED
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define LUMVANE_SANITIZED
#endif
#endif

namespace lumvane {
namespace {

// The limits of the child: a damaged file must not take the machine's memory or processor,
// fill the disk with a core file, or fill the memory with warnings.
void LimitTheChild(size_t printed_kept) {
  const auto limit = [](int resource, rlim_t value) {
    const rlimit bound{value, value};
    setrlimit(resource, &bound);
  };
  limit(RLIMIT_CORE, 0);
  prctl(PR_SET_DUMPABLE, 0);
#ifndef LUMVANE_SANITIZED  // a sanitizer's shadow memory is larger than the limit by itself
  limit(RLIMIT_AS, rlim_t{1} << 30);
#endif
  limit(RLIMIT_CPU, 60);
  limit(RLIMIT_FSIZE, printed_kept);  // what it prints goes to a file: beyond, writes fail
  signal(SIGXFSZ, SIG_IGN);
}

}  // namespace

Status ChildProcess::Start(const Body& body, size_t printed_kept) {
  End();
  printed_kept_ = printed_kept;
  int pipe_fds[2];
  printed_ = memfd_create("lumvane-child-printed", MFD_CLOEXEC);
  if (printed_ < 0 || pipe2(pipe_fds, O_CLOEXEC) != 0) {
    return Status::FromErrno(errno, std::strerror(errno));
  }
  child_ = fork();
  if (child_ == 0) {
    // No crash handler of the program (or of a sanitizer) speaks for the library: it ends.
    for (int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) signal(fault, SIG_DFL);
    close(pipe_fds[0]);
    dup2(printed_, STDERR_FILENO);
    dup2(printed_, STDOUT_FILENO);
    LimitTheChild(printed_kept);
    body(pipe_fds[1]);
    _exit(0);
  }
  const int error = errno;
  close(pipe_fds[1]);
  if (child_ < 0) {
    close(pipe_fds[0]);
    return Status::FromErrno(error, std::strerror(error));
  }
  out_ = pipe_fds[0];
  return Status::Ok();
}

ChildProcess::Read ChildProcess::ReadSome(std::string* into, std::chrono::milliseconds wait) {
  while (true) {
    pollfd ready{out_, POLLIN, 0};
    const int polled = out_ < 0 ? -1 : poll(&ready, 1, static_cast<int>(wait.count()));
    if (polled < 0 && errno == EINTR) continue;
    if (polled == 0) return Read::kQuiet;
    char chunk[65536];
    const ssize_t n = polled > 0 ? read(out_, chunk, sizeof chunk) : -1;
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Read::kEnded;
    into->append(chunk, static_cast<size_t>(n));
    return Read::kData;
  }
}

bool ChildProcess::PrintedItsFill() const {
  struct stat printed {};
  return printed_ >= 0 && fstat(printed_, &printed) == 0 &&
         printed.st_size >= static_cast<off_t>(printed_kept_);
}

std::string ChildProcess::FirstPrintedLine() const {
  std::string written(4096, '\0');
  const ssize_t n = printed_ >= 0 ? pread(printed_, written.data(), written.size(), 0) : -1;
  written.resize(n > 0 ? static_cast<size_t>(n) : 0);
  std::string line = written.substr(0, written.find('\n'));
  while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
  return line;
}

std::string ChildProcess::HowItEnded() {
  if (out_ >= 0) close(out_);  // a child still writing ends on the closed pipe
  out_ = -1;
  if (std::string line = FirstPrintedLine(); !line.empty()) return line;
  int status = 0;
  if (child_ > 0 && waitpid(child_, &status, 0) == child_) {
    child_ = -1;
    if (WIFSIGNALED(status)) {
      return std::string("its reader failed (") + strsignal(WTERMSIG(status)) + ")";
    }
  }
  return "";
}

void ChildProcess::End() {
  if (out_ >= 0) close(out_);
  out_ = -1;
  if (child_ > 0) {
    kill(child_, SIGKILL);
    while (waitpid(child_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  child_ = -1;
  if (printed_ >= 0) close(printed_);
  printed_ = -1;
}

void SendToParent(int out, std::string_view bytes) {
  for (size_t sent = 0; sent < bytes.size();) {
    const ssize_t n = write(out, bytes.data() + sent, bytes.size() - sent);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) _exit(1);  // the parent is gone
    sent += static_cast<size_t>(n);
  }
}

}  // namespace lumvane
