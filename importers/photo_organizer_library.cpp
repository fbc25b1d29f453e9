// SPDX-License-Identifier: GPL-3.0-or-later
#include "importers/photo_organizer_library.h"

#include <cmath>
#include <cstring>

#include "importers/binary_catalog.h"

namespace lumvane {
namespace {

constexpr unsigned char kRecordSignature[11] = {0x00, 0x00, 0x00, 0x01, 0x00, 0x00,
                                                0x00, 0x08, 0x08, 0x13, 0x44};
constexpr unsigned char kListSignature[10] = {0xE1, 0x40, 0x00, 0x00, 0x00,
                                              0x00, 0x00, 0x00, 0x00, 0x00};

// The texts and date of the most recent record.
struct RecordTexts {
  std::string title, comment, author_last, source, author_first, picdate;
};

// Reads the catalog at a moving position; a read past the end fails and keeps its offset.
class Cursor {
 public:
  explicit Cursor(std::string_view bytes) : bytes_(bytes) {}
  bool at_end() const { return position_ >= bytes_.size(); }
  size_t position() const { return position_; }
  unsigned char Byte() { return static_cast<unsigned char>(bytes_[position_++]); }
  bool Bytes(unsigned char* out, size_t count) {
    if (count > bytes_.size() - position_) return false;
    std::memcpy(out, bytes_.data() + position_, count);
    position_ += count;
    return true;
  }
  bool Skip(size_t count) {
    if (count > bytes_.size() - position_) return false;
    position_ += count;
    return true;
  }
  // A length byte and that many bytes of text.
  bool Text(std::string* text) {
    if (at_end()) return false;
    const size_t length = static_cast<unsigned char>(bytes_[position_]);
    const auto read =
        TextAt(bytes_, static_cast<int64_t>(position_) + 1, static_cast<int64_t>(length));
    if (!read) return false;
    *text = *read;
    position_ += 1 + length;
    return true;
  }
  // A count byte and that many texts, each preceded by a blank.
  bool List(std::string* joined) {
    if (at_end()) return false;
    const int count = Byte();
    for (int i = 0; i < count; ++i) {
      std::string item;
      if (!Text(&item)) return false;
      *joined += " " + item;
    }
    return true;
  }

 private:
  std::string_view bytes_;
  size_t position_ = 0;
};

std::string Author(const RecordTexts& r) {
  if (r.author_first.empty()) return r.author_last;
  if (r.author_first.back() == ' ') return r.author_first + r.author_last;
  return r.author_first + " " + r.author_last;
}

bool ReadRecord(Cursor& in, RecordTexts* record) {
  RecordTexts r;
  unsigned char date[3];
  if (!in.Text(&r.title) || !in.Skip(4) || !in.Text(&r.comment) || !in.Text(&r.author_last) ||
      !in.Text(&r.source) || !in.Text(&r.author_first) || !in.Skip(4) || !in.Bytes(date, 3)) {
    return false;
  }
  r.picdate = PhotoOrganizerDate(date[0], date[1], date[2]);
  *record = std::move(r);
  return true;
}

// The picture of a list block: the record's texts, the block's keywords and categories.
bool ReadPicture(Cursor& in, const RecordTexts& record, PictureInput* picture) {
  picture->source = record.source;
  picture->title = record.title;
  picture->comment = record.comment;
  picture->author = Author(record);
  picture->picdate = record.picdate;
  return in.List(&picture->subject) && in.List(&picture->category);
}

}  // namespace

std::string PhotoOrganizerDate(unsigned char b0, unsigned char b1, unsigned char b2) {
  const uint32_t v = b0 | (uint32_t{b1} << 8) | (uint32_t{b2} << 16);
  const double days = std::ldexp((v & 0xFFFFF) / 524288.0 + 2, static_cast<int>(v >> 20));
  return FormatLongDate(DateFromSerialDay(static_cast<int64_t>(std::floor(days))));
}

Status ReadPhotoOrganizerLibrary(ImportRun& run) {
  std::string bytes;
  if (Status status = ReadWholeCatalog(run, &bytes); !status.ok()) return status;
  Cursor in(bytes);
  unsigned char window[11];
  std::memset(window, ' ', sizeof window);
  RecordTexts record;
  int pictures = 0;
  while (!in.at_end()) {
    std::memmove(window, window + 1, sizeof window - 1);
    window[10] = in.Byte();
    const size_t start = in.position();
    if (std::memcmp(window, kRecordSignature, 11) == 0) {
      if (!ReadRecord(in, &record))
        return DamagedCatalog(run, static_cast<int64_t>(start), pictures);
    } else if (std::memcmp(window + 1, kListSignature, 10) == 0) {
      PictureInput picture;
      if (!ReadPicture(in, record, &picture)) {
        return DamagedCatalog(run, static_cast<int64_t>(start), pictures);
      }
      run.Process(picture);
      ++pictures;
      if (run.StopRequested()) break;
    }
  }
  return Status::Ok();
}

}  // namespace lumvane
