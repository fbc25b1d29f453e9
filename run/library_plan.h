// SPDX-License-Identifier: GPL-3.0-or-later
// A photo library, a tree of folders, as the runs that archive it: one archive for each folder
// that holds pictures, in the same tree under the library's archive folder, and a master
// archive at each level above them, so that the top archive searches the whole library.
#ifndef LUMVANE_RUN_LIBRARY_PLAN_H_
#define LUMVANE_RUN_LIBRARY_PLAN_H_

#include <functional>
#include <string>
#include <vector>

#include "platform/status.h"

namespace lumvane {

struct LibraryStep {
  enum class Kind { kScan, kMaster };
  Kind kind = Kind::kScan;
  std::string source;    // the folder a scan reads
  std::string dest;      // the archive's folder
  std::string relative;  // `dest` below the library's archive folder; "" for that folder itself
};

struct LibraryPlan {
  // Every scan before the master over it; a master before the one above it.
  std::vector<LibraryStep> steps;
  // The folders left out, with why: "2019/elsewhere (a link out of the library)".
  std::vector<std::string> left_out;
};

// Where the pictures of a folder that has subfolders with pictures go: a folder of this name in
// its archive folder, so that the master over the subfolders' archives has them too.
inline constexpr char kOwnPicturesFolder[] = "(this folder)";

// Plans `source` into `archive`. Folders are taken in file-manager order; hidden ones are not
// entered; the archive folder (when it lies inside `source`), links that lead out of `source`
// or to a folder taken already (a loop among them) and folders nested past 64 levels are left
// out and named. An error when `source` cannot be read.
Status PlanLibrary(const std::string& source, const std::string& archive, bool jpeg_only,
                   LibraryPlan* plan);

// True when `folder` holds no pictures itself but folders below it do.
bool HoldsOnlyFoldersOfPictures(const std::string& folder, bool jpeg_only);

// What the step's result was made from: for a scan its pictures' names, sizes and times, for a
// master its subfolders' archives; with `options` (what else changes the result). A step whose
// fingerprint is the one noted by its last run, and whose archive is there, need not run again.
std::string StepFingerprint(const LibraryStep& step, bool jpeg_only, const std::string& options);
bool StepUnchanged(const LibraryStep& step, const std::string& fingerprint);
// Notes `fingerprint` in the step's archive folder once its run has put the archive in place.
Status NoteStepDone(const LibraryStep& step, const std::string& fingerprint);

// What became of a step that RunStepUnlessUnchanged was given.
enum class StepOutcome { kUnchanged, kMade, kFailed };

// Runs `step` through `run` (true when it put the step's archive in place) unless it is
// unchanged since its last run with `options` and `again` is false; makes its archive folder
// first, and notes a step made as done (`noted`: why that note could not be written, if so).
StepOutcome RunStepUnlessUnchanged(const LibraryStep& step, bool jpeg_only,
                                   const std::string& options, bool again,
                                   const std::function<bool()>& run, Status* noted);

}  // namespace lumvane

#endif  // LUMVANE_RUN_LIBRARY_PLAN_H_
