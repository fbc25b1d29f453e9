#include "pictures/heif_metadata.h"

#include <libheif/heif.h>

#include <cstring>
#include <vector>

namespace lumvane {
namespace {

struct Heif {
  heif_context* context = heif_context_alloc();
  heif_image_handle* handle = nullptr;
  ~Heif() {
    heif_image_handle_release(handle);
    heif_context_free(context);
  }
};

std::string Block(const heif_image_handle* handle, heif_item_id id, size_t limit) {
  const size_t size = heif_image_handle_get_metadata_size(handle, id);
  if (size == 0 || size > limit) return "";
  std::string bytes(size, '\0');
  if (heif_image_handle_get_metadata(handle, id, bytes.data()).code != heif_error_Ok) return "";
  return bytes;
}

// The blocks of `type` ("Exif", "mime"), the first one that `keep` takes.
template <typename Keep>
std::string FirstBlock(const heif_image_handle* handle, const char* type, size_t limit, Keep keep) {
  const int count = heif_image_handle_get_number_of_metadata_blocks(handle, type);
  if (count <= 0 || count > 64) return "";
  std::vector<heif_item_id> ids(count);
  heif_image_handle_get_list_of_metadata_block_IDs(handle, type, ids.data(), count);
  for (const heif_item_id id : ids) {
    if (!keep(id)) continue;
    if (std::string block = Block(handle, id, limit); !block.empty()) return block;
  }
  return "";
}

}  // namespace

HeifMetadata ReadHeifMetadata(const std::string& path, size_t limit) {
  HeifMetadata metadata;
  Heif heif;
  if (heif.context == nullptr ||
      heif_context_read_from_file(heif.context, path.c_str(), nullptr).code != heif_error_Ok ||
      heif_context_get_primary_image_handle(heif.context, &heif.handle).code != heif_error_Ok) {
    return metadata;
  }
  // An EXIF block starts with the offset of its TIFF header, counted from the fifth byte.
  const std::string exif =
      FirstBlock(heif.handle, "Exif", limit, [](heif_item_id) { return true; });
  if (exif.size() > 4) {
    const uint32_t offset = (uint32_t{static_cast<uint8_t>(exif[0])} << 24) |
                            (uint32_t{static_cast<uint8_t>(exif[1])} << 16) |
                            (uint32_t{static_cast<uint8_t>(exif[2])} << 8) |
                            static_cast<uint8_t>(exif[3]);
    if (offset < exif.size() - 4) metadata.exif = exif.substr(4 + offset);
  }
  metadata.xmp = FirstBlock(heif.handle, "mime", limit, [&](heif_item_id id) {
    const char* type = heif_image_handle_get_metadata_content_type(heif.handle, id);
    return type != nullptr && std::strcmp(type, "application/rdf+xml") == 0;
  });
  return metadata;
}

}  // namespace lumvane
