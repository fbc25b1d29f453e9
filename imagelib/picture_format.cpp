// SPDX-License-Identifier: GPL-3.0-or-later
#include "imagelib/picture_format.h"

#include <cstring>

namespace vantle {
namespace {

bool StartsWith(const uint8_t* head, size_t length, const char* signature, size_t size) {
  return length >= size && std::memcmp(head, signature, size) == 0;
}

// An ISO base media file ("ftyp" box first) whose major or compatible brands name a HEIF or
// AVIF still image; a video file of the same family is not a picture.
bool IsHeif(const uint8_t* head, size_t length) {
  if (length < 16 || std::memcmp(head + 4, "ftyp", 4) != 0) return false;
  static const char* const kBrands[] = {"heic", "heix", "heim", "heis", "hevc",
                                        "hevx", "mif1", "msf1", "avif", "avis"};
  const size_t box = (size_t{head[0]} << 24) | (size_t{head[1]} << 16) | (head[2] << 8) | head[3];
  const size_t end = box < length ? box : length;
  for (size_t at = 8; at + 4 <= end; at += 4) {
    if (at == 12) continue;  // the minor version
    for (const char* brand : kBrands) {
      if (std::memcmp(head + at, brand, 4) == 0) return true;
    }
  }
  return false;
}

// An ISO base media or QuickTime file: an "ftyp" box first, or (older QuickTime) one of the
// boxes a movie starts with.
bool IsMediaBoxes(const uint8_t* head, size_t length) {
  if (length < 8) return false;
  static const char* const kFirstBoxes[] = {"ftyp", "moov", "mdat", "wide", "free", "skip"};
  for (const char* box : kFirstBoxes) {
    if (std::memcmp(head + 4, box, 4) == 0) return true;
  }
  return false;
}

// An MPEG transport stream: sync bytes every 188 bytes, or every 192 (AVCHD's M2TS, whose
// packets start with a time stamp).
bool IsTransportStream(const uint8_t* head, size_t length) {
  return (length > 188 && head[0] == 0x47 && head[188] == 0x47) ||
         (length > 196 && head[4] == 0x47 && head[196] == 0x47);
}

bool IsCameraRaw(const uint8_t* head, size_t length) {
  return (StartsWith(head, length, "II*\0", 4) && length >= 10 && head[8] == 'C' &&
          head[9] == 'R') ||  // CR2
         StartsWith(head, length, "IIRO", 4) ||
         StartsWith(head, length, "IIRS", 4) || StartsWith(head, length, "MMOR", 4) ||  // ORF
         StartsWith(head, length, "IIU\0", 4) ||                                        // RW2
         StartsWith(head, length, "FUJIFILMCCD-RAW", 15) ||
         (length >= 12 && std::memcmp(head + 4, "ftypcrx ", 8) == 0);  // CR3
}

bool IsClip(const uint8_t* head, size_t length) {
  return IsMediaBoxes(head, length) || StartsWith(head, length, "\x1A\x45\xDF\xA3", 4) ||
         (length >= 12 && StartsWith(head, length, "RIFF", 4) &&
          std::memcmp(head + 8, "AVI ", 4) == 0) ||
         IsTransportStream(head, length);
}

}  // namespace

PictureFormat SniffFormat(const uint8_t* head, size_t length) {
  if (StartsWith(head, length, "\xFF\xD8\xFF", 3)) return PictureFormat::kJpeg;
  if (IsCameraRaw(head, length)) return PictureFormat::kRaw;
  if (StartsWith(head, length, "\x89PNG\r\n\x1A\n", 8)) return PictureFormat::kPng;
  if (StartsWith(head, length, "GIF87a", 6) || StartsWith(head, length, "GIF89a", 6)) {
    return PictureFormat::kGif;
  }
  if (StartsWith(head, length, "II*\0", 4) || StartsWith(head, length, "MM\0*", 4) ||
      StartsWith(head, length, "II+\0", 4) || StartsWith(head, length, "MM\0+", 4)) {
    return PictureFormat::kTiff;
  }
  if (StartsWith(head, length, "BM", 2) && length >= 18) return PictureFormat::kBmp;
  if (length >= 12 && StartsWith(head, length, "RIFF", 4) &&
      std::memcmp(head + 8, "WEBP", 4) == 0) {
    return PictureFormat::kWebp;
  }
  if (IsHeif(head, length)) return PictureFormat::kHeif;
  if (IsClip(head, length)) return PictureFormat::kClip;
  return PictureFormat::kUnknown;
}

PictureFormat SniffFile(FILE* file) {
  uint8_t head[kSniffBytes];
  const size_t length = std::fread(head, 1, sizeof head, file);
  std::rewind(file);
  return SniffFormat(head, length);
}

}  // namespace vantle
