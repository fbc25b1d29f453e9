#include "pictures/process_picture.h"

#include <filesystem>
#include <system_error>

#include "imagelib/vantle.h"
#include "pictures/catalog_line.h"
#include "platform/file_time.h"
#include "platform/paths.h"

namespace fs = std::filesystem;

namespace lumvane {

const char* PassOverReason(PassOver reason) {
  switch (reason) {
    case PassOver::kNone:
      return "archived";
    case PassOver::kNotJpegName:
      return "not a JPEG name";
    case PassOver::kFileUnreadable:
      return "file missing or unreadable";
    case PassOver::kGeneratedImage:
      return "an archive's own generated image";
    case PassOver::kImageUnreadable:
      return "image could not be read";
  }
  return "";
}

PassOver PlanPicture(const PictureInput& input, const PictureTarget& target, PicturePlan* plan) {
  SplitPath split = SplitCatalogPath(input.source);
  plan->folder = target.source_dir ? *target.source_dir : split.folder;
  const std::optional<JpegName> name = ClassifyJpegName(split.name);
  if (!name) return PassOver::kNotJpegName;
  plan->name = *name;
  const auto changed = FileModifiedLocal(JoinPath(plan->folder, name->on_disk));
  if (!changed) return PassOver::kFileUnreadable;
  const auto outputs = NamesForCode(NameCodeFor(FormatStamp(*changed) + name->recorded));
  if (!outputs) return PassOver::kImageUnreadable;  // crc always gives a valid code
  plan->outputs = *outputs;
  if (!IsOriginalPicture(plan->folder, name->recorded)) return PassOver::kGeneratedImage;
  return PassOver::kNone;
}

PassOver RenderPicture(const PicturePlan& plan, const std::string& dest_dir) {
  const std::string original = JoinPath(plan.folder, plan.name.on_disk);
  const std::string display = JoinPath(dest_dir, plan.outputs.display);
  if (sjpeg(original.c_str(), display.c_str(), 0) != 0) return PassOver::kImageUnreadable;
  // A missing thumbnail leaves a gap in the grid but loses nothing; the record is still written.
  sjpeg(display.c_str(), JoinPath(dest_dir, plan.outputs.thumbnail).c_str(), 96);
  return PassOver::kNone;
}

bool CopyOriginal(const PicturePlan& plan, const PictureTarget& target) {
  const std::string original = JoinPath(plan.folder, plan.name.on_disk);
  std::error_code error;
  switch (target.copy_mode) {
    case kCopyKeepNames:
      if (fs::equivalent(plan.folder, target.dest_dir, error)) return true;  // already there
      return CopyReplacing(original, JoinPath(target.dest_dir, plan.name.recorded));
    case kCopyRename: {
      const std::string copy = JoinPath(target.dest_dir, plan.outputs.copy);
      if (fs::exists(copy, error)) return true;
      return CopyReplacing(original, copy);
    }
    default:
      return true;
  }
}

void WriteRecords(const PictureInput& input, const PicturePlan& plan, const PictureTarget& target) {
  PictureRecord record;
  record.thumb = plan.outputs.thumbnail;
  record.path = plan.folder;
  record.source = plan.name.recorded;
  record.title = input.title;
  record.subject = input.subject;
  record.category = input.category;
  record.comment = input.comment;
  record.author = input.author;
  record.picdate = input.picdate;
  if (target.page != nullptr) WriteCatalogLine(*target.page, EncodeRecord(record));
  if (target.tab != nullptr) target.tab->WriteLine(TabCatalogLine(input.source, record));
}

PassOver ProcessPicture(const PictureInput& input, const PictureTarget& target) {
  PicturePlan plan;
  PassOver outcome = PlanPicture(input, target, &plan);
  if (outcome == PassOver::kNone) outcome = RenderPicture(plan, target.dest_dir);
  if (outcome != PassOver::kNone) return outcome;
  CopyOriginal(plan, target);  // a failed copy is not the archive's loss: the record stays
  WriteRecords(input, plan, target);
  return PassOver::kNone;
}

}  // namespace lumvane
