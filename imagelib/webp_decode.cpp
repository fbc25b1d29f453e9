// SPDX-License-Identifier: GPL-3.0-or-later
// WebP over libwebp: lossy and lossless, alpha, the first frame of an animation (through the
// animation decoder, which also reads still pictures); the ICCP and EXIF chunks.
#include <webp/decode.h>
#include <webp/demux.h>

#include <memory>

#include "imagelib/exif_orientation.h"
#include "imagelib/whole_decode.h"

namespace vantle {
namespace {

constexpr size_t kMostFileBytes = size_t{256} << 20;

struct DemuxCloser {
  void operator()(WebPDemuxer* demux) const { WebPDemuxDelete(demux); }
};
struct AnimCloser {
  void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

// The ICC profile and EXIF orientation of a WebP with extended features.
void ReadChunks(const WebPData& data, WholePicture* out) {
  const std::unique_ptr<WebPDemuxer, DemuxCloser> demux(WebPDemux(&data));
  if (demux == nullptr) return;
  WebPChunkIterator chunk{};
  if (WebPDemuxGetChunk(demux.get(), "ICCP", 1, &chunk)) {
    out->icc.assign(chunk.chunk.bytes, chunk.chunk.bytes + chunk.chunk.size);
  }
  WebPDemuxReleaseChunkIterator(&chunk);
  if (WebPDemuxGetChunk(demux.get(), "EXIF", 1, &chunk)) {
    out->orientation = ExifOrientation(chunk.chunk.bytes, chunk.chunk.size);
  }
  WebPDemuxReleaseChunkIterator(&chunk);
}

}  // namespace

bool ReadWebpSize(FILE* file, Size* size) {
  uint8_t head[64];
  const size_t got = std::fread(head, 1, sizeof head, file);
  std::rewind(file);
  return WebPGetInfo(head, got, &size->width, &size->height) != 0;
}

bool DecodeWebp(FILE* file, WholePicture* out) {
  std::vector<uint8_t> bytes;
  Size size;
  if (!ReadWebpSize(file, &size) || !TakeSize(size, 8, out)) return false;
  if (!ReadAll(file, kMostFileBytes, &bytes)) return false;
  const WebPData data{bytes.data(), bytes.size()};
  WebPAnimDecoderOptions options;
  if (!WebPAnimDecoderOptionsInit(&options)) return false;
  options.color_mode = MODE_RGBA;
  options.use_threads = 0;
  const std::unique_ptr<WebPAnimDecoder, AnimCloser> decoder(WebPAnimDecoderNew(&data, &options));
  WebPAnimInfo info{};
  uint8_t* rgba = nullptr;
  int timestamp = 0;
  if (decoder == nullptr || !WebPAnimDecoderGetInfo(decoder.get(), &info) ||
      static_cast<int>(info.canvas_width) != size.width ||
      static_cast<int>(info.canvas_height) != size.height ||
      !WebPAnimDecoderGetNext(decoder.get(), &rgba, &timestamp)) {
    return false;
  }
  for (int y = 0; y < size.height; ++y) {
    CompositeRow(rgba + size_t{4} * size.width * y, size.width,
                 &out->image.pixels[size_t{3} * size.width * y]);
  }
  ReadChunks(data, out);
  return true;
}

}  // namespace vantle
