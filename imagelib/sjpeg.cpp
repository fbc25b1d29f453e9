// SPDX-License-Identifier: GPL-3.0-or-later
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "imagelib/colour.h"
#include "imagelib/formats_module.h"
#include "imagelib/jpeg_codec.h"
#include "imagelib/picture_format.h"
#include "imagelib/play_mark.h"
#include "imagelib/raster.h"
#include "imagelib/vantle.h"

namespace vantle {
namespace {

constexpr int kDisplayBox = 1600;
constexpr int kMaxThumbnailSize = 8192;

// The square an image of `size` fits within: the display box, or twice a thumbnail's size.
int BoxFor(int size) {
  return size == 0 ? kDisplayBox : 2 * size;
}

struct Outcome {
  int code = VANTLE_DONE;
  vantle_failure failure{0, 0, 0};
};

Outcome Failed(int code, int system_error) {
  return {code, {system_error, 0, 0}};
}

// Opens `in` for reading only when it is a regular file; a FIFO or device is never waited on.
FILE* OpenInput(const char* in, Outcome* outcome) {
  const int fd = open(in, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat info {};
  int error = fd < 0 ? errno : 0;
  if (error == 0 && fstat(fd, &info) != 0) error = errno;
  if (error == 0 && !S_ISREG(info.st_mode)) error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
  if (error == 0 && fcntl(fd, F_SETFL, 0) != 0) error = errno;
  FILE* file = error == 0 ? fdopen(fd, "rb") : nullptr;
  if (file == nullptr && error == 0) error = errno;
  if (file != nullptr) return file;
  if (fd >= 0) close(fd);
  *outcome = Failed(VANTLE_CANNOT_OPEN, error);
  return nullptr;
}

using File = std::unique_ptr<FILE, int (*)(FILE*)>;

void NoteTooLarge(Size claimed, Outcome* outcome) {
  outcome->code = VANTLE_TOO_LARGE;
  outcome->failure.width = claimed.width;
  outcome->failure.height = claimed.height;
}

bool RenderJpeg(FILE* file, int box, Raster* out, Outcome* outcome) {
  DecodedJpeg decoded;
  if (!DecodeScaled(file, box, &decoded)) {
    outcome->code = decoded.not_jpeg ? VANTLE_NOT_JPEG : VANTLE_DAMAGED;
    if (decoded.too_large) NoteTooLarge(decoded.full, outcome);
    return false;
  }
  ConvertRgbToSrgb(decoded.icc, &decoded.image);  // after resizing: fewer pixels to convert
  *out = ApplyOrientation(std::move(decoded.image), decoded.orientation);
  return true;
}

bool RenderWhole(FILE* file, PictureFormat format, int box, Raster* out, Outcome* outcome) {
  if (!OtherFormatsAvailable()) {  // an installation without its module of formats
    *outcome = Failed(VANTLE_CANNOT_OPEN, ELIBACC);
    return false;
  }
  WholePicture whole;
  if (!DecodeOtherFormat(file, format, &whole)) {
    outcome->code = VANTLE_DAMAGED;
    if (whole.too_large) NoteTooLarge(whole.full, outcome);
    return false;
  }
  const Size fitted = FitWithin({whole.image.width, whole.image.height}, box);
  Raster image;
  if (fitted.width == whole.image.width && fitted.height == whole.image.height) {
    image = std::move(whole.image);
  } else if (!Resample(whole.image, fitted, &image)) {
    outcome->code = VANTLE_DAMAGED;
    return false;
  }
  ConvertRgbToSrgb(whole.icc, &image);
  *out = ApplyOrientation(std::move(image), whole.orientation);
  return true;
}

// Makes the upright, resized picture that `box` asks for, from a JPEG or (with
// `every_format`) a picture of any format the library reads.
bool Render(const char* in, int box, bool every_format, Raster* out, Outcome* outcome) {
  const File file(OpenInput(in, outcome), std::fclose);  // closed on a failed allocation too
  if (file == nullptr) return false;
  const PictureFormat format = every_format ? SniffFile(file.get()) : PictureFormat::kJpeg;
  if (format == PictureFormat::kJpeg || format == PictureFormat::kUnknown) {
    return RenderJpeg(file.get(), box, out, outcome);
  }
  return RenderWhole(file.get(), format, box, out, outcome);
}

// Creates a new temporary beside `out`, named as every Lumvane temporary is (a hidden prefix
// that the clean-up of a killed run looks for), with the permissions the umask leaves.
int CreateTemporaryBeside(const std::string& out, std::string* temp) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  const size_t slash = out.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "" : out.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? out : out.substr(slash + 1);
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    *temp = folder + ".lumvane-tmp-" + name + "-";
    for (int i = 0; i < 6; ++i) *temp += kLetters[random() % (sizeof kLetters - 1)];
    const int fd = open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Writes `image` to a temporary file beside `out` and renames it over `out`, so that a
// failure never leaves a broken or partial output behind.
bool WriteReplacing(const Raster& image, const char* out, const char* note, Outcome* outcome) {
  std::string temp;
  const int fd = CreateTemporaryBeside(out, &temp);
  if (fd < 0) {
    *outcome = Failed(VANTLE_CANNOT_WRITE, errno);
    return false;
  }
  FILE* file = fdopen(fd, "wb");
  errno = 0;
  bool ok = file != nullptr && Encode(image, file, 85, note != nullptr ? note : "");
  ok = ok && std::fflush(file) == 0;
  int error = ok ? 0 : errno;
  if (file != nullptr && std::fclose(file) != 0 && error == 0) error = errno;
  if (file == nullptr) close(fd);
  if (error == 0 && !ok) error = EIO;
  if (error == 0 && std::rename(temp.c_str(), out) != 0) error = errno;
  if (error == 0) return true;
  unlink(temp.c_str());
  *outcome = Failed(VANTLE_CANNOT_WRITE, error);
  return false;
}

// What one conversion is asked for besides its input, output and size.
struct Asked {
  const char* note = nullptr;  // the output's comment
  bool every_format = false;
  const char* play_mark = nullptr;  // set: a clip's thumbnail, with this caption
};

Outcome Convert(const char* in, const char* out, int size, const Asked& asked = {}) {
  Outcome outcome;
  if (in == nullptr || out == nullptr || size < 0 || size > kMaxThumbnailSize) {
    return Failed(VANTLE_CANNOT_OPEN, EINVAL);
  }
  const int box = BoxFor(size);
  try {
    Raster image;
    if (Render(in, box, asked.every_format, &image, &outcome)) {
      if (asked.play_mark != nullptr) DrawPlayMark(asked.play_mark, &image);
      WriteReplacing(image, out, asked.note, &outcome);
    }
  } catch (...) {  // std::bad_alloc: report failure, never terminate the caller
    outcome = Failed(VANTLE_TOO_LARGE, 0);
  }
  return outcome;
}

}  // namespace
}  // namespace vantle

extern "C" __attribute__((visibility("default"))) int sjpeg(const char* in, const char* out,
                                                            int size) {
  return vantle::Convert(in, out, size).code == VANTLE_DONE ? 0 : 1;
}

extern "C" __attribute__((visibility("default"))) vantle_weight sjpeg_weigh(const char* in,
                                                                            int size) {
  vantle_weight weight{0, 0};
  if (in == nullptr || size < 0 || size > vantle::kMaxThumbnailSize) return weight;
  vantle::Outcome ignored;
  const vantle::File file(vantle::OpenInput(in, &ignored), std::fclose);
  if (file == nullptr) return weight;
  try {
    const vantle::PictureFormat format = vantle::SniffFile(file.get());
    if (format == vantle::PictureFormat::kJpeg) {
      weight = vantle::WeighDecode(file.get(), vantle::BoxFor(size));
    } else if (format != vantle::PictureFormat::kUnknown) {
      const size_t bytes = vantle::OtherFormatMemory(file.get(), format, vantle::BoxFor(size));
      weight = {bytes, bytes};
    }
  } catch (...) {
  }
  return weight;
}

extern "C" __attribute__((visibility("default"))) int sjpeg_why(const char* in, const char* out,
                                                                int size, vantle_failure* failure) {
  const vantle::Outcome outcome = vantle::Convert(in, out, size);
  if (failure != nullptr) *failure = outcome.failure;
  return outcome.code;
}

extern "C" __attribute__((visibility("default"))) int sjpeg_noted(const char* in, const char* out,
                                                                  int size, const char* note,
                                                                  int formats,
                                                                  vantle_failure* failure) {
  const vantle::Outcome outcome =
      vantle::Convert(in, out, size, {note, formats == VANTLE_EVERY_FORMAT, nullptr});
  if (failure != nullptr) *failure = outcome.failure;
  return outcome.code;
}

extern "C" __attribute__((visibility("default"))) int sjpeg_clip_thumb(const char* in,
                                                                       const char* out, int size,
                                                                       const char* note,
                                                                       const char* caption,
                                                                       vantle_failure* failure) {
  const vantle::Outcome outcome =
      vantle::Convert(in, out, size, {note, false, caption != nullptr ? caption : ""});
  if (failure != nullptr) *failure = outcome.failure;
  return outcome.code;
}

extern "C" __attribute__((visibility("default"))) int sjpeg_note(const char* path, char* note,
                                                                 size_t capacity) {
  if (path == nullptr || note == nullptr || capacity == 0) return -1;
  vantle::Outcome ignored;
  const vantle::File file(vantle::OpenInput(path, &ignored), std::fclose);
  std::string comment;
  bool found = false;
  try {
    found = file != nullptr && vantle::ReadComment(file.get(), &comment);
  } catch (...) {
  }
  if (!found) return -1;
  const size_t length = std::min(comment.size(), capacity - 1);
  std::memcpy(note, comment.data(), length);
  note[length] = '\0';
  return static_cast<int>(length);
}

extern "C" __attribute__((visibility("default"))) int vantle_heif_blocks(const char* path,
                                                                         char* exif, char* xmp,
                                                                         size_t capacity,
                                                                         size_t* exif_length,
                                                                         size_t* xmp_length) {
  *exif_length = *xmp_length = 0;
  if (path == nullptr) return -1;
  vantle::Outcome ignored;
  const vantle::File file(vantle::OpenInput(path, &ignored), std::fclose);
  vantle::HeifBlocks blocks;  // filled inside the module, which lets no exception out
  if (file == nullptr || !vantle::ReadHeifBlocksOf(file.get(), capacity, &blocks)) return -1;
  *exif_length = blocks.exif.size();
  *xmp_length = blocks.xmp.size();
  std::memcpy(exif, blocks.exif.data(), *exif_length);
  std::memcpy(xmp, blocks.xmp.data(), *xmp_length);
  return 0;
}

static_assert(static_cast<int>(vantle::PictureFormat::kHeif) == VANTLE_FORMAT_HEIF &&
              static_cast<int>(vantle::PictureFormat::kWebp) == VANTLE_FORMAT_WEBP &&
              static_cast<int>(vantle::PictureFormat::kClip) == VANTLE_FORMAT_CLIP);

extern "C" __attribute__((visibility("default"))) int vantle_format(const char* path) {
  if (path == nullptr) return VANTLE_FORMAT_UNKNOWN;
  vantle::Outcome ignored;
  const vantle::File file(vantle::OpenInput(path, &ignored), std::fclose);
  if (file == nullptr) return VANTLE_FORMAT_UNKNOWN;
  const vantle::PictureFormat sniffed = vantle::SniffFile(file.get());
  if (sniffed != vantle::PictureFormat::kTiff) return static_cast<int>(sniffed);
  return static_cast<int>(vantle::TellOtherFormat(file.get(), sniffed));
}

namespace {

void CopyText(const std::string& text, char* into, size_t capacity) {
  size_t length = std::min(text.size(), capacity - 1);
  while (length > 0 && length < text.size() &&
         (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
    --length;  // not inside a UTF-8 sequence
  }
  std::memcpy(into, text.data(), length);
  into[length] = '\0';
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int vantle_clip_facts(const char* path,
                                                                        vantle_clip* clip) {
  if (path == nullptr || clip == nullptr) return -1;
  *clip = vantle_clip{};
  vantle::Outcome ignored;
  const vantle::File file(vantle::OpenInput(path, &ignored), std::fclose);
  vantle::ClipFacts facts;  // filled inside the module, which lets no exception out
  if (file == nullptr || vantle::SniffFile(file.get()) != vantle::PictureFormat::kClip ||
      !vantle::ReadClipFactsOf(file.get(), &facts)) {
    return -1;
  }
  clip->seconds = facts.seconds;
  CopyText(facts.created, clip->created, sizeof clip->created);
  CopyText(facts.title, clip->title, sizeof clip->title);
  CopyText(facts.comment, clip->comment, sizeof clip->comment);
  CopyText(facts.container, clip->container, sizeof clip->container);
  CopyText(facts.video, clip->video, sizeof clip->video);
  CopyText(facts.audio, clip->audio, sizeof clip->audio);
  clip->width = facts.shown.width;
  clip->height = facts.shown.height;
  return 0;
}
