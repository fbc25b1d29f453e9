// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/imagelib/test_raw.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace testing_raw {
namespace {

constexpr int kWidth = 320, kHeight = 240;

struct Entry {
  uint16_t tag, type;
  uint32_t count;
  std::string value;  // little-endian bytes
};

std::string Le(uint64_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}
Entry Short(uint16_t tag, std::vector<int> values) {
  std::string bytes;
  for (int v : values) bytes += Le(v, 2);
  return {tag, 3, static_cast<uint32_t>(values.size()), bytes};
}
Entry Long(uint16_t tag, uint32_t value) {
  return {tag, 4, 1, Le(value, 4)};
}
Entry Bytes(uint16_t tag, std::string value) {
  const auto count = static_cast<uint32_t>(value.size());
  return {tag, 1, count, std::move(value)};
}
Entry Ascii(uint16_t tag, const std::string& text) {
  return {tag, 2, static_cast<uint32_t>(text.size() + 1), text + '\0'};
}
Entry Rationals(uint16_t tag, uint16_t type, int count, int numerator_of_first_and_fourth) {
  std::string bytes;  // an identity matrix (count 9) or neutral white (count 3)
  for (int i = 0; i < count; ++i) {
    const bool one = count == 3 || i % 4 == 0;
    bytes += Le(one ? numerator_of_first_and_fourth : 0, 4) + Le(1, 4);
  }
  return {tag, type, static_cast<uint32_t>(count), bytes};
}

// An IFD at `at`, its long values after it; `next` is the following IFD's offset.
std::string Ifd(std::vector<Entry> entries, uint32_t at, uint32_t next = 0) {
  std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.tag < b.tag; });
  std::string table = Le(entries.size(), 2), values;
  const uint32_t values_at = at + 2 + 12 * entries.size() + 4;
  for (const Entry& e : entries) {
    table += Le(e.tag, 2) + Le(e.type, 2) + Le(e.count, 4);
    if (e.value.size() <= 4) {
      table += e.value + std::string(4 - e.value.size(), '\0');
    } else {
      table += Le(values_at + values.size(), 4);
      values += e.value + (e.value.size() % 2 ? std::string(1, '\0') : "");
    }
  }
  return table + Le(next, 4) + values;
}

std::string Sensor() {
  std::string data;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const int colour = (y % 2) * 2 + (x % 2);  // R G / G B
      const bool red_half = x < kWidth / 2;
      const bool lit = colour == 0 ? red_half : colour == 3 ? !red_half : false;
      data += Le(lit ? 3800 : 150, 2);
    }
  }
  return data;
}

std::vector<Entry> SensorEntries(uint32_t data_at, uint32_t length) {
  return {Long(254, 0),
          Long(256, kWidth),
          Long(257, kHeight),
          Short(258, {16}),
          Short(259, {1}),
          Short(262, {32803}),
          Long(273, data_at),
          Short(277, {1}),
          Long(278, kHeight),
          Long(279, length),
          Short(284, {1}),
          Short(33421, {2, 2}),
          Bytes(33422, std::string("\0\1\1\2", 4)),
          Long(50717, 4095)};
}

std::vector<Entry> CameraEntries(int orientation) {
  return {Ascii(271, "Lumvane"),        Ascii(272, "Test"),
          Short(274, {orientation}),    Bytes(50706, std::string("\1\4\0\0", 4)),
          Ascii(50708, "Lumvane Test"), Rationals(50721, 10, 9, 1),
          Rationals(50728, 5, 3, 1)};
}

std::string Padded(std::string bytes) {
  return bytes.size() % 2 ? bytes + '\0' : bytes;
}

}  // namespace

std::string DngFile(const std::string& preview, int preview_width, int preview_height,
                    int orientation) {
  const std::string sensor = Sensor();
  const auto sensor_length = static_cast<uint32_t>(sensor.size());
  std::vector<Entry> camera = CameraEntries(orientation);
  if (preview.empty()) {  // the first IFD is the sensor's image
    std::vector<Entry> entries = SensorEntries(0, sensor_length);
    entries.insert(entries.end(), camera.begin(), camera.end());
    const uint32_t data_at = 8 + Padded(Ifd(entries, 8)).size();
    entries = SensorEntries(data_at, sensor_length);
    entries.insert(entries.end(), camera.begin(), camera.end());
    return std::string("II*\0", 4) + Le(8, 4) + Padded(Ifd(entries, 8)) + sensor;
  }
  const auto first = [&](uint32_t sub_at, uint32_t jpeg_at) {
    std::vector<Entry> entries = {Long(254, 1),
                                  Long(256, preview_width),
                                  Long(257, preview_height),
                                  Short(258, {8, 8, 8}),
                                  Short(259, {7}),
                                  Short(262, {6}),
                                  Long(273, jpeg_at),
                                  Short(277, {3}),
                                  Long(278, preview_height),
                                  Long(279, preview.size()),
                                  Long(330, sub_at)};
    entries.insert(entries.end(), camera.begin(), camera.end());
    return Padded(Ifd(entries, 8));
  };
  const uint32_t sub_at = 8 + first(0, 0).size();
  const uint32_t jpeg_at = sub_at + Padded(Ifd(SensorEntries(0, sensor_length), sub_at)).size();
  const uint32_t sensor_at = jpeg_at + Padded(preview).size();
  return std::string("II*\0", 4) + Le(8, 4) + first(sub_at, jpeg_at) +
         Padded(Ifd(SensorEntries(sensor_at, sensor_length), sub_at)) + Padded(preview) + sensor;
}

}  // namespace testing_raw
