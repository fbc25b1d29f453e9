// Text from files we did not write: UTF-8 when the bytes are valid UTF-8, otherwise
// Windows-1252, the code page of the older Windows programs. Lumvane holds and writes UTF-8.
#ifndef LUMVANE_PLATFORM_TEXT_ENCODING_H_
#define LUMVANE_PLATFORM_TEXT_ENCODING_H_

#include <string>
#include <string_view>

namespace lumvane {

// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// `bytes` as UTF-8: unchanged when valid UTF-8, otherwise read as Windows-1252.
// A leading UTF-8 byte-order mark is dropped.
std::string DecodeText(std::string_view bytes);

// The value of a hexadecimal digit, or -1.
int HexDigitValue(char c);

// Windows-1252 bytes as UTF-8; the five undefined bytes map to the C1 controls of the same value.
std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_TEXT_ENCODING_H_
