// SPDX-License-Identifier: GPL-3.0-or-later
// A separable Mitchell filter on the 8-bit values as they are stored (gamma space), in fixed
// point, and what common thumbnailers do. Columns are filtered first, as the source rows
// arrive, so the row filter (the costlier one) runs only over the output's rows.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "imagelib/raster.h"

namespace vantle {
namespace {

// 13 bits keep every weight within int16 (a tap renormalised at an edge stays under 2.0), so
// two 16-bit products are summed in one instruction.
constexpr int kWeightBits = 13;
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

// For each output position along one axis: the first source position it reads, how many it
// reads, and their fixed-point weights (summing to exactly kOne), `span` slots per position,
// an even number, the unused ones zero.
struct Taps {
  int span = 0;
  std::vector<int> first;
  std::vector<int> count;
  std::vector<int16_t> weights;
};

// The weights of output position `o`, from source position `first` on, into `out`; returns
// how many there are once the zero weights at both ends are dropped.
int WeighPosition(int o, double scale, int in_size, int span, int* first, int16_t* out) {
  const double stretch = std::max(1.0, scale);  // a shrinking filter widens with the ratio
  const double center = (o + 0.5) * scale;
  const double reach = 2 * stretch;
  int from = std::clamp(static_cast<int>(std::floor(center - reach)), 0, in_size - 1);
  int to = std::min(in_size - 1, from + span - 1);
  std::vector<double> w(static_cast<size_t>(to - from + 1));
  double sum = 0;
  for (int i = from; i <= to; ++i) sum += w[i - from] = Mitchell((i + 0.5 - center) / stretch);
  while (to > from && w[to - from] == 0) --to;
  int skip = 0;
  while (from + skip < to && w[skip] == 0) ++skip;
  int total = 0, largest = 0;
  for (int k = 0; k <= to - from - skip; ++k) {
    out[k] = static_cast<int16_t>(std::lround(w[k + skip] / (sum != 0 ? sum : 1) * kOne));
    total += out[k];
    if (out[k] > out[largest]) largest = k;
  }
  out[largest] = static_cast<int16_t>(out[largest] + kOne -
                                      total);  // rounding left over goes to the strongest tap
  *first = from + skip;
  return to - from - skip + 1;
}

// The source positions one output position may read along an axis, made even: a shrinking
// filter widens with the ratio.
int SpanFor(int in_size, int out_size) {
  const double scale = static_cast<double>(in_size) / out_size;
  return static_cast<int>(std::ceil(2 * std::max(1.0, scale))) * 2 + 2;
}

Taps MakeTaps(int in_size, int out_size) {
  const double scale = static_cast<double>(in_size) / out_size;
  Taps taps;
  taps.span = SpanFor(in_size, out_size);
  taps.first.resize(out_size);
  taps.count.resize(out_size);
  taps.weights.assign(static_cast<size_t>(out_size) * taps.span, 0);
  for (int o = 0; o < out_size; ++o) {
    taps.count[o] = WeighPosition(o, scale, in_size, taps.span, &taps.first[o],
                                  &taps.weights[static_cast<size_t>(o) * taps.span]);
  }
  return taps;
}

uint8_t Clamped(int32_t accumulated) {
  return static_cast<uint8_t>(std::clamp((accumulated + kOne / 2) >> kWeightBits, 0, 255));
}

// Rows are held with room after them, so the filters below may read (never use) up to 16
// bytes past a row's end.
constexpr size_t kRowPadding = 16;

size_t PaddedRowBytes(size_t bytes) {
  return (bytes + 15) / 16 * 16 + kRowPadding;
}

#ifdef __SSE2__
// Two weights side by side, as one 32-bit lane of each pair of 16-bit products.
__m128i WeightPair(const int16_t* w) {
  int32_t pair;
  std::memcpy(&pair, w, sizeof pair);
  return _mm_set1_epi32(pair);
}

__m128i FourBytes(const uint8_t* p) {
  int32_t bytes;
  std::memcpy(&bytes, p, sizeof bytes);
  return _mm_unpacklo_epi8(_mm_cvtsi32_si128(bytes), _mm_setzero_si128());
}

// Rounds four 32-bit sums back to bytes, clamped to 0..255, in the low lanes.
__m128i ToBytes(__m128i sums) {
  sums = _mm_srai_epi32(_mm_add_epi32(sums, _mm_set1_epi32(kOne / 2)), kWeightBits);
  const __m128i words = _mm_packs_epi32(sums, sums);
  return _mm_packus_epi16(words, words);
}
#endif

// One output pixel's red, green and blue from `count` RGB pixels at `from`.
void FilterRgbPixel(const uint8_t* from, const int16_t* w, int count, uint8_t* to) {
#ifdef __SSE2__
  __m128i sum = _mm_setzero_si128();
  for (int k = 0; k < count; k += 2) {  // the weight after an odd count is zero
    const __m128i pair = _mm_unpacklo_epi16(FourBytes(from + 3 * k), FourBytes(from + 3 * k + 3));
    sum = _mm_add_epi32(sum, _mm_madd_epi16(pair, WeightPair(w + k)));
  }
  const int32_t rgbx = _mm_cvtsi128_si32(ToBytes(sum));
  std::memcpy(to, &rgbx, 3);
#else
  int32_t sum[3] = {};
  for (int k = 0; k < count; ++k) {
    for (int c = 0; c < 3; ++c) sum[c] += w[k] * from[k * 3 + c];
  }
  for (int c = 0; c < 3; ++c) to[c] = Clamped(sum[c]);
#endif
}

void FilterGrayPixel(const uint8_t* from, const int16_t* w, int count, uint8_t* to) {
  int32_t sum = 0;
  for (int k = 0; k < count; ++k) sum += w[k] * from[k];
  *to = Clamped(sum);
}

// A row (padded) to the output positions of `taps`.
void FilterAcross(const uint8_t* row, int channels, const Taps& taps, int out_width, uint8_t* to) {
  for (int x = 0; x < out_width; ++x) {
    const int16_t* w = &taps.weights[static_cast<size_t>(x) * taps.span];
    const uint8_t* from = row + static_cast<size_t>(taps.first[x]) * channels;
    if (channels == 3) {
      FilterRgbPixel(from, w, taps.count[x], to + 3 * x);
    } else {
      FilterGrayPixel(from, w, taps.count[x], to + x);
    }
  }
}

// `count` padded rows, weighted by `w`, into `to`: PaddedRowBytes(bytes) bytes are written.
void FilterDown(const uint8_t* const* rows, const int16_t* w, int count, size_t bytes,
                uint8_t* to) {
#ifdef __SSE2__
  const __m128i zero = _mm_setzero_si128();
  for (size_t i = 0; i < bytes; i += 16) {
    __m128i sum[4] = {zero, zero, zero, zero};
    for (int k = 0; k < count; k += 2) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + i));
      const __m128i b =
          k + 1 < count ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k + 1] + i)) : zero;
      const __m128i weights = WeightPair(w + k);
      const __m128i a_low = _mm_unpacklo_epi8(a, zero), a_high = _mm_unpackhi_epi8(a, zero);
      const __m128i b_low = _mm_unpacklo_epi8(b, zero), b_high = _mm_unpackhi_epi8(b, zero);
      sum[0] = _mm_add_epi32(sum[0], _mm_madd_epi16(_mm_unpacklo_epi16(a_low, b_low), weights));
      sum[1] = _mm_add_epi32(sum[1], _mm_madd_epi16(_mm_unpackhi_epi16(a_low, b_low), weights));
      sum[2] = _mm_add_epi32(sum[2], _mm_madd_epi16(_mm_unpacklo_epi16(a_high, b_high), weights));
      sum[3] = _mm_add_epi32(sum[3], _mm_madd_epi16(_mm_unpackhi_epi16(a_high, b_high), weights));
    }
    const __m128i round = _mm_set1_epi32(kOne / 2);
    for (__m128i& part : sum) part = _mm_srai_epi32(_mm_add_epi32(part, round), kWeightBits);
    const __m128i bytes16 =
        _mm_packus_epi16(_mm_packs_epi32(sum[0], sum[1]), _mm_packs_epi32(sum[2], sum[3]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), bytes16);
  }
#else
  for (size_t i = 0; i < bytes; ++i) {
    int32_t sum = 0;
    for (int k = 0; k < count; ++k) sum += w[k] * rows[k][i];
    to[i] = Clamped(sum);
  }
#endif
}

}  // namespace

struct RowResampler::State {
  Size source, target;
  int channels = 0;
  Raster* out = nullptr;
  bool same_width = false, same_height = false;
  Taps across, down;              // along a row; down a column
  size_t stride = 0;              // bytes between held rows
  std::vector<uint8_t> ring;      // the last down.span source rows, row r in slot r % span
  std::vector<uint8_t> filtered;  // one row filtered down its columns, before the row filter
  std::vector<const uint8_t*> rows;
  int pushed = 0;  // source rows taken
  int made = 0;    // output rows made

  size_t row_bytes() const { return static_cast<size_t>(source.width) * channels; }
  uint8_t* Slot(int r) { return &ring[(r % down.span) * stride]; }
  int LastRowRead(int y) const { return down.first[y] + down.count[y] - 1; }
  void FilterColumns(int y);
  void FilterRow(const uint8_t* row, int y);
};

// Output row y's source rows, weighted, into `filtered`.
void RowResampler::State::FilterColumns(int y) {
  for (int k = 0; k < down.count[y]; ++k) rows[k] = Slot(down.first[y] + k);
  FilterDown(rows.data(), &down.weights[static_cast<size_t>(y) * down.span], down.count[y],
             row_bytes(), filtered.data());
}

void RowResampler::State::FilterRow(const uint8_t* row, int y) {
  uint8_t* to = &out->pixels[static_cast<size_t>(y) * target.width * channels];
  if (same_width) {
    std::memcpy(to, row, row_bytes());
  } else {
    FilterAcross(row, channels, across, target.width, to);
  }
}

RowResampler::RowResampler(Size source, int channels, Size target, Raster* out)
    : state_(std::make_unique<State>()) {
  State& s = *state_;
  s.source = source;
  s.target = target;
  s.channels = channels;
  s.out = out;
  s.same_width = source.width == target.width;
  s.same_height = source.height == target.height;
  s.stride = PaddedRowBytes(s.row_bytes());
  if (!s.same_width) s.across = MakeTaps(source.width, target.width);
  if (!s.same_height) {
    s.down = MakeTaps(source.height, target.height);
    s.ring.assign(s.stride * s.down.span, 0);
    s.rows.resize(s.down.span);
  }
  s.filtered.assign(s.stride, 0);
  out->width = target.width;
  out->height = target.height;
  out->channels = channels;
  out->pixels.assign(static_cast<size_t>(target.width) * target.height * channels, 0);
}

RowResampler::~RowResampler() = default;

void RowResampler::Push(const uint8_t* row) {
  State& s = *state_;
  if (s.pushed >= s.source.height) return;
  const int r = s.pushed++;
  if (s.same_height) {
    std::memcpy(s.filtered.data(), row, s.row_bytes());
    s.FilterRow(s.filtered.data(), r);
    return;
  }
  std::memcpy(s.Slot(r), row, s.row_bytes());
  for (; s.made < s.target.height && s.LastRowRead(s.made) <= r; ++s.made) {
    s.FilterColumns(s.made);
    s.FilterRow(s.filtered.data(), s.made);
  }
}

size_t RowResampler::WorkingBytes(Size source, int channels, Size target) {
  const auto taps = [](int in_size, int out_size) {  // weights, first and count per position
    return static_cast<size_t>(out_size) *
           (SpanFor(in_size, out_size) * sizeof(int16_t) + 2 * sizeof(int));
  };
  const size_t rows = SpanFor(source.height, target.height) + 1;  // the ring and `filtered`
  return PaddedRowBytes(static_cast<size_t>(source.width) * channels) * rows +
         taps(source.width, target.width) + taps(source.height, target.height);
}

bool Resample(const Raster& image, Size target, Raster* out) {
  if (image.width <= 0 || image.height <= 0 || target.width <= 0 || target.height <= 0 ||
      (image.channels != 1 && image.channels != 3) ||
      image.pixels.size() < size_t{1} * image.width * image.height * image.channels) {
    return false;
  }
  RowResampler resampler({image.width, image.height}, image.channels, target, out);
  const size_t row = static_cast<size_t>(image.width) * image.channels;
  for (int y = 0; y < image.height; ++y) resampler.Push(&image.pixels[y * row]);
  return true;
}

}  // namespace vantle
