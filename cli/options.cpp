#include "cli/options.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace lumvane {

namespace {

// "X=DIR" with a drive letter X.
bool ParseDrive(const std::string& value, std::map<char, std::string>* drives) {
  if (value.size() < 3 || value[1] != '=' || !std::isalpha(static_cast<unsigned char>(value[0]))) {
    return false;
  }
  (*drives)[static_cast<char>(std::toupper(static_cast<unsigned char>(value[0])))] =
      value.substr(2);
  return true;
}

// The value of an option given as "--name value" or "--name=value"; advances `i` past it.
std::optional<std::string> OptionValue(const std::vector<std::string>& args, size_t& i,
                                       const std::string& name) {
  if (args[i] == name) {
    if (i + 1 >= args.size()) return std::nullopt;
    return args[++i];
  }
  return args[i].substr(name.size() + 1);
}

bool IsOption(const std::string& arg, const std::string& name) {
  return arg == name || arg.starts_with(name + "=");
}

std::optional<CopyMode> ParseCopyMode(const std::string& word) {
  if (word == "no") return CopyMode::kNone;
  if (word == "keep") return CopyMode::kKeepNames;
  if (word == "rename") return CopyMode::kRename;
  return std::nullopt;
}

// Takes the option at args[i] (and its value). An error message for a usage error.
std::optional<std::string> ParseOption(const std::vector<std::string>& args, size_t& i,
                                       CliOptions* options) {
  const std::string& arg = args[i];
  if (arg == "--help" || arg == "-h") {
    options->command = CliOptions::Command::kHelp;
  } else if (arg == "--version") {
    options->command = CliOptions::Command::kVersion;
  } else if (arg == "--verbose" || arg == "-v") {
    options->verbose = true;
  } else if (arg == "--quiet" || arg == "-q") {
    options->quiet = true;
  } else if (arg == "--no-embedded") {
    options->read_embedded = false;
  } else if (arg == "--with-deleted") {
    options->with_deleted = true;
  } else if (arg == "--force") {
    options->force = true;
  } else if (arg == "--jpeg-only") {
    options->jpeg_only = true;
  } else if (arg == "--replace") {
    options->replace = true;
  } else if (IsOption(arg, "--jobs")) {
    const std::string value = OptionValue(args, i, "--jobs").value_or("");
    char* end = nullptr;
    const long jobs = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || jobs < 1 || jobs > 256) {
      return "--jobs takes a number of threads from 1 to 256, not '" + value + "'";
    }
    options->jobs = static_cast<int>(jobs);
  } else if (arg == "--list") {
    options->edit_action = CliOptions::EditAction::kList;
  } else if (arg == "--show" || arg == "--set" || arg == "--delete") {
    const std::string number = i + 1 < args.size() ? args[++i] : "";
    if (number.empty() || number.size() > 9 ||
        !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      return arg + " takes a record number, not '" + number + "'";
    }
    options->edit_action = arg == "--show"  ? CliOptions::EditAction::kShow
                           : arg == "--set" ? CliOptions::EditAction::kSet
                                            : CliOptions::EditAction::kDelete;
    options->edit_record = number;
  } else if (IsOption(arg, "--copy")) {
    const std::string value = OptionValue(args, i, "--copy").value_or("");
    options->copy_mode = ParseCopyMode(value);
    if (!options->copy_mode) return "--copy takes no, keep or rename, not '" + value + "'";
  } else if (IsOption(arg, "--drive")) {
    const std::string value = OptionValue(args, i, "--drive").value_or("");
    if (!ParseDrive(value, &options->drives)) return "--drive takes X=DIR, not '" + value + "'";
  } else if (IsOption(arg, "--volume")) {
    const std::string value = OptionValue(args, i, "--volume").value_or("");
    const size_t equals = value.find('=');
    if (equals == std::string::npos || equals + 1 == value.size()) {
      return "--volume takes LABEL=DIR, not '" + value + "'";
    }
    options->volumes[value.substr(0, equals)] = value.substr(equals + 1);
  } else if (IsOption(arg, "--forget")) {
    const auto value = OptionValue(args, i, "--forget");
    if (!value || value->empty()) return "--forget takes a drive letter or a volume label";
    options->forget.push_back(*value);
  } else if (IsOption(arg, "--source")) {
    const auto value = OptionValue(args, i, "--source");
    if (!value || value->empty()) return "--source takes a folder";
    options->source_dir = *value;
  } else {
    return "unknown option " + arg;
  }
  return std::nullopt;
}

// `edit ARCHIVE_DIR` and, with --set, its FIELD=VALUE words.
std::optional<std::string> ParseEdit(const std::vector<std::string>& positional,
                                     CliOptions* options) {
  static const char* const kFields[] = {"title",   "keywords", "category",
                                        "comment", "author",   "date"};
  if (positional.size() < 2) return "edit takes ARCHIVE_DIR";
  options->command = CliOptions::Command::kEdit;
  options->dest_dir = positional[1];
  const bool sets = options->edit_action == CliOptions::EditAction::kSet;
  if (!sets && positional.size() != 2) return "edit takes ARCHIVE_DIR";
  if (sets && positional.size() == 2) return "--set takes FIELD=VALUE";
  for (size_t i = 2; i < positional.size(); ++i) {
    const size_t equals = positional[i].find('=');
    const std::string field = positional[i].substr(0, equals);
    if (equals == std::string::npos ||
        std::find(std::begin(kFields), std::end(kFields), field) == std::end(kFields)) {
      return "--set takes FIELD=VALUE with FIELD one of title, keywords, category, comment, "
             "author, date; not '" +
             positional[i] + "'";
    }
    options->edit_values.emplace_back(field, positional[i].substr(equals + 1));
  }
  return std::nullopt;
}

// The command and its folders, from the words that are no options.
std::optional<std::string> ParseCommand(const std::vector<std::string>& positional,
                                        CliOptions* options) {
  const std::string& command = positional[0];
  const bool catalog_only =
      !options->source_dir.empty() || !options->drives.empty() || !options->volumes.empty();
  if (options->replace && command != "master") return "--replace belongs to the master command";
  if (!options->forget.empty() && command != "locations") {
    return "--forget belongs to the locations command";
  }
  if (command == "locations") {
    if (positional.size() != 1) return "locations takes no folder; --drive X=DIR saves one";
    if (!options->source_dir.empty()) return "locations takes no --source";
    options->command = CliOptions::Command::kLocations;
    return std::nullopt;
  }
  if (command == "history" || command == "restore") {
    const bool restore = command == "restore";
    if (positional.size() != (restore ? 3u : 2u)) {
      return restore ? "restore takes ARCHIVE_DIR and N" : "history takes ARCHIVE_DIR";
    }
    if (restore && (positional[2].empty() || positional[2].size() > 9 ||
                    positional[2].find_first_not_of("0123456789") != std::string::npos)) {
      return "restore takes a version number, not '" + positional[2] + "'";
    }
    if (catalog_only || options->copy_mode ||
        options->edit_action != CliOptions::EditAction::kWindow) {
      return command + " takes no options";
    }
    options->command = restore ? CliOptions::Command::kRestore : CliOptions::Command::kHistory;
    options->dest_dir = positional[1];
    if (restore) options->edit_record = positional[2];
    return std::nullopt;
  }
  if (command == "scan") {
    if (positional.size() != 3) return "scan takes SOURCE_DIR and DEST_DIR";
    if (catalog_only) return "--source, --drive and --volume belong to the catalog command";
    options->command = CliOptions::Command::kScan;
    options->source_dir = positional[1];
  } else if (command == "catalog") {
    if (positional.size() != 3) return "catalog takes CATALOG_FILE and DEST_DIR";
    if (!options->read_embedded) return "--no-embedded belongs to the scan command";
    options->command = CliOptions::Command::kCatalog;
    options->catalog_path = positional[1];
  } else if (command == "master") {
    if (positional.size() != 2) return "master takes DEST_DIR";
    if (catalog_only || options->copy_mode || !options->read_embedded || options->jobs != 0 ||
        options->force || options->jpeg_only) {
      return "master takes no --source, --drive, --volume, --copy, --no-embedded, --jobs, "
             "--force or --jpeg-only";
    }
    options->command = CliOptions::Command::kMaster;
  } else if (command == "edit") {
    return ParseEdit(positional, options);
  } else {
    return "unknown command " + command;
  }
  if (options->edit_action != CliOptions::EditAction::kWindow) {
    return "--list, --show, --set and --delete belong to the edit command";
  }
  options->dest_dir = positional.back();
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ParseOptions(const std::vector<std::string>& args, CliOptions* options) {
  std::vector<std::string> positional;
  bool options_ended = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || !arg.starts_with("-") || arg == "-") {
      positional.push_back(arg);
    } else if (arg == "--") {
      options_ended = true;
    } else if (auto problem = ParseOption(args, i, options)) {
      return problem;
    } else if (options->command == CliOptions::Command::kHelp ||
               options->command == CliOptions::Command::kVersion) {
      if (!positional.empty()) options->help_topic = positional.front();
      return std::nullopt;
    }
  }
  if (positional.empty()) return "no command given";
  if (options->verbose && options->quiet) return "--verbose and --quiet exclude each other";
  return ParseCommand(positional, options);
}

}  // namespace lumvane
