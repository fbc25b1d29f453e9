// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/picture_run.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "imagelib/vantle.h"
#include "platform/paths.h"
#include "run/memory_budget.h"

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
  state_.picture_count = 0;
  state_.archives_merged = 0;
  state_.described = 0;
  state_.reused = 0;
  state_.formats.clear();
  state_.passed_over.clear();
  state_.uncopied.clear();
  state_.deleted_left_out = 0;
  state_.edits_gave_way.clear();
}

std::string PictureRun::Locate(const std::string& source) const {
  if (const auto place = DrivePlaceOf(source)) {
    const auto root = sources_.drives.find(place->key[0]);
    if (root != sources_.drives.end()) return FindBelow(root->second, place->within);
  }
  return LocateCatalogSource(sources_.drives, catalog_folder_, source);
}

void PictureRun::ReadFromChosenFolder(PictureInput* picture) {
  const SplitPath split =
      picture->native_path ? SplitNativePath(picture->source) : SplitCatalogPath(picture->source);
  const auto name = ClassifyPictureName(split.name, target_.jpeg_only);
  picture->catalog_source = picture->source;
  picture->source = finder_.Find(*target_.source_dir, name ? name->on_disk : split.name).path;
  picture->native_path = true;
  picture->place.reset();  // no drive or volume is needed to find it
}

std::string PictureRun::FindBelow(const std::string& root, const std::string& within) const {
  return finder_.Find(root, within).path;
}

namespace {

// About the memory and work FinishPicture takes: only a picture whose images are made takes
// any, read from its header.
vantle_weight WeightToFinish(const PicturePlan& plan) {
  if (plan.images_in_place) return {0, 0};
  return sjpeg_weigh(JoinPath(plan.folder, plan.name.on_disk).c_str(), 0);
}

}  // namespace

namespace {

// "Harbour (title, date)": the picture by its title, else its file's name, and the fields.
std::string GaveWay(const PictureRecord& record, const EditLog::Applied& applied) {
  std::string text = (record.title.empty() ? record.source : record.title) + " (";
  for (size_t i = 0; i < applied.gave_way.size(); ++i) {
    text += (i == 0 ? "" : ", ") + applied.gave_way[i];
  }
  return text + ")";
}

}  // namespace

std::string PictureRun::LabelToDrive(const std::string& label) {
  return lumvane::LabelToDrive(label, state_.drive_cache, sources_.volumes,
                               sources_.volume_folders);
}

void PictureRun::Process(const PictureInput& catalog_picture) {
  if (!failure_.ok()) return;
  PictureInput picture = catalog_picture;
  if (reads_source_dir()) {
    ReadFromChosenFolder(&picture);
  } else if (!picture.native_path) {
    if (!picture.place) picture.place = DrivePlaceOf(picture.source);
    picture.source = Locate(picture.source);
  }
  picture.read_embedded = picture.read_embedded && sources_.read_embedded;
  if (!started_) window_.set_status("Running...");
  started_ = true;
  PictureResult planned;
  PicturePlan plan;
  planned.pass_over = PlanPicture(picture, target_, &plan, &planned.detail);
  if (sources_.dry_run) {
    if (planned.pass_over == PassOver::kNone) TallyDry(plan);
    Keep(picture, planned);
    window_.ShowProgress(++handled_, total_);
    window_.LetEventsRun();
    return;
  }
  writer_.StartCatalog();
  if (!pipeline_)
    pipeline_ = std::make_unique<PicturePipeline>(sources_.workers, kPictureMemoryBudget);
  if (planned.pass_over != PassOver::kNone) {
    pipeline_->SubmitDone(picture, std::move(planned));
  } else {
    pipeline_->Submit(
        picture, [picture, plan, target = target_] { return FinishPicture(picture, plan, target); },
        WeightToFinish(plan));
  }
  KeepFinished(/*make_room=*/true);
  window_.LetEventsRun();
}

namespace {

// About the bytes a new display image (at most 1600 pixels across) and thumbnail take: those
// of the original, up to what such an image of a photo takes.
long long ImageBytesOf(long long original) {
  constexpr long long kDisplayAtMost = 400 << 10, kThumbnail = 8 << 10;
  return std::min(original, kDisplayAtMost) + kThumbnail;
}

}  // namespace

void PictureRun::TallyDry(const PicturePlan& plan) {
  DryRunFigures& dry = state_.dry;
  std::error_code error;
  const std::string original = JoinPath(plan.folder, plan.name.on_disk);
  const auto size = std::filesystem::file_size(original, error);
  const long long bytes = error ? 0 : static_cast<long long>(size);
  if (plan.images_in_place) {
    ++dry.kept_images;
  } else {
    ++dry.new_images;
    dry.image_bytes += ImageBytesOf(bytes);
  }
  if (std::filesystem::equivalent(plan.folder, target_.dest_dir, error)) return;  // no copy
  for (const CopyMode mode : {CopyMode::kKeepNames, CopyMode::kRename}) {
    PictureTarget answered = target_;
    answered.copy_mode = mode;
    const std::string copy = ArchiveCopyName(plan.name.on_disk, plan.name.recorded, plan, answered);
    CopyFigures& figures = mode == CopyMode::kKeepNames ? dry.keep_names : dry.rename;
    if (std::filesystem::exists(JoinPath(target_.dest_dir, copy), error)) {
      ++figures.there;
    } else {
      ++figures.copies;
      figures.bytes += bytes;
    }
  }
}

void PictureRun::KeepFinished(bool make_room) {
  using std::chrono::milliseconds;
  while (pipeline_ && !pipeline_->empty()) {
    const bool wait = make_room ? pipeline_->full() : true;
    auto finished = pipeline_->TakeOldest(milliseconds(wait ? 20 : 0));
    if (finished) {
      Keep(finished->input, finished->result);
      window_.ShowProgress(++handled_, total_);
    } else if (wait) {
      window_.LetEventsRun();  // Stop, Exit and the close box answer while a picture renders
    } else {
      return;
    }
  }
}

void PictureRun::Finish() {
  KeepFinished(/*make_room=*/false);
}

// Hands an archived picture to the writer, or notes why it was passed over. Once the
// destination has failed, only the files a picture made are noted, for the clean-up.
void PictureRun::Keep(const PictureInput& picture, PictureResult& result) {
  for (const std::string& path : result.created) writer_.NoteCreated(path);
  if (!failure_.ok()) return;
  if (result.reused) ++state_.reused;
  if (!result.destination.ok()) {
    failure_ = result.destination;
    return;
  }
  if (result.pass_over == PassOver::kFileMissing && picture.place) {
    NoteMissing(picture, result.PassOverText());
    return;
  }
  if (result.pass_over == PassOver::kGeneratedImage) return;  // the archive's own, not a photo
  if (!result.archived()) {
    NotePassedOver(picture.source, result.PassOverText(), !IsNotAPicture(result.pass_over));
    return;
  }
  WriteRecord(result.record, result.tab_source);
  if (!failure_.ok()) return;
  if (!result.copy_problem.empty()) {
    state_.uncopied.push_back({picture.source, result.copy_problem});
  }
  if (result.described) ++state_.described;
  ++state_.formats[result.format];
  count_shown_ = " " + std::to_string(state_.picture_count);
  window_.set_status(count_shown_);
}

void PictureRun::AddRecord(const PictureRecord& record, const std::string& tab_source) {
  Finish();  // the pictures in hand come first
  WriteRecord(record, tab_source);
}

void PictureRun::WriteRecord(const PictureRecord& made, const std::string& tab_source) {
  if (!failure_.ok()) return;
  if (sources_.dry_run) {  // a master's merged record, counted
    ++state_.picture_count;
    return;
  }
  PictureRecord record = made;
  if (sources_.edits != nullptr) {
    const EditLog::Applied applied = sources_.edits->Apply(&record, sources_.with_deleted);
    if (applied.deleted) {
      ++state_.deleted_left_out;
      return;
    }
    if (!applied.gave_way.empty()) state_.edits_gave_way.push_back(GaveWay(record, applied));
  }
  failure_ = writer_.Add(record, tab_source);
  if (failure_.ok()) ++state_.picture_count;
}

void PictureRun::BeginStep(const std::string& count) {
  count_shown_ = count;
  window_.set_status(count);
  window_.ShowProgress(++handled_, total_);
  window_.LetEventsRun();
}

void PictureRun::NotePassedOver(const std::string& source, const std::string& reason, bool lost) {
  state_.passed_over.push_back({source, reason, lost});
}

void PictureRun::NoteNotAvailable(const CatalogPlace& place) {
  state_.passed_over.push_back({place.Text(), NotAvailableReason(place), true, place, true});
}

void PictureRun::NoteMissing(const PictureInput& picture, const std::string& reason) {
  const CatalogPlace& place = *picture.place;
  std::string root;
  if (place.kind == CatalogPlace::Kind::kDrive) {
    const auto drive = sources_.drives.find(place.key[0]);
    if (drive != sources_.drives.end()) root = drive->second;
  } else if (const std::string volume = LabelToDrive(place.key); volume != kFallbackDrive) {
    root = volume;
  }
  if (root.empty()) return NoteNotAvailable(place);
  std::error_code error;
  const std::string why = std::filesystem::is_directory(root, error)
                              ? reason
                              : place.Name() + " is read from " + root + ", which is not there";
  state_.passed_over.push_back({picture.source, why, true, place, false});
}

}  // namespace lumvane
