// SPDX-License-Identifier: GPL-3.0-or-later
// libvantle: the image library of Lumvane. C functions without global state; each may be
// called from several threads at once.
#ifndef LUMVANE_IMAGELIB_VANTLE_H_
#define LUMVANE_IMAGELIB_VANTLE_H_

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

// Overwrites the first seven characters of `key` with its name code: the CRC-32 of the key's
// bytes times 8, in base 32 over "0123456789ABCDFGHJKLMNPQRSTVWXYZ", most significant first,
// so the seventh character is always 0, 8, H or R. Returns 0, or -1 (and leaves the text as
// it is) when `key` is null or shorter than seven characters. Never writes past the text.
int crc(char* key);

// Reads the JPEG at `in` and writes an upright JPEG (quality 85) to `out`, replacing it only
// when the whole image was written. Size 0: fits within 1600 x 1600 pixels, never enlarged.
// Size n > 0: fits within 2n x 2n pixels, never enlarged. Returns 0 on success, 1 on any
// failure; never prints, exits or aborts, whatever the input holds.
int sjpeg(const char* in, const char* out, int size);

// What sjpeg_why returns.
#define VANTLE_DONE 0
#define VANTLE_CANNOT_OPEN \
  1                            // the input cannot be opened, or is no regular file, or its
                               // format's library is missing (ELIBACC)
#define VANTLE_NOT_JPEG 2      // the input is no JPEG image (no picture of the formats asked for)
#define VANTLE_DAMAGED 3       // the input is a damaged picture, or too large to decode
#define VANTLE_CANNOT_WRITE 4  // the output cannot be written
#define VANTLE_TOO_LARGE 5     // decoding would need more memory than one picture may take

// What sjpeg_why tells about a failure.
struct vantle_failure {
  int system_error;   // errno of a failed open or write (VANTLE_CANNOT_OPEN, _WRITE), else 0
  int width, height;  // the image's size as its header claims (VANTLE_TOO_LARGE), else 0
};

// sjpeg, saying why it failed; `failure` (when not null) receives the details. The input is
// never opened for reading unless it is a regular file, so it never blocks. A picture whose
// decoding would take more than 512 MiB (a header claiming an absurd size, a 100-megapixel
// progressive image is within it) is refused before its data is read.
int sjpeg_why(const char* in, const char* out, int size, struct vantle_failure* failure);

// What sjpeg_noted reads: JPEG pictures alone, or HEIF (HEIC, AVIF), PNG, TIFF, GIF, BMP and
// WebP pictures, camera RAW photos and video clips as well, told by their first bytes whatever
// their names. Of an animation or a multi-page file it takes the first picture; transparent
// parts show the page's light background; of a RAW photo its embedded preview when that is at
// least 1600 pixels across, else its sensor's data developed at half size; of a clip a frame
// about a second in (the first that is not black). The memory budget, orientation and colour
// rules hold for every format.
#define VANTLE_JPEG_ONLY 0
#define VANTLE_EVERY_FORMAT 1

// sjpeg_why over `formats`, and the output carries `note` (a short text; null for none) as a
// JPEG comment, which sjpeg_note reads back.
int sjpeg_noted(const char* in, const char* out, int size, const char* note, int formats,
                struct vantle_failure* failure);

// What vantle_format tells.
#define VANTLE_FORMAT_UNKNOWN 0
#define VANTLE_FORMAT_JPEG 1
#define VANTLE_FORMAT_HEIF 2
#define VANTLE_FORMAT_PNG 3
#define VANTLE_FORMAT_TIFF 4
#define VANTLE_FORMAT_GIF 5
#define VANTLE_FORMAT_BMP 6
#define VANTLE_FORMAT_WEBP 7
#define VANTLE_FORMAT_RAW 8   // a camera's RAW photo (CR2, CR3, NEF, ARW, DNG, ORF, RW2, RAF...)
#define VANTLE_FORMAT_CLIP 9  // a video clip (MP4, MOV, MKV, WebM, AVI, MPEG transport stream)

// sjpeg_noted of a JPEG (a clip's display image), with a play mark over the middle of the
// output and `caption` (digits and ':' alone, as "1:05"; null for none) in its lower right
// corner: a clip's thumbnail.
int sjpeg_clip_thumb(const char* in, const char* out, int size, const char* note,
                     const char* caption, struct vantle_failure* failure);

// The format of the picture at `path`, from its first bytes (a TIFF file's from LibRaw too);
// VANTLE_FORMAT_UNKNOWN when it is none of them or cannot be read. Never blocks on a FIFO or
// device.
int vantle_format(const char* path);

// Copies the first comment of the JPEG at `path` into `note` (at most `capacity` - 1 bytes and
// a terminating zero). Returns the length copied, or -1 when the file has no comment, is no
// JPEG or cannot be read. Never blocks on a FIFO or device.
int sjpeg_note(const char* path, char* note, size_t capacity);

// Copies the EXIF block (from its TIFF header on) and the XMP packet of the primary image of
// the HEIF (HEIC, AVIF) picture at `path` into `exif` and `xmp`, `capacity` bytes each, reading
// the file once. Their lengths go to `exif_length` and `xmp_length`: 0 for a block the picture
// lacks or one larger than `capacity`. Returns 0, or -1 (both lengths 0) when it is no readable
// HEIF picture. Never blocks on a FIFO or device.
int vantle_heif_blocks(const char* path, char* exif, char* xmp, size_t capacity,
                       size_t* exif_length, size_t* xmp_length);

// What a video clip's container says of it; texts are UTF-8, cut to fit, "" when absent.
struct vantle_clip {
  double seconds;    // its length; 0 when unknown
  char created[40];  // the time it was made, ISO 8601 as the clip has it
  char title[256];   // its title and comment tags
  char comment[1024];
  char container[64];  // FFmpeg's name of its format: "mov,mp4,m4a,3gp,3g2,mj2", ...
  char video[32];      // the codecs of its video and audio: "h264", "hevc", "vp9", "aac"
  char audio[32];
  int width, height;  // the frame as shown, upright
};

// Reads the facts of the clip at `path` into `clip`. Returns 0, or -1 when it is no clip with
// a video stream or the formats' module is missing. Never blocks on a FIFO or device.
int vantle_clip_facts(const char* path, struct vantle_clip* clip);

// What sjpeg_noted takes for a picture, read from its header alone; both 0 when it has none.
// For sharing memory and cores between pictures made at the same time.
struct vantle_weight {
  size_t memory;  // about the most bytes it holds at once
  size_t work;    // about its work, comparable between pictures: a JPEG's bytes (three times
                  // those of a progressive one), another format's decoded pixels' bytes
};

// The weight of sjpeg_noted for `in` (of any format) at `size`.
struct vantle_weight sjpeg_weigh(const char* in, int size);

#ifdef __cplusplus
}
#endif

#endif  // LUMVANE_IMAGELIB_VANTLE_H_
