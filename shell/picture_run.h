// One run as the importers see it: hands each picture to picture processing, keeps the count
// and the Status caption, and yields to the window once per picture.
#ifndef LUMVANE_SHELL_PICTURE_RUN_H_
#define LUMVANE_SHELL_PICTURE_RUN_H_

#include <string>

#include "importers/import_run.h"
#include "shell/run_state.h"
#include "shell/run_window.h"

namespace lumvane {

class PictureRun : public ImportRun {
 public:
  // Starts a run: the count and the header flag are reset. `catalog` may be null.
  PictureRun(RunWindow& window, RunState& state, PictureTarget target,
             const CatalogFile* catalog, std::string catalog_path);

  std::string source_dir() const override { return window_.source_dir(); }
  const CatalogFile* catalog() const override { return catalog_; }
  std::string catalog_path() const override { return catalog_path_; }
  void ExpectPictures(int total) override { total_ = total; }
  void Process(const PictureInput& picture) override;
  bool StopRequested() const override { return window_.go_caption() == kGoStopRequested; }

 private:
  RunWindow& window_;
  RunState& state_;
  PictureTarget target_;
  const CatalogFile* catalog_;
  std::string catalog_path_;
  int handled_ = 0;
  int total_ = -1;
};

}  // namespace lumvane

#endif  // LUMVANE_SHELL_PICTURE_RUN_H_
