// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_line.h"

#include <algorithm>

namespace lumvane {

const std::vector<OptionSpec>& Options() {
  static const std::vector<OptionSpec> options = {
      {"--copy", 0, "MODE",
       "copy the originals into DEST_DIR: no (the default), keep (their names) or rename (to "
       "unique short names)"},
      {"--recursive", 'r', "",
       "archive every folder below SOURCE_DIR that holds pictures, each into the same folder "
       "below DEST_DIR, with a master archive at each level above them; a run again redoes "
       "only the folders whose pictures changed"},
      {"--pair-raw", 0, "",
       "take a camera's RAW and JPEG of one name as one picture, the JPEG's, with the RAW as "
       "its original; without it they are two"},
      {"--clip-previews", 0, "",
       "make a copy that browsers play (H.264, at most 720p) of each clip they cannot (a "
       "phone's HEVC, a camcorder's MPEG-2), beside its display image; needs the ffmpeg "
       "program, takes about as long as the clip plays and some 20 MB a minute of clip"},
      {"--no-embedded", 0, "",
       "leave out the photos' own descriptions: empty texts, the files' modified dates"},
      {"--source", 0, "DIR", "read every picture from DIR, not where the catalog says"},
      {"--drive", 0, "X=DIR",
       "read the catalog's Windows drive X: from the folder DIR, for this run, before the "
       "saved locations"},
      {"--volume", 0, "LABEL=DIR",
       "read the catalog's volume labelled LABEL from DIR, for this run, before the saved "
       "locations"},
      {"--replace", 0, "",
       "replace an archive of DEST_DIR's own pictures (kept in its history); without it such "
       "an archive is left alone"},
      {"--with-deleted", 0, "",
       "bring back the records deleted in the editor, which a run into the same archive "
       "otherwise leaves out"},
      {"--dry-run", 'n', "",
       "say what the run would archive, copy, replace and keep, and the room it needs; "
       "write nothing"},
      {"--jobs", 'j', "N", "make the images on N threads (default: one per core)"},
      {"--force", 0, "",
       "make every display image and thumbnail again; without it, those of unchanged "
       "originals already in DEST_DIR are kept"},
      {"--jpeg-only", 0, "",
       "archive JPEG pictures alone; without it HEIC, AVIF, PNG, TIFF, GIF, BMP, WebP and "
       "RAW pictures and video clips are archived as well"},
      {"--verbose", 'v', "", "list every picture that was passed over, with the reason"},
      {"--quiet", 'q', "", "print nothing but errors"},
      {"--list", 0, "", "one line per record: number, title, date, thumbnail"},
      {"--show", 0, "N", "the editor's boxes of record N"},
      {"--set", 0, "N",
       "store the values FIELD=VALUE... given as arguments in record N; FIELD is one of "
       "title, keywords, category, comment, author, date"},
      {"--delete", 0, "N", "remove record N"},
      {"--forget", 0, "X|LABEL", "remove the saved location of a drive or volume"},
      {"--help", 'h', "", "show this help"},
  };
  return options;
}

namespace {

// `first`, then the options of every run that makes pictures.
std::vector<CommandOption> WithRunOptions(std::vector<CommandOption> first) {
  for (const char* name : {"--with-deleted", "--dry-run", "--jobs", "--force", "--jpeg-only",
                           "--clip-previews", "--verbose", "--quiet"}) {
    first.push_back({name});
  }
  return first;
}

}  // namespace

const std::vector<CommandSpec>& Commands() {
  static const std::vector<CommandSpec> commands = {
      {"scan", "SOURCE_DIR DEST_DIR",
       "Make DEST_DIR/archive.htm from every picture in SOURCE_DIR (JPEG, HEIC, PNG, TIFF, "
       "GIF, BMP, WebP, camera RAW) and every video clip (MP4, MOV, MKV, WebM, AVI, MTS), "
       "with the titles, keywords, captions, authors and capture dates they carry.",
       WithRunOptions({{"--recursive"}, {"--copy"}, {"--pair-raw"}, {"--no-embedded"}})},
      {"catalog", "CATALOG_FILE DEST_DIR",
       "Make DEST_DIR/archive.htm from a catalog: tab-delimited text (.txt), a ThumbsPlus V3 "
       "database (.tDB) or V4 export (.csv), a Photo Organizer library (.plb), an EasyPhoto "
       "or Adobe Gallery file (.GAL) or a PhotoRecall database (.mdb). Pictures are read "
       "where the catalog says (its drives and volumes where the saved locations say), or "
       "from DIR with --source.",
       WithRunOptions({{"--source"}, {"--copy"}, {"--drive"}, {"--volume"}})},
      {"master",
       "DEST_DIR",
       "Make DEST_DIR/archive.htm over the archives in the subfolders of DEST_DIR.",
       {{"--replace"}, {"--with-deleted"}, {"--dry-run"}, {"--verbose"}, {"--quiet"}}},
      {"edit",
       "ARCHIVE_DIR [FIELD=VALUE...]",
       "Correct ARCHIVE_DIR/archive.htm: in the editor window without an option, or with "
       "one of --list, --show, --set and --delete.",
       {{"--list"}, {"--show"}, {"--set"}, {"--delete"}}},
      {"history",
       "ARCHIVE_DIR",
       "List the earlier versions of ARCHIVE_DIR/archive.htm that its history keeps: each "
       "run, master, edit or restore that replaces the archive keeps the one it replaces.",
       {}},
      {"restore",
       "ARCHIVE_DIR N",
       "Bring back version N of the history; the archive it replaces is kept as the newest "
       "version.",
       {}},
      {"locations",
       "",
       "List the saved locations, from which every catalog run reads a Windows drive or "
       "volume (the window saves them too); --drive and --volume save one.",
       {{"--drive", "save DIR as the folder of the catalogs' Windows drive X:"},
        {"--volume", "save DIR as the folder of the catalogs' volume labelled LABEL"},
        {"--forget"}}},
  };
  return commands;
}

const OptionSpec* FindOption(std::string_view name) {
  const auto& options = Options();
  const auto found = std::find_if(options.begin(), options.end(),
                                  [name](const OptionSpec& option) { return option.name == name; });
  return found == options.end() ? nullptr : &*found;
}

const CommandSpec* FindCommand(std::string_view name) {
  const auto& commands = Commands();
  const auto found =
      std::find_if(commands.begin(), commands.end(),
                   [name](const CommandSpec& command) { return command.name == name; });
  return found == commands.end() ? nullptr : &*found;
}

}  // namespace lumvane
