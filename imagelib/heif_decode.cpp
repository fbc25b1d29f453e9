// SPDX-License-Identifier: GPL-3.0-or-later
// HEIF over libheif: HEIC (and AVIF, which the same library
// reads), its primary image with its own rotation, mirror and crop applied, alpha, 10 and 12
// bits taken to 8; the colour profile, or primaries other than sRGB's given as numbers (nclx);
// the EXIF and XMP blocks, which exiv2 0.27 does not find in every HEIF file.
#include <libheif/heif.h>

#include <cstring>
#include <memory>
#include <string>

#include "imagelib/colour.h"
#include "imagelib/heif_grid.h"
#include "imagelib/whole_decode.h"

namespace vantle {
namespace {

constexpr size_t kMostFileBytes = size_t{256} << 20;

struct HeifFile {
  std::vector<uint8_t> bytes;
  heif_context* context = nullptr;
  heif_image_handle* handle = nullptr;
  heif_image* image = nullptr;
  ~HeifFile() {
    heif_image_release(image);
    heif_image_handle_release(handle);
    heif_context_free(context);
  }
};

bool OpenPrimary(FILE* file, HeifFile* heif) {
  if (!ReadAll(file, kMostFileBytes, &heif->bytes)) return false;
  heif->context = heif_context_alloc();
  if (heif->context == nullptr) return false;
  heif_context_set_maximum_image_size_limit(heif->context, 1 << 15);
  return heif_context_read_from_memory_without_copy(heif->context, heif->bytes.data(),
                                                    heif->bytes.size(), nullptr)
                 .code == heif_error_Ok &&
         heif_context_get_primary_image_handle(heif->context, &heif->handle).code == heif_error_Ok;
}

void ReadColour(const heif_image_handle* handle, WholePicture* out) {
  const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
  if (type == heif_color_profile_type_prof || type == heif_color_profile_type_rICC) {
    out->icc.resize(heif_image_handle_get_raw_color_profile_size(handle));
    if (heif_image_handle_get_raw_color_profile(handle, out->icc.data()).code != heif_error_Ok) {
      out->icc.clear();
    }
    return;
  }
  heif_color_profile_nclx* nclx = nullptr;
  const bool read = heif_image_handle_get_nclx_color_profile(handle, &nclx).code == heif_error_Ok;
  const std::unique_ptr<heif_color_profile_nclx, void (*)(heif_color_profile_nclx*)> owned(
      nclx, heif_nclx_color_profile_free);  // allocated even when it fails on unknown primaries
  if (!read || nclx == nullptr) return;
  const heif_color_primaries primaries = nclx->color_primaries;
  if (primaries != heif_color_primaries_ITU_R_BT_709_5 &&
      primaries != heif_color_primaries_unspecified) {
    out->icc = ProfileForPrimaries({nclx->color_primary_red_x, nclx->color_primary_red_y,
                                    nclx->color_primary_green_x, nclx->color_primary_green_y,
                                    nclx->color_primary_blue_x, nclx->color_primary_blue_y,
                                    nclx->color_primary_white_x, nclx->color_primary_white_y});
  }
}

bool DecodePixels(HeifFile* heif, WholePicture* out) {
  const bool alpha = heif_image_handle_has_alpha_channel(heif->handle) != 0;
  const std::unique_ptr<heif_decoding_options, void (*)(heif_decoding_options*)> options(
      heif_decoding_options_alloc(), heif_decoding_options_free);
  if (options == nullptr) return false;
  options->convert_hdr_to_8bit = 1;
  options->strict_decoding = 1;
  if (heif_decode_image(heif->handle, &heif->image, heif_colorspace_RGB,
                        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                        options.get())
          .code != heif_error_Ok) {
    return false;
  }
  int stride = 0;
  const uint8_t* plane =
      heif_image_get_plane_readonly(heif->image, heif_channel_interleaved, &stride);
  const int width = heif_image_get_width(heif->image, heif_channel_interleaved);
  const int height = heif_image_get_height(heif->image, heif_channel_interleaved);
  if (plane == nullptr || !TakeSize({width, height}, alpha ? 4 : 3, out)) return false;
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = plane + static_cast<size_t>(stride) * y;
    uint8_t* rgb = &out->image.pixels[size_t{3} * width * y];
    if (alpha) {
      CompositeRow(row, width, rgb);
    } else {
      std::copy(row, row + size_t{3} * width, rgb);
    }
  }
  return true;
}

// The first block of `type` ("Exif", "mime") that `keep` takes, when it fits `capacity`.
template <typename Keep>
std::string FirstBlock(const heif_image_handle* handle, const char* type, size_t capacity,
                       Keep keep) {
  const int count = heif_image_handle_get_number_of_metadata_blocks(handle, type);
  if (count <= 0 || count > 64) return "";
  std::vector<heif_item_id> ids(count);
  heif_image_handle_get_list_of_metadata_block_IDs(handle, type, ids.data(), count);
  for (const heif_item_id id : ids) {
    const size_t size = heif_image_handle_get_metadata_size(handle, id);
    if (!keep(id) || size == 0 || size > capacity) continue;
    std::string block(size, '\0');
    if (heif_image_handle_get_metadata(handle, id, block.data()).code == heif_error_Ok) {
      return block;
    }
  }
  return "";
}

// An EXIF block starts with the offset of its TIFF header, counted from its fifth byte.
std::string ExifFromTiffHeader(const std::string& block) {
  if (block.size() <= 4) return "";
  const uint32_t offset = (uint32_t{static_cast<uint8_t>(block[0])} << 24) |
                          (uint32_t{static_cast<uint8_t>(block[1])} << 16) |
                          (uint32_t{static_cast<uint8_t>(block[2])} << 8) |
                          static_cast<uint8_t>(block[3]);
  return offset < block.size() - 4 ? block.substr(4 + offset) : "";
}

}  // namespace

bool ReadHeifSize(FILE* file, Size* size) {
  HeifFile heif;
  if (!OpenPrimary(file, &heif)) return false;
  *size = {heif_image_handle_get_width(heif.handle), heif_image_handle_get_height(heif.handle)};
  return true;
}

// True when the tiles of a grid image cover no more than its canvas and one tile beyond each
// edge, and decoding them all stays within the budget: every tile is decoded, whatever the
// canvas shows of it.
bool TilesFit(const HeifFile& heif, Size claimed, WholePicture* out) {
  const GridWeight grid = WeighPrimaryGrid(heif.bytes.data(), heif.bytes.size());
  if (grid.tiles == 0) return true;
  const uint64_t covered =
      (uint64_t(claimed.width) + grid.widest) * (uint64_t(claimed.height) + grid.tallest);
  const uint64_t budget_pixels = kWholeBudget / 7;  // RGBA and the decoder's YUV planes
  if (grid.pixels <= covered && grid.pixels <= budget_pixels) return true;
  out->too_large = true;
  return false;
}

bool DecodeHeif(FILE* file, WholePicture* out) {
  HeifFile heif;
  if (!OpenPrimary(file, &heif)) return false;
  const Size claimed{heif_image_handle_get_width(heif.handle),
                     heif_image_handle_get_height(heif.handle)};
  if (!WithinBudget(claimed, 4, out) || !TilesFit(heif, claimed, out)) return false;
  ReadColour(heif.handle, out);
  return DecodePixels(&heif, out);
}

bool ReadHeifBlocks(FILE* file, size_t limit, HeifBlocks* blocks) {
  HeifFile heif;
  if (!OpenPrimary(file, &heif)) return false;
  blocks->exif = ExifFromTiffHeader(
      FirstBlock(heif.handle, "Exif", limit + 4 + 64, [](heif_item_id) { return true; }));
  if (blocks->exif.size() > limit) blocks->exif.clear();
  blocks->xmp = FirstBlock(heif.handle, "mime", limit, [&heif](heif_item_id id) {
    const char* type = heif_image_handle_get_metadata_content_type(heif.handle, id);
    return type != nullptr && std::strcmp(type, "application/rdf+xml") == 0;
  });
  return true;
}

}  // namespace vantle
