#include "run/picture_run.h"

#include "platform/paths.h"

namespace lumvane {

PictureRun::PictureRun(RunWindow& window, RunState& state, ArchiveWriter& writer,
                       PictureTarget target, Sources sources)
    : window_(window),
      state_(state),
      writer_(writer),
      target_(std::move(target)),
      sources_(std::move(sources)) {
  target_.names = &names_;
  if (!sources_.catalog_path.empty()) {
    catalog_folder_ = SplitCatalogPath(sources_.catalog_path).folder;
  }
  state_.PictureCount = 0;
  state_.archives_merged = 0;
  state_.described = 0;
  state_.passed_over.clear();
  state_.uncopied.clear();
}

std::string PictureRun::Locate(const std::string& source) const {
  return LocateCatalogSource(sources_.drives, catalog_folder_, source);
}

std::string PictureRun::LabelToDrive(const std::string& label) {
  const auto placed = sources_.volume_folders.find(label);
  if (placed != sources_.volume_folders.end()) return placed->second;
  return lumvane::LabelToDrive(label, state_.drive_cache, sources_.volumes);
}

void PictureRun::Process(const PictureInput& catalog_picture) {
  if (!failure_.ok()) return;
  PictureInput picture = catalog_picture;
  if (!picture.native_path) picture.source = Locate(picture.source);
  picture.read_embedded = picture.read_embedded && sources_.read_embedded;
  if (handled_ == 0) window_.set_status("Running...");
  writer_.StartCatalog();
  PictureResult result = ProcessPicture(picture, target_);
  Keep(picture, result);
  window_.ShowProgress(++handled_, total_);
  window_.LetEventsRun();
}

// Hands an archived picture to the writer, or notes why it was passed over.
void PictureRun::Keep(const PictureInput& picture, PictureResult& result) {
  for (const std::string& path : result.created) writer_.NoteCreated(path);
  if (!result.destination.ok()) {
    failure_ = result.destination;
    return;
  }
  if (!result.archived()) {
    NotePassedOver(picture.source, result.PassOverText());
    return;
  }
  AddRecord(result.record, result.tab_source);
  if (!failure_.ok()) return;
  if (!result.copy_problem.empty()) {
    state_.uncopied.push_back({picture.source, result.copy_problem});
  }
  if (result.described) ++state_.described;
  window_.set_status(" " + std::to_string(state_.PictureCount));
}

void PictureRun::AddRecord(const PictureRecord& record, const std::string& tab_source) {
  if (!failure_.ok()) return;
  failure_ = writer_.Add(record, tab_source);
  if (failure_.ok()) ++state_.PictureCount;
}

void PictureRun::BeginStep(const std::string& status) {
  window_.set_status(status);
  window_.ShowProgress(++handled_, total_);
  window_.LetEventsRun();
}

void PictureRun::NotePassedOver(const std::string& source, const std::string& reason) {
  state_.passed_over.push_back({source, reason});
}

}  // namespace lumvane
