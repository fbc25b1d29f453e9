// SPDX-License-Identifier: GPL-3.0-or-later
// Photo Organizer libraries and Gallery catalogs laid out byte by byte, for the tests.
#ifndef LUMVANE_TESTS_SUPPORT_BINARY_CATALOGS_H_
#define LUMVANE_TESTS_SUPPORT_BINARY_CATALOGS_H_

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

// A Photo Organizer library, laid out piece by piece.
class Plb {
 public:
  Plb& Junk(const std::string& bytes) { return Append(bytes); }
  Plb& Record(const std::string& title, const std::string& comment, const std::string& last,
              const std::string& source, const std::string& first,
              const std::string& date = "\x20\xA8\xE1") {
    Append(std::string("\x00\x00\x00\x01\x00\x00\x00\x08\x08\x13\x44", 11));
    Text(title).Append("skip").Text(comment).Text(last).Text(source).Text(first);
    return Append("skip").Append(date);
  }
  Plb& List(const std::vector<std::string>& keywords, const std::vector<std::string>& categories) {
    Append(std::string("\xE1\x40\x00\x00\x00\x00\x00\x00\x00\x00", 10));
    for (const auto* list : {&keywords, &categories}) {
      bytes_.push_back(static_cast<char>(list->size()));
      for (const auto& text : *list) Text(text);
    }
    return *this;
  }
  const std::string& bytes() const { return bytes_; }

 private:
  Plb& Append(const std::string& bytes) {
    bytes_ += bytes;
    return *this;
  }
  Plb& Text(const std::string& text) {
    bytes_.push_back(static_cast<char>(text.size()));
    return Append(text);
  }
  std::string bytes_;
};

// A gallery: the header, the head pointer at 256, records of 88 bytes from 260, texts after.
class Gal {
 public:
  struct Entry {
    std::string path, title, comment;
    bool has_comment = true;
  };
  explicit Gal(std::vector<Entry> entries) : entries_(std::move(entries)) {}

  // `count` in the header; `next[i]` overrides the chain (record index, -1 past the file).
  std::string Bytes(int64_t count, std::map<int, int64_t> next = {}) const {
    std::string bytes(260 + 88 * entries_.size(), '\0');
    Put(&bytes, 200, count);
    Put(&bytes, 252, 256);
    Put(&bytes, 256, 260);
    for (size_t i = 0; i < entries_.size(); ++i) {
      const int64_t p = 260 + 88 * static_cast<int64_t>(i);
      const Entry& e = entries_[i];
      AddText(&bytes, p + 8, e.path);
      AddText(&bytes, p + 16, e.title);
      if (e.has_comment) AddText(&bytes, p + 40, e.comment);
      if (!e.has_comment) Put(&bytes, p + 44, 0xFFFFFFFF);
      const auto over = next.find(static_cast<int>(i));
      const int64_t to =
          over == next.end() ? p + 88 : (over->second < 0 ? 1 << 30 : 260 + 88 * over->second);
      Put(&bytes, p + 80, 8);
      Put(&bytes, p + 84, to - 8);
    }
    return bytes;
  }
  static void Put(std::string* bytes, int64_t at, int64_t value) {
    for (int k = 0; k < 4; ++k) (*bytes)[at + k] = static_cast<char>(value >> (24 - 8 * k));
  }

 private:
  static void AddText(std::string* bytes, int64_t at, const std::string& text) {
    Put(bytes, at, static_cast<int64_t>(text.size()));
    Put(bytes, at + 4, static_cast<int64_t>(bytes->size()));
    *bytes += text;
  }
  std::vector<Entry> entries_;
};

}  // namespace testing_support

#endif  // LUMVANE_TESTS_SUPPORT_BINARY_CATALOGS_H_
