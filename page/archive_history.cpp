// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/archive_history.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "page/edit_log.h"
#include "platform/content_digest.h"
#include "platform/file_copy.h"
#include "platform/file_probe.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/replacing_file.h"
#include "platform/text_lines.h"

namespace fs = std::filesystem;

namespace lumvane {
namespace {

constexpr char kAboutName[] = "about";
// The editor's log goes with its archive, so that a version brought back has the edits it had.
constexpr const char* kKeptNames[] = {"archive.htm", "archive.txt", kEditLogName};
constexpr char kNewPrefix[] = ".new-";

std::string Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return text;
}

// The number of a generation's folder name, 0 for any other name.
int NumberOf(const std::string& name) {
  if (name.empty() || name.size() > 9 || name[0] == '0') return 0;
  if (!std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return 0;
  }
  return std::stoi(name);
}

// The generation in `folder` from its about file; number 0 when it is not one.
Generation ReadGeneration(const std::string& folder, int number) {
  Generation generation;
  std::string about;
  if (!ReadSmallFile(JoinPath(folder, kAboutName), 4096, &about) || about.empty() ||
      !ProbeFile(JoinPath(folder, "archive.htm")).ok()) {
    return generation;
  }
  for (const std::string_view line : SplitLines(about)) {
    const size_t space = line.find(' ');
    if (space == std::string_view::npos) continue;
    const std::string_view key = line.substr(0, space), value = line.substr(space + 1);
    if (key == "replaced") generation.replaced = value;
    if (key == "by") generation.by = value;
    if (key == "pictures") generation.pictures = std::atoi(std::string(value).c_str());
  }
  generation.number = number;
  generation.folder = folder;
  return generation;
}

// Links `from` as `to`, or copies it where the file system has no hard links.
Status LinkOrCopy(const std::string& from, const std::string& to) {
  if (MakeHardLink(from, to)) return Status::Ok();
  const StatusOr<CopyMade> copied = CopyToNewFile(from, to);
  return copied.ok()
             ? Status::Ok()
             : copied.status().Prefixed("Cannot keep " + from + " in " + FolderOf(to) + ": ");
}

// Fills `folder`, a new and empty one, with dest's files and the note of `generation`.
Status FillGeneration(const std::string& dest, const std::string& folder,
                      const Generation& generation) {
  for (const char* name : kKeptNames) {
    const std::string file = JoinPath(dest, name);
    if (!PathExists(file)) continue;
    if (Status status = LinkOrCopy(file, JoinPath(folder, name)); !status.ok()) return status;
  }
  ReplacingFile about;
  if (Status status = about.Open(JoinPath(folder, kAboutName)); !status.ok()) return status;
  about.WriteLine("replaced " + generation.replaced);
  about.WriteLine("by " + generation.by);
  about.WriteLine("pictures " + std::to_string(generation.pictures));
  return about.Commit();
}

// True when `generation` holds dest's archive.htm and archive.txt as they are now.
bool HoldsCurrent(const std::string& dest, const Generation& generation) {
  for (const char* name : kKeptNames) {
    const auto current = DigestOfFile(JoinPath(dest, name));
    const auto kept = DigestOfFile(JoinPath(generation.folder, name));
    if (current.has_value() != kept.has_value() || (current && !(*current == *kept))) return false;
  }
  return true;
}

void RemoveGeneration(const Generation& generation) {
  std::error_code error;
  fs::remove_all(generation.folder, error);
  RemoveEmptyFolder(FolderOf(generation.folder));  // a history of none is no folder
}

uint64_t BytesOf(const std::string& folder) {
  uint64_t bytes = 0;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code size_error;
    const auto size = it->file_size(size_error);
    if (!size_error) bytes += size;
  }
  return bytes;
}

}  // namespace

Status KeepGeneration(const std::string& dest, const std::string& by, int pictures,
                      Generation* kept) {
  const std::string history = JoinPath(dest, kHistoryFolder);
  std::error_code error;
  fs::create_directories(history, error);
  int newest = 0;
  for (fs::directory_iterator it(history, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.starts_with(kNewPrefix)) fs::remove_all(it->path(), error);  // of a killed run
    newest = std::max(newest, NumberOf(name));
  }
  if (error)
    return Status::FromErrno(
        error.value(), "Cannot keep the earlier archive in " + history + ": " + error.message());
  if (const Generation last = ReadGeneration(JoinPath(history, std::to_string(newest)), newest);
      last.number > 0 && HoldsCurrent(dest, last)) {
    *kept = last;
    return Status::Ok();
  }
  const std::string fresh = JoinPath(history, kNewPrefix + std::to_string(ThisProcessId()));
  fs::remove_all(fresh, error);
  if (!fs::create_directory(fresh, error)) {
    return Status::FromErrno(
        error.value(), "Cannot keep the earlier archive in " + history + ": " + error.message());
  }
  const Generation generation{
      newest + 1, Now(), by, pictures, JoinPath(history, std::to_string(newest + 1)), true};
  Status status = FillGeneration(dest, fresh, generation);
  if (status.ok()) {
    status = RenamePath(fresh, generation.folder)
                 .Prefixed("Cannot keep the earlier archive in " + history + ": ");
  }
  if (!status.ok()) {
    fs::remove_all(fresh, error);
    return status;
  }
  SyncFolder(history);
  *kept = generation;
  return Status::Ok();
}

void ForgetGeneration(const Generation& generation) {
  if (generation.made_now) RemoveGeneration(generation);
}

std::vector<Generation> PruneGenerations(const std::string& dest) {
  std::vector<Generation> all = ListGenerations(dest);  // newest first
  uint64_t bytes = 0;
  size_t keep = 0;
  while (keep < all.size() && keep < kMostGenerations) {
    bytes += BytesOf(all[keep].folder);
    if (keep > 0 && bytes > kMostHistoryBytes) break;
    ++keep;
  }
  std::vector<Generation> removed(all.begin() + static_cast<std::ptrdiff_t>(keep), all.end());
  std::reverse(removed.begin(), removed.end());
  for (const Generation& generation : removed) RemoveGeneration(generation);
  return removed;
}

std::vector<Generation> ListGenerations(const std::string& dest, Status* problem) {
  std::vector<Generation> generations;
  const std::string history = JoinPath(dest, kHistoryFolder);
  std::error_code error;
  fs::directory_iterator it(history, error);
  if (problem != nullptr && error && error != std::errc::no_such_file_or_directory) {
    *problem = Status::FromErrno(error.value(),
                                 "Cannot read the history " + history + ": " + error.message());
  }
  for (fs::directory_iterator end; !error && it != end; it.increment(error)) {
    const int number = NumberOf(it->path().filename().string());
    if (number == 0) continue;
    Generation generation = ReadGeneration(it->path().string(), number);
    if (generation.number != 0) generations.push_back(std::move(generation));
  }
  std::sort(generations.begin(), generations.end(),
            [](const Generation& a, const Generation& b) { return a.number > b.number; });
  return generations;
}

std::string DescribeGeneration(const Generation& generation) {
  return "version " + std::to_string(generation.number) + " (" +
         std::to_string(generation.pictures) +
         (generation.pictures == 1 ? " picture" : " pictures") + ", replaced by " + generation.by +
         " on " + generation.replaced + ")";
}

}  // namespace lumvane
