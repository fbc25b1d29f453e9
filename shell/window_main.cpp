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

constexpr char kDesktopId[] = "org.lumvane.Lumvane";

// Qt's command line: the program's name, and the X11 instance name of the desktop id, so that
// the window's WM_CLASS ("org.lumvane.Lumvane", "Lumvane") ties it to its menu entry. Lives as
// long as the application that takes it.
struct QtArguments {
  explicit QtArguments(const char* program) : words{program, "-name", kDesktopId} {
    for (std::string& word : words) pointers.push_back(word.data());
    pointers.push_back(nullptr);
  }
  std::vector<std::string> words;
  std::vector<char*> pointers;
  int count = 3;
};

// What both windows' applications share: name, desktop id (Wayland's app id), icon.
void NameApplication() {
  QApplication::setApplicationName("Lumvane");
  QApplication::setApplicationVersion(lumvane::kVersion);
  QApplication::setDesktopFileName(kDesktopId);
  QApplication::setWindowIcon(lumvane::ApplicationIcon());
}

// The archive editor's window on FOLDER/archive.htm; Done ends the program.
int OpenEditorWindow(const char* program, const std::string& folder) {
  lumvane::ArchiveEditor model;
  if (const lumvane::Status loaded = model.Load(folder); !loaded.ok()) {
    std::fprintf(stderr, "lumvane: %s\n", loaded.message().c_str());
    return 1;
  }
  QtArguments qt(program);
  QApplication app(qt.count, qt.pointers.data());
  NameApplication();
  lumvane::FrmEditHtml editor(std::move(model), nullptr);
  QObject::connect(&editor, &lumvane::FrmEditHtml::closed, &app, &QApplication::quit);
  editor.show();
  return app.exec();
}

// The window: the splash first, then the main window until Exit.
int OpenMainWindow(const char* program) {
  QtArguments qt(program);
  QApplication app(qt.count, qt.pointers.data());
  NameApplication();
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
  if (args.empty()) return OpenMainWindow(argv[0]);
  // lumvane starts the editor as "edit FOLDER", the folder absolute.
  if (args.size() != 2 || args[0] != "edit") {
    std::fprintf(stderr, "lumvane-window: start it through lumvane\n");
    return 2;
  }
  return OpenEditorWindow(argv[0], args[1]);
}
