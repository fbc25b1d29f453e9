// SPDX-License-Identifier: GPL-3.0-or-later
// A camera RAW photo for the tests, written by hand: a DNG (a TIFF that LibRaw develops like a
// camera's) with a 320 x 240 RGGB sensor image whose left half is red and right half blue, and
// optionally a JPEG preview in its first IFD with the sensor's image in a sub-IFD.
#ifndef LUMVANE_TESTS_IMAGELIB_TEST_RAW_H_
#define LUMVANE_TESTS_IMAGELIB_TEST_RAW_H_

#include <string>

namespace testing_raw {

// `preview`: the bytes of a JPEG of `preview_width` x `preview_height`, or "" for none;
// `orientation`: the TIFF orientation tag.
std::string DngFile(const std::string& preview, int preview_width, int preview_height,
                    int orientation);

}  // namespace testing_raw

#endif  // LUMVANE_TESTS_IMAGELIB_TEST_RAW_H_
