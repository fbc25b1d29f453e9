// SPDX-License-Identifier: GPL-3.0-or-later
#include "processing/camera_details.h"

#include <cmath>
#include <cstdio>
#include <optional>

namespace lumvane {
namespace {

const Exiv2::Exifdatum* Find(const Exiv2::ExifData& exif, const char* key) {
  const auto found = exif.findKey(Exiv2::ExifKey(key));
  return found == exif.end() ? nullptr : &*found;
}

// The n-th rational of `key` as a number; nothing for a missing value or a zero denominator.
std::optional<double> Number(const Exiv2::ExifData& exif, const char* key, long n = 0) {
  const Exiv2::Exifdatum* datum = Find(exif, key);
  if (datum == nullptr || static_cast<long>(datum->count()) <= n) return std::nullopt;
  const Exiv2::Rational r = datum->toRational(n);
  if (r.second == 0) return std::nullopt;
  const double value = static_cast<double>(r.first) / r.second;
  return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

std::string Printed(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// "Canon EOS 5D" from make "Canon" and model "Canon EOS 5D"; "NIKON D70" from "NIKON
// CORPORATION" and "NIKON D70": the model alone when it names the maker already.
std::string Camera(const Exiv2::ExifData& exif) {
  const std::string make = ExifText(exif, "Exif.Image.Make");
  const std::string model = ExifText(exif, "Exif.Image.Model");
  const std::string first_word = make.substr(0, make.find(' '));
  if (model.empty()) return make;
  if (make.empty() || model.compare(0, first_word.size(), first_word) == 0) return model;
  return make + " " + model;
}

std::string Exposure(const Exiv2::ExifData& exif) {
  const std::optional<double> seconds = Number(exif, "Exif.Photo.ExposureTime");
  if (!seconds || *seconds <= 0) return "";
  if (*seconds >= 0.3) return Printed("%g s", std::round(*seconds * 10) / 10);
  return Printed("1/%.0f s", 1 / *seconds);
}

// Degrees from the three rationals of a GPS position and its reference ("S" and "W" negative).
std::optional<double> Degrees(const Exiv2::ExifData& exif, const char* key, const char* ref) {
  const auto d = Number(exif, key, 0), m = Number(exif, key, 1), s = Number(exif, key, 2);
  if (!d || !m || !s) return std::nullopt;
  const double degrees = *d + *m / 60 + *s / 3600;
  const std::string side = ExifText(exif, ref);
  return side == "S" || side == "W" ? -degrees : degrees;
}

std::string Position(const Exiv2::ExifData& exif) {
  const auto latitude = Degrees(exif, "Exif.GPSInfo.GPSLatitude", "Exif.GPSInfo.GPSLatitudeRef");
  const auto longitude = Degrees(exif, "Exif.GPSInfo.GPSLongitude", "Exif.GPSInfo.GPSLongitudeRef");
  if (!latitude || !longitude || std::fabs(*latitude) > 90 || std::fabs(*longitude) > 180) {
    return "";
  }
  if (*latitude == 0 && *longitude == 0) return "";  // a receiver without a fix writes zeros
  char text[64];
  std::snprintf(text, sizeof text, "%.6f,%.6f", *latitude, *longitude);
  return text;
}

}  // namespace

std::string CameraDetails(const Exiv2::ExifData& exif, const Exiv2::XmpData& xmp) {
  std::string details;
  AddDetail(&details, "camera", Camera(exif));
  std::string lens = ExifText(exif, "Exif.Photo.LensModel");
  if (lens.empty()) {
    const auto found = xmp.findKey(Exiv2::XmpKey("Xmp.aux.Lens"));
    if (found != xmp.end()) lens = found->toString();
  }
  AddDetail(&details, "lens", lens);
  if (auto f = Number(exif, "Exif.Photo.FNumber"); f && *f > 0) {
    AddDetail(&details, "aperture", Printed("f/%g", std::round(*f * 10) / 10));
  }
  AddDetail(&details, "exposure", Exposure(exif));
  const std::string iso = ExifText(exif, "Exif.Photo.ISOSpeedRatings");
  if (!iso.empty() && iso != "0") AddDetail(&details, "iso", iso.substr(0, iso.find(' ')));
  if (auto mm = Number(exif, "Exif.Photo.FocalLength"); mm && *mm > 0) {
    AddDetail(&details, "focal", Printed("%g mm", std::round(*mm * 10) / 10));
  }
  AddDetail(&details, "gps", Position(exif));
  return details;
}

}  // namespace lumvane
