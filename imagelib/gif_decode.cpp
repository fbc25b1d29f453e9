// SPDX-License-Identifier: GPL-3.0-or-later
// GIF over giflib: the first frame only, placed on the logical screen, its transparent colour
// showing the page's background. Later frames are never read.
#include <gif_lib.h>

#include <algorithm>

#include "imagelib/whole_decode.h"

namespace vantle {
namespace {

int ReadFromFile(GifFileType* gif, GifByteType* buffer, int length) {
  return static_cast<int>(
      std::fread(buffer, 1, static_cast<size_t>(length), static_cast<FILE*>(gif->UserData)));
}

struct GifCloser {
  GifFileType* gif;
  ~GifCloser() {
    int ignored = 0;
    if (gif != nullptr) DGifCloseFile(gif, &ignored);
  }
};

// Reads extension blocks up to the next record; notes the transparent colour of a graphic
// control block.
bool ReadExtension(GifFileType* gif, int* transparent) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
  if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr) {
    GraphicsControlBlock control{};
    if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
      *transparent = control.TransparentColor;
    }
  }
  while (block != nullptr) {
    if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
  }
  return true;
}

// The order in which an interlaced frame's rows arrive.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> order;
  order.reserve(height);
  if (!interlaced) {
    for (int y = 0; y < height; ++y) order.push_back(y);
    return order;
  }
  static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
  }
  return order;
}

// Reads the frame's rows and paints its opaque pixels onto the screen in `out`.
bool PaintFrame(GifFileType* gif, int transparent, WholePicture* out) {
  const GifImageDesc& frame = gif->Image;
  const ColorMapObject* colours = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
  if (colours == nullptr || frame.Width <= 0 || frame.Height <= 0) return false;
  if (size_t{static_cast<size_t>(frame.Width)} * frame.Height > kWholeBudget / 4) {
    out->too_large = true;
    return false;
  }
  std::vector<GifPixelType> line(frame.Width);
  for (const int y : RowOrder(frame.Height, frame.Interlace)) {
    if (DGifGetLine(gif, line.data(), frame.Width) != GIF_OK) return false;
    const int screen_y = frame.Top + y;
    if (screen_y < 0 || screen_y >= out->image.height) continue;
    for (int x = 0; x < frame.Width; ++x) {
      const int screen_x = frame.Left + x;
      if (screen_x >= out->image.width || line[x] == transparent ||
          line[x] >= colours->ColorCount) {
        continue;
      }
      const GifColorType& c = colours->Colors[line[x]];
      uint8_t* pixel =
          &out->image
               .pixels[3 * (size_t{static_cast<size_t>(screen_y)} * out->image.width + screen_x)];
      pixel[0] = c.Red, pixel[1] = c.Green, pixel[2] = c.Blue;
    }
  }
  return true;
}

}  // namespace

bool DecodeGif(FILE* file, WholePicture* out) {
  int error = 0;
  const GifCloser closer{DGifOpen(file, ReadFromFile, &error)};
  GifFileType* gif = closer.gif;
  if (gif == nullptr || !TakeSize({gif->SWidth, gif->SHeight}, 1, out)) return false;
  for (size_t i = 0; i < out->image.pixels.size(); ++i)
    out->image.pixels[i] = kPageBackground[i % 3];
  int transparent = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &record) != GIF_OK) return false;
    if (record == EXTENSION_RECORD_TYPE && !ReadExtension(gif, &transparent)) return false;
    if (record == IMAGE_DESC_RECORD_TYPE) {
      return DGifGetImageDesc(gif) == GIF_OK && PaintFrame(gif, transparent, out);
    }
    if (record == TERMINATE_RECORD_TYPE || record == UNDEFINED_RECORD_TYPE) return false;
  }
}

}  // namespace vantle
