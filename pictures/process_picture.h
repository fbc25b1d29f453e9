// One picture into the archive: naming, display image and thumbnail, the copy of the original
// and both records. Failures of a single picture are outcomes, never errors of the run.
#ifndef LUMVANE_PICTURES_PROCESS_PICTURE_H_
#define LUMVANE_PICTURES_PROCESS_PICTURE_H_

#include <optional>
#include <string>

#include "pictures/naming.h"
#include "platform/replacing_file.h"

namespace lumvane {

// The seven texts an importer hands over for one picture.
struct PictureInput {
  std::string source;  // full path of the original as the importer has it
  std::string title;
  std::string subject;
  std::string category;
  std::string comment;
  std::string author;
  std::string picdate;
};

enum class PassOver {
  kNone,             // archived
  kNotJpegName,      // the name is not a JPEG file name
  kFileUnreadable,   // missing, or its date cannot be read
  kGeneratedImage,   // one of an archive's own thumbnails or display images
  kImageUnreadable,  // the image library could not read it
};

// A short English reason, for reports: "not a JPEG name", ...
const char* PassOverReason(PassOver reason);

// CopyMode values of the Copy Originals question.
enum CopyMode : int { kCopyCancelled = -1, kCopyNone = 0, kCopyKeepNames = 1, kCopyRename = 2 };

// What picture processing needs to know about the run.
struct PictureTarget {
  std::string dest_dir;
  std::optional<std::string> source_dir;  // set: read every picture from this folder instead
  int copy_mode = kCopyNone;
  ReplacingFile* page = nullptr;  // archive.htm, head written
  ReplacingFile* tab = nullptr;   // archive.txt (or archive2.txt), header written
};

// Where a picture comes from and the names it gets; the result of the decisions made before
// any image work.
struct PicturePlan {
  std::string folder;      // folder the original is read from
  JpegName name;           // its name on disk and in the record
  GeneratedNames outputs;  // thumbnail, display image and renamed copy
};

// Decides names for `input`, or says why the picture is passed over.
PassOver PlanPicture(const PictureInput& input, const PictureTarget& target, PicturePlan* plan);

// The image work of one picture: the display image, then the thumbnail made from it.
// Touches nothing but the two output files, so it may run on any thread.
// kImageUnreadable when the display image cannot be made.
PassOver RenderPicture(const PicturePlan& plan, const std::string& dest_dir);

// Copies the original as `copy_mode` asks: 1 under its own name (replacing), 2 under the
// renamed-copy name unless that exists. The user's original is never moved or renamed, and
// nothing is copied onto itself. Returns false when a copy failed.
bool CopyOriginal(const PicturePlan& plan, const PictureTarget& target);

// Writes the CatalogLine and the TabCatalogLine of a rendered picture.
void WriteRecords(const PictureInput& input, const PicturePlan& plan, const PictureTarget& target);

// All of the above for one picture, in order. kNone when the picture was archived.
PassOver ProcessPicture(const PictureInput& input, const PictureTarget& target);

}  // namespace lumvane

#endif  // LUMVANE_PICTURES_PROCESS_PICTURE_H_
