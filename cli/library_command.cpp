// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/library_command.h"

#include <cstdio>

#include "platform/paths.h"
#include "platform/plural.h"
#include "run/library_plan.h"
#include "run/library_run.h"

namespace lumvane {
namespace {

// The options that change what a step makes, as the window's library run notes them.
std::string ResultOptions(const CliOptions& options) {
  RunEnvironment environment;
  environment.read_embedded = options.read_embedded;
  environment.jpeg_only = options.jpeg_only;
  environment.with_deleted = options.with_deleted;
  environment.pair_raw = options.pair_raw;
  environment.clip_previews = options.clip_previews;
  return LibraryOptions(options.copy_mode.value_or(CopyMode::kNone), environment);
}

CliOptions StepOptions(const CliOptions& options, const LibraryStep& step) {
  CliOptions one = options;
  one.recursive = false;
  one.command = step.kind == LibraryStep::Kind::kScan ? CliOptions::Command::kScan
                                                      : CliOptions::Command::kMaster;
  one.source_dir = step.source;
  one.dest_dir = step.dest;
  return one;
}

struct Tally {
  int archived = 0, unchanged = 0, failed = 0;
};

// A dry run's step: a changed one says what it would do; nothing is noted.
int DryRunStep(const CliOptions& options, const LibraryStep& step,
               const std::function<int(const CliOptions&)>& run_one, Tally* tally) {
  const std::string fingerprint = StepFingerprint(step, options.jpeg_only, ResultOptions(options));
  if (!options.force && StepUnchanged(step, fingerprint)) {
    if (!options.quiet) std::printf("Unchanged: %s\n", step.dest.c_str());
    ++tally->unchanged;
    return 0;
  }
  ++tally->archived;
  if (step.kind == LibraryStep::Kind::kScan) return run_one(StepOptions(options, step));
  // a master's subfolders have no archives yet in a dry run
  if (!options.quiet) {
    std::printf("Would make the master archive %s\n", JoinPath(step.dest, "archive.htm").c_str());
  }
  return 0;
}

// Runs one step unless it is unchanged; the step's exit status.
int RunStep(const CliOptions& options, const LibraryStep& step,
            const std::function<int(const CliOptions&)>& run_one, Tally* tally) {
  if (options.dry_run) return DryRunStep(options, step, run_one, tally);
  int status = 0;
  Status noted;
  const StepOutcome outcome = RunStepUnlessUnchanged(
      step, options.jpeg_only, ResultOptions(options), options.force,
      [&] { return (status = run_one(StepOptions(options, step))) == 0; }, &noted);
  if (outcome == StepOutcome::kUnchanged && options.verbose) {
    std::printf("Unchanged: %s\n", step.dest.c_str());
  }
  if (!noted.ok()) std::fprintf(stderr, "lumvane: %s\n", noted.message().c_str());
  if (outcome == StepOutcome::kMade) ++tally->archived;
  if (outcome == StepOutcome::kUnchanged) ++tally->unchanged;
  if (outcome == StepOutcome::kFailed) ++tally->failed;
  return status;
}

}  // namespace

int RunLibraryCommand(const CliOptions& options,
                      const std::function<int(const CliOptions&)>& run_one) {
  LibraryPlan plan;
  if (Status planned = PlanLibrary(options.source_dir, options.dest_dir, options.jpeg_only, &plan);
      !planned.ok()) {
    std::fprintf(stderr, "lumvane: %s\n", planned.message().c_str());
    return 1;
  }
  if (plan.steps.empty()) {
    std::fprintf(stderr, "lumvane: no pictures in %s or any folder below it\n",
                 options.source_dir.c_str());
    return 1;
  }
  Tally tally;
  for (const LibraryStep& step : plan.steps) {
    const int status = RunStep(options, step, run_one, &tally);
    if (status > 128) return status;  // stopped
  }
  if (!options.quiet) {
    std::printf("Library: %s %s, %s unchanged; the whole library is %s\n",
                CountOf(tally.archived, "archive").c_str(),
                options.dry_run ? "would be made" : "made",
                CountOf(tally.unchanged, "archive").c_str(),
                JoinPath(plan.steps.back().dest, "archive.htm").c_str());
    for (const std::string& folder : plan.left_out) std::printf("Left out: %s\n", folder.c_str());
  }
  if (tally.failed > 0) {
    std::fprintf(stderr, "lumvane: %s of the library failed\n",
                 CountOf(tally.failed, "archive").c_str());
    return 1;
  }
  return 0;
}

std::string FoldersOnlyHint(const std::string& source, bool jpeg_only) {
  if (!HoldsOnlyFoldersOfPictures(source, jpeg_only)) return "";
  return source + " holds no pictures, only folders that do; --recursive archives them all, " +
         "with a master archive over them";
}

}  // namespace lumvane
