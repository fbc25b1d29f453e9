// SPDX-License-Identifier: GPL-3.0-or-later
// The importer of the source-folder mode: every picture file of one folder.
#ifndef LUMVANE_IMPORTERS_SOURCE_SCAN_H_
#define LUMVANE_IMPORTERS_SOURCE_SCAN_H_

#include <string>
#include <vector>

#include "importers/import_run.h"
#include "platform/status.h"

namespace lumvane {

// The visible files of `folder` whose names end in a picture extension (HasPictureExtension),
// in the order a file manager shows them (ListedBefore). Subfolders are not entered.
Status ListSourcePictures(const std::string& folder, bool jpeg_only,
                          std::vector<std::string>* names);

// File-manager order: letter case ignored, runs of digits compared as numbers (IMG_2 before
// IMG_10); names equal that way fall back to plain byte order.
bool ListedBefore(const std::string& a, const std::string& b);

// A picture of the folder and the file that belongs with it ("" for none).
struct SourceGroup {
  std::string picture;
  std::string companion;
};

// The listed `names` (in order) as pictures: a still (JPEG, HEIC) and a clip (MOV, MP4) of the
// same name but for its extension, in any letter case, are a live photo, the clip the still's
// companion; with `pair_raw` a JPEG and a camera RAW of the same name are a camera's RAW+JPEG
// pair, the RAW the JPEG's companion. Every other name is a picture of its own.
std::vector<SourceGroup> GroupSourcePictures(const std::vector<std::string>& names, bool pair_raw);

// Hands every listed picture to the run with its path and its file date ("March 5, 2001", or ""
// when the date cannot be read), asking for the photo's own descriptions, stopping after the
// picture in hand when asked. The list is complete before the first picture is processed.
// A live photo's clip and (when the run pairs them) a RAW+JPEG pair's RAW go with their
// picture as its companion, not as pictures of their own.
Status ScanSourceDirectory(ImportRun& run);

}  // namespace lumvane

#endif  // LUMVANE_IMPORTERS_SOURCE_SCAN_H_
