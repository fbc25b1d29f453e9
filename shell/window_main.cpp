// SPDX-License-Identifier: GPL-3.0-or-later
// lumvane-window: the window, started by `lumvane` without a command (the splash, then the
// main window) or by `lumvane edit DIR` (the archive editor).
#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "editor/archive_editor.h"
#include "locations/volumes.h"
#include "lumvane/version.h"
#include "run/picture_pipeline.h"
#include "run/run_driver.h"
#include "shell/frm_archive.h"
#include "shell/frm_edit_html.h"
#include "shell/frm_splash.h"

namespace {

// The archive editor's window on FOLDER/archive.htm; Done ends the program.
int OpenEditorWindow(int argc, char** argv, const std::string& folder) {
  lumvane::ArchiveEditor model;
  if (const lumvane::Status loaded = model.Load(folder); !loaded.ok()) {
    std::fprintf(stderr, "lumvane: %s\n", loaded.message().c_str());
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("Lumvane");
  QApplication::setWindowIcon(lumvane::ApplicationIcon());
  lumvane::FrmEditHtml editor(std::move(model), nullptr);
  QObject::connect(&editor, &lumvane::FrmEditHtml::closed, &app, &QApplication::quit);
  editor.show();
  return app.exec();
}

// The window: the splash first, then the main window until Exit.
int OpenMainWindow(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Lumvane");
  QApplication::setApplicationVersion(lumvane::kVersion);
  QApplication::setWindowIcon(lumvane::ApplicationIcon());
  lumvane::FrmArchive window(lumvane::DefaultRunEnvironment(), lumvane::MountedVolumes);
  window.RestoreSession();
  lumvane::FrmSplash splash(&window);
  splash.show();
  return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
  lumvane::ReturnFreedPictureMemory();
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return OpenMainWindow(argc, argv);
  // lumvane starts the editor as "edit FOLDER", the folder absolute.
  if (args.size() != 2 || args[0] != "edit") {
    std::fprintf(stderr, "lumvane-window: start it through lumvane\n");
    return 2;
  }
  return OpenEditorWindow(argc, argv, args[1]);
}
