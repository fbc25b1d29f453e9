// SPDX-License-Identifier: GPL-3.0-or-later
// Record fields as the bodies of JavaScript strings in the archive page. Escaping keeps the
// page's script intact whatever a catalog holds: no raw double quote, line break or "<" is
// ever written, so the five-line record and the quote-counting reading rule always hold.
#ifndef LUMVANE_PICTURES_FIELD_ENCODING_H_
#define LUMVANE_PICTURES_FIELD_ENCODING_H_

#include <string>
#include <string_view>

namespace lumvane {

// "\" as "\\", '"' as "\x22", "<" as "\x3C", CR, LF and TAB as "\r", "\n", "\t", other control
// characters as "\xHH". Ordinary text is unchanged; a Windows folder gets its backslashes
// doubled.
std::string EncodeField(std::string_view plain);

// The inverse of EncodeField, read the way the browser reads the string. Values written by
// earlier versions (only backslashes doubled) decode the same way.
std::string DecodeField(std::string_view stored);

}  // namespace lumvane

#endif  // LUMVANE_PICTURES_FIELD_ENCODING_H_
