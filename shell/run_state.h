// The run state that outlives one run; the window owns it for the program's life.
#ifndef LUMVANE_SHELL_RUN_STATE_H_
#define LUMVANE_SHELL_RUN_STATE_H_

#include <map>
#include <string>
#include <vector>

#include "pictures/process_picture.h"

namespace lumvane {

struct PassedOverPicture {
  std::string source;
  PassOver reason;
};

struct RunState {
  int CopyMode = kCopyNone;  // the last answer to the Copy Originals question
  int PictureCount = 0;      // pictures archived in the current or last run
  bool HeaderWritten = false;

  // Pictures of the current or last run that were passed over, in order.
  std::vector<PassedOverPicture> passed_over;

  // Volume label to mount point, kept for the program's life.
  std::map<std::string, std::string> drive_cache;
};

}  // namespace lumvane

#endif  // LUMVANE_SHELL_RUN_STATE_H_
