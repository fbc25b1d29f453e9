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

TEST(TextEncoding, MalformedUtf8IsRecognised) {
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong "/"
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE6\x9D"));          // cut short
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x93\xB7"));   // a camera emoji
}

}  // namespace
}  // namespace lumvane
