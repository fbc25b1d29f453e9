// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/field_encoding.h"

#include <gtest/gtest.h>

namespace lumvane {
namespace {

TEST(FieldEncoding, OrdinaryTextIsUnchanged) {
  for (const char* text : {"", "Harbour at dawn", "K. Example", "caf\xC3\xA9 & co's (1999)"}) {
    EXPECT_EQ(EncodeField(text), text);
    EXPECT_EQ(DecodeField(text), text);
  }
}

TEST(FieldEncoding, SpecialCharactersBecomeScriptEscapes) {
  EXPECT_EQ(EncodeField("a\\b"), "a\\\\b");
  EXPECT_EQ(EncodeField("\"q\""), "\\x22q\\x22");
  EXPECT_EQ(EncodeField("</script>"), "\\x3C/script>");
  EXPECT_EQ(EncodeField("1\r\n2\t3\x01"), "1\\r\\n2\\t3\\x01");
}

TEST(FieldEncoding, DecodingReadsEscapesTheWayTheBrowserDoes) {
  EXPECT_EQ(DecodeField("\\x3c\\x22\\u"), "<\"u");
  EXPECT_EQ(DecodeField("bad \\xZZ and end \\"), "bad xZZ and end \\");
  const std::string every = "\\\"<\r\n\t\x7F\x1F plain";
  EXPECT_EQ(DecodeField(EncodeField(every)), every);
}

}  // namespace
}  // namespace lumvane
