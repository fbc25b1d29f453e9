// SPDX-License-Identifier: GPL-3.0-or-later
// The run state that outlives one run; the window owns it for the program's life.
#ifndef LUMVANE_RUN_RUN_STATE_H_
#define LUMVANE_RUN_RUN_STATE_H_

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "locations/catalog_place.h"
#include "pictures/copy_mode.h"

namespace lumvane {

struct PassedOverPicture {
  std::string source;
  std::string reason;  // "file missing", "cannot write display image or thumbnail: ...", ...
  // A picture left out for any reason but not being one (missing, unreadable, damaged, on a
  // drive that is not here): the run has failed to archive what it was given.
  bool lost = false;
  // A picture the catalog names on a drive or volume that was not found there: its place,
  // and whether that drive or volume has no folder on this machine at all.
  std::optional<CatalogPlace> place = std::nullopt;
  bool place_unknown = false;
};

struct UncopiedOriginal {
  std::string source;
  std::string reason;
};

// What one copy answer would copy into the archive folder.
struct CopyFigures {
  int copies = 0;       // originals that would be copied
  long long bytes = 0;  // ... and their bytes
  int there = 0;        // originals that are in the archive folder already under that name
};

// What a dry run found the run would do; it reads the folder or catalog and writes nothing.
// The copies are counted for both answers that copy, whichever the run was given.
struct DryRunFigures {
  int new_images = 0;           // pictures whose display image and thumbnail would be made
  int kept_images = 0;          // ... whose images are in the archive and would be kept
  CopyFigures keep_names;       // copies under the originals' own names
  CopyFigures rename;           // ... under unique short names
  long long image_bytes = 0;    // the new images' bytes, about
  int earlier_pictures = 0;     // pictures of the archive the run would replace (0: none)
  bool earlier_master = false;  // ... which is a master archive
};

// How the last run ended.
enum class RunOutcome {
  kRefused,          // it did not begin: its selection, catalog or destination refused it
  kFailed,           // it began and something failed (archive_written says whether it is in place)
  kNothingArchived,  // it archived nothing and left the earlier archive as it was
  kWritten,          // its archive is in place, completed or stopped
  kSurveyed,         // a dry run read its source and wrote nothing (RunState::dry)
};

struct RunState {
  CopyMode copy_mode = CopyMode::kNone;  // the last answer to the Copy Originals question
  int picture_count = 0;                 // pictures archived in the current or last run
  int archives_merged = 0;               // archives a master run merged
  int reused = 0;                        // pictures whose images were in the destination already
  int described = 0;                     // pictures whose texts came from the photos themselves
  std::map<std::string, int> formats;    // pictures archived by their format ("JPEG", "PNG")

  // Of the current or last run, in order: pictures passed over, and archived pictures whose
  // original could not be copied as asked.
  std::vector<PassedOverPicture> passed_over;
  std::vector<UncopiedOriginal> uncopied;
  // The last run put its archive in place (completed or stopped), whether it was stopped, the
  // pictures of the archive it replaced, the version of the archive's history that one was
  // kept as (0: none), and the oldest versions that went to make room ("version 1 (...)").
  RunOutcome outcome = RunOutcome::kRefused;
  bool archive_written = false;
  bool stopped = false;
  int earlier_pictures = 0;
  int kept_version = 0;
  std::vector<std::string> dropped_versions;
  int expected_pictures = -1;  // the pictures a folder or catalog held; -1 when not known
  DryRunFigures dry;           // of a dry run: what the run would have done
  // The editor's changes the run met: pictures whose own text changed since the edit
  // ("Harbour (title)"), and pictures deleted in the editor that stayed out.
  std::vector<std::string> edits_gave_way;
  int deleted_left_out = 0;

  // Volume label to mount point, kept for the program's life.
  std::map<std::string, std::string> drive_cache;
};

}  // namespace lumvane

#endif  // LUMVANE_RUN_RUN_STATE_H_
