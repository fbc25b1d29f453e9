// Finding where a drive or volume of a catalog made on Windows is on this machine, from one
// of its pictures that the user found: D:\Photos\1998\a.jpg found in /media/old/Photos/1998
// puts D: at /media/old.
#ifndef LUMVANE_RUN_LOCATE_PICTURES_H_
#define LUMVANE_RUN_LOCATE_PICTURES_H_

#include <string>
#include <vector>

#include "platform/catalog_place.h"
#include "platform/status.h"
#include "run/run_state.h"

namespace lumvane {

// The pictures of the run that a saved location could find (passed over with a place),
// grouped by drive or volume, the one with the most pictures first.
std::vector<std::vector<const PassedOverPicture*>> MissingByPlace(const RunState& state);

struct Located {
  std::string root;  // the folder that stands for the drive or volume
  int found = 0;     // pictures of that drive or volume now found below `root`
  int missing = 0;   // pictures of that drive or volume the run passed over
};

// Where `place`'s drive or volume is, given `chosen`, the folder where the user found the
// picture at `place`: `chosen` less the folders of `place.within` above the picture (names
// compared ignoring letter case), checked against every other picture of `missing` on that
// drive or volume. Errors say why no folder follows: the picture is not in `chosen`, or
// `chosen` does not end in the picture's folders, or a name matches two of a folder's names.
Status LocateFrom(const CatalogPlace& place, const std::string& chosen,
                  const std::vector<const PassedOverPicture*>& missing, Located* located);

}  // namespace lumvane

#endif  // LUMVANE_RUN_LOCATE_PICTURES_H_
