#include "cli/options.h"

namespace lumvane {

const char* UsageText() {
  return "Usage:\n"
         "  lumvane scan SOURCE_DIR DEST_DIR [--copy no|keep|rename] [--verbose|--quiet]\n"
         "      Make DEST_DIR/archive.htm from every JPEG picture in SOURCE_DIR.\n"
         "      --copy    copy the originals into DEST_DIR: no, keep their names, or rename\n"
         "                them to unique short names (the default when the folders differ)\n"
         "      --verbose list every picture that was passed over, with the reason\n"
         "      --quiet   print nothing but errors\n"
         "  lumvane --help | --version\n"
         "Ctrl-C stops a run after the picture in hand; the archive is still complete.\n";
}

namespace {

std::optional<int> ParseCopyMode(const std::string& word) {
  if (word == "no") return 0;
  if (word == "keep") return 1;
  if (word == "rename") return 2;
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ParseOptions(const std::vector<std::string>& args,
                                        CliOptions* options) {
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options->command = CliOptions::Command::kHelp;
      return std::nullopt;
    }
    if (arg == "--version") {
      options->command = CliOptions::Command::kVersion;
      return std::nullopt;
    }
    if (arg == "--verbose" || arg == "-v") {
      options->verbose = true;
    } else if (arg == "--quiet" || arg == "-q") {
      options->quiet = true;
    } else if (arg == "--copy" || arg.starts_with("--copy=")) {
      std::string value = arg == "--copy" ? (i + 1 < args.size() ? args[++i] : "") : arg.substr(7);
      options->copy_mode = ParseCopyMode(value);
      if (!options->copy_mode) return "--copy takes no, keep or rename, not '" + value + "'";
    } else if (arg.starts_with("-") && arg.size() > 1) {
      return "unknown option " + arg;
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.empty()) return "no command given";
  if (positional[0] != "scan") return "unknown command " + positional[0];
  if (positional.size() != 3) return "scan takes SOURCE_DIR and DEST_DIR";
  if (options->verbose && options->quiet) return "--verbose and --quiet exclude each other";
  options->command = CliOptions::Command::kScan;
  options->source_dir = positional[1];
  options->dest_dir = positional[2];
  return std::nullopt;
}

}  // namespace lumvane
