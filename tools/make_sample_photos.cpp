// SPDX-License-Identifier: GPL-3.0-or-later
// Draws photo-like landscapes (sky, sun, hills, grain) as JPEG files with spread-out file dates,
// for the demo archive and the benchmark; with `cmyk`, every seventh is a CMYK JPEG as
// print-oriented programs write it (Adobe's inverted form); with `described`, each carries a
// title, a caption, keywords (the folder's name among them) and its date in XMP, as a photo
// program writes them.
// Usage: make_sample_photos OUT_DIR COUNT [WIDTHxHEIGHT] [SEED] [cmyk|described]
#include <sys/time.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "imagelib/jpeg_codec.h"

namespace {

struct Scene {
  double sky_top[3], sky_bottom[3], land[3];
  double sun_x, sun_y, sun_radius;
  double hill_phase[3], hill_height;
};

Scene RandomScene(std::mt19937& random) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  Scene s;
  const double warmth = unit(random);
  const double top[3] = {40 + 60 * warmth, 90 + 40 * unit(random), 200 - 80 * warmth};
  const double bottom[3] = {230, 170 + 60 * unit(random), 120 + 100 * (1 - warmth)};
  const double land[3] = {40 + 60 * unit(random), 70 + 60 * unit(random), 40 + 30 * unit(random)};
  for (int c = 0; c < 3; ++c) {
    s.sky_top[c] = top[c];
    s.sky_bottom[c] = bottom[c];
    s.land[c] = land[c];
  }
  s.sun_x = 0.15 + 0.7 * unit(random);
  s.sun_y = 0.15 + 0.3 * unit(random);
  s.sun_radius = 0.03 + 0.05 * unit(random);
  for (double& phase : s.hill_phase) phase = 6.28 * unit(random);
  s.hill_height = 0.45 + 0.25 * unit(random);
  return s;
}

double Horizon(const Scene& s, double x) {
  return s.hill_height + 0.06 * std::sin(3 * x + s.hill_phase[0]) +
         0.03 * std::sin(11 * x + s.hill_phase[1]) + 0.01 * std::sin(37 * x + s.hill_phase[2]);
}

vantle::Raster Draw(const Scene& s, int width, int height, std::mt19937& random) {
  std::normal_distribution<double> grain(0.0, 7.0);
  vantle::Raster image{width, height, 3, std::vector<uint8_t>(size_t(width) * height * 3)};
  for (int y = 0; y < height; ++y) {
    const double v = double(y) / height;
    for (int x = 0; x < width; ++x) {
      const double u = double(x) / width;
      const double dx = (u - s.sun_x) * width / height, dy = v - s.sun_y;
      const bool sun = dx * dx + dy * dy < s.sun_radius * s.sun_radius;
      const double horizon = Horizon(s, u);
      uint8_t* p = &image.pixels[(size_t(y) * width + x) * 3];
      for (int c = 0; c < 3; ++c) {
        double value;
        if (v > horizon) {
          value = s.land[c] * (0.7 + 0.5 * (v - horizon)) + 12 * std::sin(u * 90 + v * 40);
        } else {
          value = sun ? 250 : s.sky_top[c] + (s.sky_bottom[c] - s.sky_top[c]) * (v / horizon);
        }
        p[c] = uint8_t(std::clamp(value + grain(random), 0.0, 255.0));
      }
    }
  }
  return image;
}

// Writes `image` as an inverted CMYK JPEG: K' = the brightest channel, C' M' Y' the channels
// relative to it, so that C' x K' / 255 gives the channel back.
bool EncodeCmyk(const vantle::Raster& image, FILE* file) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);  // the tool's own files: libjpeg may end it on an error
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = image.width;
  info.image_height = image.height;
  info.input_components = 4;
  info.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 94, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(size_t(image.width) * 4);
  while (info.next_scanline < info.image_height) {
    const uint8_t* rgb = &image.pixels[size_t(info.next_scanline) * image.width * 3];
    for (int x = 0; x < image.width; ++x, rgb += 3) {
      const int k = std::max({rgb[0], rgb[1], rgb[2], uint8_t{1}});
      for (int c = 0; c < 3; ++c) row[x * 4 + c] = uint8_t(std::min(255, rgb[c] * 255 / k));
      row[x * 4 + 3] = uint8_t(k);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

std::tm DateOf(int index) {
  std::tm date{};
  date.tm_year = 2019 - 1900 + index % 3;
  date.tm_mon = (index * 5) % 12;
  date.tm_mday = 1 + (index * 7) % 28;
  date.tm_hour = 8 + index % 10;
  date.tm_min = (index * 13) % 60;
  date.tm_isdst = -1;
  return date;
}

void SetFileDate(const std::string& path, int index) {
  std::tm date = DateOf(index);
  const time_t when = mktime(&date);
  const timeval times[2] = {{when, 0}, {when, 0}};
  utimes(path.c_str(), times);
}

// The scene in words: the time of day from the sky's warmth, the land from the hills.
struct Words {
  std::string title, caption, keywords[3];
};

Words Describe(const Scene& s, const std::string& folder) {
  const double warmth = (s.sky_top[0] - 40) / 60;
  const char* time = warmth < 0.33 ? "morning" : warmth < 0.66 ? "afternoon" : "evening";
  const char* land = s.hill_height < 0.55 ? "hills" : "valley";
  Words words{std::string(1, char(std::toupper(time[0]))) + (time + 1) + " over the " + land,
              std::string("The sun ") + (s.sun_y < 0.3 ? "high" : "low") + " above the " + land +
                  ", " + folder + ".",
              {time, land, folder}};
  for (char& c : words.keywords[2]) c = char(std::tolower(static_cast<unsigned char>(c)));
  return words;
}

// Puts an XMP packet with `words` and `date` right after the file's start of image.
bool AddXmp(const std::string& path, const Words& words, const std::tm& date) {
  char when[32];
  std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%S", &date);
  std::string xmp = "http://ns.adobe.com/xap/1.0/";
  xmp += '\0';
  xmp +=
      "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
      "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description "
      "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:exif=\"http://ns.adobe.com/exif/1.0/\" "
      "exif:DateTimeOriginal=\"" +
      std::string(when) +
      "\"><dc:title><rdf:Alt><rdf:li "
      "xml:lang=\"x-default\">" +
      words.title +
      "</rdf:li></rdf:Alt></dc:title><dc:description>"
      "<rdf:Alt><rdf:li xml:lang=\"x-default\">" +
      words.caption +
      "</rdf:li></rdf:Alt>"
      "</dc:description><dc:subject><rdf:Bag>";
  for (const std::string& word : words.keywords) xmp += "<rdf:li>" + word + "</rdf:li>";
  xmp += "</rdf:Bag></dc:subject></rdf:Description></rdf:RDF></x:xmpmeta>";
  FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) return false;
  std::string jpeg;
  char buffer[65536];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;) jpeg.append(buffer, got);
  std::fclose(in);
  const size_t length = xmp.size() + 2;
  const std::string segment =
      std::string("\xFF\xE1") + char(length >> 8) + char(length & 0xFF) + xmp;
  jpeg.insert(2, segment);
  FILE* out = std::fopen(path.c_str(), "wb");
  const bool written =
      out != nullptr && std::fwrite(jpeg.data(), 1, jpeg.size(), out) == jpeg.size();
  return out != nullptr && std::fclose(out) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: make_sample_photos OUT_DIR COUNT [WIDTHxHEIGHT] [SEED] [cmyk]\n");
    return 2;
  }
  const std::string dir = argv[1];
  const int count = std::atoi(argv[2]);
  int width = 1600, height = 1200;
  if (argc > 3) std::sscanf(argv[3], "%dx%d", &width, &height);
  std::mt19937 random(argc > 4 ? std::atoi(argv[4]) : 1);
  const bool some_cmyk = argc > 5 && std::string(argv[5]) == "cmyk";
  const bool described = argc > 5 && std::string(argv[5]) == "described";
  const std::string folder = dir.substr(dir.find_last_of('/') + 1);
  for (int i = 1; i <= count; ++i) {
    const bool portrait = i % 4 == 0;
    const int w = portrait ? height : width, h = portrait ? width : height;
    char name[32];
    std::snprintf(name, sizeof name, i % 5 == 0 ? "IMG_%04d.JPG" : "IMG_%04d.jpg", i);
    const std::string path = dir + "/" + name;
    FILE* out = std::fopen(path.c_str(), "wb");
    bool written = out != nullptr;
    const Scene scene = RandomScene(random);
    if (written) {
      const vantle::Raster image = Draw(scene, w, h, random);
      written = some_cmyk && i % 7 == 0 ? EncodeCmyk(image, out) : vantle::Encode(image, out, 94);
      written = std::fclose(out) == 0 && written;
    }
    const int day = i + int(random() % 7);
    if (written && described) written = AddXmp(path, Describe(scene, folder), DateOf(day));
    if (!written) {
      std::fprintf(stderr, "make_sample_photos: cannot write %s\n", path.c_str());
      return 1;
    }
    SetFileDate(path, day);
  }
  return 0;
}
