// SPDX-License-Identifier: GPL-3.0-or-later
#include <zlib.h>

#include <cstring>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "imagelib/vantle.h"

namespace {

// The name code computed straight from zlib's CRC-32, independently of the library.
std::string ExpectedCode(const std::string& key) {
  const uLong c = crc32(0L, reinterpret_cast<const Bytef*>(key.data()), key.size());
  const char* alphabet = "0123456789ABCDFGHJKLMNPQRSTVWXYZ";
  unsigned long long v = static_cast<unsigned long long>(c) * 8;
  std::string code(7, ' ');
  for (int i = 6; i >= 0; --i, v /= 32) code[i] = alphabet[v % 32];
  return code;
}

TEST(Crc, WritesTheCodeOfTheWholeKeyOverItsFirstSevenCharacters) {
  const std::string key = "19990405103000IMG_0042.jpg";
  std::string buffer = key;
  EXPECT_EQ(crc(buffer.data()), 0);
  EXPECT_EQ(buffer.substr(0, 7), ExpectedCode(key));
  EXPECT_EQ(buffer.substr(7), key.substr(7)) << "only the first seven characters change";
}

TEST(Crc, SameKeySameCodeAndDifferentKeysDiffer) {
  std::string a = "20010305120000a.jpg", b = a, c = "20010305120001a.jpg";
  crc(a.data());
  crc(b.data());
  crc(c.data());
  EXPECT_EQ(a, b);
  EXPECT_NE(a.substr(0, 7), c.substr(0, 7));
}

TEST(Crc, LastCharacterIsAlwaysOneOfTheFourGroupsAndEachGroupOccurs) {
  std::set<char> seen;
  for (int i = 0; i < 400; ++i) {
    std::string key = "19990405103000IMG_" + std::to_string(i) + ".jpg";
    ASSERT_EQ(crc(key.data()), 0);
    seen.insert(key[6]);
  }
  EXPECT_EQ(seen, (std::set<char>{'0', '8', 'H', 'R'}));
}

TEST(Crc, TextShorterThanSevenIsLeftAloneAndNeverOverrun) {
  char shortText[7] = "abcdef";  // six characters and the NUL
  EXPECT_EQ(crc(shortText), -1);
  EXPECT_STREQ(shortText, "abcdef");
  EXPECT_EQ(crc(nullptr), -1);
  char exact[8] = "abcdefg";
  EXPECT_EQ(crc(exact), 0);
  EXPECT_EQ(std::strlen(exact), 7u);
  EXPECT_EQ(std::string(exact), ExpectedCode("abcdefg"));
}

}  // namespace
