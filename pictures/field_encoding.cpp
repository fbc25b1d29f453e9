// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/field_encoding.h"

#include <cstdio>

#include "platform/text_encoding.h"

namespace lumvane {

std::string EncodeField(std::string_view plain) {
  std::string out;
  out.reserve(plain.size());
  for (const char c : plain) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\x22";
        break;
      case '<':
        out += "\\x3C";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          char hex[5];
          std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
          out += hex;
        } else {
          out.push_back(c);
        }
    }
  }
  return out;
}

std::string DecodeField(std::string_view stored) {
  std::string out;
  out.reserve(stored.size());
  for (size_t i = 0; i < stored.size(); ++i) {
    if (stored[i] != '\\' || i + 1 == stored.size()) {
      out.push_back(stored[i]);
      continue;
    }
    const char next = stored[++i];
    switch (next) {
      case 'r':
        out.push_back('\r');
        break;
      case 'n':
        out.push_back('\n');
        break;
      case 't':
        out.push_back('\t');
        break;
      case 'x':
        if (i + 2 < stored.size() && HexDigitValue(stored[i + 1]) >= 0 &&
            HexDigitValue(stored[i + 2]) >= 0) {
          out.push_back(
              static_cast<char>(HexDigitValue(stored[i + 1]) * 16 + HexDigitValue(stored[i + 2])));
          i += 2;
        } else {
          out.push_back('x');
        }
        break;
      default:
        out.push_back(next);
        break;  // "\\" and any other escaped character
    }
  }
  return out;
}

}  // namespace lumvane
