// SPDX-License-Identifier: GPL-3.0-or-later
// lumvane: the command line. `lumvane scan` makes an archive from a folder, `lumvane catalog`
// from the catalog of another photo program; without a command, the window.

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/console_window.h"
#include "cli/edit_command.h"
#include "cli/history_command.h"
#include "cli/library_command.h"
#include "cli/locations_command.h"
#include "cli/options.h"
#include "cli/usage.h"
#include "locations/saved_locations.h"
#include "lumvane/version.h"
#include "platform/plural.h"
#include "platform/process.h"
#include "run/dry_run_lines.h"
#include "run/picture_pipeline.h"
#include "run/run_driver.h"
#include "run/run_summary.h"

namespace fs = std::filesystem;

namespace {

// One line for what was wrong, and where the help is: that of the command given, if any.
int UsageError(const std::string& message, const std::vector<std::string>& args) {
  const bool known = !args.empty() && lumvane::FindCommand(args[0]) != nullptr;
  std::fprintf(stderr, "lumvane: %s\nTry 'lumvane %s--help'.\n", message.c_str(),
               known ? (args[0] + " ").c_str() : "");
  return 2;
}

std::string Absolute(const std::string& path) {
  std::error_code error;
  const fs::path resolved = fs::weakly_canonical(fs::absolute(path), error);
  std::string text = (error ? fs::absolute(path) : resolved).string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

// `options` with the folders of --drive and --volume made absolute.
lumvane::CliOptions WithAbsoluteFolders(lumvane::CliOptions options) {
  for (auto& [drive, folder] : options.drives) folder = Absolute(folder);
  for (auto& [label, folder] : options.volumes) folder = Absolute(folder);
  return options;
}

using lumvane::CountOf;

void PrintSummary(const lumvane::RunState& state, const lumvane::CliOptions& options,
                  const std::string& dest, bool stopped) {
  const std::string page = (fs::path(dest) / "archive.htm").string();
  const std::string pictures = CountOf(state.picture_count, "picture");
  if (options.command == lumvane::CliOptions::Command::kMaster) {
    std::printf("%s %s from %s into %s\n", stopped ? "Stopped after merging" : "Merged",
                pictures.c_str(), CountOf(state.archives_merged, "archive").c_str(), page.c_str());
  } else {
    const std::string formats = lumvane::ArchivedByFormat(state);
    std::printf("%s %s%s into %s\n", stopped ? "Stopped after archiving" : "Archived",
                pictures.c_str(), formats.empty() ? "" : (" (" + formats + ")").c_str(),
                page.c_str());
  }
  if (const std::string earlier = lumvane::EarlierArchiveLine(state); !earlier.empty()) {
    std::printf("%s\n", earlier.c_str());
  } else if (state.kept_version > 0) {
    std::printf("The archive it replaced is kept as version %d of its history (lumvane restore)\n",
                state.kept_version);
  }
  if (state.reused > 0) {
    std::printf("%s kept the images of the earlier archive (unchanged originals)\n",
                CountOf(state.reused, "picture").c_str());
  }
  if (state.described > 0) {
    std::printf("%s brought %s own description%s\n", CountOf(state.described, "picture").c_str(),
                state.described == 1 ? "its" : "their", state.described == 1 ? "" : "s");
  }
  if (options.command == lumvane::CliOptions::Command::kScan &&
      options.copy_mode.value_or(lumvane::CopyMode::kNone) != lumvane::CopyMode::kNone &&
      Absolute(options.source_dir) == Absolute(dest)) {
    std::printf("Nothing was copied: the originals are in the archive folder already.\n");
  }
  for (const std::string& line : lumvane::EditsLines(state, " (--with-deleted brings them back)")) {
    std::printf("%s\n", line.c_str());
  }
  if (const std::string dropped = lumvane::DroppedVersionsLine(state); !dropped.empty()) {
    std::printf("%s\n", dropped.c_str());
  }
  if (state.passed_over.empty()) return;
  std::printf("Passed over %zu: %s\n", state.passed_over.size(),
              lumvane::PassedOverReasons(state, /*always_counted=*/true).c_str());
  for (const lumvane::CatalogPlace& place : lumvane::UnknownPlaces(state)) {
    const bool drive = place.kind == lumvane::CatalogPlace::Kind::kDrive;
    std::printf("The %s %s is not on this machine: %s '%s=DIR' reads it from DIR.\n",
                drive ? "drive" : "volume", place.Name().c_str(), drive ? "--drive" : "--volume",
                place.key.c_str());
  }
  if (!options.verbose) return;
  for (const auto& picture : state.passed_over) {
    std::printf("  %s: %s\n", picture.source.c_str(), picture.reason.c_str());
  }
}

// What a dry run found, and what it passed over, as a run's summary says it.
void PrintDryRun(const lumvane::RunState& state, const lumvane::CliOptions& options,
                 const std::string& dest) {
  const bool master = options.command == lumvane::CliOptions::Command::kMaster;
  const long long available = lumvane::AvailableBytes(dest);
  std::vector<std::string> lines = lumvane::DryRunLines(state, dest, master, available);
  const std::string last = lines.back();
  lines.pop_back();
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  if (!state.passed_over.empty()) {
    std::printf("Would pass over %zu: %s\n", state.passed_over.size(),
                lumvane::PassedOverReasons(state, /*always_counted=*/true).c_str());
  }
  for (const auto& picture : state.passed_over) {
    if (options.verbose) std::printf("  %s: %s\n", picture.source.c_str(), picture.reason.c_str());
  }
  std::printf("%s\n", last.c_str());
}

bool CheckFolder(const std::string& folder, const char* role) {
  std::error_code error;
  if (fs::is_directory(folder, error)) return true;
  std::fprintf(stderr, "lumvane: the %s folder %s does not exist\n", role, folder.c_str());
  return false;
}

// The window the run reads, from the arguments. False when a folder is missing.
bool LocationsFor(const lumvane::CliOptions& options,
                  lumvane::ConsoleWindow::Locations* locations) {
  using lumvane::Mode;
  locations->dest_dir = Absolute(options.dest_dir);
  if (!options.source_dir.empty()) {
    if (!CheckFolder(options.source_dir, "source")) return false;
    locations->source_dir = Absolute(options.source_dir);
  }
  if (options.command == lumvane::CliOptions::Command::kScan) {
    locations->mode = Mode::kSourceScan;
    return true;
  }
  if (options.command == lumvane::CliOptions::Command::kMaster) {
    locations->mode = Mode::kMaster;
    return true;
  }
  const fs::path catalog = Absolute(options.catalog_path);
  locations->catalog_dir = catalog.parent_path().string();
  locations->catalog_file = catalog.filename().string();
  locations->mode =
      options.source_dir.empty() ? Mode::kCatalogOriginalPaths : Mode::kCatalogSourceDir;
  return true;
}

int RunArchive(const lumvane::CliOptions& options) {
  lumvane::ConsoleWindow::Locations locations;
  if (!LocationsFor(options, &locations)) return 1;
  const std::atomic<int>& stop_signal = lumvane::InstallStopSignals();
  lumvane::RunState state;
  state.copy_mode = options.copy_mode.value_or(lumvane::CopyMode::kNone);
  lumvane::RunEnvironment environment = lumvane::DefaultRunEnvironment();
  environment.read_embedded = options.read_embedded;
  environment.workers = options.jobs;
  environment.render_again = options.force;
  environment.jpeg_only = options.jpeg_only;
  environment.pair_raw = options.pair_raw;
  environment.clip_previews = options.clip_previews;
  environment.with_deleted = options.with_deleted;
  environment.dry_run = options.dry_run;
  // The saved locations, with those of --drive and --volume before them for this run only. A
  // run that reads a catalog's own paths cannot go without them.
  lumvane::SavedLocations saved;
  if (const lumvane::Status loaded = lumvane::SavedLocations::Load(&saved);
      !loaded.ok() && locations.mode == lumvane::Mode::kCatalogOriginalPaths) {
    std::fprintf(stderr, "lumvane: %s\n", loaded.message().c_str());
    return 1;
  }
  const lumvane::CliOptions given = WithAbsoluteFolders(options);
  environment.drive_map = given.drives;
  environment.drive_map.insert(saved.drives.begin(), saved.drives.end());
  environment.volume_folders = given.volumes;
  environment.volume_folders.insert(saved.volumes.begin(), saved.volumes.end());
  const std::string dest = locations.dest_dir;
  lumvane::ConsoleWindow window(options, std::move(locations), &stop_signal);
  lumvane::GoClick(window, state, environment);
  window.FinishProgress();
  if (!options.quiet && state.archive_written) {
    PrintSummary(state, options, dest, stop_signal != 0);
  }
  if (state.outcome == lumvane::RunOutcome::kSurveyed) {
    if (!options.quiet) PrintDryRun(state, options, dest);
    return stop_signal != 0 ? 128 + stop_signal : 0;
  }
  if (stop_signal != 0) return 128 + stop_signal;
  return lumvane::RunFellShort(state) ? 1 : 0;
}

bool HasDisplay() {
  if (std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
      std::getenv("QT_QPA_PLATFORM") != nullptr) {
    return true;
  }
  std::fprintf(stderr,
               "lumvane: there is no display to open the window on\nTry 'lumvane --help'.\n");
  return false;
}

// The window is a program of its own, so that the command line never loads the window's
// libraries: beside this one in the build tree, in libexec/lumvane once installed. It starts
// in place of this process, with `args` after its name (the main window without any, the
// editor with "edit" and the archive folder).
int OpenWindow(std::vector<std::string> args) {
  if (!HasDisplay()) return 2;
  std::error_code error;
  const fs::path here = fs::read_symlink("/proc/self/exe", error).parent_path();
  std::string window = (here / "lumvane-window").string();
  if (!lumvane::CanExecute(window)) {
    window = (here / ".." / LUMVANE_WINDOW_DIR / "lumvane-window").lexically_normal().string();
  }
  const lumvane::Status started = error ? lumvane::Status::FromErrno(error.value(), error.message())
                                        : lumvane::ExecuteInPlace(window, std::move(args));
  std::fprintf(stderr, "lumvane: cannot start the window program %s: %s\n", window.c_str(),
               started.message().c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  lumvane::ReturnFreedPictureMemory();
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return OpenWindow({});
  const lumvane::StatusOr<lumvane::CliOptions> parsed = lumvane::ParseOptions(args);
  if (!parsed.ok()) return UsageError(parsed.status().message(), args);
  const lumvane::CliOptions& options = *parsed;
  switch (options.command) {
    case lumvane::CliOptions::Command::kHelp: {
      const std::string usage = lumvane::CommandUsage(options.help_topic);
      std::printf("%s", usage.empty() ? lumvane::UsageText().c_str() : usage.c_str());
      return 0;
    }
    case lumvane::CliOptions::Command::kVersion:
      std::printf("Lumvane %s\n", lumvane::kVersion);
      return 0;
    case lumvane::CliOptions::Command::kScan:
      if (options.recursive) {
        if (!CheckFolder(options.source_dir, "source")) return 1;
        return lumvane::RunLibraryCommand(options, RunArchive);
      }
      if (const std::string hint = lumvane::FoldersOnlyHint(options.source_dir, options.jpeg_only);
          !hint.empty()) {
        std::fprintf(stderr, "lumvane: %s\n", hint.c_str());
        return 1;
      }
      return RunArchive(options);
    case lumvane::CliOptions::Command::kCatalog:
    case lumvane::CliOptions::Command::kMaster:
      return RunArchive(options);
    case lumvane::CliOptions::Command::kEdit:
      if (options.edit_action == lumvane::CliOptions::EditAction::kWindow) {
        return OpenWindow({"edit", Absolute(options.dest_dir)});
      }
      return lumvane::RunEditCommand(options, Absolute(options.dest_dir));
    case lumvane::CliOptions::Command::kHistory:
      return lumvane::RunHistoryCommand(Absolute(options.dest_dir));
    case lumvane::CliOptions::Command::kRestore:
      return lumvane::RunRestoreCommand(Absolute(options.dest_dir), options.edit_record);
    case lumvane::CliOptions::Command::kLocations:
      return lumvane::RunLocationsCommand(WithAbsoluteFolders(options));
    case lumvane::CliOptions::Command::kNone:
      break;
  }
  return UsageError("no command given", args);
}
