// SPDX-License-Identifier: GPL-3.0-or-later
// One picture into the archive folder: naming, display image and thumbnail, the copy of the
// original, and the record that the run hands to the archive's writer. Failures of a single
// picture are outcomes; a destination that cannot be written is an error of the run.
#ifndef LUMVANE_PROCESSING_PROCESS_PICTURE_H_
#define LUMVANE_PROCESSING_PROCESS_PICTURE_H_

#include <optional>
#include <string>
#include <vector>

#include "locations/catalog_place.h"
#include "pictures/copy_mode.h"
#include "pictures/picture_record.h"
#include "platform/status.h"
#include "processing/embedded_description.h"
#include "processing/naming.h"

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
  // The source is a path of this machine (a folder scan), split at "/" only; catalog paths
  // are split at "\" as well.
  bool native_path = false;
  // Empty texts and the date are taken from the descriptions the photo carries inside it.
  bool read_embedded = false;
  // Where the catalog says the picture is, when it names a volume by its label (a drive
  // letter is read from `source` itself).
  std::optional<CatalogPlace> place = std::nullopt;
  // A file that belongs with the picture, beside it: a live photo's clip, or the RAW of a
  // camera's RAW+JPEG pair; "" for none. It is copied with the original and named in the
  // record's details.
  std::string companion = "";
  // The source as the catalog names it, for archive.txt, when `source` is where the picture
  // was found instead (the chosen source folder); empty: `source`.
  std::string catalog_source = "";
};

// Why a picture was passed over; kNone when it was archived.
enum class PassOver {
  kNone,
  kNotJpegName,        // the name is not a JPEG file name (JPEG pictures alone are asked for)
  kNotPictureName,     // the name is not that of a picture file
  kFileMissing,        // no file of that name, or its folder is missing
  kPermissionDenied,   // the file may not be read
  kNotRegularFile,     // a folder, FIFO, device or socket
  kFileUnreadable,     // any other failure to open or examine it
  kGeneratedImage,     // one of an archive's own thumbnails or display images
  kNotJpegImage,       // the file holds no JPEG image (JPEG pictures alone are asked for)
  kNotPicture,         // the file holds no picture of a format the image library reads
  kImageDamaged,       // a damaged picture, or one whose data ends before the image does
  kImageTooLarge,      // decoding it would take more memory than one picture may ("W x H")
  kCannotWriteImages,  // its display image or thumbnail cannot be written
};

// A short English reason, for reports: "not a picture name", "file missing", ...
const char* PassOverReason(PassOver reason);

// True for the reasons that say a file is no picture (of the kind asked for): passing it over
// loses nothing.
bool IsNotAPicture(PassOver reason);

// What picture processing needs to know about the run.
struct PictureTarget {
  std::string dest_dir;
  std::optional<std::string> source_dir;  // set: read every picture from this folder instead
  CopyMode copy_mode = CopyMode::kNone;
  NameRegistry* names = nullptr;  // the run's names given so far; null: names are not checked
  // Display images and thumbnails already in the destination under a picture's names are
  // taken as they are (the names change with the original's time); false renders them again.
  bool reuse_images = true;
  // JPEG pictures alone; false takes every format the image library reads.
  bool jpeg_only = false;
  // A JPEG and a camera RAW of the same name are one picture (a folder scan).
  bool pair_raw = false;
  // A clip that browsers cannot play gets a web copy they can beside its display image.
  bool clip_previews = false;
};

// Where a picture comes from and the names it gets; the result of the decisions made before
// any image work.
struct PicturePlan {
  std::string folder;            // folder the original is read from
  JpegName name;                 // its name on disk and in the record
  GeneratedNames outputs;        // thumbnail, display image and renamed copy
  bool images_in_place = false;  // both images are in the destination already and are kept
  std::string identity;          // OriginalIdentity, when it was needed for the decision
};

// The name in the archive folder under which the file `name` of the picture's folder, recorded
// as `recorded`, is copied as the target's copy mode asks (renamed, unless it was copied under
// its own name before); "" when the mode copies nothing. REQUIRES: the picture's folder is not
// the archive's.
std::string ArchiveCopyName(const std::string& name, const std::string& recorded,
                            const PicturePlan& plan, const PictureTarget& target);

// What a picture's display image and thumbnail note of the original they were made from: its
// size and a digest of its first 64 KiB ("" when it cannot be read). A later run reuses the
// images only for an original of the same identity.
std::string OriginalIdentity(const std::string& original);

// What became of one picture.
struct PictureResult {
  PassOver pass_over = PassOver::kNone;
  std::string detail;        // the system's reason behind kCannotWriteImages or kFileUnreadable
  Status destination;        // an error: the destination cannot be written, and the run must end
  PictureRecord record;      // an archived picture's record
  std::string tab_source;    // ... and its source path for archive.txt
  std::string copy_problem;  // why the original was not copied as asked ("" if it was)
  std::vector<std::string> created;  // files this picture added to the destination
  bool described = false;            // texts came from the photo's own descriptions
  bool reused = false;               // its display image and thumbnail were there already
  std::string format;  // an archived picture's format: "JPEG", "PNG", "HEIF", "RAW", "video"...

  bool archived() const { return destination.ok() && pass_over == PassOver::kNone; }
  // The reason with its detail: "cannot write display image or thumbnail: Is a directory",
  // "image too large (65500 x 65500)".
  std::string PassOverText() const;
};

// Decides names for `input`, or says why the picture is passed over. Looks at the original
// without ever blocking on it.
PassOver PlanPicture(const PictureInput& input, const PictureTarget& target, PicturePlan* plan,
                     std::string* detail);

// The image work of one picture: the display image, then the thumbnail made from it. Touches
// nothing but the two output files, so it may run on any thread. A thumbnail that cannot be
// made takes away the display image this call created. Images the plan found in place are kept.
// `jpeg_only`: an original of another format is passed over. `clip_length` (set for a clip,
// "" when its length is unknown): the thumbnail carries a play mark and that length.
void RenderPicture(const PicturePlan& plan, const std::string& dest_dir, bool jpeg_only,
                   PictureResult* result, const char* clip_length = nullptr);

// Copies the original as the target's copy mode asks: under its own name or the renamed-copy
// name, never replacing another file. An original in the destination folder is there already
// and is not copied (a renamed copy of it would be archived as a picture of its own next
// time). Says in `result` what went wrong, and notes the archive's copy in its record's details.
void CopyOriginal(const PicturePlan& plan, const PictureTarget& target, PictureResult* result);

// Copies the companion of `input` (its live clip or RAW) as CopyOriginal copies the original,
// with its own extension, and names it in the record's details: "live=" or "raw=" its name in
// the archive folder, "live_file=" or "raw_file=" its name beside the original when it was not
// copied.
void AttachCompanion(const PictureInput& input, const PicturePlan& plan,
                     const PictureTarget& target, PictureResult* result);

// Fills the empty texts of `input` from the photo's (or clip's) embedded descriptions and its date
// from the time the photo was taken; true when any text came from the photo.
bool TakeEmbeddedDescription(const EmbeddedDescription& embedded, PictureInput* input);

// Everything after the plan: images, embedded descriptions, the copy and the record. Reads
// only `target`'s folders and copy mode, so it may run on any thread.
PictureResult FinishPicture(const PictureInput& input, const PicturePlan& plan,
                            const PictureTarget& target);

// All of the above for one picture, in order; the record is filled when it was archived.
PictureResult ProcessPicture(const PictureInput& input, const PictureTarget& target);

}  // namespace lumvane

#endif  // LUMVANE_PROCESSING_PROCESS_PICTURE_H_
