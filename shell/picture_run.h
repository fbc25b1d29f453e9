// One run as the importers see it: hands each picture to picture processing, keeps the count
// and the Status caption, and yields to the window once per picture.
#ifndef LUMVANE_SHELL_PICTURE_RUN_H_
#define LUMVANE_SHELL_PICTURE_RUN_H_

#include <string>

#include "importers/import_run.h"
#include "importers/label_to_drive.h"
#include "platform/drive_map.h"
#include "shell/run_state.h"
#include "shell/run_window.h"

namespace lumvane {

class PictureRun : public ImportRun {
 public:
  // Where the pictures of a run are found beyond the window's folders.
  struct Sources {
    const CatalogFile* catalog = nullptr;  // null outside the catalog modes
    std::string catalog_path;
    DriveMap drives;
    VolumeSource volumes;
  };

  // Starts a run: the count and the header flag are reset.
  PictureRun(RunWindow& window, RunState& state, PictureTarget target, Sources sources);

  std::string source_dir() const override { return window_.source_dir(); }
  const CatalogFile* catalog() const override { return sources_.catalog; }
  std::string catalog_path() const override { return sources_.catalog_path; }
  std::string Locate(const std::string& source) const override;
  std::string LabelToDrive(const std::string& label) override;
  void ExpectPictures(int total) override { total_ = total; }
  void Process(const PictureInput& picture) override;
  bool StopRequested() const override { return window_.go_caption() == kGoStopRequested; }

 private:
  RunWindow& window_;
  RunState& state_;
  PictureTarget target_;
  Sources sources_;
  int handled_ = 0;
  int total_ = -1;
};

}  // namespace lumvane

#endif  // LUMVANE_SHELL_PICTURE_RUN_H_
