// Fuzzes the text catalog readers' decoding and column splitting with arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "importers/tab_catalog.h"
#include "importers/thumbsplus_export.h"
#include "platform/text_encoding.h"
#include "platform/text_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text =
      lumvane::DecodeText(std::string(reinterpret_cast<const char*>(data), size));
  if (!lumvane::IsValidUtf8(text)) __builtin_trap();  // decoding always yields UTF-8
  for (const std::string_view line : lumvane::SplitLines(text)) {
    lumvane::SplitTabLine(line);
    lumvane::SplitExportLine(line);
  }
  return 0;
}
