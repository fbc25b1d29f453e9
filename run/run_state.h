// The run state that outlives one run; the window owns it for the program's life.
#ifndef LUMVANE_RUN_RUN_STATE_H_
#define LUMVANE_RUN_RUN_STATE_H_

#include <map>
#include <string>
#include <vector>

#include "pictures/process_picture.h"

namespace lumvane {

struct PassedOverPicture {
  std::string source;
  std::string reason;  // "file missing", "cannot write display image or thumbnail: ...", ...
};

struct UncopiedOriginal {
  std::string source;
  std::string reason;
};

struct RunState {
  CopyMode copy_mode = CopyMode::kNone;  // the last answer to the Copy Originals question
  int PictureCount = 0;                  // pictures archived in the current or last run
  int archives_merged = 0;               // archives a master run merged
  int reused = 0;                        // pictures whose images were in the destination already
  int described = 0;                     // pictures whose texts came from the photos themselves

  // Of the current or last run, in order: pictures passed over, and archived pictures whose
  // original could not be copied as asked.
  std::vector<PassedOverPicture> passed_over;
  std::vector<UncopiedOriginal> uncopied;
  // The last run put its archive in place (completed or stopped).
  bool archive_written = false;

  // Volume label to mount point, kept for the program's life.
  std::map<std::string, std::string> drive_cache;
};

}  // namespace lumvane

#endif  // LUMVANE_RUN_RUN_STATE_H_
