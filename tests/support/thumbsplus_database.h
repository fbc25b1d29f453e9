// SPDX-License-Identifier: GPL-3.0-or-later
// ThumbsPlus V3 databases laid out byte by byte, for the tests and the benchmark.
#ifndef LUMVANE_TESTS_SUPPORT_THUMBSPLUS_DATABASE_H_
#define LUMVANE_TESTS_SUPPORT_THUMBSPLUS_DATABASE_H_

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

class Tdb {
 public:
  static constexpr int64_t kKeywordAnchor = 4149, kVolumeAnchor = 4175, kFolderAnchor = 4198,
                           kLinkAnchor = 4229, kFileAnchor = 4252;

  struct Volume {
    uint32_t id;
    std::string label;  // Windows-1252 bytes; 64 of them leave no zero byte
  };
  struct Folder {
    uint32_t id, volume;
    std::string path;
  };
  struct File {
    uint32_t id, folder;
    std::string name;
  };
  struct Link {
    uint32_t file, keyword;
  };
  struct Keyword {
    uint32_t id;
    std::string text;
  };

  std::vector<Volume> volumes;
  std::vector<Folder> folders;
  std::vector<File> files;
  std::vector<Link> links;
  std::vector<Keyword> keywords;
  int per_page = 255;           // entries on each page of the three tables
  bool pages_reversed = false;  // a table's later pages lie before its earlier ones

  // Where the pieces went: each anchor's descriptor and, for tables, their pages in order.
  struct Layout {
    std::map<int64_t, int64_t> descriptors;
    std::map<int64_t, std::vector<int64_t>> pages;
  };

  std::string Bytes(Layout* layout = nullptr) const {
    Layout local;
    Layout& out = layout ? *layout : local;
    std::string bytes(4352, '\0');
    std::vector<int64_t> records;
    for (const Volume& v : volumes)
      records.push_back(Record(bytes, 142, {{78, Area(v.label, 64)}}));
    List(bytes, kVolumeAnchor, records, Ids(volumes), out);
    records.clear();
    for (const Folder& f : folders) {
      records.push_back(Record(bytes, 294, {{26, Le(f.volume)}, {38, Area(f.path, 256)}}));
    }
    List(bytes, kFolderAnchor, records, Ids(folders), out);
    records.clear();
    for (const File& f : files) {
      records.push_back(
          Record(bytes, 338, {{22, Le(f.id)}, {26, Le(f.folder)}, {82, Area(f.name, 256)}}));
    }
    Table(bytes, kFileAnchor, 8, records, out);
    records.clear();
    for (const Link& l : links)
      records.push_back(Record(bytes, 27, {{19, Be(l.file)}, {23, Be(l.keyword)}}));
    Table(bytes, kLinkAnchor, 12, records, out);
    records.clear();
    for (const Keyword& k : keywords) {
      records.push_back(Record(bytes, 282, {{19, Be(k.id)}, {26, Area(k.text, 256)}}));
    }
    Table(bytes, kKeywordAnchor, 8, records, out);
    return bytes;
  }

  static std::string Le(uint32_t value) {
    std::string bytes(4, '\0');
    for (int k = 0; k < 4; ++k) bytes[k] = static_cast<char>(value >> (8 * k));
    return bytes;
  }
  static std::string Be(uint32_t value) {
    std::string bytes = Le(value);
    std::reverse(bytes.begin(), bytes.end());
    return bytes;
  }
  static void Put(std::string& bytes, int64_t at, const std::string& value) {
    bytes.replace(at, value.size(), value);
  }

 private:
  static std::string Area(const std::string& text, size_t size) {
    return text.substr(0, std::min(text.size(), size));
  }
  template <typename T>
  static std::vector<uint32_t> Ids(const std::vector<T>& items) {
    std::vector<uint32_t> ids;
    for (const T& item : items) ids.push_back(item.id);
    return ids;
  }
  static int64_t Append(std::string& bytes, size_t size) {
    const int64_t at = static_cast<int64_t>(bytes.size());
    bytes.append(size, '\0');
    return at;
  }
  static int64_t Record(std::string& bytes, size_t size,
                        const std::vector<std::pair<int64_t, std::string>>& fields) {
    const int64_t at = Append(bytes, size);
    for (const auto& [offset, value] : fields) Put(bytes, at + offset, value);
    return at;
  }
  static int64_t Descriptor(std::string& bytes, int64_t anchor, size_t count, Layout& out) {
    const int64_t at = Append(bytes, 76);
    Put(bytes, at + 24, Le(static_cast<uint32_t>(count)));
    Put(bytes, anchor, Le(static_cast<uint32_t>(at)));
    out.descriptors[anchor] = at;
    return at;
  }
  static void List(std::string& bytes, int64_t anchor, const std::vector<int64_t>& records,
                   const std::vector<uint32_t>& ids, Layout& out) {
    const int64_t page = Append(bytes, 18 + 8 * records.size());
    bytes[page + 8] = static_cast<char>(std::min<size_t>(records.size(), 255));
    for (size_t k = 0; k < records.size(); ++k) {
      Put(bytes, page + 18 + 8 * k, Le(static_cast<uint32_t>(records[k])));
      Put(bytes, page + 22 + 8 * k, Be(ids[k]));
    }
    Put(bytes, Descriptor(bytes, anchor, records.size(), out) + 28,
        Le(static_cast<uint32_t>(page)));
  }
  void Table(std::string& bytes, int64_t anchor, int entry_size,
             const std::vector<int64_t>& records, Layout& out) const {
    const size_t page_count = std::max<size_t>(1, (records.size() + per_page - 1) / per_page);
    std::vector<int64_t> pages(page_count);
    for (size_t n = 0; n < page_count; ++n) {
      const size_t p = pages_reversed ? page_count - 1 - n : n;
      const size_t first = p * per_page,
                   on_page = std::min(records.size() - first, size_t(per_page));
      pages[p] = Append(bytes, 18 + entry_size * on_page);
      bytes[pages[p] + 8] = static_cast<char>(on_page);
      for (size_t k = 0; k < on_page; ++k) {
        Put(bytes, pages[p] + 18 + entry_size * k, Le(static_cast<uint32_t>(records[first + k])));
      }
    }
    for (size_t p = 0; p + 1 < page_count; ++p)
      Put(bytes, pages[p], Le(static_cast<uint32_t>(pages[p + 1])));
    Put(bytes, Descriptor(bytes, anchor, records.size(), out) + 72,
        Le(static_cast<uint32_t>(pages[0])));
    out.pages[anchor] = pages;
  }
};

}  // namespace testing_support

#endif  // LUMVANE_TESTS_SUPPORT_THUMBSPLUS_DATABASE_H_
