// SPDX-License-Identifier: GPL-3.0-or-later
// How Lumvane names the files it generates, and how it tells them from originals.
// A thumbnail is "_" + seven-character name code + ".jpg"; the display image and the renamed
// copy move the eighth character one and two places on in the name alphabet.
#ifndef LUMVANE_PROCESSING_NAMING_H_
#define LUMVANE_PROCESSING_NAMING_H_

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace lumvane {

struct GeneratedNames {
  std::string thumbnail;  // "_K7Q2M40.jpg"
  std::string display;    // "_K7Q2M41.jpg"
  std::string copy;       // "_K7Q2M42.jpg", the renamed copy of the original
};

// The three names for a name code (seven characters ending in 0, 8, H or R, as crc makes).
// nullopt for any other code.
std::optional<GeneratedNames> NamesForCode(std::string_view code);

// The name code of `key` (14-digit date stamp followed by the file name), through crc.
std::string NameCodeFor(const std::string& key);

// The generated names given in one run, by the original they were given to, so that two
// different originals never share their files. Not thread-safe: the run plans in order.
class NameRegistry {
 public:
  // True when the names of `thumbnail` are free or given to `original` already; they are then
  // given to `original`.
  bool Claim(const std::string& thumbnail, const std::string& original);

 private:
  std::unordered_map<std::string, std::string> owners_;
};

// True when `name` ends in ".jpg" or ".jpeg" in any letter case (and is more than that).
bool HasJpegExtension(const std::string& name);

// True when `name` ends, in any letter case, in an extension of a picture format the image
// library reads: JPEG's, or (unless `jpeg_only`) ".heic", ".heif", ".hif", ".avif", ".png",
// ".tif", ".tiff", ".gif", ".bmp" or ".webp", a camera RAW's (".cr2", ".nef", ".dng", ...) or
// a video clip's (".mp4", ".mov", ".webm", ".mts", ...).
bool HasPictureExtension(const std::string& name, bool jpeg_only);

// The names under which a picture file is read and recorded.
struct JpegName {
  std::string on_disk;   // the name to open in the picture's folder
  std::string recorded;  // the name for the record and the naming key
};

// A name with a picture extension (HasPictureExtension) is read as it is and recorded with the
// extension in lower case. Otherwise a name holding ".JPG" is cut after it and looked for as
// ".jpg" ("photo.JPG.bak" as "photo.jpg"), and a name holding ".jpg" is taken as it is.
// nullopt: not a picture name.
std::optional<JpegName> ClassifyPictureName(const std::string& name, bool jpeg_only);

// The renamed copy's name for an original recorded as `recorded`: `copy` ("_K7Q2M42.jpg")
// with the original's own extension in lower case (".jpeg" stays ".jpg").
std::string RenamedCopyName(const std::string& copy, const std::string& recorded);

// False when `name` is one of an archive's own thumbnails or display images: twelve characters,
// "_" first, ending in 0/1, 8/9, H/J or R/S + ".jpg", with its partner file in `folder` (or a
// clip's web copy, ending in 1, 9, J or S + ".mp4", beside its thumbnail); and
// for the backgrounds texture.jpg and texture2.jpg of an archive (an archive.htm beside them).
bool IsOriginalPicture(const std::string& folder, const std::string& name);

}  // namespace lumvane

#endif  // LUMVANE_PROCESSING_NAMING_H_
