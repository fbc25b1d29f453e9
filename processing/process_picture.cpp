// SPDX-License-Identifier: GPL-3.0-or-later
#include "processing/process_picture.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "imagelib/vantle.h"
#include "platform/content_digest.h"
#include "platform/file_copy.h"
#include "platform/file_probe.h"
#include "platform/file_system.h"
#include "platform/file_time.h"
#include "platform/paths.h"
#include "processing/clip_facts.h"
#include "processing/clip_preview.h"
#include "processing/embedded_description.h"

namespace fs = std::filesystem;

namespace lumvane {
namespace {

PassOver FromProbe(const Status& probe, std::string* detail) {
  switch (probe.code()) {
    case StatusCode::kOk:
      return PassOver::kNone;
    case StatusCode::kNotFound:
      return PassOver::kFileMissing;
    case StatusCode::kPermissionDenied:
      return PassOver::kPermissionDenied;
    case StatusCode::kInvalidInput:
      return PassOver::kNotRegularFile;
    default:
      if (detail != nullptr) *detail = probe.message();
      return PassOver::kFileUnreadable;
  }
}

// Errors that say the destination itself cannot take more: the run cannot go on.
bool IsDestinationFailure(int error) {
  return error == ENOSPC || error == EDQUOT || error == EROFS || error == EIO || error == EFBIG;
}

// Records why the image library could not read the original.
void NoteUnreadableOriginal(int code, const vantle_failure& failure, bool jpeg_only,
                            PictureResult* result) {
  switch (code) {
    case VANTLE_NOT_JPEG:
      result->pass_over = jpeg_only ? PassOver::kNotJpegImage : PassOver::kNotPicture;
      break;
    case VANTLE_CANNOT_OPEN:
      result->pass_over = PassOver::kFileUnreadable;
      result->detail = std::strerror(failure.system_error);
      break;
    case VANTLE_TOO_LARGE:
      result->pass_over = PassOver::kImageTooLarge;
      if (failure.width > 0) {
        result->detail = std::to_string(failure.width) + " x " + std::to_string(failure.height);
      }
      break;
    default:
      result->pass_over = PassOver::kImageDamaged;
  }
}

// Records a display image or thumbnail that could not be made; a full or read-only
// destination ends the run.
void NoteWriteFailure(int code, int error, const std::string& dest_dir, PictureResult* result) {
  if (code == VANTLE_CANNOT_WRITE && IsDestinationFailure(error)) {
    result->destination =
        Status::FromErrno(error, "Cannot write into " + dest_dir + ": " + std::strerror(error));
  }
  result->pass_over = PassOver::kCannotWriteImages;
  result->detail =
      code == VANTLE_CANNOT_WRITE ? std::strerror(error) : "the image could not be made";
}

// The names from the date stamp and the recorded name, as every archive has them; when those
// were given to another original of this run (a same-named file from another folder, or one
// that differs in letter case only), names from a key that holds the original's whole path,
// the same on every run over the same input.
std::optional<GeneratedNames> UniqueNames(const std::string& stamp, const std::string& recorded,
                                          const std::string& original, NameRegistry* names) {
  std::string key = stamp + recorded;
  for (int attempt = 1;; ++attempt) {
    const auto outputs = NamesForCode(NameCodeFor(key));
    if (!outputs || names == nullptr || names->Claim(outputs->thumbnail, original)) return outputs;
    key = stamp + original + (attempt > 1 ? "#" + std::to_string(attempt) : "");
  }
}

const char* FormatName(int format) {
  switch (format) {
    case VANTLE_FORMAT_HEIF:
      return "HEIF";
    case VANTLE_FORMAT_PNG:
      return "PNG";
    case VANTLE_FORMAT_TIFF:
      return "TIFF";
    case VANTLE_FORMAT_GIF:
      return "GIF";
    case VANTLE_FORMAT_BMP:
      return "BMP";
    case VANTLE_FORMAT_WEBP:
      return "WebP";
    case VANTLE_FORMAT_RAW:
      return "RAW";
    case VANTLE_FORMAT_CLIP:
      return "video";
    default:
      return "JPEG";
  }
}

bool IsNonEmptyFile(const std::string& path) {
  const StatusOr<FileFacts> facts = FactsOf(path);
  return facts.ok() && facts->kind == FileKind::kRegular && facts->size > 0;
}

// The note an image of ours carries of its original ("" when it has none).
std::string NoteOf(const std::string& image) {
  char note[128];
  return sjpeg_note(image.c_str(), note, sizeof note) < 0 ? "" : note;
}

// Whether the display image and thumbnail of `plan` are in `dest_dir` already, made from this
// very original: two non-empty files of those names (images are only ever renamed into place
// when complete) whose notes name the original's identity. Another photo of the same name and
// time (a second memory card) has other bytes, so its images are made anew.
bool ImagesInPlace(const PicturePlan& plan, const std::string& dest_dir) {
  const std::string display = JoinPath(dest_dir, plan.outputs.display);
  const std::string thumbnail = JoinPath(dest_dir, plan.outputs.thumbnail);
  return !plan.identity.empty() && IsNonEmptyFile(display) && IsNonEmptyFile(thumbnail) &&
         NoteOf(display) == plan.identity && NoteOf(thumbnail) == plan.identity;
}

}  // namespace

std::string OriginalIdentity(const std::string& original) {
  const std::optional<ContentDigest> head = DigestOfFile(original, 64 << 10);
  const StatusOr<FileFacts> facts = FactsOf(original);
  if (!head || !facts.ok()) return "";
  char text[64];
  std::snprintf(text, sizeof text, "Lumvane original %lld %016llx", facts->size,
                static_cast<unsigned long long>(head->hash()));
  return text;
}

const char* PassOverReason(PassOver reason) {
  switch (reason) {
    case PassOver::kNone:
      return "archived";
    case PassOver::kNotJpegName:
      return "not a JPEG name";
    case PassOver::kNotPictureName:
      return "not a picture name";
    case PassOver::kFileMissing:
      return "file missing";
    case PassOver::kPermissionDenied:
      return "permission denied";
    case PassOver::kNotRegularFile:
      return "not a regular file";
    case PassOver::kFileUnreadable:
      return "file unreadable";
    case PassOver::kGeneratedImage:
      return "an archive's own generated image";
    case PassOver::kNotJpegImage:
      return "not a JPEG image";
    case PassOver::kNotPicture:
      return "not a picture";
    case PassOver::kImageDamaged:
      return "image damaged";
    case PassOver::kImageTooLarge:
      return "image too large";
    case PassOver::kCannotWriteImages:
      return "cannot write display image or thumbnail";
  }
  return "";
}

bool IsNotAPicture(PassOver reason) {
  return reason == PassOver::kNotJpegName || reason == PassOver::kNotPictureName ||
         reason == PassOver::kGeneratedImage || reason == PassOver::kNotJpegImage ||
         reason == PassOver::kNotPicture;
}

std::string PictureResult::PassOverText() const {
  std::string text = PassOverReason(pass_over);
  if (pass_over == PassOver::kImageTooLarge && !detail.empty()) return text + " (" + detail + ")";
  if (!detail.empty()) text += ": " + detail;
  return text;
}

namespace {

// The archive's copy of the original, for the page to link: its name in the archive and size.
void NoteOriginal(const std::string& name, const std::string& copy, PictureRecord* record) {
  const StatusOr<FileFacts> facts = FactsOf(copy);
  if (!facts.ok()) return;
  AddDetail(&record->details, "original", name);
  AddDetail(&record->details, "bytes", std::to_string(facts->size));
}

// The web copy of a clip that browsers cannot play, beside its display image and named in the
// record; kept from an earlier run with the images. A copy that cannot be made is said.
void AddClipPreview(const PicturePlan& plan, const std::string& dest_dir,
                    const std::string& original, PictureResult* result) {
  const std::string name = ClipPreviewName(plan.outputs.display);
  const std::string preview = JoinPath(dest_dir, name);
  if (!result->reused || !IsNonEmptyFile(preview)) {
    const bool existed = PathExists(preview);
    if (Status made = MakeClipPreview(original, preview); !made.ok()) {
      result->copy_problem = "no web copy of the clip: " + made.message();
      return;
    }
    if (!existed) result->created.push_back(preview);
  }
  AddDetail(&result->record.details, "preview", name);
}

// A clip's facts as the descriptions a photo carries.
EmbeddedDescription DescriptionOfClip(const ClipDescription& clip) {
  EmbeddedDescription description;
  description.title = clip.title;
  description.comment = clip.comment;
  description.taken = clip.made;
  description.details = clip.details;
  return description;
}

}  // namespace

PassOver PlanPicture(const PictureInput& input, const PictureTarget& target, PicturePlan* plan,
                     std::string* detail) {
  SplitPath split =
      input.native_path ? SplitNativePath(input.source) : SplitCatalogPath(input.source);
  plan->folder = target.source_dir ? *target.source_dir : split.folder;
  const std::optional<JpegName> name = ClassifyPictureName(split.name, target.jpeg_only);
  if (!name) return target.jpeg_only ? PassOver::kNotJpegName : PassOver::kNotPictureName;
  plan->name = *name;
  const std::string original = JoinPath(plan->folder, name->on_disk);
  if (const PassOver probed = FromProbe(ProbeFile(original), detail); probed != PassOver::kNone) {
    return probed;
  }
  const auto changed = FileModifiedLocal(original);
  if (!changed) return PassOver::kFileMissing;  // removed since the probe
  const auto outputs = UniqueNames(FormatStamp(*changed), name->recorded, original, target.names);
  if (!outputs) return PassOver::kFileUnreadable;  // crc always gives a valid code
  plan->outputs = *outputs;
  if (!IsOriginalPicture(plan->folder, name->recorded)) return PassOver::kGeneratedImage;
  if (target.reuse_images && IsNonEmptyFile(JoinPath(target.dest_dir, plan->outputs.display))) {
    plan->identity = OriginalIdentity(original);
    plan->images_in_place = ImagesInPlace(*plan, target.dest_dir);
  }
  return PassOver::kNone;
}

void RenderPicture(const PicturePlan& plan, const std::string& dest_dir, bool jpeg_only,
                   PictureResult* result, const char* clip_length) {
  const std::string original = JoinPath(plan.folder, plan.name.on_disk);
  const std::string display = JoinPath(dest_dir, plan.outputs.display);
  const std::string thumbnail = JoinPath(dest_dir, plan.outputs.thumbnail);
  if (plan.images_in_place) {
    result->reused = true;
    return;
  }
  const bool display_existed = PathExists(display), thumbnail_existed = PathExists(thumbnail);
  const std::string identity = plan.identity.empty() ? OriginalIdentity(original) : plan.identity;
  vantle_failure failure{};
  const int made = sjpeg_noted(original.c_str(), display.c_str(), 0, identity.c_str(),
                               jpeg_only ? VANTLE_JPEG_ONLY : VANTLE_EVERY_FORMAT, &failure);
  if (made != VANTLE_DONE && made != VANTLE_CANNOT_WRITE) {
    NoteUnreadableOriginal(made, failure, jpeg_only, result);
    return;
  }
  int thumbed = made;
  if (made == VANTLE_DONE && clip_length != nullptr) {
    thumbed = sjpeg_clip_thumb(display.c_str(), thumbnail.c_str(), 96, identity.c_str(),
                               clip_length, &failure);
  } else if (made == VANTLE_DONE) {
    thumbed = sjpeg_noted(display.c_str(), thumbnail.c_str(), 96, identity.c_str(),
                          VANTLE_JPEG_ONLY, &failure);
  }
  if (thumbed == VANTLE_DONE) {
    if (!display_existed) result->created.push_back(display);
    if (!thumbnail_existed) result->created.push_back(thumbnail);
    return;
  }
  if (made == VANTLE_DONE && !display_existed) (void)RemoveFile(display);
  NoteWriteFailure(thumbed, failure.system_error, dest_dir, result);
}

namespace {

// Puts the file `name` of the picture's folder (recorded as `recorded`) into the archive folder
// as the target's copy mode asks: under its recorded name or the renamed copy's name with its
// own extension, never replacing another file. True with its name there in `in_archive` when
// it is there (copied, or its folder is the archive folder); a copy that failed is said.
bool CopyIntoArchive(const std::string& name, const std::string& recorded, const PicturePlan& plan,
                     const PictureTarget& target, PictureResult* result, std::string* in_archive) {
  std::error_code error;
  if (fs::equivalent(plan.folder, target.dest_dir, error)) {  // there already
    *in_archive = name;
    return true;
  }
  *in_archive = ArchiveCopyName(name, recorded, plan, target);
  if (in_archive->empty()) return false;
  const std::string copy = JoinPath(target.dest_dir, *in_archive);
  const StatusOr<CopyMade> copied = CopyToNewFile(JoinPath(plan.folder, name), copy);
  if (copied.ok() && *copied == CopyMade::kNewFile) result->created.push_back(copy);
  if (!copied.ok()) result->copy_problem = copied.status().message();
  return copied.ok();
}

}  // namespace

std::string ArchiveCopyName(const std::string& name, const std::string& recorded,
                            const PicturePlan& plan, const PictureTarget& target) {
  switch (target.copy_mode) {
    case CopyMode::kKeepNames:
      return recorded;
    case CopyMode::kRename: {  // a copy made under its own name before is not made again
      const bool copied_before =
          SameContents(JoinPath(plan.folder, name), JoinPath(target.dest_dir, recorded));
      return copied_before ? recorded : RenamedCopyName(plan.outputs.copy, recorded);
    }
    default:
      return "";
  }
}

void AttachCompanion(const PictureInput& input, const PicturePlan& plan,
                     const PictureTarget& target, PictureResult* result) {
  if (input.companion.empty()) return;
  const std::string name = SplitNativePath(input.companion).name;
  const std::string companion = JoinPath(plan.folder, name);
  const std::string key = vantle_format(companion.c_str()) == VANTLE_FORMAT_CLIP ? "live" : "raw";
  const std::optional<JpegName> recorded = ClassifyPictureName(name, false);
  std::string in_archive;
  if (CopyIntoArchive(name, recorded ? recorded->recorded : name, plan, target, result,
                      &in_archive)) {
    AddDetail(&result->record.details, key, in_archive);
  } else {
    AddDetail(&result->record.details, key + "_file", name);  // beside the original
  }
}

void CopyOriginal(const PicturePlan& plan, const PictureTarget& target, PictureResult* result) {
  std::string in_archive;
  if (CopyIntoArchive(plan.name.on_disk, plan.name.recorded, plan, target, result, &in_archive)) {
    NoteOriginal(in_archive, JoinPath(target.dest_dir, in_archive), &result->record);
  }
}

bool TakeEmbeddedDescription(const EmbeddedDescription& embedded, PictureInput* input) {
  const std::pair<std::string*, const std::string*> fields[] = {
      {&input->title, &embedded.title},
      {&input->subject, &embedded.subject},
      {&input->category, &embedded.category},
      {&input->comment, &embedded.comment},
      {&input->author, &embedded.author}};
  bool described = false;
  for (const auto& [field, value] : fields) {
    if (!field->empty() || value->empty()) continue;
    *field = *value;
    described = true;
  }
  if (embedded.taken) input->picdate = FormatLongDate(*embedded.taken);
  return described;
}

PictureResult ProcessPicture(const PictureInput& given, const PictureTarget& target) {
  PictureResult result;
  PicturePlan plan;
  result.pass_over = PlanPicture(given, target, &plan, &result.detail);
  if (result.pass_over != PassOver::kNone) return result;
  return FinishPicture(given, plan, target);
}

PictureResult FinishPicture(const PictureInput& given, const PicturePlan& plan,
                            const PictureTarget& target) {
  PictureResult result;
  const std::string original = JoinPath(plan.folder, plan.name.on_disk);
  const int format = target.jpeg_only ? VANTLE_FORMAT_JPEG : vantle_format(original.c_str());
  const std::optional<ClipDescription> clip =
      format == VANTLE_FORMAT_CLIP ? ReadClipDescription(original) : std::nullopt;
  RenderPicture(plan, target.dest_dir, target.jpeg_only, &result,
                clip ? clip->duration.c_str() : nullptr);
  if (!result.archived()) return result;
  result.format = FormatName(format);
  PictureInput input = given;
  const EmbeddedDescription embedded =
      clip ? DescriptionOfClip(*clip) : ReadEmbeddedDescription(original);
  if (input.read_embedded) result.described = TakeEmbeddedDescription(embedded, &input);
  PictureRecord& record = result.record;
  record.details = embedded.details;
  CopyOriginal(plan, target, &result);
  AttachCompanion(given, plan, target, &result);
  if (clip && !clip->playable && target.clip_previews) {
    AddClipPreview(plan, target.dest_dir, original, &result);
  }
  record.thumb = plan.outputs.thumbnail;
  record.path = plan.folder;
  record.source = plan.name.recorded;
  record.title = input.title;
  record.subject = input.subject;
  record.category = input.category;
  record.comment = input.comment;
  record.author = input.author;
  record.picdate = input.picdate;
  result.tab_source = given.catalog_source.empty() ? given.source : given.catalog_source;
  return result;
}

}  // namespace lumvane
