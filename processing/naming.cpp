// SPDX-License-Identifier: GPL-3.0-or-later
#include "processing/naming.h"

#include <algorithm>
#include <cctype>

#include "imagelib/name_alphabet.h"
#include "imagelib/vantle.h"
#include "platform/directory_listing.h"
#include "platform/paths.h"

namespace lumvane {
namespace {

constexpr std::string_view kAlphabet = vantle::kNameAlphabet;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

std::optional<GeneratedNames> NamesForCode(std::string_view code) {
  if (code.size() != 7) return std::nullopt;
  const size_t group = kAlphabet.find(code[6]);
  if (group == std::string_view::npos || group % 8 != 0) return std::nullopt;
  const std::string stem = "_" + std::string(code.substr(0, 6));
  return GeneratedNames{stem + kAlphabet[group] + ".jpg", stem + kAlphabet[group + 1] + ".jpg",
                        stem + kAlphabet[group + 2] + ".jpg"};
}

std::string NameCodeFor(const std::string& key) {
  std::string buffer = key;
  if (crc(buffer.data()) != 0) return "";
  return buffer.substr(0, 7);
}

bool NameRegistry::Claim(const std::string& thumbnail, const std::string& original) {
  const auto [owner, added] = owners_.try_emplace(thumbnail, original);
  return added || owner->second == original;
}

bool HasJpegExtension(const std::string& name) {
  const std::string lower = Lower(name);
  return (lower.size() > 4 && lower.ends_with(".jpg")) ||
         (lower.size() > 5 && lower.ends_with(".jpeg"));
}

bool HasPictureExtension(const std::string& name, bool jpeg_only) {
  static constexpr std::string_view kOthers[] = {
      ".heic", ".heif", ".hif", ".avif", ".png", ".tif", ".tiff", ".gif", ".bmp", ".webp",
      // camera RAW photos
      ".cr2", ".cr3", ".nef", ".nrw", ".arw", ".sr2", ".orf", ".rw2", ".raf", ".pef", ".srw",
      ".dng",
      // video clips
      ".mp4", ".mov", ".m4v", ".3gp", ".mkv", ".webm", ".avi", ".mts", ".m2ts"};
  if (HasJpegExtension(name)) return true;
  if (jpeg_only) return false;
  const std::string lower = Lower(name);
  return std::any_of(std::begin(kOthers), std::end(kOthers), [&](std::string_view extension) {
    return lower.size() > extension.size() && lower.ends_with(extension);
  });
}

std::optional<JpegName> ClassifyPictureName(const std::string& name, bool jpeg_only) {
  if (HasPictureExtension(name, jpeg_only)) {
    const size_t dot = name.rfind('.');
    return JpegName{name, name.substr(0, dot) + Lower(name.substr(dot))};
  }
  const size_t upper = name.find(".JPG");
  if (upper != std::string::npos) {
    const std::string cut = name.substr(0, upper) + ".jpg";
    return JpegName{cut, cut};
  }
  if (name.find(".jpg") != std::string::npos) return JpegName{name, name};
  return std::nullopt;
}

std::string RenamedCopyName(const std::string& copy, const std::string& recorded) {
  const size_t dot = recorded.rfind('.');
  if (HasJpegExtension(recorded) || dot == std::string::npos) return copy;
  return copy.substr(0, copy.rfind('.')) + Lower(recorded.substr(dot));
}

bool IsOriginalPicture(const std::string& folder, const std::string& name) {
  static constexpr std::string_view kPartners[][2] = {{"0.jpg", "1.jpg"},
                                                      {"1.jpg", "0.jpg"},
                                                      {"8.jpg", "9.jpg"},
                                                      {"9.jpg", "8.jpg"},
                                                      {"H.jpg", "J.jpg"},
                                                      {"J.jpg", "H.jpg"},
                                                      {"R.jpg", "S.jpg"},
                                                      {"S.jpg", "R.jpg"},
                                                      // a clip's web copy, beside its display image
                                                      {"1.mp4", "0.jpg"},
                                                      {"9.mp4", "8.jpg"},
                                                      {"J.mp4", "H.jpg"},
                                                      {"S.mp4", "R.jpg"}};
  if (name == "texture.jpg" || name == "texture2.jpg") {
    return !IsVisibleFile(JoinPath(folder, "archive.htm"));
  }
  if (name.size() != 12 || name[0] != '_') return true;
  const std::string stem = name.substr(0, 7);
  for (const auto& [ending, partner] : kPartners) {
    if (name.ends_with(ending) && IsVisibleFile(JoinPath(folder, stem + std::string(partner)))) {
      return false;
    }
  }
  return true;
}

}  // namespace lumvane
