// SPDX-License-Identifier: GPL-3.0-or-later
#include "importers/thumbsplus_database.h"

#include <algorithm>
#include <climits>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "importers/binary_catalog.h"
#include "importers/volume_place.h"
#include "locations/label_to_drive.h"
#include "platform/file_time.h"

namespace lumvane {
namespace {

// The anchors: fixed positions holding the position of each structure's descriptor.
constexpr int64_t kKeywordAnchor = 4149, kVolumeAnchor = 4175, kFolderAnchor = 4198,
                  kLinkAnchor = 4229, kFileAnchor = 4252;
constexpr int64_t kEntriesStart = 18;  // the first entry of a page
constexpr int64_t kListEntrySize = 8, kTableEntrySize = 8, kLinkEntrySize = 12;

// The database's bytes, read at checked positions. A read outside the file notes the first
// such position as the damage and gives 0 (or -1 for a position); callers test ok().
class Database {
 public:
  explicit Database(std::string_view bytes) : bytes_(bytes) {}

  int64_t size() const { return static_cast<int64_t>(bytes_.size()); }
  bool ok() const { return damage_ < 0; }
  int64_t damage() const { return damage_; }
  void Damaged(int64_t at) {
    if (damage_ < 0) damage_ = at;
  }

  int64_t Le(int64_t at) { return Checked(Read_QuadRev(bytes_, at), at); }
  int64_t Be(int64_t at) { return Checked(Read_Quad(bytes_, at), at); }

  // An LE32 that must be a position inside the file; -1 when it is not.
  int64_t Position(int64_t at) {
    const int64_t position = Le(at);
    if (ok() && position >= 0 && position < size()) return position;
    Damaged(at);
    return -1;
  }

  int64_t Byte(int64_t at) {
    if (at >= 0 && at < size()) return static_cast<uint8_t>(bytes_[at]);
    Damaged(at);
    return 0;
  }

  std::string Text(int64_t at, int64_t length) {
    const auto text = ZeroEndedTextAt(bytes_, at, length);
    if (!text) Damaged(at);
    return text.value_or("");
  }

 private:
  int64_t Checked(std::optional<int64_t> value, int64_t at) {
    if (!value) Damaged(at);
    return value.value_or(0);
  }

  std::string_view bytes_;
  int64_t damage_ = -1;
};

// The state of one scan over a table: its record count and the page in hand, with the
// index range of the records on that page. Records are asked for in ascending order.
class TableCursor {
 public:
  TableCursor(Database& db, int64_t anchor, int64_t entry_size) : db_(db), entry_size_(entry_size) {
    const int64_t descriptor = db_.Position(anchor);
    if (!db_.ok()) return;
    count_ = std::max<int64_t>(0, db_.Le(descriptor + 24));
    if (count_ == 0) return;  // an empty table's page link is never followed
    page_ = db_.Position(descriptor + 72);
    if (!db_.ok()) return;
    count_fits_ = count_ <= db_.size() / entry_size_;
    pages_seen_.insert(page_);
    last_ = db_.Byte(page_ + 8) - 1;
  }

  int64_t count() const { return count_; }

  // The position of record `record`'s data; -1 when the table ended before it.
  int64_t RecordPosition(int64_t record) {
    while (record > last_) {
      if (!db_.ok() || !NextPage()) return -1;
    }
    return db_.Position(page_ + kEntriesStart + (record - first_) * entry_size_);
  }

 private:
  // Moves to the page the current one links to. A link outside the file ends the table:
  // quietly when the count was more than the file could hold, as damage otherwise.
  bool NextPage() {
    const int64_t next = db_.Le(page_);
    if (next <= 0 || next >= db_.size() || !pages_seen_.insert(next).second) {
      const bool loops = next > 0 && next < db_.size();
      if (count_fits_ || loops) db_.Damaged(page_);
      return false;
    }
    page_ = next;
    first_ = last_ + 1;
    last_ = first_ + db_.Byte(page_ + 8) - 1;
    return db_.ok();
  }

  Database& db_;
  int64_t entry_size_;
  int64_t count_ = 0;
  int64_t page_ = -1, first_ = 0, last_ = -1;
  bool count_fits_ = true;
  std::unordered_set<int64_t> pages_seen_;
};

// A list: its entries, one run in a single page. A count more than the file holds is cut.
struct ListEntries {
  int64_t start = 0;  // position of entry 0
  int64_t count = 0;
};
ListEntries OpenList(Database& db, int64_t anchor) {
  const int64_t descriptor = db.Position(anchor);
  if (!db.ok()) return {};
  const int64_t count = std::max<int64_t>(0, db.Le(descriptor + 24));
  const int64_t page = db.Position(descriptor + 28);
  if (!db.ok()) return {};
  const int64_t start = page + kEntriesStart;
  return {start, std::min(count, std::max<int64_t>(0, (db.size() - start) / kListEntrySize))};
}

struct VolumeEntry {
  std::string label;
  std::string root;  // "" when no folder of this machine holds it
};

// The volumes by id, the first entry of an id winning. Each label is looked up once; a label
// that an earlier volume carries already gives the later ones no place.
std::unordered_map<int64_t, VolumeEntry> ReadVolumes(Database& db, ImportRun& run) {
  std::unordered_map<int64_t, VolumeEntry> volumes;
  std::unordered_set<std::string> labels_placed;
  const ListEntries list = OpenList(db, kVolumeAnchor);
  for (int64_t i = 0; i < list.count && db.ok(); ++i) {
    const int64_t entry = list.start + i * kListEntrySize;
    const int64_t id = db.Be(entry + 4), record = db.Position(entry);
    VolumeEntry volume{db.Text(record + 78, 64), ""};
    if (!db.ok()) break;
    if (labels_placed.insert(volume.label).second) {
      const std::string root = run.LabelToDrive(volume.label);
      if (root != kFallbackDrive) volume.root = root;
    }
    volumes.emplace(id, std::move(volume));
  }
  return volumes;
}

// The keyword texts by id, the first record of an id winning.
std::unordered_map<int64_t, std::string> ReadKeywords(Database& db) {
  std::unordered_map<int64_t, std::string> keywords;
  TableCursor cursor(db, kKeywordAnchor, kTableEntrySize);
  for (int64_t r = 0; r < cursor.count() && db.ok(); ++r) {
    const int64_t record = cursor.RecordPosition(r);
    if (record < 0) break;
    const int64_t id = db.Be(record + 19);
    if (!keywords.count(id)) keywords.emplace(id, db.Text(record + 26, 256));
  }
  return keywords;
}

// (file id, keyword id) of every link, by file id and in link-table order within one.
std::vector<std::pair<int64_t, int64_t>> ReadLinks(Database& db) {
  std::vector<std::pair<int64_t, int64_t>> links;
  TableCursor cursor(db, kLinkAnchor, kLinkEntrySize);
  for (int64_t r = 0; r < cursor.count() && db.ok(); ++r) {
    const int64_t record = cursor.RecordPosition(r);
    if (record < 0) break;
    links.emplace_back(db.Be(record + 19), db.Be(record + 23));
  }
  std::stable_sort(links.begin(), links.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  return links;
}

// Everything the reader holds while it walks the file table.
struct Catalog {
  std::unordered_map<int64_t, VolumeEntry> volumes;
  std::unordered_map<int64_t, std::string> keywords;
  std::vector<std::pair<int64_t, int64_t>> links;
  std::unordered_map<int64_t, int64_t> folder_entries;  // folder id -> its first list entry
};

struct Folder {
  int64_t volume_id = 0;
  std::string path;
};

std::string Keywords(const Catalog& catalog, int64_t file_id) {
  std::string subject;
  auto link = std::lower_bound(catalog.links.begin(), catalog.links.end(),
                               std::pair<int64_t, int64_t>{file_id, INT64_MIN});
  for (; link != catalog.links.end() && link->first == file_id; ++link) {
    const auto keyword = catalog.keywords.find(link->second);
    if (keyword != catalog.keywords.end()) subject += " " + keyword->second;
  }
  return subject;
}

// One file record at `record`: handed to the run, or passed over with the reason.
void HandOver(Database& db, ImportRun& run, const Catalog& catalog,
              std::unordered_map<int64_t, Folder>& folders, int64_t record) {
  const int64_t file_id = db.Le(record + 22), folder_id = db.Le(record + 26);
  const std::string name = db.Text(record + 82, 256);
  if (!db.ok()) return;
  const auto entry = catalog.folder_entries.find(folder_id);
  if (entry == catalog.folder_entries.end()) return run.NotePassedOver(name, kNoFolderReason, true);
  auto folder = folders.find(folder_id);
  if (folder == folders.end()) {
    const int64_t at = db.Position(entry->second);
    Folder read{db.Le(at + 26), db.Text(at + 38, 256)};
    if (!db.ok()) return;
    folder = folders.emplace(folder_id, std::move(read)).first;
  }
  const std::string relative = WithinVolume(folder->second.path, name);
  PictureInput picture;
  picture.source = relative;
  if (const auto volume = catalog.volumes.find(folder->second.volume_id);
      volume != catalog.volumes.end()) {
    const VolumeEntry& on = volume->second;
    if (on.root.empty() && !run.reads_source_dir()) {
      return run.NoteNotAvailable({CatalogPlace::Kind::kVolume, on.label, relative});
    }
    // A picture read from the chosen folder needs its volume only for the date, which then
    // falls back as for any path that cannot be read.
    PlaceOnVolume(run, on.label, on.root.empty() ? kFallbackDrive : on.root, relative, &picture);
  }
  picture.subject = Keywords(catalog, file_id);
  if (const auto changed = FileModifiedLocal(run.Locate(picture.source))) {
    picture.picdate = FormatLongDate(*changed);
  }
  run.Process(picture);
}

}  // namespace

Status ReadThumbsPlusDatabase(ImportRun& run) {
  std::string bytes;
  if (Status status = ReadWholeCatalog(run, &bytes); !status.ok()) return status;
  Database db(bytes);
  Catalog catalog;
  catalog.keywords = ReadKeywords(db);
  if (db.ok()) catalog.links = ReadLinks(db);
  if (db.ok()) catalog.volumes = ReadVolumes(db, run);
  const ListEntries folder_list = db.ok() ? OpenList(db, kFolderAnchor) : ListEntries{};
  for (int64_t k = 0; k < folder_list.count && db.ok(); ++k) {
    const int64_t entry = folder_list.start + k * kListEntrySize;
    catalog.folder_entries.emplace(db.Be(entry + 4), entry);
  }
  TableCursor files(db, kFileAnchor, kTableEntrySize);
  if (!db.ok()) return DamagedCatalog(run, db.damage(), 0);
  run.ExpectPictures(
      static_cast<int>(std::min<int64_t>(files.count(), db.size() / kTableEntrySize)));
  std::unordered_map<int64_t, Folder> folders;
  int handed = 0;
  for (int64_t n = 0; n < files.count(); ++n) {
    const int64_t record = files.RecordPosition(n);
    if (record < 0) break;
    HandOver(db, run, catalog, folders, record);
    if (!db.ok()) break;
    ++handed;
    if (run.StopRequested()) break;
  }
  if (!db.ok()) return DamagedCatalog(run, db.damage(), handed);
  return Status::Ok();
}

}  // namespace lumvane
