// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/library_plan.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "importers/source_scan.h"
#include "platform/content_digest.h"
#include "platform/directory_listing.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/replacing_file.h"
#include "processing/naming.h"

namespace fs = std::filesystem;

namespace lumvane {
namespace {

constexpr int kDeepest = 64;
constexpr char kNoteName[] = ".lumvane-library";

std::string RealPath(const std::string& path) {
  std::error_code error;
  const fs::path real = fs::canonical(path, error);
  return error ? "" : real.string();
}

// The pictures of `folder` that are originals: an archive's own images (an archive folder
// inside the library) are none.
Status ListOriginals(const std::string& folder, bool jpeg_only, std::vector<std::string>* names) {
  std::vector<std::string> all;
  if (Status listed = ListSourcePictures(WithTrailingSeparator(folder), jpeg_only, &all);
      !listed.ok()) {
    return listed;
  }
  for (std::string& name : all) {
    if (IsOriginalPicture(folder, name)) names->push_back(std::move(name));
  }
  return Status::Ok();
}

bool Inside(const std::string& path, const std::string& folder) {
  return path == folder ||
         (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
          (folder.back() == '/' || path[folder.size()] == '/'));
}

std::string Joined(const std::string& relative, const std::string& name) {
  return relative.empty() ? name : relative + "/" + name;
}

class Planner {
 public:
  Planner(const std::string& source, const std::string& archive, bool jpeg_only, LibraryPlan* plan)
      : root_(RealPath(source)),
        archive_(archive),
        archive_real_(RealPath(archive)),
        jpeg_only_(jpeg_only),
        plan_(plan) {
    visited_.insert(root_);
  }

  // Plans `folder` (`relative` below the source); true when it or a folder below holds pictures.
  Status Visit(const std::string& folder, const std::string& relative, int depth, bool* any) {
    std::vector<std::string> pictures, subfolders;
    if (Status s = ListOriginals(folder, jpeg_only_, &pictures); !s.ok()) return s;
    if (Status s = ListVisibleFolders(folder, &subfolders); !s.ok()) return s;
    std::sort(subfolders.begin(), subfolders.end(), ListedBefore);
    const size_t first_step = plan_->steps.size();
    bool below = false;
    for (const std::string& name : subfolders) {
      const std::string path = JoinPath(folder, name);
      if (!Taken(path, Joined(relative, name), depth)) continue;
      bool sub_any = false;
      if (Status s = Visit(path, Joined(relative, name), depth + 1, &sub_any); !s.ok()) {
        plan_->left_out.push_back(Joined(relative, name) + " (" + s.message() + ")");
      }
      below = below || sub_any;
    }
    const std::string dest = relative.empty() ? archive_ : JoinPath(archive_, relative);
    if (!pictures.empty()) {
      const bool apart = below;  // its own archive beside those of its subfolders
      LibraryStep scan{LibraryStep::Kind::kScan, folder,
                       apart ? JoinPath(dest, kOwnPicturesFolder) : dest,
                       apart ? Joined(relative, kOwnPicturesFolder) : relative};
      plan_->steps.insert(plan_->steps.begin() + static_cast<long>(first_step), scan);
    }
    if (below) plan_->steps.push_back({LibraryStep::Kind::kMaster, "", dest, relative});
    *any = below || !pictures.empty();
    return Status::Ok();
  }

 private:
  // Whether the subfolder at `path` is entered; says why when it is not.
  bool Taken(const std::string& path, const std::string& relative, int depth) {
    const std::string real = RealPath(path);
    const char* why = nullptr;
    if (real.empty()) {
      why = "cannot be read";
    } else if (!archive_real_.empty() && real == archive_real_) {
      why = "the archive's own folder";
    } else if (!Inside(real, root_)) {
      why = "a link out of the library";
    } else if (visited_.count(real) > 0) {
      why = "a link to a folder taken already";
    } else if (depth >= kDeepest) {
      why = "nested too deep";
    }
    if (why != nullptr) {
      plan_->left_out.push_back(relative + " (" + why + ")");
      return false;
    }
    visited_.insert(real);
    return true;
  }

  std::string root_, archive_, archive_real_;
  bool jpeg_only_;
  LibraryPlan* plan_;
  std::set<std::string> visited_;
};

}  // namespace

Status PlanLibrary(const std::string& source, const std::string& archive, bool jpeg_only,
                   LibraryPlan* plan) {
  if (Status readable = CheckReadableFolder(source); !readable.ok()) return readable;
  Planner planner(source, archive, jpeg_only, plan);
  bool any = false;
  return planner.Visit(source, "", 0, &any);
}

bool HoldsOnlyFoldersOfPictures(const std::string& folder, bool jpeg_only) {
  std::vector<std::string> pictures;
  if (!ListOriginals(folder, jpeg_only, &pictures).ok() || !pictures.empty()) {
    return false;
  }
  LibraryPlan plan;
  return PlanLibrary(folder, "", jpeg_only, &plan).ok() && !plan.steps.empty();
}

namespace {

void AddFile(const std::string& path, const std::string& name, ContentDigest* digest) {
  const StatusOr<FileFacts> facts = FactsOf(path);
  digest->Add(name + "\t" + std::to_string(facts.ok() ? facts->size : -1) + "\t" +
              std::to_string(facts.ok() ? facts->changed_ns : 0) + "\n");
}

}  // namespace

std::string StepFingerprint(const LibraryStep& step, bool jpeg_only, const std::string& options) {
  ContentDigest digest;
  digest.Add(options + "\n");
  std::vector<std::string> names;
  if (step.kind == LibraryStep::Kind::kScan) {
    (void)ListOriginals(step.source, jpeg_only, &names);
    for (const std::string& name : names) AddFile(JoinPath(step.source, name), name, &digest);
  } else {
    (void)ListVisibleFolders(step.dest, &names);
    std::sort(names.begin(), names.end(), ListedBefore);
    for (const std::string& name : names) {
      AddFile(JoinPath(JoinPath(step.dest, name), "archive.htm"), name, &digest);
    }
  }
  std::ostringstream text;
  text << std::hex << digest.hash() << " " << std::dec << digest.size();
  return text.str();
}

bool StepUnchanged(const LibraryStep& step, const std::string& fingerprint) {
  if (!IsVisibleFile(JoinPath(step.dest, "archive.htm"))) return false;
  std::ifstream note(JoinPath(step.dest, kNoteName));
  std::string noted;
  return std::getline(note, noted) && noted == fingerprint;
}

Status NoteStepDone(const LibraryStep& step, const std::string& fingerprint) {
  ReplacingFile note;
  if (Status opened = note.Open(JoinPath(step.dest, kNoteName)); !opened.ok()) return opened;
  note.Write(fingerprint + "\n");
  return note.Commit();
}

StepOutcome RunStepUnlessUnchanged(const LibraryStep& step, bool jpeg_only,
                                   const std::string& options, bool again,
                                   const std::function<bool()>& run, Status* noted) {
  const std::string fingerprint = StepFingerprint(step, jpeg_only, options);
  if (!again && StepUnchanged(step, fingerprint)) return StepOutcome::kUnchanged;
  std::error_code error;
  fs::create_directories(step.dest, error);  // a folder that cannot be made fails the run
  if (!run()) return StepOutcome::kFailed;
  *noted = NoteStepDone(step, fingerprint);
  return StepOutcome::kMade;
}

}  // namespace lumvane
