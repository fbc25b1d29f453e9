// SPDX-License-Identifier: GPL-3.0-or-later
// An 8-bit image in memory: `channels` bytes per pixel (1 gray, 3 RGB), rows packed.
#ifndef LUMVANE_IMAGELIB_RASTER_H_
#define LUMVANE_IMAGELIB_RASTER_H_

#include <cstdint>
#include <memory>
#include <vector>

namespace vantle {

struct Raster {
  int width = 0;
  int height = 0;
  int channels = 0;
  std::vector<uint8_t> pixels;
};

struct Size {
  int width = 0;
  int height = 0;
};

// The largest size that keeps `source`'s proportions and fits within box x box; `source`
// itself when it fits already (never enlarged). REQUIRES: box > 0.
Size FitWithin(Size source, int box);

// Resamples `image` to exactly `target` with a Mitchell filter on the stored (gamma-encoded)
// values. Returns false for an empty image or target.
bool Resample(const Raster& image, Size target, Raster* out);

// Resamples an image that arrives one row at a time, top to bottom, to exactly `target` with
// the filter of Resample. Each output row is made as soon as the source rows it reads have
// arrived, so only a few source rows are ever held, never the whole source.
class RowResampler {
 public:
  // REQUIRES: sizes > 0, channels 1 or 3. Sizes `out` to target; `out` must outlive this.
  RowResampler(Size source, int channels, Size target, Raster* out);
  ~RowResampler();
  RowResampler(const RowResampler&) = delete;
  RowResampler& operator=(const RowResampler&) = delete;

  // Takes the next source row of source.width * channels bytes; rows past the last are ignored.
  void Push(const uint8_t* row);
  // About the bytes it holds besides `out`.
  static size_t WorkingBytes(Size source, int channels, Size target);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Turns `image` upright for the EXIF orientation value 1..8 (other values leave it as is).
Raster ApplyOrientation(Raster image, int orientation);

}  // namespace vantle

#endif  // LUMVANE_IMAGELIB_RASTER_H_
