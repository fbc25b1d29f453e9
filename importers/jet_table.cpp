#include "importers/jet_table.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define LUMVANE_SANITIZED
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define LUMVANE_SANITIZED
#endif
#endif

namespace lumvane {
namespace {

constexpr uint32_t kLongestMessage = 64u << 20;
constexpr rlim_t kPrintedKept = 64 << 10;
// How often a waiting parent looks whether the child is stuck printing.
constexpr std::chrono::milliseconds kSlice(250);

// The limits of the child: a damaged file must not take the machine's memory or processor,
// fill the disk with a core file, or fill the memory with warnings.
void LimitTheChild() {
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
  limit(RLIMIT_FSIZE, kPrintedKept);  // what it prints goes to a file: beyond, writes fail
  signal(SIGXFSZ, SIG_IGN);
}

}  // namespace

JetTable::~JetTable() {
  EndChild();
}

void JetTable::EndChild() {
  if (rows_ >= 0) close(rows_);
  rows_ = -1;
  if (child_ > 0) {
    kill(child_, SIGKILL);
    while (waitpid(child_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  child_ = -1;
  if (errors_ >= 0) close(errors_);
  errors_ = -1;
}

JetTable::Opened JetTable::Open(const std::string& path, const std::string& table,
                                const std::vector<std::string>& columns) {
  return OpenWith([&](int out) { ReadJetTable(out, path, table, columns); }, columns.size());
}

JetTable::Opened JetTable::OpenWith(const ChildReader& reader, size_t columns) {
  EndChild();
  columns_ = columns;
  int pipe_fds[2];
  errors_ = memfd_create("lumvane-jet-errors", MFD_CLOEXEC);
  if (errors_ < 0 || pipe2(pipe_fds, O_CLOEXEC) != 0) {
    error_ = std::strerror(errno);
    return Opened::kFailed;
  }
  child_ = fork();
  if (child_ == 0) {
    // No crash handler of the program (or of a sanitizer) speaks for libmdb: the child ends.
    for (int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) signal(fault, SIG_DFL);
    close(pipe_fds[0]);
    dup2(errors_, STDERR_FILENO);
    dup2(errors_, STDOUT_FILENO);
    LimitTheChild();
    reader(pipe_fds[1]);
    _exit(0);
  }
  close(pipe_fds[1]);
  if (child_ < 0) {
    close(pipe_fds[0]);
    error_ = std::strerror(errno);
    return Opened::kFailed;
  }
  rows_ = pipe_fds[0];
  last_heard_ = std::chrono::steady_clock::now();
  buffered_.clear();
  taken_ = 0;
  char kind = 0;
  std::string text;
  if (!ReadMessage(&kind, &text)) return Opened::kFailed;
  error_ = kind == 'E' && !text.empty() ? text : "";
  switch (kind) {
    case 'O':
      row_count_ = std::strtol(text.c_str(), nullptr, 10);
      return Opened::kOpened;
    case 'N':
      return Opened::kNoSuchTable;
    case 'M':
      error_ = text;
      return Opened::kMissingColumn;
    default:  // libmdb's own words when it has any: it names no reason for most files
      if (error_.empty()) error_ = WrittenReason();
      return Opened::kFailed;
  }
}

// `count` bytes from the child, waiting for them at most the patience at a time.
bool TakeMessage(std::string_view* stream, char* kind, std::string* text, bool* broken) {
  uint32_t length = 0;
  if (stream->size() < 5) return false;
  std::memcpy(&length, stream->data() + 1, 4);
  if (length > kLongestMessage) {
    *broken = true;
    return false;
  }
  if (stream->size() - 5 < length) return false;
  *kind = (*stream)[0];
  text->assign(stream->substr(5, length));
  stream->remove_prefix(5 + length);
  return true;
}

std::vector<JetTable::Cell> DecodeRow(std::string_view message, size_t columns) {
  std::vector<JetTable::Cell> row(columns);
  for (JetTable::Cell& cell : row) {
    bool broken = false;
    char null = 0;
    if (!TakeMessage(&message, &null, &cell.text, &broken)) break;
    cell.null = null == '1';
  }
  return row;
}

// Reads what the child has sent, waiting at most the patience; false (error_ set) when the
// child ended, hangs, or only prints.
bool JetTable::ReadMore() {
  while (true) {
    pollfd ready{rows_, POLLIN, 0};
    const auto slice = std::min<std::chrono::milliseconds>(patience_, kSlice);
    const int polled = rows_ < 0 ? -1 : poll(&ready, 1, static_cast<int>(slice.count()));
    if (polled < 0 && errno == EINTR) continue;
    if (polled == 0) {
      const bool stuck = PrintedItsFill();
      if (!stuck && std::chrono::steady_clock::now() - last_heard_ < patience_) continue;
      error_ = stuck ? "its reader printed warnings without reading a row"
                     : "its reader stopped answering";
      EndChild();
      return false;
    }
    char chunk[65536];
    const ssize_t n = polled > 0 ? read(rows_, chunk, sizeof chunk) : -1;
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = ChildFailure();
      return false;
    }
    buffered_.erase(0, taken_);
    taken_ = 0;
    buffered_.append(chunk, static_cast<size_t>(n));
    last_heard_ = std::chrono::steady_clock::now();
    return true;
  }
}

bool JetTable::ReadMessage(char* kind, std::string* text) {
  while (true) {
    std::string_view stream = std::string_view(buffered_).substr(taken_);
    bool broken = false;
    if (TakeMessage(&stream, kind, text, &broken)) {
      taken_ = buffered_.size() - stream.size();
      return true;
    }
    if (broken) {
      error_ = ChildFailure();
      return false;
    }
    if (!ReadMore()) return false;
  }
}

bool JetTable::Next(std::vector<Cell>* row) {
  char kind = 0;
  std::string message;
  if (!ReadMessage(&kind, &message)) return false;
  if (kind != 'R') {
    error_ = kind == 'D' ? "" : !message.empty() ? message : ChildFailure();
    EndChild();
    return false;
  }
  *row = DecodeRow(message, columns_);
  return true;
}

bool JetTable::PrintedItsFill() const {
  struct stat printed {};
  return errors_ >= 0 && fstat(errors_, &printed) == 0 &&
         printed.st_size >= static_cast<off_t>(kPrintedKept);
}

// The first line the child wrote on its standard error, or "".
std::string JetTable::WrittenReason() const {
  std::string written(4096, '\0');
  const ssize_t n = errors_ >= 0 ? pread(errors_, written.data(), written.size(), 0) : -1;
  written.resize(n > 0 ? static_cast<size_t>(n) : 0);
  const size_t end = written.find('\n');
  std::string reason = written.substr(0, end);
  while (!reason.empty() && std::isspace(static_cast<unsigned char>(reason.back()))) {
    reason.pop_back();
  }
  return reason;
}

// Why the child ended without its last message: what it wrote, or how it ended.
std::string JetTable::ChildFailure() {
  if (rows_ >= 0) close(rows_);  // a child still writing ends on the closed pipe
  rows_ = -1;
  if (std::string reason = WrittenReason(); !reason.empty()) return reason;
  int status = 0;
  if (child_ > 0 && waitpid(child_, &status, 0) == child_) {
    child_ = -1;
    if (WIFSIGNALED(status)) {
      return std::string("its reader failed (") + strsignal(WTERMSIG(status)) + ")";
    }
  }
  return "its reader ended early";
}

}  // namespace lumvane
