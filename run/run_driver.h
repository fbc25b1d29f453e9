// SPDX-License-Identifier: GPL-3.0-or-later
// The run behind the Go button: checks the selection, asks the Copy Originals question, opens
// the source, then the archive's writer, hands over to one importer, and finishes a complete
// page even when the run was stopped. A run that fails before it has archived a picture, or
// whose destination cannot be written, leaves the destination as it was. Runs on the
// window's thread; yields to it once per picture.
#ifndef LUMVANE_RUN_RUN_DRIVER_H_
#define LUMVANE_RUN_RUN_DRIVER_H_

#include <functional>
#include <map>
#include <string>

#include "importers/import_run.h"
#include "locations/drive_map.h"
#include "locations/label_to_drive.h"
#include "platform/status.h"
#include "run/run_state.h"
#include "run/run_window.h"

namespace lumvane {

// An importer hands each picture of the run to run.Process and returns when done or when
// run.StopRequested(). A returned error ends the run with its message; the pictures archived
// before it are kept in a complete page.
using Importer = std::function<Status(ImportRun& run)>;

struct Importers {
  Importer scan;                                    // the source-folder mode
  Importer master;                                  // the master mode; empty while not available
  std::map<std::string, Importer> catalog_readers;  // by catalog type: ".txt", ".csv", ...
};

struct RunEnvironment {
  Importers importers;
  std::string texture;           // Lumvane's texture.jpg ("" when missing)
  DriveMap drive_map;            // Windows drives of catalogs read from folders here
  VolumeSource volumes;          // the mounted volumes, for volume labels of catalogs
  VolumeFolders volume_folders;  // volumes the user placed in folders, asked before `volumes`
  bool read_embedded = true;     // a folder scan takes the photos' own descriptions and dates
  int workers = 0;               // threads for the image work; 0: one per core
  bool render_again = false;     // make every display image and thumbnail again, none reused
  bool jpeg_only = false;        // JPEG pictures alone; others are passed over
  bool pair_raw = false;         // a folder's RAW+JPEG pairs are one picture each
  bool clip_previews = false;    // clips browsers cannot play get a web copy
  bool with_deleted = false;     // records deleted in the editor come back
  bool dry_run = false;          // read the source, say what the run would do, write nothing
};

// The importers of this build and the installed texture.
RunEnvironment DefaultRunEnvironment();

// The Go button: starts a run when idle, otherwise asks the run to stop.
void GoClick(RunWindow& window, RunState& state, const RunEnvironment& environment);

// One whole run; the window is idle again when it returns. Every failure is shown through
// window.ShowMessage.
void RunDriver(RunWindow& window, RunState& state, const RunEnvironment& environment);

}  // namespace lumvane

#endif  // LUMVANE_RUN_RUN_DRIVER_H_
