// SPDX-License-Identifier: GPL-3.0-or-later
// Reading numbers and texts at byte positions of a binary catalog held in memory, every
// position and length checked against the catalog's size first.
#ifndef LUMVANE_IMPORTERS_BINARY_CATALOG_H_
#define LUMVANE_IMPORTERS_BINARY_CATALOG_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "importers/import_run.h"
#include "platform/file_time.h"
#include "platform/status.h"

namespace lumvane {

// The BE32 at `position`: -1 when its first byte is 128 or more, as the older programs read
// it; nullopt when the four bytes are not all inside `bytes`.
std::optional<int64_t> Read_Quad(std::string_view bytes, int64_t position);

// The LE32 at `position`: -1 when its last byte is 128 or more; nullopt as Read_Quad.
std::optional<int64_t> Read_QuadRev(std::string_view bytes, int64_t position);

// The text in the `length` bytes at `position` up to their first zero byte (all of them when
// there is none), decoded from Windows-1252; nullopt when `position` is outside `bytes` or the
// file ends inside the text.
std::optional<std::string> ZeroEndedTextAt(std::string_view bytes, int64_t position,
                                           int64_t length);

// `length` bytes at `position` as UTF-8 (the catalogs are Windows-1252); nullopt when they
// are not all inside `bytes` or either number is negative.
std::optional<std::string> TextAt(std::string_view bytes, int64_t position, int64_t length);

// The date `days` days after December 30, 1899 (the whole day; a fraction is the time).
LocalDateTime DateFromSerialDay(int64_t days);

// The run's catalog, read whole; an error names it and the system's reason.
Status ReadWholeCatalog(ImportRun& run, std::string* bytes);

// "1 picture was read", "N pictures were read": how far a catalog that failed was taken.
std::string PicturesRead(int pictures);

// The error of a damaged catalog: "CATALOG is damaged at byte N; M pictures were read".
Status DamagedCatalog(const ImportRun& run, int64_t offset, int pictures);

}  // namespace lumvane

#endif  // LUMVANE_IMPORTERS_BINARY_CATALOG_H_
