// SPDX-License-Identifier: GPL-3.0-or-later
#include "processing/embedded_description.h"

#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <mutex>
#include <set>
#include <vector>

#include "imagelib/vantle.h"
#include "platform/text_encoding.h"
#include "processing/camera_details.h"

namespace lumvane {
namespace {

// exiv2 prints its warnings by default, its XMP toolkit wants one initialisation, and its
// reader of HEIF files is off until it is turned on.
void PrepareExiv2() {
  static std::once_flag once;
  std::call_once(once, [] {
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::XmpParser::initialize();
    Exiv2::enableBMFF(true);  // tells HEIF files by their type; the image library reads them
  });
}

std::string Trimmed(std::string text) {
  const auto blank = [](unsigned char c) { return std::isspace(c) != 0 || c == '\0'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  size_t start = 0;
  while (start < text.size() && blank(text[start])) ++start;
  return text.substr(start);
}

// Text of a file we did not write: UTF-8 when valid, else Windows-1252. IPTC declared as UTF-8
// is valid UTF-8; undeclared IPTC is read the same way, as the MWG guidelines advise.
std::string AsUtf8(const std::string& bytes) {
  return Trimmed(IsValidUtf8(bytes) ? bytes : Windows1252ToUtf8(bytes));
}

// Captions that cameras write by themselves.
bool IsCameraDefault(const std::string& text) {
  static const char* const kDefaults[] = {
      "OLYMPUS DIGITAL CAMERA",     "SONY DSC", "DIGITAL CAMERA",
      "KODAK Digital Still Camera", "Default",  "DCIM"};
  for (const char* text_default : kDefaults) {
    if (text == text_default) return true;
  }
  return false;
}

// Every value of `key` in `data` (XMP bags and sequences item by item, repeated IPTC data
// sets each), as written.
template <typename Data>
std::vector<std::string> ValuesOf(const Data& data, const std::string& key) {
  std::vector<std::string> values;
  for (const auto& datum : data) {
    if (datum.key() != key) continue;
    const Exiv2::TypeId type = datum.typeId();
    if (type == Exiv2::xmpBag || type == Exiv2::xmpSeq || type == Exiv2::xmpAlt) {
      for (long i = 0; i < datum.count(); ++i) values.push_back(datum.toString(i));
    } else {
      values.push_back(datum.toString());
    }
  }
  return values;
}

std::string XmpText(const Exiv2::XmpData& xmp, const char* key) {
  const auto found = xmp.findKey(Exiv2::XmpKey(key));
  if (found == xmp.end()) return "";
  if (found->typeId() == Exiv2::langAlt) {
    const auto& alt = static_cast<const Exiv2::LangAltValue&>(found->value());
    const auto fallback = alt.value_.find("x-default");
    if (fallback != alt.value_.end()) return Trimmed(fallback->second);
    return alt.value_.empty() ? "" : Trimmed(alt.value_.begin()->second);
  }
  std::string joined;
  for (const std::string& item : ValuesOf(xmp, key)) {
    if (!joined.empty()) joined += ", ";
    joined += Trimmed(item);
  }
  return joined;
}

}  // namespace

// Windows' XP tags are UTF-16, which exiv2's print form turns into UTF-8.
std::string ExifText(const Exiv2::ExifData& exif, const char* key, bool windows_xp) {
  const auto found = exif.findKey(Exiv2::ExifKey(key));
  if (found == exif.end()) return "";
  return AsUtf8(windows_xp ? found->print(&exif) : found->toString());
}

namespace {

struct Sources {
  Exiv2::XmpData xmp;
  Exiv2::IptcData iptc;
  Exiv2::ExifData exif;
  long width = 0, height = 0;  // of the image, as its file's header gives it
};

std::string IptcJoined(const Sources& sources, const char* key, const char* separator) {
  std::string joined;
  for (const std::string& value : ValuesOf(sources.iptc, key)) {
    const std::string text = AsUtf8(value);
    if (text.empty()) continue;
    if (!joined.empty()) joined += separator;
    joined += text;
  }
  return joined;
}

std::string FirstOf(std::initializer_list<std::string> candidates) {
  for (const std::string& candidate : candidates) {
    if (!candidate.empty()) return candidate;
  }
  return "";
}

// Keywords of the first source that has any, each once, in order.
std::string Keywords(const Sources& s) {
  std::vector<std::string> words;
  for (const std::string& word : ValuesOf(s.xmp, "Xmp.dc.subject")) words.push_back(Trimmed(word));
  if (words.empty()) {
    for (const std::string& word : ValuesOf(s.iptc, "Iptc.Application2.Keywords")) {
      words.push_back(AsUtf8(word));
    }
  }
  if (words.empty()) {
    std::string xp = ExifText(s.exif, "Exif.Image.XPKeywords", true);
    for (size_t start = 0; start <= xp.size();) {
      const size_t end = std::min(xp.find(';', start), xp.size());
      words.push_back(Trimmed(xp.substr(start, end - start)));
      start = end + 1;
    }
  }
  std::set<std::string> seen;
  std::string joined;
  for (const std::string& word : words) {
    if (word.empty() || !seen.insert(word).second) continue;
    if (!joined.empty()) joined += ' ';
    joined += word;
  }
  return joined;
}

std::string Category(const Sources& s) {
  std::string xmp = XmpText(s.xmp, "Xmp.photoshop.Category");
  for (const std::string& more : ValuesOf(s.xmp, "Xmp.photoshop.SupplementalCategories")) {
    xmp += (xmp.empty() ? "" : " ") + Trimmed(more);
  }
  std::string iptc = IptcJoined(s, "Iptc.Application2.Category", " ");
  const std::string supplemental = IptcJoined(s, "Iptc.Application2.SuppCategory", " ");
  if (!supplemental.empty()) iptc += (iptc.empty() ? "" : " ") + supplemental;
  return FirstOf({Trimmed(xmp), iptc});
}

std::string Comment(const Sources& s) {
  for (std::string text :
       {XmpText(s.xmp, "Xmp.dc.description"), IptcJoined(s, "Iptc.Application2.Caption", " "),
        ExifText(s.exif, "Exif.Image.ImageDescription", false),
        ExifText(s.exif, "Exif.Image.XPComment", true)}) {
    if (!text.empty() && !IsCameraDefault(text)) return text;
  }
  return "";
}

// "2005-06-07T12:34:56", "2005:06:07 12:34:56", "2005-06-07": the date (and time) they give.
std::optional<LocalDateTime> ParseTaken(const std::string& text) {
  LocalDateTime time;
  char a = 0, b = 0;
  const int read =
      std::sscanf(text.c_str(), "%4d%c%2d%c%2d", &time.year, &a, &time.month, &b, &time.day);
  if (read != 5 || (a != '-' && a != ':') || a != b) return std::nullopt;
  if (time.year < 1800 || time.month < 1 || time.month > 12 || time.day < 1 || time.day > 31) {
    return std::nullopt;
  }
  if (text.size() >= 19) {
    std::sscanf(text.c_str() + 11, "%2d:%2d:%2d", &time.hour, &time.minute, &time.second);
  }
  return time;
}

std::optional<LocalDateTime> Taken(const Sources& s) {
  for (const std::string& text :
       {XmpText(s.xmp, "Xmp.exif.DateTimeOriginal"), XmpText(s.xmp, "Xmp.photoshop.DateCreated"),
        ExifText(s.exif, "Exif.Photo.DateTimeOriginal", false),
        IptcJoined(s, "Iptc.Application2.DateCreated", "")}) {
    if (auto taken = ParseTaken(text)) return taken;
  }
  return std::nullopt;
}

// The EXIF and XMP blocks of a HEIF picture, where exiv2 finds none by itself; the image
// library reads them.
void ReadHeifSources(const std::string& path, Sources* sources) {
  std::string exif(kMaxXmpBytes, '\0'), xmp(kMaxXmpBytes, '\0');
  size_t exif_length = 0, xmp_length = 0;
  vantle_heif_blocks(path.c_str(), exif.data(), xmp.data(), kMaxXmpBytes, &exif_length,
                     &xmp_length);
  exif.resize(exif_length);
  xmp.resize(xmp_length);
  if (!exif.empty()) {
    Exiv2::ExifParser::decode(sources->exif, reinterpret_cast<const Exiv2::byte*>(exif.data()),
                              static_cast<uint32_t>(exif.size()));
  }
  if (!xmp.empty()) Exiv2::XmpParser::decode(sources->xmp, xmp);
}

// Reads the three blocks; a block that fails leaves the others.
bool ReadSources(const std::string& path, Sources* sources) {
  Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path);
  if (image.get() == nullptr) return false;
  image->readMetadata();
  sources->width = image->pixelWidth();
  sources->height = image->pixelHeight();
  sources->exif = image->exifData();
  sources->iptc = image->iptcData();
  if (image->xmpPacket().size() <= kMaxXmpBytes) sources->xmp = image->xmpData();
  if (sources->exif.empty() && sources->xmp.empty() &&
      image->imageType() == Exiv2::ImageType::bmff) {
    ReadHeifSources(path, sources);
  }
  return true;
}

}  // namespace

EmbeddedDescription ReadEmbeddedDescription(const std::string& path) {
  PrepareExiv2();
  EmbeddedDescription description;
  Sources s;
  try {
    if (!ReadSources(path, &s)) return description;
  } catch (...) {  // Exiv2::Error on a damaged block, std::bad_alloc: keep what was read
  }
  try {
    description.title =
        FirstOf({XmpText(s.xmp, "Xmp.dc.title"), IptcJoined(s, "Iptc.Application2.ObjectName", " "),
                 ExifText(s.exif, "Exif.Image.XPTitle", true)});
    description.subject = Keywords(s);
    description.category = Category(s);
    description.comment = Comment(s);
    description.author =
        FirstOf({XmpText(s.xmp, "Xmp.dc.creator"), IptcJoined(s, "Iptc.Application2.Byline", ", "),
                 ExifText(s.exif, "Exif.Image.Artist", false),
                 ExifText(s.exif, "Exif.Image.XPAuthor", true)});
    description.taken = Taken(s);
    description.details = CameraDetails(s.exif, s.xmp);
    if (s.width > 0 && s.height > 0) {
      AddDetail(&description.details, "pixels",
                std::to_string(s.width) + " x " + std::to_string(s.height));
    }
  } catch (...) {  // a value of an unexpected type: what was read so far stays
  }
  return description;
}

}  // namespace lumvane
