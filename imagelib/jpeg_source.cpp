// SPDX-License-Identifier: GPL-3.0-or-later
#include "imagelib/jpeg_source.h"

#include <jerror.h>

namespace vantle {
namespace {

constexpr size_t kChunk = size_t{64} << 10;

struct ChunkSource {
  jpeg_source_mgr manager;
  FILE* file;
  JOCTET* buffer;
  bool at_start;
};

ChunkSource* SourceOf(j_decompress_ptr info) {
  return reinterpret_cast<ChunkSource*>(info->src);
}

void StartReading(j_decompress_ptr info) {
  SourceOf(info)->at_start = true;
}

boolean FillBuffer(j_decompress_ptr info) {
  ChunkSource* source = SourceOf(info);
  size_t bytes = std::fread(source->buffer, 1, kChunk, source->file);
  if (bytes == 0) {
    if (source->at_start) ERREXIT(info, JERR_INPUT_EMPTY);
    WARNMS(info, JWRN_JPEG_EOF);
    source->buffer[0] = 0xFF;  // an end-of-image marker in place of the missing data
    source->buffer[1] = JPEG_EOI;
    bytes = 2;
  }
  source->manager.next_input_byte = source->buffer;
  source->manager.bytes_in_buffer = bytes;
  source->at_start = false;
  return TRUE;
}

void SkipBytes(j_decompress_ptr info, long count) {
  jpeg_source_mgr& manager = SourceOf(info)->manager;
  if (count <= 0) return;
  while (static_cast<size_t>(count) > manager.bytes_in_buffer) {
    count -= static_cast<long>(manager.bytes_in_buffer);
    FillBuffer(info);
  }
  manager.next_input_byte += count;
  manager.bytes_in_buffer -= static_cast<size_t>(count);
}

void StopReading(j_decompress_ptr) {}

}  // namespace

void ReadInChunks(j_decompress_ptr info, FILE* file) {
  auto* source = static_cast<ChunkSource*>(info->mem->alloc_small(
      reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, sizeof(ChunkSource)));
  source->buffer = static_cast<JOCTET*>(
      info->mem->alloc_small(reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, kChunk));
  source->file = file;
  source->manager = {nullptr,    0, StartReading, FillBuffer, SkipBytes, jpeg_resync_to_restart,
                     StopReading};
  info->src = &source->manager;
}

}  // namespace vantle
