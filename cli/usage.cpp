#include "cli/usage.h"

#include <algorithm>
#include <vector>

namespace lumvane {
namespace {

// Each option's lines of help, once, for every command that takes it.
struct Option {
  std::string_view name;
  std::string_view text;
};
constexpr Option kOptions[] = {
    {"--copy",
     "      --copy no|keep|rename  copy the originals into DEST_DIR: no, keep their names,\n"
     "                or rename them to unique short names (the default when the folders\n"
     "                differ)\n"},
    {"--no-embedded",
     "      --no-embedded  leave out the photos' own descriptions: empty texts, the files'\n"
     "                modified dates\n"},
    {"--source", "      --source DIR  read every picture from DIR, not where the catalog says\n"},
    {"--drive",
     "      --drive X=DIR  read the catalog's Windows drive X: from the folder DIR, for\n"
     "                this run, before the saved locations\n"},
    {"--volume",
     "      --volume LABEL=DIR  read the catalog's volume labelled LABEL from DIR, for this\n"
     "                run, before the saved locations\n"},
    {"--replace",
     "      --replace replace an archive of DEST_DIR's own pictures (kept in its\n"
     "                history); without it such an archive is left alone\n"},
    {"--with-deleted",
     "      --with-deleted  bring back the records deleted in the editor, which a\n"
     "                run into the same archive otherwise leaves out\n"},
    {"--jobs", "      --jobs N  make the images on N threads (default: one per core)\n"},
    {"--force",
     "      --force   make every display image and thumbnail again; without it, those of\n"
     "                unchanged originals already in DEST_DIR are kept\n"},
    {"--jpeg-only",
     "      --jpeg-only  archive JPEG pictures alone; without it HEIC, AVIF, PNG, TIFF, GIF,\n"
     "                BMP and WebP pictures are archived as well\n"},
    {"--verbose", "      --verbose list every picture that was passed over, with the reason\n"},
    {"--quiet", "      --quiet   print nothing but errors\n"},
    {"--list", "      --list    one line per record: number, title, date, thumbnail\n"},
    {"--show", "      --show N  the editor's boxes of record N\n"},
    {"--set",
     "      --set N FIELD=VALUE...  store the values in record N; FIELD is one of title,\n"
     "                keywords, category, comment, author, date\n"},
    {"--delete", "      --delete N  remove record N\n"},
    {"--forget", "      --forget X|LABEL  remove the saved location of a drive or volume\n"},
};

struct Command {
  std::string_view name, synopsis, purpose;
  std::vector<std::string_view> options;
};

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"scan",
       "  lumvane scan SOURCE_DIR DEST_DIR [--copy no|keep|rename] [--no-embedded]\n"
       "               [--with-deleted] [--jobs N] [--force] [--jpeg-only]\n"
       "               [--verbose|--quiet]\n",
       "      Make DEST_DIR/archive.htm from every picture in SOURCE_DIR (JPEG, HEIC, PNG,\n"
       "      TIFF, GIF, BMP, WebP), with the titles, keywords, captions, authors and capture\n"
       "      dates the photos carry.\n",
       {"--copy", "--no-embedded", "--with-deleted", "--jobs", "--force", "--jpeg-only",
        "--verbose", "--quiet"}},
      {"catalog",
       "  lumvane catalog CATALOG_FILE DEST_DIR [--source DIR] [--copy no|keep|rename]\n"
       "                  [--drive X=DIR]... [--volume LABEL=DIR]... [--jobs N] [--force]\n"
       "                  [--with-deleted] [--jpeg-only] [--verbose|--quiet]\n",
       "      Make DEST_DIR/archive.htm from a catalog: tab-delimited text (.txt), a\n"
       "      ThumbsPlus V3 database (.tDB) or V4 export (.csv), a Photo Organizer library\n"
       "      (.plb), an EasyPhoto or Adobe Gallery file (.GAL) or a PhotoRecall database\n"
       "      (.mdb). Pictures are read where the catalog says (its drives and volumes\n"
       "      where the saved locations say), or from DIR with --source.\n",
       {"--source", "--copy", "--drive", "--volume", "--with-deleted", "--jobs", "--force",
        "--jpeg-only", "--verbose", "--quiet"}},
      {"master",
       "  lumvane master DEST_DIR [--replace] [--with-deleted] [--verbose|--quiet]\n",
       "      Make DEST_DIR/archive.htm over the archives in the subfolders of DEST_DIR.\n",
       {"--replace", "--with-deleted", "--verbose", "--quiet"}},
      {"edit",
       "  lumvane edit ARCHIVE_DIR [--list | --show N | --set N FIELD=VALUE... | --delete N]\n",
       "      Correct ARCHIVE_DIR/archive.htm: without an option in the editor window.\n",
       {"--list", "--show", "--set", "--delete"}},
      {"history",
       "  lumvane history ARCHIVE_DIR\n",
       "      List the earlier versions of ARCHIVE_DIR/archive.htm that its history\n"
       "      keeps: each run, master, edit or restore that replaces the archive keeps\n"
       "      the one it replaces.\n",
       {}},
      {"restore",
       "  lumvane restore ARCHIVE_DIR N\n",
       "      Bring back version N of the history; the archive it replaces is kept as\n"
       "      the newest version.\n",
       {}},
      {"locations",
       "  lumvane locations [--drive X=DIR]... [--volume LABEL=DIR]... [--forget X|LABEL]...\n",
       "      List the saved locations, from which every catalog run reads a Windows drive\n"
       "      or volume (the window saves them too); --drive and --volume save one.\n",
       {"--drive", "--volume", "--forget"}},
  };
  return commands;
}

std::string Block(const Command& command) {
  std::string text = std::string(command.synopsis) + std::string(command.purpose);
  for (const std::string_view name : command.options) {
    const auto option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                     [name](const Option& o) { return o.name == name; });
    text += option->text;
  }
  return text;
}

}  // namespace

std::string CommandUsage(std::string_view name) {
  for (const Command& command : Commands()) {
    if (command.name == name) return "Usage:\n" + Block(command);
  }
  return "";
}

std::string UsageText() {
  std::string text = "Usage:\n";
  for (const Command& command : Commands()) text += Block(command);
  return text +
         "  lumvane                   open the window\n"
         "  lumvane --help | --version\n"
         "  lumvane COMMAND --help    the help of one command\n"
         "  --        ends the options, for folder names that begin with '-'\n"
         "Ctrl-C (or SIGTERM, SIGHUP) stops a run after the picture in hand; the archive is\n"
         "still complete. A run that fails leaves the archive folder as it was.\n";
}

}  // namespace lumvane
