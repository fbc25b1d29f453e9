// SPDX-License-Identifier: GPL-3.0-or-later
// The 32 characters of generated file names: digits and upper-case letters without E, I, O
// and U. The build also writes this text into the archive page's script.
#ifndef LUMVANE_IMAGELIB_NAME_ALPHABET_H_
#define LUMVANE_IMAGELIB_NAME_ALPHABET_H_

namespace vantle {

inline constexpr char kNameAlphabet[] = "0123456789ABCDFGHJKLMNPQRSTVWXYZ";

}  // namespace vantle

#endif  // LUMVANE_IMAGELIB_NAME_ALPHABET_H_
