// SPDX-License-Identifier: GPL-3.0-or-later
// What the catalog benchmarks share: a run that discards the pictures, and a child process
// per measurement so that each figure's peak memory is its own.
#ifndef LUMVANE_BENCH_CATALOG_BENCH_H_
#define LUMVANE_BENCH_CATALOG_BENCH_H_

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "importers/import_run.h"

extern char** environ;

namespace catalog_bench {

// A run that counts the pictures and places every volume in one folder that holds nothing.
class DiscardingRun : public lumvane::ImportRun {
 public:
  int pictures = 0, passed_over = 0;
  lumvane::CatalogFile file;
  std::string path;
  std::string source_dir() const override { return ""; }
  bool reads_source_dir() const override { return false; }
  bool jpeg_only() const override { return false; }
  std::string dest_dir() const override { return ""; }
  const lumvane::CatalogFile* catalog() const override { return &file; }
  std::string catalog_path() const override { return path; }
  std::string Locate(const std::string& source) const override { return source; }
  std::string FindBelow(const std::string& root, const std::string& within) const override {
    return root + "/" + within;
  }
  std::string LabelToDrive(const std::string& label) override { return "/nonexistent/" + label; }
  void ExpectPictures(int) override {}
  void Process(const lumvane::PictureInput&) override { ++pictures; }
  void AddRecord(const lumvane::PictureRecord&, const std::string&) override {}
  void BeginStep(const std::string&) override {}
  void NotePassedOver(const std::string&, const std::string&, bool) override { ++passed_over; }
  void NoteNotAvailable(const lumvane::CatalogPlace&) override { ++passed_over; }
  void CountMergedArchive() override {}
  bool StopRequested() const override { return false; }
};

// The peak memory of this process since it began (VmHWM starts afresh at exec, where the
// rusage figure keeps the spawning parent's), or of a child it waited for when larger.
inline double PeakMemoryMib() {
  std::ifstream status("/proc/self/status");
  double kib = 0;
  for (std::string word; status >> word;) {
    if (word == "VmHWM:") status >> kib;
  }
  rusage children{};
  getrusage(RUSAGE_CHILDREN, &children);
  return std::max<double>(kib, static_cast<double>(children.ru_maxrss)) / 1024.0;
}

// Opens `path` as the run's catalog and times `read` (the child's side); prints the
// milliseconds. "floor" times reading the file's bytes once instead.
inline int Child(const std::string& mode, const std::string& path,
                 lumvane::Status (*read)(lumvane::ImportRun&), int pictures) {
  const auto start = std::chrono::steady_clock::now();
  DiscardingRun run;
  run.path = path;
  if (!run.file.Open(path).ok()) return 1;
  if (mode == "floor") {
    std::string bytes;
    if (!run.file.ReadAll(&bytes)) return 1;
  } else if (!read(run).ok() || run.pictures != pictures) {
    return 1;
  }
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("%.1f %.1f\n", ms, PeakMemoryMib());
  return 0;
}

// Runs this program as `mode` on `path`; its time in ms and peak memory in MiB.
inline bool Measure(const char* self, const char* mode, const std::string& path, double* ms,
                    double* mib) {
  char out[] = "/tmp/lumvane-tdb-bench-out-XXXXXX";
  const int fd = mkstemp(out);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fd, 1);
  std::string mode_text = mode, path_text = path;
  char* argv[] = {const_cast<char*>(self), mode_text.data(), path_text.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, self, &actions, nullptr, argv, environ) != 0) return false;
  int status = 0;
  waitpid(pid, &status, 0);
  close(fd);
  std::ifstream(out) >> *ms >> *mib;
  unlink(out);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Both measurements, three times each (the last counts, the cache warm); false when one failed.
inline bool MeasureBoth(const std::string& path, double* floor_ms, double* floor_mib,
                        double* read_ms, double* read_mib) {
  char exe[4096] = {};
  if (readlink("/proc/self/exe", exe, sizeof exe - 1) <= 0) return false;
  for (int round = 0; round < 3; ++round) {
    if (!Measure(exe, "floor", path, floor_ms, floor_mib) ||
        !Measure(exe, "read", path, read_ms, read_mib)) {
      return false;
    }
  }
  return true;
}

// Writes `bytes` as a catalog file, measures reading its bytes and the reader, prints both
// after `description`, removes the file; the exit status of main.
inline int Compare(const std::string& bytes, const char* extension, const char* description) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("lumvane-bench-" + std::to_string(getpid()) + extension))
                               .string();
  std::ofstream(path, std::ios::binary) << bytes;
  double floor_ms = 0, floor_mib = 0, read_ms = 0, read_mib = 0;
  const bool measured = MeasureBoth(path, &floor_ms, &floor_mib, &read_ms, &read_mib);
  if (measured) {
    std::printf(
        "%s (%.1f MB): reading its bytes %.0f ms, %.0f MiB; the reader %.0f ms (%.1fx), "
        "%.0f MiB\n",
        description, std::filesystem::file_size(path) / 1e6, floor_ms, floor_mib, read_ms,
        read_ms / floor_ms, read_mib);
  }
  std::filesystem::remove(path);
  if (!measured) std::fprintf(stderr, "%s: a run failed\n", description);
  return measured ? 0 : 1;
}

}  // namespace catalog_bench

#endif  // LUMVANE_BENCH_CATALOG_BENCH_H_
