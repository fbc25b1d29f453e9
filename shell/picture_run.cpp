#include "shell/picture_run.h"

#include "pictures/catalog_line.h"

namespace lumvane {

PictureRun::PictureRun(RunWindow& window, RunState& state, PictureTarget target,
                       const CatalogFile* catalog, std::string catalog_path)
    : window_(window),
      state_(state),
      target_(std::move(target)),
      catalog_(catalog),
      catalog_path_(std::move(catalog_path)) {
  state_.PictureCount = 0;
  state_.HeaderWritten = false;
  state_.passed_over.clear();
}

void PictureRun::Process(const PictureInput& picture) {
  if (handled_ == 0) window_.set_status("Running...");
  if (!state_.HeaderWritten) {
    target_.tab->WriteLine(TabCatalogHeader());
    state_.HeaderWritten = true;
  }
  if (target_.source_dir) target_.source_dir = window_.source_dir();
  const PassOver outcome = ProcessPicture(picture, target_);
  if (outcome == PassOver::kNone) {
    ++state_.PictureCount;
    window_.set_status(" " + std::to_string(state_.PictureCount));
  } else {
    state_.passed_over.push_back({picture.source, outcome});
  }
  window_.ShowProgress(++handled_, total_);
  window_.LetEventsRun();
}

}  // namespace lumvane
