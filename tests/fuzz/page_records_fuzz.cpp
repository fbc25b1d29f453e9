// Fuzzes reading the records of an archive page, and their encoding round trip.
#include <cstddef>
#include <cstdint>
#include <string>

#include "pictures/catalog_line.h"
#include "pictures/field_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const auto& values : lumvane::ReadCatalogLines(text)) lumvane::DecodeRecord(values);
  if (lumvane::DecodeField(lumvane::EncodeField(text)) != text) __builtin_trap();
  return 0;
}
