// SPDX-License-Identifier: GPL-3.0-or-later
// Finding where a drive or volume of a catalog made on Windows is on this machine, from one
// of its pictures that the user found: D:\Photos\1998\a.jpg found in /media/old/Photos/1998
// puts D: at /media/old.
#ifndef LUMVANE_LOCATIONS_LOCATE_PICTURES_H_
#define LUMVANE_LOCATIONS_LOCATE_PICTURES_H_

#include <string>
#include <vector>

#include "locations/catalog_place.h"
#include "platform/status.h"

namespace lumvane {

struct Located {
  std::string root;  // the folder that stands for the drive or volume
  int found = 0;     // pictures of that drive or volume now found below `root`
  int missing = 0;   // pictures of that drive or volume the run passed over
};

// Where `place`'s drive or volume is, given `chosen`, the folder where the user found the
// picture at `place`: `chosen` less the folders of `place.within` above the picture (names
// compared ignoring letter case), checked against the places of the other missing pictures
// (those of other drives or volumes are not counted). Errors say why no folder follows: the picture
// is not in `chosen`, or `chosen` does not end in the picture's folders, or a name matches two of a
// folder's names.
Status LocateFrom(const CatalogPlace& place, const std::string& chosen,
                  const std::vector<CatalogPlace>& missing, Located* located);

}  // namespace lumvane

#endif  // LUMVANE_LOCATIONS_LOCATE_PICTURES_H_
