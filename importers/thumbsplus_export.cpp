// SPDX-License-Identifier: GPL-3.0-or-later
#include "importers/thumbsplus_export.h"

#include "importers/catalog_columns.h"
#include "importers/volume_place.h"
#include "locations/label_to_drive.h"
#include "platform/file_time.h"

namespace lumvane {

std::array<std::string, 24> SplitExportLine(std::string_view line) {
  std::array<std::string, 24> columns;
  SplitColumns(line, ',', /*quotes_protect=*/true, columns);
  return columns;
}

Status ReadThumbsPlusExport(ImportRun& run) {
  bool header_expected = true;
  return ForEachCatalogLine(run, [&](std::string_view line) {
    const std::array<std::string, 24> columns = SplitExportLine(line);
    const std::string& label = columns[0];
    if (header_expected && label == "Label") {
      header_expected = false;
      return;
    }
    if (label.empty() && columns[5].empty() && columns[21].empty()) return;
    PictureInput picture;
    PlaceOnVolume(run, label, run.LabelToDrive(label), WithinVolume(columns[5], columns[21]),
                  &picture);
    picture.subject = columns[23];
    picture.comment = columns[22];
    if (const auto changed = FileModifiedLocal(run.Locate(picture.source))) {
      picture.picdate = FormatLongDate(*changed);
    }
    run.Process(picture);
  });
}

}  // namespace lumvane
