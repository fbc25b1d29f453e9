// A separable Mitchell filter on the 8-bit values as they are stored (gamma space), in fixed
// point: one pass along the rows, one down the columns. Several times cheaper than filtering
// in linear light with floats, and what common thumbnailers do.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "imagelib/raster.h"

namespace vantle {
namespace {

constexpr int kWeightBits = 14;
constexpr int kOne = 1 << kWeightBits;

// The Mitchell-Netravali cubic (B = C = 1/3) at distance x, zero from 2 on.
double Mitchell(double x) {
  constexpr double b = 1.0 / 3, c = 1.0 / 3;
  x = std::fabs(x);
  if (x < 1)
    return ((12 - 9 * b - 6 * c) * x * x * x + (-18 + 12 * b + 6 * c) * x * x + (6 - 2 * b)) / 6;
  if (x < 2) {
    return ((-b - 6 * c) * x * x * x + (6 * b + 30 * c) * x * x + (-12 * b - 48 * c) * x +
            (8 * b + 24 * c)) /
           6;
  }
  return 0;
}

// For each output position along one axis: the first source position it reads and the
// fixed-point weights of the `span` positions from there (summing to exactly kOne).
struct Taps {
  int span = 0;
  std::vector<int> first;
  std::vector<int32_t> weights;  // span per output position
};

Taps MakeTaps(int in_size, int out_size) {
  const double scale = static_cast<double>(in_size) / out_size;
  const double stretch = std::max(1.0, scale);  // a shrinking filter widens with the ratio
  const double reach = 2 * stretch;
  Taps taps;
  taps.span = static_cast<int>(std::ceil(reach)) * 2 + 1;
  taps.first.resize(out_size);
  taps.weights.assign(static_cast<size_t>(out_size) * taps.span, 0);
  std::vector<double> w(taps.span);
  for (int o = 0; o < out_size; ++o) {
    const double center = (o + 0.5) * scale;
    const int first = std::clamp(static_cast<int>(std::floor(center - reach)), 0, in_size - 1);
    const int last = std::min(in_size - 1, first + taps.span - 1);
    double sum = 0;
    for (int i = first; i <= last; ++i)
      sum += w[i - first] = Mitchell((i + 0.5 - center) / stretch);
    int32_t* out = &taps.weights[static_cast<size_t>(o) * taps.span];
    int total = 0, largest = 0;
    for (int k = 0; k <= last - first; ++k) {
      out[k] = static_cast<int32_t>(std::lround(w[k] / (sum != 0 ? sum : 1) * kOne));
      total += out[k];
      if (out[k] > out[largest]) largest = k;
    }
    out[largest] += kOne - total;  // rounding left over goes to the strongest tap
    taps.first[o] = first;
  }
  return taps;
}

uint8_t Clamped(int32_t accumulated) {
  return static_cast<uint8_t>(std::clamp((accumulated + kOne / 2) >> kWeightBits, 0, 255));
}

// One row of `channels`-byte pixels to the output positions of `taps`; the channel count is a
// constant here, so the compiler keeps the sums in registers.
template <int kChannels>
void ResampleRow(const uint8_t* row, int in_width, const Taps& taps, int out_width, uint8_t* to) {
  for (int x = 0; x < out_width; ++x) {
    const int32_t* w = &taps.weights[static_cast<size_t>(x) * taps.span];
    const uint8_t* from = row + static_cast<size_t>(taps.first[x]) * kChannels;
    const int span = std::min(taps.span, in_width - taps.first[x]);
    int32_t sum[kChannels] = {};
    for (int k = 0; k < span; ++k) {
      for (int c = 0; c < kChannels; ++c) sum[c] += w[k] * from[k * kChannels + c];
    }
    for (int c = 0; c < kChannels; ++c) to[x * kChannels + c] = Clamped(sum[c]);
  }
}

// Each row of `in` to `out_width` pixels.
void ResampleRows(const Raster& in, int out_width, std::vector<uint8_t>* out) {
  const Taps taps = MakeTaps(in.width, out_width);
  const size_t in_row = static_cast<size_t>(in.width) * in.channels;
  const size_t out_row = static_cast<size_t>(out_width) * in.channels;
  out->resize(out_row * in.height);
  for (int y = 0; y < in.height; ++y) {
    const uint8_t* row = &in.pixels[y * in_row];
    uint8_t* to = &(*out)[y * out_row];
    if (in.channels == 3) {
      ResampleRow<3>(row, in.width, taps, out_width, to);
    } else {
      ResampleRow<1>(row, in.width, taps, out_width, to);
    }
  }
}

// The columns of `in` (width x in_height, packed) to `out_height` rows.
void ResampleColumns(const std::vector<uint8_t>& in, int row_bytes, int in_height, int out_height,
                     std::vector<uint8_t>* out) {
  const Taps taps = MakeTaps(in_height, out_height);
  out->resize(static_cast<size_t>(row_bytes) * out_height);
  std::vector<int32_t> sum(row_bytes);
  for (int y = 0; y < out_height; ++y) {
    std::fill(sum.begin(), sum.end(), 0);
    const int32_t* w = &taps.weights[static_cast<size_t>(y) * taps.span];
    const int span = std::min(taps.span, in_height - taps.first[y]);
    for (int k = 0; k < span; ++k) {
      const uint8_t* row = &in[static_cast<size_t>(taps.first[y] + k) * row_bytes];
      const int32_t weight = w[k];
      if (weight == 0) continue;
      for (int i = 0; i < row_bytes; ++i) sum[i] += weight * row[i];
    }
    uint8_t* to = &(*out)[static_cast<size_t>(y) * row_bytes];
    for (int i = 0; i < row_bytes; ++i) to[i] = Clamped(sum[i]);
  }
}

}  // namespace

bool Resample(const Raster& image, Size target, Raster* out) {
  if (image.width <= 0 || image.height <= 0 || target.width <= 0 || target.height <= 0 ||
      (image.channels != 1 && image.channels != 3) ||
      image.pixels.size() < size_t{1} * image.width * image.height * image.channels) {
    return false;
  }
  // Rows first (unless their width stays), then columns (unless their height stays); an axis
  // whose size stays is neither filtered nor copied.
  std::vector<uint8_t> rows;
  const bool same_width = target.width == image.width;
  if (!same_width) ResampleRows(image, target.width, &rows);
  const std::vector<uint8_t>& across = same_width ? image.pixels : rows;
  out->width = target.width;
  out->height = target.height;
  out->channels = image.channels;
  if (target.height != image.height) {
    ResampleColumns(across, target.width * image.channels, image.height, target.height,
                    &out->pixels);
  } else if (same_width) {
    out->pixels = image.pixels;
  } else {
    out->pixels = std::move(rows);
  }
  return true;
}

}  // namespace vantle
