// SPDX-License-Identifier: GPL-3.0-or-later
#include "imagelib/formats_module.h"

#include <dlfcn.h>

#include <string>

namespace vantle {
namespace {

constexpr char kModule[] = "libvantle_formats.so";

// What the module exports (module_exports.cpp).
struct Module {
  bool (*decode)(FILE*, int, WholePicture*) = nullptr;
  bool (*heif_blocks)(FILE*, size_t, HeifBlocks*) = nullptr;
  bool (*clip_facts)(FILE*, ClipFacts*) = nullptr;
  int (*tell)(FILE*, int) = nullptr;
  size_t (*bytes)(FILE*, int, int) = nullptr;

  bool complete() const {
    return decode != nullptr && heif_blocks != nullptr && clip_facts != nullptr &&
           tell != nullptr && bytes != nullptr;
  }
};

void* OpenModule() {
  Dl_info self{};
  if (dladdr(reinterpret_cast<void*>(&OtherFormatsAvailable), &self) != 0 &&
      self.dli_fname != nullptr) {
    const std::string path = self.dli_fname;
    const size_t slash = path.find_last_of('/');
    const std::string beside = path.substr(0, slash + 1) + kModule;
    if (void* module = slash == std::string::npos ? nullptr : dlopen(beside.c_str(), RTLD_NOW)) {
      return module;
    }
  }
  return dlopen(kModule, RTLD_NOW);
}

template <typename Function>
void Find(void* handle, const char* name, Function* function) {
  *function = reinterpret_cast<Function>(dlsym(handle, name));
}

Module Load() {
  Module module;
  void* handle = OpenModule();  // kept for the process's life
  if (handle == nullptr) return module;
  Find(handle, "lumvane_decode_whole", &module.decode);
  Find(handle, "lumvane_heif_blocks", &module.heif_blocks);
  Find(handle, "lumvane_clip_facts", &module.clip_facts);
  Find(handle, "lumvane_tell_format", &module.tell);
  Find(handle, "lumvane_whole_bytes", &module.bytes);
  return module;
}

const Module* Loaded() {
  static const Module module = Load();
  return module.complete() ? &module : nullptr;
}

}  // namespace

bool OtherFormatsAvailable() {
  return Loaded() != nullptr;
}

bool DecodeOtherFormat(FILE* file, PictureFormat format, WholePicture* out) {
  const Module* module = Loaded();
  return module != nullptr && module->decode(file, static_cast<int>(format), out);
}

bool ReadHeifBlocksOf(FILE* file, size_t limit, HeifBlocks* blocks) {
  const Module* module = Loaded();
  return module != nullptr && module->heif_blocks(file, limit, blocks);
}

bool ReadClipFactsOf(FILE* file, ClipFacts* facts) {
  const Module* module = Loaded();
  return module != nullptr && module->clip_facts(file, facts);
}

PictureFormat TellOtherFormat(FILE* file, PictureFormat sniffed) {
  const Module* module = Loaded();
  return module == nullptr
             ? sniffed
             : static_cast<PictureFormat>(module->tell(file, static_cast<int>(sniffed)));
}

size_t OtherFormatMemory(FILE* file, PictureFormat format, int box) {
  const Module* module = Loaded();
  return module == nullptr ? 0 : module->bytes(file, static_cast<int>(format), box);
}

}  // namespace vantle
