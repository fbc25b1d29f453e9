// SPDX-License-Identifier: GPL-3.0-or-later
// "Locate...": the user shows where one missing picture of a catalog made on Windows is now;
// the folder of its drive or volume follows, is saved, and the run can be made again.
#ifndef LUMVANE_SHELL_LOCATE_MISSING_H_
#define LUMVANE_SHELL_LOCATE_MISSING_H_

#include <QWidget>
#include <vector>

#include "locations/volumes.h"
#include "run/run_state.h"

namespace lumvane {

// Asks for the folder of the first missing picture of the drive or volume with the most
// missing pictures (a folder dialog that shows files too, starting in `catalog_folder` with
// the mounted `volumes` beside it, titled with the picture's Windows path), infers and saves that
// drive's or volume's folder, says how many of its missing pictures are found there, and asks
// whether to run again. A choice that gives no folder is explained and asked again. True when the
// user wants the run made again.
bool LocateMissingPictures(QWidget* parent, const RunState& state,
                           const std::vector<Volume>& volumes, const QString& catalog_folder);

}  // namespace lumvane

#endif  // LUMVANE_SHELL_LOCATE_MISSING_H_
