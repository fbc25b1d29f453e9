// SPDX-License-Identifier: GPL-3.0-or-later
// Text from files we did not write: UTF-16 behind its byte-order mark, else each line UTF-8
// where it is valid and Windows-1252 (the code page of the older Windows programs) where not.
// Lumvane holds and writes UTF-8.
#ifndef LUMVANE_PLATFORM_TEXT_ENCODING_H_
#define LUMVANE_PLATFORM_TEXT_ENCODING_H_

#include <string>
#include <string_view>

namespace lumvane {

// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// `bytes` as UTF-8. A file that begins with a UTF-16 byte-order mark (LE or BE) is UTF-16;
// otherwise each line (up to CR or LF) is kept when it is valid UTF-8 and read as
// Windows-1252 when not. A leading UTF-8 byte-order mark is dropped. Always valid UTF-8.
std::string DecodeText(std::string_view bytes);

// True when `bytes` begin without a byte-order mark but look like UTF-16 text: among their
// first 4 KB, nearly every other byte is zero (which no other text of a catalog has).
bool LooksLikeUtf16WithoutMark(std::string_view bytes);

// The value of a hexadecimal digit, or -1.
int HexDigitValue(char c);

// Windows-1252 bytes as UTF-8; the five undefined bytes map to the C1 controls of the same value.
std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_TEXT_ENCODING_H_
