// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's words, parsed by QCommandLineParser from the one description of its
// commands and options (command_line.h).
#ifndef LUMVANE_CLI_OPTIONS_H_
#define LUMVANE_CLI_OPTIONS_H_

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "pictures/copy_mode.h"
#include "platform/status.h"

namespace lumvane {

struct CliOptions {
  enum class Command {
    kNone,
    kScan,
    kCatalog,
    kMaster,
    kEdit,
    kLocations,
    kHistory,
    kRestore,
    kHelp,
    kVersion
  };
  enum class EditAction { kWindow, kList, kShow, kSet, kDelete };
  Command command = Command::kNone;
  std::string catalog_path;                    // catalog: the catalog file
  std::string source_dir;                      // scan: the folder; catalog: --source ("" without)
  std::string dest_dir;                        // the archive folder (master: the master's folder)
  std::map<char, std::string> drives;          // --drive X=DIR
  std::map<std::string, std::string> volumes;  // --volume LABEL=DIR
  std::vector<std::string> forget;             // locations: --forget D|LABEL
  std::optional<CopyMode> copy_mode;           // --copy no|keep|rename
  bool read_embedded = true;                   // scan: false with --no-embedded
  int jobs = 0;                // --jobs N: threads for the image work (0: one per core)
  bool force = false;          // --force: render every picture again
  bool jpeg_only = false;      // --jpeg-only: pictures of other formats are passed over
  bool replace = false;        // master --replace: a master may replace an archive of pictures
  bool with_deleted = false;   // --with-deleted: records deleted in the editor come back
  bool clip_previews = false;  // --clip-previews: web copies of clips browsers cannot play
  bool pair_raw = false;       // scan --pair-raw: a RAW+JPEG pair is one picture
  bool recursive = false;      // scan --recursive: every folder below SOURCE_DIR, with masters
  bool dry_run = false;        // --dry-run: say what the run would do, write nothing
  EditAction edit_action = EditAction::kWindow;
  std::string edit_record;  // N of --show, --set, --delete; restore: the version
  std::vector<std::pair<std::string, std::string>> edit_values;  // FIELD=VALUE of --set
  std::string help_topic;  // COMMAND --help: that command's name; "" for the whole help
  bool verbose = false;
  bool quiet = false;
};

// Parses the arguments after the program name: the command first, then its arguments and
// options in any order; "--" ends the options. A usage error is kInvalidInput, with a
// one-line message.
StatusOr<CliOptions> ParseOptions(const std::vector<std::string>& args);

}  // namespace lumvane

#endif  // LUMVANE_CLI_OPTIONS_H_
