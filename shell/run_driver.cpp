#include "shell/run_driver.h"

#include <array>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "importers/source_scan.h"
#include "importers/tab_catalog.h"
#include "importers/thumbsplus_export.h"
#include "page/page_writer.h"
#include "platform/paths.h"
#include "shell/picture_run.h"

namespace lumvane {
namespace {

constexpr const char* kCatalogTypes[] = {".txt", ".plb", ".GAL", ".tDB", ".csv", ".mdb"};

bool IsCatalogMode(Mode mode) {
  return mode == Mode::kCatalogOriginalPaths || mode == Mode::kCatalogSourceDir;
}

// The files of one run. Page and tab catalog are written beside their final names and only
// replace them when the run ends, so an abandoned or failed run keeps the earlier archive.
struct RunFiles {
  std::string dest;
  std::string catalog_path;  // catalog modes only
  CatalogFile catalog;
  ReplacingFile page;
  ReplacingFile tab;
  bool replaces_own_catalog = false;  // the catalog is the destination's own archive.txt
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
  if (mode == Mode::kSourceScan) return true;
  if (mode == Mode::kMaster) {
    if (importers.master) return true;
    window.ShowMessage("Master archives are not available in this version yet.");
    return false;
  }
  const std::string type = CatalogTypeOf(file);
  if (type.empty() || mode == Mode::kEdit) {
    window.ShowMessage("Catalog file type not supported");
    return false;
  }
  if (!importers.catalog_readers.contains(CatalogTypeOf(JoinPath(window.catalog_dir(), file)))) {
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
  state.CopyMode = window.AskCopyOriginals(state.CopyMode);
  return state.CopyMode >= 0;
}

bool SamePath(const std::string& a, const std::string& b) {
  std::error_code error;
  return a == b || std::filesystem::equivalent(a, b, error);
}

// Opens the catalog as file 2, asking Retry/Cancel while another program holds it.
bool OpenCatalog(RunWindow& window, RunFiles& files) {
  const std::string name = window.catalog_file();
  while (true) {
    switch (files.catalog.Open(files.catalog_path)) {
      case CatalogFile::OpenResult::kOpened:
        return true;
      case CatalogFile::OpenResult::kInUse:
        if (window.AskRetry(name + " is currently open by another program.\r" +
                            "Please close the file and try again.")) {
          continue;
        }
        return false;
      case CatalogFile::OpenResult::kFailed:
        window.ShowMessage(name + " Error " + std::to_string(files.catalog.error_number()));
        return false;
    }
  }
}

// Opens the page (head written), the catalog and the tab catalog. False ends the run with
// nothing in the destination changed.
bool OpenRunFiles(RunWindow& window, RunFiles& files) {
  if (Status status = files.page.Open(JoinPath(files.dest, "archive.htm")); !status.ok()) {
    window.ShowMessage(status.message());
    return false;
  }
  WritePageHead(files.page);
  std::string tab_name = "archive.txt";
  if (IsCatalogMode(window.mode())) {
    files.catalog_path = JoinPath(window.catalog_dir(), window.catalog_file());
    const bool database = files.catalog_path.find(".mdb") != std::string::npos;
    if (!database && !OpenCatalog(window, files)) return false;
    files.replaces_own_catalog = SamePath(files.catalog_path, JoinPath(files.dest, "archive.txt"));
    if (files.replaces_own_catalog) tab_name = "archive2.txt";
  }
  if (Status status = files.tab.Open(JoinPath(files.dest, tab_name)); !status.ok()) {
    window.ShowMessage(status.message());
    return false;
  }
  return true;
}

Status Dispatch(RunWindow& window, RunState& state, const RunEnvironment& environment,
                RunFiles& files) {
  PictureTarget target;
  target.dest_dir = files.dest;
  if (window.mode() == Mode::kCatalogSourceDir) target.source_dir = window.source_dir();
  target.copy_mode = state.CopyMode;
  target.page = &files.page;
  target.tab = &files.tab;
  PictureRun::Sources sources;
  sources.catalog = files.catalog.is_open() ? &files.catalog : nullptr;
  sources.catalog_path = files.catalog_path;
  sources.drives = environment.drive_map;
  sources.volumes = environment.volumes;
  PictureRun run(window, state, target, std::move(sources));
  const Importers& importers = environment.importers;
  switch (window.mode()) {
    case Mode::kSourceScan:
      return importers.scan(run);
    case Mode::kMaster:
      return importers.master(run);
    default:
      return importers.catalog_readers.at(CatalogTypeOf(files.catalog_path))(run);
  }
}

// Closes the run: tab catalog (and its swap), texture, " Done!", page tail. Every failure is
// reported; the page is completed whatever happened before.
void FinishRun(RunWindow& window, const RunEnvironment& environment, RunFiles& files,
               const Status& imported) {
  files.catalog.Close();
  Status tab = files.tab.Commit();
  if (tab.ok() && files.replaces_own_catalog && window.go_caption() != kGoStopRequested) {
    const std::string own = JoinPath(files.dest, "archive.txt");
    if (std::rename(JoinPath(files.dest, "archive2.txt").c_str(), own.c_str()) != 0) {
      tab = Status::Error("Cannot replace " + own);
    }
  }
  const Status texture = CopyTexture(environment.texture, files.dest);
  if (window.status() == "Running...") window.set_status("");
  window.set_status(window.status() + " Done!");
  WritePageTail(files.page);
  const Status page = files.page.Commit();
  for (const Status* status : std::array<const Status*, 4>{&imported, &tab, &texture, &page}) {
    if (!status->ok()) window.ShowMessage(status->message());
  }
}

}  // namespace

std::string CatalogTypeOf(const std::string& name) {
  for (const char* type : kCatalogTypes) {
    if (name.find(type) != std::string::npos) return type;
  }
  return "";
}

RunEnvironment DefaultRunEnvironment() {
  RunEnvironment environment;
  environment.importers.scan = ScanSourceDirectory;
  environment.importers.catalog_readers[".txt"] = ReadTabCatalog;
  environment.importers.catalog_readers[".csv"] = ReadThumbsPlusExport;
  environment.volumes = MountedVolumes;
  environment.texture = FindTexture();
  return environment;
}

void GoClick(RunWindow& window, RunState& state, const RunEnvironment& environment) {
  if (window.go_caption() == kGoIdle) {
    RunDriver(window, state, environment);
  } else {
    window.set_go_caption(kGoStopRequested);
  }
}

void RunDriver(RunWindow& window, RunState& state, const RunEnvironment& environment) {
  window.set_status("");
  if (!CheckSelection(window, environment.importers)) return;
  if (!AskCopyQuestion(window, state)) return;
  RunFiles files;
  files.dest = window.dest_dir();
  if (!OpenRunFiles(window, files)) return;
  window.set_go_caption(kGoRunning);
  Status imported;
  try {
    imported = Dispatch(window, state, environment, files);
  } catch (const std::exception& error) {
    imported = Status::Error(std::string("The run failed: ") + error.what());
  }
  FinishRun(window, environment, files, imported);
  window.set_go_caption(kGoIdle);
}

}  // namespace lumvane
