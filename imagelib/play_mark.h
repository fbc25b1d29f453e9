// SPDX-License-Identifier: GPL-3.0-or-later
// The mark that tells a clip's thumbnail from a photo's: a play button over its middle and
// its length in the lower right corner.
#ifndef LUMVANE_IMAGELIB_PLAY_MARK_H_
#define LUMVANE_IMAGELIB_PLAY_MARK_H_

#include <string_view>

#include "imagelib/raster.h"

namespace vantle {

// Draws the play button and `caption` (digits and ':'; other characters are left out) on
// `image`, which must be gray or RGB.
void DrawPlayMark(std::string_view caption, Raster* image);

}  // namespace vantle

#endif  // LUMVANE_IMAGELIB_PLAY_MARK_H_
