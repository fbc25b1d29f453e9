// SPDX-License-Identifier: GPL-3.0-or-later
// Draws Lumvane's backgrounds, paper-like textures that tile without seams: the light one
// (texture.jpg) and its dark companion (texture2.jpg, behind the strip, the grid and the black
// view). Usage: make_texture OUTPUT.jpg [dark]
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "imagelib/jpeg_codec.h"

namespace {

constexpr int kSize = 256;

// Smooth value noise with period `cells` over the tile, so the edges meet.
double TiledNoise(const std::vector<double>& grid, int cells, double x, double y) {
  const double gx = x * cells / kSize, gy = y * cells / kSize;
  const int x0 = static_cast<int>(gx), y0 = static_cast<int>(gy);
  const double fx = gx - x0, fy = gy - y0;
  const auto at = [&](int i, int j) { return grid[(j % cells) * cells + (i % cells)]; };
  const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  const double top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
  const double bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
  return top + (bottom - top) * sy;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 3 && std::string(argv[2]) == "dark")) {
    std::fprintf(stderr, "usage: make_texture OUTPUT.jpg [dark]\n");
    return 2;
  }
  const bool dark = argc == 3;
  std::mt19937 random(20261206);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::vector<std::vector<double>> octaves;
  for (int cells : {4, 16, 64}) {
    std::vector<double> grid(cells * cells);
    for (double& v : grid) v = unit(random);
    octaves.push_back(std::move(grid));
  }
  vantle::Raster image{kSize, kSize, 3, std::vector<uint8_t>(kSize * kSize * 3)};
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const double shade = 3.0 * TiledNoise(octaves[0], 4, x, y) +
                           2.0 * TiledNoise(octaves[1], 16, x, y) +
                           1.5 * TiledNoise(octaves[2], 64, x, y) + 1.2 * unit(random);
      uint8_t* p = &image.pixels[(y * kSize + x) * 3];
      const double base[3] = {dark ? 18.0 : 244.0, dark ? 17.0 : 240.0, dark ? 16.0 : 229.0};
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(std::lround(base[c] + shade));
    }
  }
  FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr || !vantle::Encode(image, out)) return 1;
  return std::fclose(out) == 0 ? 0 : 1;
}
