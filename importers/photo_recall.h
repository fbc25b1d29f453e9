// SPDX-License-Identifier: GPL-3.0-or-later
// The PhotoRecall catalog (.mdb): the table "GA_PicInfo" of a Jet database, one picture per
// row with a path in its "Source" column.
#ifndef LUMVANE_IMPORTERS_PHOTO_RECALL_H_
#define LUMVANE_IMPORTERS_PHOTO_RECALL_H_

#include <string>

#include "importers/import_run.h"
#include "platform/status.h"

namespace lumvane {

// "January 1, 2000" for the engine's "2000-01-01 00:00:00"; any other text as it stands.
std::string PhotoRecallDate(const std::string& value);

// Hands one picture per row of "GA_PicInfo" to the run, in the table's order, skipping rows
// whose "Source" is NULL; a NULL "DateCreated" takes the date of the file at "Source". Stops
// after the picture in hand when asked. No such table: no picture, no error. A file that is no
// readable database, a table without one of the seven columns, or a table that cannot be read
// to its end gives an error naming the catalog; the pictures before it stay.
Status ReadPhotoRecall(ImportRun& run);

}  // namespace lumvane

#endif  // LUMVANE_IMPORTERS_PHOTO_RECALL_H_
