// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text_encoding.h"

#include <gtest/gtest.h>

namespace lumvane {
namespace {

TEST(TextEncoding, ValidUtf8IsKeptAndItsByteOrderMarkDropped) {
  EXPECT_EQ(DecodeText("caf\xC3\xA9 \xE6\x9D\xB1"), "caf\xC3\xA9 \xE6\x9D\xB1");
  EXPECT_EQ(DecodeText("\xEF\xBB\xBFTitle"), "Title");
  EXPECT_EQ(DecodeText(""), "");
}

TEST(TextEncoding, AnythingElseIsReadAsWindows1252) {
  EXPECT_EQ(DecodeText("caf\xE9"), "caf\xC3\xA9");
  EXPECT_EQ(DecodeText("\x80 \x93quoted\x94 \x9F"),
            "\xE2\x82\xAC \xE2\x80\x9Cquoted\xE2\x80\x9D \xC5\xB8");
  EXPECT_EQ(DecodeText("\x81"), "\xC2\x81") << "undefined bytes keep their C1 code";
}

TEST(TextEncoding, EachLineIsReadOnItsOwn) {
  // One Windows-1252 line does not turn the UTF-8 lines around it into mojibake.
  EXPECT_EQ(DecodeText("Z\xC3\xBCrich.jpg\r\nCaf\xE9.jpg\nM\xC3\xBCnchen\rend"),
            "Z\xC3\xBCrich.jpg\r\nCaf\xC3\xA9.jpg\nM\xC3\xBCnchen\rend");
}

TEST(TextEncoding, Utf16BehindItsByteOrderMark) {
  using namespace std::string_literals;
  const std::string little =
      "\xFF\xFE"
      "Z\0\xFC\0\r\0\n\0=\xD8\x00\xDE"s;  // Zü CR LF U+1F600
  EXPECT_EQ(DecodeText(little), "Z\xC3\xBC\r\n\xF0\x9F\x98\x80");
  const std::string big =
      "\xFE\xFF"
      "\0Z\0\xFC\x6C\x34"s;  // Zü and U+6C34
  EXPECT_EQ(DecodeText(big), "Z\xC3\xBC\xE6\xB0\xB4");
  const std::string broken =
      "\xFF\xFE"
      "\x00\xD8"
      "A\0"
      "B"s;  // lone surrogate, odd byte
  EXPECT_EQ(DecodeText(broken),
            "\xEF\xBF\xBD"
            "A"
            "\xEF\xBF\xBD");
}

TEST(TextEncoding, MalformedUtf8IsRecognised) {
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong "/"
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE6\x9D"));          // cut short
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x93\xB7"));   // a camera emoji
}

}  // namespace
}  // namespace lumvane
