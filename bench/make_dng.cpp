// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the tests' DNG with a given JPEG as its preview, for the camera bench:
// make_dng PREVIEW.jpg WIDTH HEIGHT OUT.dng (PREVIEW "-" for none).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/imagelib/test_raw.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: make_dng PREVIEW.jpg|- WIDTH HEIGHT OUT.dng\n");
    return 2;
  }
  std::string preview;
  if (std::string(argv[1]) != "-") {
    std::ifstream in(argv[1], std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    preview = bytes.str();
  }
  std::ofstream(argv[4], std::ios::binary)
      << testing_raw::DngFile(preview, std::atoi(argv[2]), std::atoi(argv[3]), 1);
  return 0;
}
