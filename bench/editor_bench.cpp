// SPDX-License-Identifier: GPL-3.0-or-later
// The archive editor on a large archive: opening it, and an update that writes it again,
// against reading the page's bytes once (the floor for opening) in the same run.
// Usage: editor_bench [RECORDS]
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "editor/archive_editor.h"
#include "page/archive_writer.h"

namespace {

double Milliseconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
      .count();
}

bool WriteArchive(const std::string& dir, int records) {
  lumvane::ArchiveWriter writer;
  if (!writer.Open(dir, false).ok()) return false;
  writer.StartCatalog();
  for (int i = 1; i <= records; ++i) {
    lumvane::PictureRecord record;
    record.thumb = "_K7Q2M" + std::to_string(i % 10) + "0.jpg";
    record.path = "/home/ann/Pictures/2001/Trip to the coast";
    record.source = "IMG_" + std::to_string(i) + ".jpg";
    record.title = "Harbour lights over the old town, picture " + std::to_string(i);
    record.subject = "harbour boats evening lights";
    record.picdate = "May 1, 2000";
    if (!writer.Add(record, record.path + "/" + record.source).ok()) return false;
  }
  return writer.Commit(false).ok();
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc > 1 ? std::atoi(argv[1]) : 50000;
  std::string dir =
      (std::filesystem::temp_directory_path() / "lumvane-editor-bench-XXXXXX").string();
  if (mkdtemp(dir.data()) == nullptr || !WriteArchive(dir, records)) return 1;
  auto start = std::chrono::steady_clock::now();
  std::ifstream page(dir + "/archive.htm", std::ios::binary);
  std::ostringstream bytes;
  bytes << page.rdbuf();
  const double floor = Milliseconds(start);
  start = std::chrono::steady_clock::now();
  lumvane::ArchiveEditor editor;
  if (!editor.Load(dir).ok()) return 1;
  const double open = Milliseconds(start);
  lumvane::EditorFields typed = editor.Fields(records / 2);
  typed.title = "Changed";
  start = std::chrono::steady_clock::now();
  if (!editor.Update(records / 2, typed).ok()) return 1;
  const double update = Milliseconds(start);
  std::printf(
      "editor, %d records (%.1f MB page): reading the page %.1f ms; open %.0f ms (%.1fx); "
      "update and write %.0f ms (%.1fx)\n",
      records, bytes.str().size() / 1e6, floor, open, open / floor, update, update / floor);
  std::filesystem::remove_all(dir);
  return 0;
}
