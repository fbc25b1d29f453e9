#include "importers/source_scan.h"

#include <algorithm>
#include <cctype>

#include "platform/directory_listing.h"
#include "platform/file_time.h"
#include "platform/paths.h"
#include "processing/naming.h"

namespace lumvane {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
char Fold(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Compares the digit runs starting at a[i] and b[j] as numbers; advances past both.
int CompareNumbers(const std::string& a, size_t& i, const std::string& b, size_t& j) {
  while (i < a.size() && a[i] == '0') ++i;
  while (j < b.size() && b[j] == '0') ++j;
  const size_t start_a = i, start_b = j;
  while (i < a.size() && IsDigit(a[i])) ++i;
  while (j < b.size() && IsDigit(b[j])) ++j;
  const size_t length_a = i - start_a, length_b = j - start_b;
  if (length_a != length_b) return length_a < length_b ? -1 : 1;
  const int order = a.compare(start_a, length_a, b, start_b, length_b);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int NaturalCompare(const std::string& a, const std::string& b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      if (const int order = CompareNumbers(a, i, b, j); order != 0) return order;
      continue;
    }
    const char x = Fold(a[i++]), y = Fold(b[j++]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

}  // namespace

bool ListedBefore(const std::string& a, const std::string& b) {
  const int order = NaturalCompare(a, b);
  return order != 0 ? order < 0 : a < b;
}

Status ListSourcePictures(const std::string& folder, bool jpeg_only,
                          std::vector<std::string>* names) {
  std::vector<std::string> all;
  if (Status status = ListFiles(folder, /*include_hidden=*/false, &all); !status.ok()) {
    return status;
  }
  for (std::string& name : all) {
    if (HasPictureExtension(name, jpeg_only)) names->push_back(std::move(name));
  }
  std::sort(names->begin(), names->end(), ListedBefore);
  return Status::Ok();
}

Status ScanSourceDirectory(ImportRun& run) {
  const std::string folder = WithTrailingSeparator(run.source_dir());
  std::vector<std::string> names;
  if (Status status = ListSourcePictures(folder, run.jpeg_only(), &names); !status.ok()) {
    return status;
  }
  run.ExpectPictures(static_cast<int>(names.size()));
  for (const std::string& name : names) {
    PictureInput picture;
    picture.source = folder + name;
    picture.native_path = true;
    picture.read_embedded = true;
    if (const auto changed = FileModifiedLocal(picture.source)) {
      picture.picdate = FormatLongDate(*changed);
    }
    run.Process(picture);
    if (run.StopRequested()) break;
  }
  return Status::Ok();
}

}  // namespace lumvane
