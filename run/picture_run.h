// SPDX-License-Identifier: GPL-3.0-or-later
// One run as the importers see it: plans each picture on the run's thread, has its image work
// done on worker threads, and hands the records to the archive's writer in the order the
// pictures came; keeps the count and the Status caption, and yields to the window once per
// picture. A destination that cannot be written ends the run: no picture is taken after it.
#ifndef LUMVANE_RUN_PICTURE_RUN_H_
#define LUMVANE_RUN_PICTURE_RUN_H_

#include <memory>
#include <string>

#include "importers/import_run.h"
#include "locations/case_insensitive_finder.h"
#include "locations/drive_map.h"
#include "locations/label_to_drive.h"
#include "page/archive_writer.h"
#include "page/edit_log.h"
#include "run/picture_pipeline.h"
#include "run/run_state.h"
#include "run/run_window.h"

namespace lumvane {

class PictureRun : public ImportRun {
 public:
  // Where the pictures of a run are found beyond the window's folders.
  struct Sources {
    const CatalogFile* catalog = nullptr;  // null outside the catalog modes
    std::string catalog_path;
    DriveMap drives;
    VolumeSource volumes;
    VolumeFolders volume_folders;  // label -> folder, asked before `volumes`
    bool read_embedded = true;     // a folder scan takes the photos' own descriptions
    int workers = 1;               // threads for the image work
    EditLog* edits = nullptr;      // the editor's changes, given to the records; null: none
    bool with_deleted = false;     // records deleted in the editor come back
    bool dry_run = false;          // plans each picture, tallies state.dry, writes nothing
  };

  // Starts a run: the count and the lists of the last run are cleared.
  // REQUIRES: `writer` is open, unless the run is dry (the writer is then left alone).
  PictureRun(RunWindow& window, RunState& state, ArchiveWriter& writer, PictureTarget target,
             Sources sources);

  std::string source_dir() const override { return window_.source_dir(); }
  bool reads_source_dir() const override { return target_.source_dir.has_value(); }
  bool jpeg_only() const override { return target_.jpeg_only; }
  bool pair_raw() const override { return target_.pair_raw; }
  std::string dest_dir() const override { return target_.dest_dir; }
  const CatalogFile* catalog() const override { return sources_.catalog; }
  std::string catalog_path() const override { return sources_.catalog_path; }
  std::string Locate(const std::string& source) const override;
  std::string FindBelow(const std::string& root, const std::string& within) const override;
  std::string LabelToDrive(const std::string& label) override;
  void ExpectPictures(int total) override { total_ = total; }
  void Process(const PictureInput& picture) override;
  void AddRecord(const PictureRecord& record, const std::string& tab_source) override;
  void BeginStep(const std::string& status) override;
  void NotePassedOver(const std::string& source, const std::string& reason, bool lost) override;
  void NoteNotAvailable(const CatalogPlace& place) override;
  void CountMergedArchive() override { ++state_.archives_merged; }
  bool StopRequested() const override { return !failure_.ok() || window_.StopRequested(); }

  // Waits for the pictures in hand and records them, letting the window's events run; the
  // run driver calls it when the importer has returned.
  void Finish();

  // The steps the importer expected (ExpectPictures), -1 when it did not say.
  int expected() const { return total_; }

  // Ok, or why the destination could not take the run's pictures.
  const Status& failure() const { return failure_; }

  // The count the status shows (" 12"), "" before the first.
  const std::string& count_shown() const { return count_shown_; }

 private:
  void Keep(const PictureInput& picture, PictureResult& result);
  // A dry run's picture: what it would be made of, copied (under either copy answer) and
  // kept, in state.dry.
  void TallyDry(const PicturePlan& plan);
  // The "select source directory" mode: the picture is the chosen folder's file of the
  // catalog's file name, in any letter case; the catalog's path stays for archive.txt.
  void ReadFromChosenFolder(PictureInput* picture);
  // Notes a picture passed over as missing; one the catalog names on a drive or volume is
  // noted with its place, and a place without a folder here, or whose folder has gone, says
  // so in the reason.
  void NoteMissing(const PictureInput& picture, const std::string& reason);
  void WriteRecord(const PictureRecord& record, const std::string& tab_source);
  // Records the finished pictures, oldest first; with `make_room`, waits until fewer than the
  // pipeline's capacity are in hand.
  void KeepFinished(bool make_room);

  RunWindow& window_;
  RunState& state_;
  ArchiveWriter& writer_;
  PictureTarget target_;
  NameRegistry names_;
  Sources sources_;
  std::string catalog_folder_;
  mutable CaseInsensitiveFinder finder_;
  Status failure_;
  int handled_ = 0;
  int total_ = -1;
  bool started_ = false;
  std::string count_shown_;
  std::unique_ptr<PicturePipeline> pipeline_;  // made at the first picture
};

}  // namespace lumvane

#endif  // LUMVANE_RUN_PICTURE_RUN_H_
