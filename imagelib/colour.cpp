// SPDX-License-Identifier: GPL-3.0-or-later
#include "imagelib/colour.h"

#include <lcms2.h>

#include <cstring>

namespace vantle {
namespace {

// Opens `icc` in a context of its own (no shared state between threads), or null.
cmsHPROFILE OpenProfile(const std::vector<uint8_t>& icc, cmsContext* context) {
  if (icc.empty()) return nullptr;
  *context = cmsCreateContext(nullptr, nullptr);
  if (*context == nullptr) return nullptr;
  cmsHPROFILE profile =
      cmsOpenProfileFromMemTHR(*context, icc.data(), static_cast<cmsUInt32Number>(icc.size()));
  if (profile == nullptr) cmsDeleteContext(*context);
  return profile;
}

bool IsSrgb(cmsHPROFILE profile) {
  char description[256] = {};
  cmsGetProfileInfoASCII(profile, cmsInfoDescription, "en", "US", description, sizeof description);
  return std::strstr(description, "sRGB") != nullptr;
}

// A transform from `profile` to sRGB for pixels of `input_format`, or null.
cmsHTRANSFORM ToSrgb(cmsContext context, cmsHPROFILE profile, cmsUInt32Number input_format) {
  cmsHPROFILE srgb = cmsCreate_sRGBProfileTHR(context);
  if (srgb == nullptr) return nullptr;
  cmsHTRANSFORM transform =
      cmsCreateTransformTHR(context, profile, input_format, srgb, TYPE_RGB_8, INTENT_PERCEPTUAL, 0);
  cmsCloseProfile(srgb);
  return transform;
}

}  // namespace

void ConvertRgbToSrgb(const std::vector<uint8_t>& icc, Raster* image) {
  if (icc.empty() || image->channels != 3) return;
  cmsContext context = nullptr;
  cmsHPROFILE profile = OpenProfile(icc, &context);
  if (profile == nullptr) return;
  if (cmsGetColorSpace(profile) == cmsSigRgbData && !IsSrgb(profile)) {
    if (cmsHTRANSFORM transform = ToSrgb(context, profile, TYPE_RGB_8)) {
      const size_t pixels = static_cast<size_t>(image->width) * image->height;
      cmsDoTransform(transform, image->pixels.data(), image->pixels.data(),
                     static_cast<cmsUInt32Number>(pixels));
      cmsDeleteTransform(transform);
    }
  }
  cmsCloseProfile(profile);
  cmsDeleteContext(context);
}

std::vector<uint8_t> ProfileForPrimaries(const Primaries& p) {
  std::vector<uint8_t> icc;
  cmsContext context = cmsCreateContext(nullptr, nullptr);
  if (context == nullptr) return icc;
  const cmsCIExyY white{p.white_x, p.white_y, 1.0};
  const cmsCIExyYTRIPLE primaries{
      {p.red_x, p.red_y, 1.0}, {p.green_x, p.green_y, 1.0}, {p.blue_x, p.blue_y, 1.0}};
  // sRGB's curve: a linear part near black, then a power of 2.4.
  const cmsFloat64Number srgb_curve[5] = {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045};
  cmsToneCurve* curve = cmsBuildParametricToneCurve(context, 4, srgb_curve);
  cmsToneCurve* curves[3] = {curve, curve, curve};
  cmsHPROFILE profile =
      curve == nullptr ? nullptr : cmsCreateRGBProfileTHR(context, &white, &primaries, curves);
  cmsUInt32Number size = 0;
  if (profile != nullptr && cmsSaveProfileToMem(profile, nullptr, &size) && size > 0) {
    icc.resize(size);
    if (!cmsSaveProfileToMem(profile, icc.data(), &size)) icc.clear();
  }
  if (profile != nullptr) cmsCloseProfile(profile);
  if (curve != nullptr) cmsFreeToneCurve(curve);
  cmsDeleteContext(context);
  return icc;
}

CmykToSrgb::CmykToSrgb(const std::vector<uint8_t>& icc, bool inverted) {
  cmsContext context = nullptr;
  cmsHPROFILE profile = OpenProfile(icc, &context);
  if (profile == nullptr) return;
  if (cmsGetColorSpace(profile) == cmsSigCmykData) {
    transform_ = ToSrgb(context, profile, inverted ? TYPE_CMYK_8_REV : TYPE_CMYK_8);
  }
  cmsCloseProfile(profile);
  if (transform_ != nullptr) {
    context_ = context;
  } else {
    cmsDeleteContext(context);
  }
}

CmykToSrgb::~CmykToSrgb() {
  if (transform_ != nullptr) cmsDeleteTransform(static_cast<cmsHTRANSFORM>(transform_));
  if (context_ != nullptr) cmsDeleteContext(static_cast<cmsContext>(context_));
}

void CmykToSrgb::Row(const uint8_t* cmyk, uint8_t* rgb, int width) const {
  cmsDoTransform(static_cast<cmsHTRANSFORM>(transform_), cmyk, rgb,
                 static_cast<cmsUInt32Number>(width));
}

}  // namespace vantle
