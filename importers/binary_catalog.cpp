// SPDX-License-Identifier: GPL-3.0-or-later
#include "importers/binary_catalog.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/text_encoding.h"

namespace lumvane {

std::optional<int64_t> Read_Quad(std::string_view bytes, int64_t position) {
  if (position < 0 || position > static_cast<int64_t>(bytes.size()) - 4) return std::nullopt;
  const auto byte = [&](int64_t k) { return static_cast<uint8_t>(bytes[position + k]); };
  if (byte(0) >= 128) return -1;
  return (int64_t{byte(0)} << 24) | (byte(1) << 16) | (byte(2) << 8) | byte(3);
}

std::optional<int64_t> Read_QuadRev(std::string_view bytes, int64_t position) {
  if (position < 0 || position > static_cast<int64_t>(bytes.size()) - 4) return std::nullopt;
  const auto byte = [&](int64_t k) { return static_cast<uint8_t>(bytes[position + k]); };
  if (byte(3) >= 128) return -1;
  return (int64_t{byte(3)} << 24) | (byte(2) << 16) | (byte(1) << 8) | byte(0);
}

std::optional<std::string> ZeroEndedTextAt(std::string_view bytes, int64_t position,
                                           int64_t length) {
  const int64_t size = static_cast<int64_t>(bytes.size());
  if (position < 0 || length < 0 || position > size) return std::nullopt;
  const std::string_view area = bytes.substr(position, std::min(length, size - position));
  const size_t end = area.find('\0');
  if (end == std::string_view::npos && static_cast<int64_t>(area.size()) < length) {
    return std::nullopt;
  }
  return Windows1252ToUtf8(area.substr(0, end));
}

std::optional<std::string> TextAt(std::string_view bytes, int64_t position, int64_t length) {
  if (position < 0 || length < 0 || position > static_cast<int64_t>(bytes.size()) ||
      length > static_cast<int64_t>(bytes.size()) - position) {
    return std::nullopt;
  }
  return Windows1252ToUtf8(bytes.substr(position, length));
}

LocalDateTime DateFromSerialDay(int64_t days) {
  // Howard Hinnant's civil_from_days, from the serial day's distance to 1970-01-01.
  int64_t z = days - 25569 + 719468;  // 25569: 1899-12-30 to 1970-01-01
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  LocalDateTime date;
  date.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  date.year = static_cast<int>(yoe + era * 400 + (date.month <= 2 ? 1 : 0));
  return date;
}

Status ReadWholeCatalog(ImportRun& run, std::string* bytes) {
  if (run.catalog() == nullptr)
    return Status::Error(StatusCode::kIoError, "Cannot read " + run.catalog_path());
  if (!run.catalog()->ReadAll(bytes)) {
    return Status::FromErrno(errno,
                             "Cannot read " + run.catalog_path() + ": " + std::strerror(errno));
  }
  return Status::Ok();
}

std::string PicturesRead(int pictures) {
  return std::to_string(pictures) + (pictures == 1 ? " picture was read" : " pictures were read");
}

Status DamagedCatalog(const ImportRun& run, int64_t offset, int pictures) {
  return Status::Error(StatusCode::kDamaged, run.catalog_path() + " is damaged at byte " +
                                                 std::to_string(offset) + "; " +
                                                 PicturesRead(pictures));
}

}  // namespace lumvane
