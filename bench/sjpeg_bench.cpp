// SPDX-License-Identifier: GPL-3.0-or-later
// Times sjpeg on one original: the display image (size 0) or the thumbnail made from it (96).
// Usage: sjpeg_bench display|thumbnail ORIGINAL.jpg [REPEATS]
// Prints the median and best milliseconds per call and the process's peak resident memory.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "imagelib/vantle.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: sjpeg_bench display|thumbnail ORIGINAL.jpg [REPEATS]\n");
    return 2;
  }
  const std::string what = argv[1];
  const std::string original = argv[2];
  const int repeats = argc > 3 ? std::atoi(argv[3]) : 10;
  const std::string display = "/tmp/sjpeg_bench_display.jpg";
  std::string input = original, output = display;
  int size = 0;
  if (what == "thumbnail") {
    if (sjpeg(original.c_str(), display.c_str(), 0) != 0) return 1;
    input = display;
    output = "/tmp/sjpeg_bench_thumbnail.jpg";
    size = 96;
  }
  std::vector<double> times;
  for (int i = 0; i < repeats; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (sjpeg(input.c_str(), output.c_str(), size) != 0) return 1;
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%-9s median %7.1f ms  best %7.1f ms  peak memory %6.1f MiB  (%d calls)\n",
              what.c_str(), times[times.size() / 2], times.front(), usage.ru_maxrss / 1024.0,
              repeats);
  return 0;
}
