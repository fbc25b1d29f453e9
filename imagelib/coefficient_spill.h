// SPDX-License-Identifier: GPL-3.0-or-later
// A progressive JPEG holds every coefficient of the picture while it is read: 96 MB for a
// 24-megapixel 4:2:2 photo. Past a limit, these live in an unlinked temporary file instead and
// only a window of block rows of each component stays in memory, as libjpeg's own backing
// store would keep them (libjpeg-turbo builds without one).
#ifndef LUMVANE_IMAGELIB_COEFFICIENT_SPILL_H_
#define LUMVANE_IMAGELIB_COEFFICIENT_SPILL_H_

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>
#include <string>

#include <jpeglib.h>

namespace vantle {

// Where coefficients go past `most_in_memory` bytes: a folder for the temporary file.
struct SpillRule {
  size_t most_in_memory = 0;
  std::string folder;
};

// The rule of a run: coefficients past 80 MiB go to $TMPDIR (else /tmp).
SpillRule DefaultSpillRule();

// The memory a spilled picture keeps for its coefficients: about a window per component.
inline constexpr size_t kSpillWindowBytes = size_t{2} << 20;

// What a progressive (multi-scan) picture keeps while it is read: every coefficient of the
// whole picture, whatever the output scale; 0 for a baseline one.
size_t CoefficientBytes(const jpeg_decompress_struct& info);

// The part of those bytes that stays in memory under `rule`.
size_t CoefficientBytesInMemory(const jpeg_decompress_struct& info, const SpillRule& rule);

struct SpilledArray;

// What one decoder's spill holds; lives beside the decoder, and its file is closed by
// CloseSpill after jpeg_destroy_decompress.
struct CoefficientSpill {
  const SpillRule* rule = nullptr;
  int fd = -1;
  SpilledArray* arrays = nullptr;
  void (*realize_own)(j_common_ptr) = nullptr;
};

// When `info` (after jpeg_read_header, before jpeg_start_decompress) would hold more than
// rule.most_in_memory bytes of coefficients, makes libjpeg keep them through `spill`, which
// must outlive the decode. Should no temporary file of their size be made in rule.folder (a
// missing folder, a full disk), they stay in memory, as they would without a spill.
// Uses info->client_data.
void SpillLargeCoefficients(j_decompress_ptr info, const SpillRule& rule, CoefficientSpill* spill);

// True when the coefficients of `info` went to a temporary file.
inline bool Spilled(const CoefficientSpill& spill) {
  return spill.fd >= 0;
}

// Closes the temporary file, which the system then frees.
void CloseSpill(CoefficientSpill* spill);

}  // namespace vantle

#endif  // LUMVANE_IMAGELIB_COEFFICIENT_SPILL_H_
