// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/run_driver.h"

#include <exception>
#include <filesystem>

#include "importers/gallery_catalog.h"
#include "importers/photo_organizer_library.h"
#include "importers/photo_recall.h"
#include "importers/source_scan.h"
#include "importers/tab_catalog.h"
#include "importers/thumbsplus_database.h"
#include "importers/thumbsplus_export.h"
#include "master/make_master.h"
#include "page/archive_writer.h"
#include "page/edit_log.h"
#include "page/page_writer.h"
#include "platform/directory_listing.h"
#include "platform/paths.h"
#include "run/catalog_types.h"
#include "run/picture_run.h"
#include "run/run_summary.h"

namespace lumvane {
namespace {

bool IsCatalogMode(Mode mode) {
  return mode == Mode::kCatalogOriginalPaths || mode == Mode::kCatalogSourceDir;
}

// What a run reads and writes.
struct RunFiles {
  std::string dest;
  std::string catalog_path;  // catalog modes only
  CatalogFile catalog;
  bool reads_own_catalog = false;  // the catalog is the destination's own archive.txt
  ArchiveWriter writer;
  EditLog edits;  // the editor's changes to the destination's archive
};

// How the importer ended: its own error, and the destination's.
struct Imported {
  Status importer;
  Status destination;
  std::string count_shown;  // the count the status showed, "" when none
};

// Steps before any file is touched: selection, editor hand-over, type. False ends the run.
bool CheckSelection(RunWindow& window, const Importers& importers) {
  const Mode mode = window.mode();
  const std::string file = window.catalog_file();
  const bool needs_file = IsCatalogMode(mode) || mode == Mode::kEdit;
  if (needs_file && file.empty()) {
    window.ShowMessage(mode == Mode::kEdit ? "Select Archive File" : "Select Catalog File");
    return false;
  }
  if (needs_file && file == "archive.htm") {
    window.OpenEditor(WithTrailingSeparator(window.catalog_dir()));
    return false;
  }
  if (mode == Mode::kSourceScan || mode == Mode::kMaster) return true;
  const std::string type = CatalogTypeOf(file);
  if (type.empty() || mode == Mode::kEdit) {
    window.ShowMessage(std::string("Catalog file type not supported") + "\r" + kCatalogTypesRead);
    return false;
  }
  if (!importers.catalog_readers.contains(type)) {
    window.ShowMessage("Reading " + type + " catalogs is not available in this version yet.");
    return false;
  }
  return true;
}

// The Copy Originals question, when originals can be copied. False when it was cancelled.
bool AskCopyQuestion(RunWindow& window, RunState& state) {
  const Mode mode = window.mode();
  const bool asks = mode == Mode::kCatalogOriginalPaths ||
                    ((mode == Mode::kCatalogSourceDir || mode == Mode::kSourceScan) &&
                     window.source_dir() != window.dest_dir());
  if (!asks) return true;
  state.copy_mode = window.AskCopyOriginals();
  return state.copy_mode != CopyMode::kCancelled;
}

bool SamePath(const std::string& a, const std::string& b) {
  std::error_code error;
  return a == b || std::filesystem::equivalent(a, b, error);
}

// Opens the catalog, asking Retry/Cancel while another program holds it.
bool OpenCatalog(RunWindow& window, RunFiles& files) {
  const std::string name = window.catalog_file();
  while (true) {
    const Status opened = files.catalog.Open(files.catalog_path);
    if (opened.ok()) return true;
    if (opened.code() != StatusCode::kBusy) {
      window.ShowMessage(name + " Error " + std::to_string(CatalogFile::ErrorNumber(opened)) +
                         ": " + opened.message());
      return false;
    }
    if (!window.AskRetry(name + " is currently open by another program.\r" +
                         "Please close the file and try again.")) {
      return false;
    }
  }
}

// Opens what the run reads: the catalog, the source folder, or for a master the destination
// with its subfolders. False ends the run before anything in the destination is touched.
bool OpenSource(RunWindow& window, RunFiles& files) {
  const Mode mode = window.mode();
  if (IsCatalogMode(mode)) {
    files.catalog_path = JoinPath(window.catalog_dir(), window.catalog_file());
    const bool database = CatalogTypeOf(window.catalog_file()) == ".mdb";
    if (!database && !OpenCatalog(window, files)) return false;
    files.reads_own_catalog = SamePath(files.catalog_path, JoinPath(files.dest, "archive.txt"));
    return true;
  }
  if (mode == Mode::kSourceScan || mode == Mode::kMaster) {
    const std::string read = mode == Mode::kMaster ? files.dest : window.source_dir();
    if (Status status = CheckReadableFolder(read); !status.ok()) {
      window.ShowMessage(status.message());
      return false;
    }
  }
  return true;
}

Imported Dispatch(RunWindow& window, RunState& state, const RunEnvironment& environment,
                  RunFiles& files) {
  PictureTarget target;
  target.dest_dir = files.dest;
  if (window.mode() == Mode::kCatalogSourceDir) target.source_dir = window.source_dir();
  target.copy_mode = state.copy_mode;
  target.reuse_images = !environment.render_again;
  target.jpeg_only = environment.jpeg_only;
  target.pair_raw = environment.pair_raw;
  target.clip_previews = environment.clip_previews;
  PictureRun::Sources sources;
  sources.catalog = files.catalog.is_open() ? &files.catalog : nullptr;
  sources.catalog_path = files.catalog_path;
  sources.drives = environment.drive_map;
  sources.volumes = environment.volumes;
  sources.volume_folders = environment.volume_folders;
  sources.read_embedded = environment.read_embedded;
  sources.workers = environment.workers > 0 ? environment.workers : DefaultWorkerCount();
  sources.edits = &files.edits;
  sources.with_deleted = environment.with_deleted;
  sources.dry_run = environment.dry_run;
  PictureRun run(window, state, files.writer, target, std::move(sources));
  const Importers& importers = environment.importers;
  Imported imported;
  try {
    switch (window.mode()) {
      case Mode::kSourceScan:
        imported.importer = importers.scan(run);
        break;
      case Mode::kMaster:
        // a master's archive.txt has its header even when empty
        if (!environment.dry_run) files.writer.StartCatalog();
        imported.importer = importers.master(run);
        break;
      default:
        imported.importer = importers.catalog_readers.at(CatalogTypeOf(window.catalog_file()))(run);
    }
  } catch (const std::exception& error) {
    imported.importer =
        Status::Error(StatusCode::kInternal, std::string("The run failed: ") + error.what());
  }
  run.Finish();
  state.expected_pictures = window.mode() == Mode::kMaster ? -1 : run.expected();
  imported.destination = run.failure();
  imported.count_shown = run.count_shown();
  return imported;
}

// What the archive's history notes as having replaced an archive in `mode`.
const char* CommandName(Mode mode) {
  switch (mode) {
    case Mode::kSourceScan:
      return "scan";
    case Mode::kMaster:
      return "master";
    default:
      return "catalog";
  }
}

// A master replaces an archive of pictures only when the user agrees, and keeps it. Asked
// under the folder's lock, so that the archive asked about is the one replaced.
bool ConfirmMasterOverArchive(RunWindow& window, ArchiveWriter& writer) {
  const ArchiveSurvey earlier = SurveyArchive(writer.dest());
  if (!earlier.own_pictures) return true;
  if (!window.ConfirmMasterOver(JoinPath(writer.dest(), "archive.htm"), earlier.records)) {
    writer.Abandon();
    return false;
  }
  return true;
}

// " Done!" after the count, or alone when no picture was counted.
void ShowDone(RunWindow& window, const Imported& imported) {
  window.set_status(imported.count_shown + " Done!");
}

// A run that archived nothing leaves an archive with pictures as it was, and says why.
void KeepTheEarlierArchive(RunWindow& window, RunState& state, RunFiles& files,
                           const Imported& imported) {
  files.writer.Abandon();
  state.outcome = RunOutcome::kNothingArchived;
  ShowDone(window, imported);
  std::string text =
      "No pictures were archived; the archive in " + files.dest + " was left as it was.";
  if (!state.passed_over.empty()) text += "\r" + RunSummaryLine(state);
  window.ReportNothingArchived(text, state);
}

// Puts the archive in place, or abandons it when the run failed before its first picture or
// its destination failed. Every failure is reported.
void FinishRun(RunWindow& window, RunState& state, const RunEnvironment& environment,
               RunFiles& files, const Imported& imported) {
  files.catalog.Close();
  const Status& fatal = !imported.destination.ok() ? imported.destination : imported.importer;
  if (!imported.destination.ok() || (!imported.importer.ok() && files.writer.records() == 0)) {
    files.writer.Abandon();
    state.outcome = RunOutcome::kFailed;
    window.set_status("");
    window.ShowMessage(fatal.message());
    return;
  }
  if (files.writer.records() == 0 && SurveyArchive(files.dest).records > 0) {
    KeepTheEarlierArchive(window, state, files, imported);
    return;
  }
  const Status texture = files.writer.AddTexture(environment.texture);
  state.stopped = window.StopRequested();
  const Status committed = files.writer.Commit(state.stopped);
  state.archive_written = committed.ok();
  state.earlier_pictures = files.writer.earlier_records();
  state.kept_version = committed.ok() ? files.writer.kept().number : 0;
  state.dropped_versions.clear();
  for (const Generation& dropped : files.writer.dropped()) {
    state.dropped_versions.push_back(DescribeGeneration(dropped));
  }
  if (committed.ok() && state.stopped) window.set_status(StoppedLine(state));
  if (committed.ok() && !state.stopped) ShowDone(window, imported);
  if (!committed.ok()) window.set_status("");
  state.outcome = RunOutcome::kWritten;
  for (const Status* status : {&imported.importer, &texture, &committed}) {
    if (status->ok()) continue;
    state.outcome = RunOutcome::kFailed;
    window.ShowMessage(status->message());
  }
  if (state.archive_written) window.ReportRun(state);
}

// A dry run: the importer hands over every picture as in a run, which plans each and tallies
// what it would make, copy and keep in state.dry; the destination is only read.
void DryRun(RunWindow& window, RunState& state, const RunEnvironment& environment,
            RunFiles& files) {
  state.dry = DryRunFigures();
  const ArchiveSurvey earlier = SurveyArchive(files.dest);
  if (window.mode() == Mode::kMaster && earlier.own_pictures &&
      !window.ConfirmMasterOver(JoinPath(files.dest, "archive.htm"), earlier.records)) {
    return;
  }
  state.dry.earlier_pictures = earlier.records;
  state.dry.earlier_master = earlier.records > 0 && !earlier.own_pictures;
  window.set_go_state(GoState::kRunning);
  const Imported imported = Dispatch(window, state, environment, files);
  files.catalog.Close();
  window.set_go_state(GoState::kIdle);
  const Status& fatal = !imported.destination.ok() ? imported.destination : imported.importer;
  if (!fatal.ok()) {
    state.outcome = RunOutcome::kFailed;
    window.ShowMessage(fatal.message());
    return;
  }
  state.outcome = RunOutcome::kSurveyed;
}

}  // namespace

const char* GoCaption(GoState state) {
  switch (state) {
    case GoState::kIdle:
      return "Go";
    case GoState::kRunning:
      return "Stop";
    case GoState::kStopRequested:
      return "Stopping...";
  }
  return "";
}

RunEnvironment DefaultRunEnvironment() {
  RunEnvironment environment;
  environment.importers.scan = ScanSourceDirectory;
  environment.importers.master = MakeMaster;
  environment.importers.catalog_readers[".txt"] = ReadTabCatalog;
  environment.importers.catalog_readers[".csv"] = ReadThumbsPlusExport;
  environment.importers.catalog_readers[".plb"] = ReadPhotoOrganizerLibrary;
  environment.importers.catalog_readers[".GAL"] = ReadGalleryCatalog;
  environment.importers.catalog_readers[".tDB"] = ReadThumbsPlusDatabase;
  environment.importers.catalog_readers[".mdb"] = ReadPhotoRecall;
  environment.volumes = MountedVolumes;
  environment.texture = FindTexture();
  return environment;
}

void GoClick(RunWindow& window, RunState& state, const RunEnvironment& environment) {
  if (window.go_state() == GoState::kIdle) {
    RunDriver(window, state, environment);
  } else {
    window.set_go_state(GoState::kStopRequested);
  }
}

void RunDriver(RunWindow& window, RunState& state, const RunEnvironment& environment) {
  window.set_status("");
  state.outcome = RunOutcome::kRefused;
  state.archive_written = state.stopped = false;
  state.earlier_pictures = state.kept_version = 0;
  state.dropped_versions.clear();
  state.expected_pictures = -1;
  if (!CheckSelection(window, environment.importers)) return;
  if (!AskCopyQuestion(window, state)) return;
  RunFiles files;
  files.dest = window.dest_dir();
  if (!OpenSource(window, files)) return;
  if (environment.dry_run) return DryRun(window, state, environment, files);
  if (Status status = files.writer.Open(files.dest, files.reads_own_catalog); !status.ok()) {
    window.ShowMessage(status.message());
    return;
  }
  if (window.mode() == Mode::kMaster && !ConfirmMasterOverArchive(window, files.writer)) return;
  if (Status status = EditLog::Load(files.dest, &files.edits); !status.ok()) {
    files.writer.Abandon();
    window.ShowMessage(status.message());
    return;
  }
  files.writer.SaveEditLogAtCommit(&files.edits, /*before_pair=*/false);
  files.writer.KeepEarlierAs(CommandName(window.mode()));
  window.set_go_state(GoState::kRunning);
  const Imported imported = Dispatch(window, state, environment, files);
  FinishRun(window, state, environment, files, imported);
  window.set_go_state(GoState::kIdle);
}

}  // namespace lumvane
