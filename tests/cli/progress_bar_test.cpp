// SPDX-License-Identifier: GPL-3.0-or-later
// The progress line clears what it overwrites: by the terminal's escape where it takes one,
// else by blanks (TERM=dumb, an editor's shell).
#include "cli/progress_bar.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

namespace lumvane {
namespace {

std::string Drawn(bool escapes) {
  std::FILE* out = std::tmpfile();
  ProgressBar bar(out, escapes);
  bar.Update(1, 100);
  bar.Update(100, 100);
  bar.Finish();
  std::string text(static_cast<size_t>(std::ftell(out)), '\0');
  std::rewind(out);
  text.resize(std::fread(text.data(), 1, text.size(), out));
  std::fclose(out);
  return text;
}

TEST(ProgressBar, BlanksInsteadOfEscapesWhereTheTerminalTakesNone) {
  EXPECT_NE(Drawn(true).find("\x1b[K"), std::string::npos);
  const std::string plain = Drawn(false);
  EXPECT_EQ(plain.find('\x1b'), std::string::npos);
  const std::string last = plain.substr(plain.rfind("\r", plain.size() - 2) + 1);
  EXPECT_EQ(last.find_first_not_of(' '), last.size() - 1) << "the line blanked at the end";
}

}  // namespace
}  // namespace lumvane
