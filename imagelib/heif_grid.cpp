// SPDX-License-Identifier: GPL-3.0-or-later
#include "imagelib/heif_grid.h"

#include <algorithm>
#include <map>
#include <vector>

namespace vantle {
namespace {

// A window on bytes that reads big-endian numbers, and stays failed once one does not fit.
class Reader {
 public:
  Reader(const uint8_t* at, size_t size) : at_(at), end_(at + size) {}
  uint64_t Number(int bytes) {
    if (end_ - at_ < bytes) {
      at_ = end_;
      ok_ = false;
      return 0;
    }
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | *at_++;
    return value;
  }
  bool ok() const { return ok_; }
  bool done() const { return at_ >= end_; }
  const uint8_t* at() const { return at_; }
  size_t left() const { return static_cast<size_t>(end_ - at_); }
  void Skip(size_t bytes) { at_ += std::min(bytes, left()); }

 private:
  const uint8_t* at_;
  const uint8_t* end_;
  bool ok_ = true;
};

struct Box {
  uint32_t type = 0;
  Reader body{nullptr, 0};
};

constexpr uint32_t Fourcc(const char (&name)[5]) {
  return uint32_t(uint8_t(name[0])) << 24 | uint32_t(uint8_t(name[1])) << 16 |
         uint32_t(uint8_t(name[2])) << 8 | uint8_t(name[3]);
}

// The next box of `parent`; false at its end or at a box that does not fit.
bool NextBox(Reader& parent, Box* box) {
  if (parent.left() < 8) return false;
  uint64_t size = parent.Number(4);
  box->type = static_cast<uint32_t>(parent.Number(4));
  size_t header = 8;
  if (size == 1) {
    size = parent.Number(8);
    header = 16;
  } else if (size == 0) {
    size = parent.left() + header;
  }
  if (!parent.ok() || size < header || size - header > parent.left()) return false;
  box->body = Reader(parent.at(), size - header);
  parent.Skip(size - header);
  return true;
}

// What the meta box says of items: types, the primary, its tiles and the properties.
struct Items {
  uint32_t primary = 0;
  std::map<uint32_t, uint32_t> type;                     // item -> its 4cc
  std::vector<uint32_t> tiles;                           // the primary's dimg references
  std::vector<std::pair<uint32_t, uint32_t>> spatial;    // ipco's properties: ispe sides, or 0 x 0
  std::map<uint32_t, std::vector<uint16_t>> properties;  // item -> its ipco indices (from 1)
};

int IdBytes(int version) {
  return version == 0 ? 2 : 4;
}

void ReadItemInfos(Reader body, Items* items) {
  const int version = static_cast<int>(body.Number(1));
  body.Skip(3);
  body.Number(version == 0 ? 2 : 4);
  Box infe;
  while (NextBox(body, &infe)) {
    if (infe.type != Fourcc("infe")) continue;
    const int v = static_cast<int>(infe.body.Number(1));
    infe.body.Skip(3);
    if (v < 2) continue;
    const uint32_t id = static_cast<uint32_t>(infe.body.Number(v == 2 ? 2 : 4));
    infe.body.Number(2);
    const uint32_t type = static_cast<uint32_t>(infe.body.Number(4));
    if (infe.body.ok()) items->type[id] = type;
  }
}

void ReadReferences(Reader body, Items* items) {
  const int version = static_cast<int>(body.Number(1));
  body.Skip(3);
  Box reference;
  while (NextBox(body, &reference)) {
    const uint32_t from = static_cast<uint32_t>(reference.body.Number(IdBytes(version)));
    const uint64_t count = reference.body.Number(2);
    if (reference.type != Fourcc("dimg") || from != items->primary) continue;
    for (uint64_t i = 0; i < count && reference.body.ok(); ++i) {
      const auto tile = static_cast<uint32_t>(reference.body.Number(IdBytes(version)));
      if (reference.body.ok()) items->tiles.push_back(tile);
    }
  }
}

void ReadPropertyContainer(Reader body, Items* items) {
  Box property;
  while (NextBox(body, &property) && items->spatial.size() < 65536) {
    std::pair<uint32_t, uint32_t> sides{0, 0};
    if (property.type == Fourcc("ispe")) {
      property.body.Skip(4);
      sides.first = static_cast<uint32_t>(property.body.Number(4));
      sides.second = static_cast<uint32_t>(property.body.Number(4));
    }
    items->spatial.push_back(sides);
  }
}

void ReadAssociations(Reader body, Items* items) {
  const int version = static_cast<int>(body.Number(1));
  body.Skip(2);
  const bool wide = (body.Number(1) & 1) != 0;
  const uint64_t entries = body.Number(4);
  for (uint64_t e = 0; e < entries && body.ok(); ++e) {
    const auto item = static_cast<uint32_t>(body.Number(IdBytes(version)));
    const uint64_t count = body.Number(1);
    std::vector<uint16_t>& indices = items->properties[item];
    for (uint64_t a = 0; a < count && body.ok(); ++a) {
      indices.push_back(static_cast<uint16_t>(body.Number(wide ? 2 : 1) & (wide ? 0x7FFF : 0x7F)));
    }
  }
}

void ReadMeta(Reader body, Items* items) {
  body.Skip(4);            // version and flags
  std::vector<Box> later;  // iref needs the primary, which pitm may give after it
  Box box;
  while (NextBox(body, &box)) {
    if (box.type == Fourcc("pitm")) {
      const int version = static_cast<int>(box.body.Number(1));
      box.body.Skip(3);
      items->primary = static_cast<uint32_t>(box.body.Number(IdBytes(version)));
    } else if (box.type == Fourcc("iinf")) {
      ReadItemInfos(box.body, items);
    } else if (box.type == Fourcc("iref")) {
      later.push_back(box);
    } else if (box.type == Fourcc("iprp")) {
      Box inner;
      while (NextBox(box.body, &inner)) {
        if (inner.type == Fourcc("ipco")) ReadPropertyContainer(inner.body, items);
        if (inner.type == Fourcc("ipma")) ReadAssociations(inner.body, items);
      }
    }
  }
  for (const Box& references : later) ReadReferences(references.body, items);
}

}  // namespace

GridWeight WeighPrimaryGrid(const uint8_t* bytes, size_t size) {
  Reader file(bytes, size);
  Items items;
  Box box;
  while (NextBox(file, &box)) {
    if (box.type == Fourcc("meta")) ReadMeta(box.body, &items);
  }
  GridWeight weight;
  if (items.type[items.primary] != Fourcc("grid")) return weight;
  for (const uint32_t tile : items.tiles) {
    for (const uint16_t index : items.properties[tile]) {
      if (index == 0 || index > items.spatial.size()) continue;
      const auto [width, height] = items.spatial[index - 1];
      if (width == 0 && height == 0) continue;
      weight.pixels += uint64_t{width} * height;
      weight.widest = std::max(weight.widest, width);
      weight.tallest = std::max(weight.tallest, height);
      break;
    }
  }
  weight.tiles = items.tiles.size();
  return weight;
}

}  // namespace vantle
