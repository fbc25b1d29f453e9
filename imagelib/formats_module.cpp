#include "imagelib/formats_module.h"

#include <dlfcn.h>

#include <algorithm>
#include <string>

namespace vantle {
namespace {

constexpr char kModule[] = "libvantle_formats.so";

// What the module exports (module_exports.cpp).
struct Module {
  bool (*decode)(FILE*, int, WholePicture*) = nullptr;
  bool (*size)(FILE*, int, Size*) = nullptr;
  bool (*heif_blocks)(FILE*, size_t, HeifBlocks*) = nullptr;
};

void* OpenModule() {
  Dl_info self{};
  if (dladdr(reinterpret_cast<void*>(&OtherFormatBytes), &self) != 0 && self.dli_fname != nullptr) {
    const std::string path = self.dli_fname;
    const size_t slash = path.find_last_of('/');
    const std::string beside = path.substr(0, slash + 1) + kModule;
    if (void* module = slash == std::string::npos ? nullptr : dlopen(beside.c_str(), RTLD_NOW)) {
      return module;
    }
  }
  return dlopen(kModule, RTLD_NOW);
}

Module Load() {
  Module module;
  void* handle = OpenModule();  // kept for the process's life
  if (handle == nullptr) return module;
  module.decode = reinterpret_cast<decltype(module.decode)>(dlsym(handle, "lumvane_decode_whole"));
  module.size = reinterpret_cast<decltype(module.size)>(dlsym(handle, "lumvane_whole_size"));
  module.heif_blocks =
      reinterpret_cast<decltype(module.heif_blocks)>(dlsym(handle, "lumvane_heif_blocks"));
  return module;
}

const Module* Loaded() {
  static const Module module = Load();
  return module.decode != nullptr && module.size != nullptr && module.heif_blocks != nullptr
             ? &module
             : nullptr;
}

}  // namespace

bool OtherFormatsAvailable() {
  return Loaded() != nullptr;
}

bool DecodeOtherFormat(FILE* file, PictureFormat format, WholePicture* out) {
  const Module* module = Loaded();
  return module != nullptr && module->decode(file, static_cast<int>(format), out);
}

bool ReadOtherFormatSize(FILE* file, PictureFormat format, Size* size) {
  const Module* module = Loaded();
  return module != nullptr && module->size(file, static_cast<int>(format), size);
}

bool ReadHeifBlocksOf(FILE* file, size_t limit, HeifBlocks* blocks) {
  const Module* module = Loaded();
  return module != nullptr && module->heif_blocks(file, limit, blocks);
}

size_t OtherFormatBytes(Size size, int box) {
  if (size.width <= 0 || size.height <= 0) return 0;
  const size_t pixels = size_t{static_cast<size_t>(size.width)} * static_cast<size_t>(size.height);
  const Size fitted = FitWithin(size, box);
  const size_t image = size_t{static_cast<size_t>(fitted.width)} * fitted.height * 3;
  // The decoder's own pixels (RGBA at most), the whole RGB picture, and the fitted image twice
  // while it is converted and encoded.
  return std::min(pixels * 7, kWholeBudget) + 2 * image;
}

}  // namespace vantle
