// The V3 database reader on a large database (50,000 files in 500 folders on 3 volumes,
// 200,000 links, 5,000 keywords), against reading the file's bytes once in the same run.
// Each is run in a child process of its own, so that its peak memory is its own.
// Usage: tdb_bench            (writes the database, runs both, prints the figures)
//        tdb_bench read|floor DATABASE   (one child)
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "importers/thumbsplus_database.h"
#include "tests/support/thumbsplus_database.h"

extern char** environ;

namespace {

// A run that counts the pictures and places every volume in one folder that holds nothing.
class DiscardingRun : public lumvane::ImportRun {
 public:
  int pictures = 0, passed_over = 0;
  lumvane::CatalogFile file;
  std::string path;
  std::string source_dir() const override { return ""; }
  std::string dest_dir() const override { return ""; }
  const lumvane::CatalogFile* catalog() const override { return &file; }
  std::string catalog_path() const override { return path; }
  std::string Locate(const std::string& source) const override { return source; }
  std::string LabelToDrive(const std::string& label) override { return "/nonexistent/" + label; }
  void ExpectPictures(int) override {}
  void Process(const lumvane::PictureInput&) override { ++pictures; }
  void AddRecord(const lumvane::PictureRecord&, const std::string&) override {}
  void BeginStep(const std::string&) override {}
  void NotePassedOver(const std::string&, const std::string&) override { ++passed_over; }
  void CountMergedArchive() override {}
  bool StopRequested() const override { return false; }
};

testing_support::Tdb LargeDatabase() {
  std::mt19937 random(7);
  testing_support::Tdb db;
  for (uint32_t v = 1; v <= 3; ++v) db.volumes.push_back({v, "VOLUME " + std::to_string(v)});
  for (uint32_t f = 1; f <= 500; ++f) {
    db.folders.push_back(
        {f, 1 + f % 3,
         "Pictures\\" + std::to_string(1990 + f % 20) + "\\Roll " + std::to_string(f)});
  }
  for (uint32_t n = 1; n <= 50000; ++n) {
    db.files.push_back({n, 1 + n % 500, "IMG_" + std::to_string(n) + ".JPG"});
  }
  for (uint32_t k = 1; k <= 5000; ++k) db.keywords.push_back({k, "keyword " + std::to_string(k)});
  for (int l = 0; l < 200000; ++l) {
    db.links.push_back(
        {1 + static_cast<uint32_t>(random() % 50000), 1 + static_cast<uint32_t>(random() % 5000)});
  }
  return db;
}

int Child(const std::string& mode, const std::string& path) {
  const auto start = std::chrono::steady_clock::now();
  DiscardingRun run;
  run.path = path;
  if (run.file.Open(path) != lumvane::CatalogFile::OpenResult::kOpened) return 1;
  if (mode == "floor") {
    std::string bytes;
    if (!run.file.ReadAll(&bytes)) return 1;
  } else if (!lumvane::ReadThumbsPlusDatabase(run).ok() || run.pictures != 50000) {
    return 1;
  }
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("%.1f\n", ms);
  return 0;
}

// Runs this program as `mode` on `path`; its time in ms and peak memory in MiB.
bool Measure(const char* self, const char* mode, const std::string& path, double* ms, double* mib) {
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
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  close(fd);
  std::ifstream(out) >> *ms;
  unlink(out);
  *mib = usage.ru_maxrss / 1024.0;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3) return Child(argv[1], argv[2]);
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("lumvane-bench-" + std::to_string(getpid()) + ".tDB"))
                               .string();
  { std::ofstream(path, std::ios::binary) << LargeDatabase().Bytes(); }
  double floor_ms = 0, floor_mib = 0, read_ms = 0, read_mib = 0;
  const char* self = "/proc/self/exe";
  char exe[4096] = {};
  if (readlink(self, exe, sizeof exe - 1) <= 0) return 1;
  for (int round = 0; round < 3; ++round) {  // the last of three, the cache warm
    if (!Measure(exe, "floor", path, &floor_ms, &floor_mib) ||
        !Measure(exe, "read", path, &read_ms, &read_mib)) {
      std::fprintf(stderr, "tdb_bench: a run failed\n");
      return 1;
    }
  }
  std::printf(
      "V3 database, 50,000 files, 200,000 links (%.1f MB): reading its bytes %.0f ms, %.0f MiB; "
      "the reader %.0f ms (%.1fx), %.0f MiB\n",
      std::filesystem::file_size(path) / 1e6, floor_ms, floor_mib, read_ms, read_ms / floor_ms,
      read_mib);
  std::filesystem::remove(path);
  return 0;
}
