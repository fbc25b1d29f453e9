// SPDX-License-Identifier: GPL-3.0-or-later
// An ImportRun for importer tests: records the pictures handed over, serves a catalog file,
// resolves volume labels through a fake volume table and can ask to stop after n pictures.
#ifndef LUMVANE_TESTS_SUPPORT_RECORDING_RUN_H_
#define LUMVANE_TESTS_SUPPORT_RECORDING_RUN_H_

#include <map>
#include <string>
#include <vector>

#include "importers/import_run.h"
#include "locations/case_insensitive_finder.h"
#include "locations/drive_map.h"
#include "locations/label_to_drive.h"

namespace testing_support {

class RecordingRun : public lumvane::ImportRun {
 public:
  std::string folder;
  bool reads_folder = false;  // the "select source directory" mode
  bool jpegs_alone = false;
  std::string dest;
  int stop_after = -1;
  int expected = -2;
  int volume_probes = 0;
  std::vector<lumvane::Volume> volumes;
  lumvane::DriveMap drives;
  std::map<std::string, std::string> drive_cache;
  std::vector<lumvane::PictureInput> pictures;
  std::vector<std::pair<lumvane::PictureRecord, std::string>> records;
  std::vector<std::string> steps, passed_over;
  int archives_merged = 0;

  // Opens `path` as the run's catalog.
  bool OpenCatalog(const std::string& path) {
    catalog_path_ = path;
    return catalog_.Open(path).ok();
  }

  std::string source_dir() const override { return folder; }
  bool reads_source_dir() const override { return reads_folder; }
  bool jpeg_only() const override { return jpegs_alone; }
  std::string dest_dir() const override { return dest; }
  const lumvane::CatalogFile* catalog() const override {
    return catalog_.is_open() ? &catalog_ : nullptr;
  }
  std::string catalog_path() const override { return catalog_path_; }
  std::string Locate(const std::string& source) const override {
    return lumvane::MapDrive(drives, source);
  }
  std::string FindBelow(const std::string& root, const std::string& within) const override {
    return finder_.Find(root, within).path;
  }
  std::string LabelToDrive(const std::string& label) override {
    return lumvane::LabelToDrive(label, drive_cache, [this] {
      ++volume_probes;
      return volumes;
    });
  }
  void ExpectPictures(int total) override { expected = total; }
  void Process(const lumvane::PictureInput& picture) override { pictures.push_back(picture); }
  void AddRecord(const lumvane::PictureRecord& record, const std::string& tab_source) override {
    records.push_back({record, tab_source});
  }
  void BeginStep(const std::string& status) override { steps.push_back(status); }
  void NotePassedOver(const std::string& source, const std::string& reason, bool) override {
    passed_over.push_back(source + ": " + reason);
  }
  void NoteNotAvailable(const lumvane::CatalogPlace& place) override {
    passed_over.push_back(place.Text() + ": " + lumvane::NotAvailableReason(place));
  }
  void CountMergedArchive() override { ++archives_merged; }
  bool StopRequested() const override { return static_cast<int>(pictures.size()) == stop_after; }

  std::vector<std::string> Sources() const {
    std::vector<std::string> sources;
    for (const auto& p : pictures) sources.push_back(p.source);
    return sources;
  }

 private:
  lumvane::CatalogFile catalog_;
  mutable lumvane::CaseInsensitiveFinder finder_;
  std::string catalog_path_;
};

}  // namespace testing_support

#endif  // LUMVANE_TESTS_SUPPORT_RECORDING_RUN_H_
