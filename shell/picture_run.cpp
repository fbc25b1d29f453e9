#include "shell/picture_run.h"

#include "pictures/catalog_line.h"

namespace lumvane {

PictureRun::PictureRun(RunWindow& window, RunState& state, PictureTarget target, Sources sources)
    : window_(window), state_(state), target_(std::move(target)), sources_(std::move(sources)) {
  state_.PictureCount = 0;
  state_.HeaderWritten = false;
  state_.passed_over.clear();
}

std::string PictureRun::Locate(const std::string& source) const {
  return MapDrive(sources_.drives, source);
}

std::string PictureRun::LabelToDrive(const std::string& label) {
  return lumvane::LabelToDrive(label, state_.drive_cache, sources_.volumes);
}

void PictureRun::Process(const PictureInput& catalog_picture) {
  PictureInput picture = catalog_picture;
  picture.source = Locate(picture.source);
  if (handled_ == 0) window_.set_status("Running...");
  if (!state_.HeaderWritten) {
    target_.tab->WriteLine(TabCatalogHeader());
    state_.HeaderWritten = true;
  }
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
