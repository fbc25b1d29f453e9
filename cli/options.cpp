// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/options.h"

#include <QCommandLineParser>
#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "cli/command_line.h"

namespace lumvane {
namespace {

using Action = CliOptions::EditAction;

Status UsageError(std::string message) {
  return Status::Error(StatusCode::kInvalidInput, std::move(message));
}

bool IsNumber(const std::string& word) {
  return !word.empty() && word.size() <= 9 &&
         std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The parser's name of the option `name` ("--copy"): without its dashes.
QString ParserName(std::string_view name) {
  return QString::fromUtf8(name.substr(2).data(), static_cast<qsizetype>(name.size() - 2));
}

// One option of the parser: its long name, and its short one.
QCommandLineOption MadeOption(const OptionSpec& spec) {
  QStringList names{ParserName(spec.name)};
  if (spec.short_name) names.prepend(QString(QChar(spec.short_name)));
  if (spec.value_name.empty()) return QCommandLineOption(names);
  return QCommandLineOption(names, "",
                            QString::fromUtf8(spec.value_name.data(), spec.value_name.size()));
}

// The options given to one command: whether each is set, and its values in order.
class Given {
 public:
  Given(const QCommandLineParser& parser, const CommandSpec& command)
      : parser_(parser), command_(command) {}
  bool Takes(std::string_view name) const {
    return std::any_of(command_.options.begin(), command_.options.end(),
                       [name](const CommandOption& option) { return option.name == name; });
  }
  // Options the command does not take are never set (and never asked of the parser).
  bool Set(std::string_view name) const { return Takes(name) && parser_.isSet(ParserName(name)); }
  std::vector<std::string> Values(std::string_view name) const {
    std::vector<std::string> values;
    if (!Takes(name)) return values;
    for (const QString& value : parser_.values(ParserName(name))) {
      values.push_back(value.toStdString());
    }
    return values;
  }

 private:
  const QCommandLineParser& parser_;
  const CommandSpec& command_;
};

Status TakeValues(const Given& given, CliOptions* options) {
  for (const std::string& value : given.Values("--jobs")) {
    char* end = nullptr;
    const long jobs = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || jobs < 1 || jobs > 256) {
      return UsageError("--jobs takes a number of threads from 1 to 256, not '" + value + "'");
    }
    options->jobs = static_cast<int>(jobs);
  }
  for (const std::string& value : given.Values("--copy")) {
    options->copy_mode = value == "no"       ? CopyMode::kNone
                         : value == "keep"   ? CopyMode::kKeepNames
                         : value == "rename" ? CopyMode::kRename
                                             : CopyMode::kCancelled;
    if (options->copy_mode == CopyMode::kCancelled) {
      return UsageError("--copy takes no, keep or rename, not '" + value + "'");
    }
  }
  for (const std::string& value : given.Values("--drive")) {
    if (value.size() < 3 || value[1] != '=' ||
        !std::isalpha(static_cast<unsigned char>(value[0]))) {
      return UsageError("--drive takes X=DIR, not '" + value + "'");
    }
    options->drives[static_cast<char>(std::toupper(static_cast<unsigned char>(value[0])))] =
        value.substr(2);
  }
  for (const std::string& value : given.Values("--volume")) {
    const size_t equals = value.find('=');
    if (equals == std::string::npos || equals == 0 || equals + 1 == value.size()) {
      return UsageError("--volume takes LABEL=DIR, not '" + value + "'");
    }
    options->volumes[value.substr(0, equals)] = value.substr(equals + 1);
  }
  for (const std::string& value : given.Values("--forget")) {
    if (value.empty()) return UsageError("--forget takes a drive letter or a volume label");
    options->forget.push_back(value);
  }
  for (const std::string& value : given.Values("--source")) {
    if (value.empty()) return UsageError("--source takes a folder");
    options->source_dir = value;
  }
  return Status::Ok();
}

Status TakeEditAction(const Given& given, CliOptions* options) {
  int actions = given.Set("--list") ? 1 : 0;
  if (given.Set("--list")) options->edit_action = Action::kList;
  for (const auto& [name, action] :
       {std::pair{"--show", Action::kShow}, std::pair{"--set", Action::kSet},
        std::pair{"--delete", Action::kDelete}}) {
    for (const std::string& number : given.Values(name)) {
      if (!IsNumber(number)) {
        return UsageError(std::string(name) + " takes a record number, not '" + number + "'");
      }
      options->edit_action = action;
      options->edit_record = number;
      ++actions;
    }
  }
  if (actions > 1) return UsageError("--list, --show, --set and --delete exclude each other");
  return Status::Ok();
}

Status TakeFlags(const Given& given, CliOptions* options) {
  options->verbose = given.Set("--verbose");
  options->quiet = given.Set("--quiet");
  options->read_embedded = !given.Set("--no-embedded");
  options->with_deleted = given.Set("--with-deleted");
  options->force = given.Set("--force");
  options->jpeg_only = given.Set("--jpeg-only");
  options->replace = given.Set("--replace");
  options->recursive = given.Set("--recursive");
  options->pair_raw = given.Set("--pair-raw");
  options->dry_run = given.Set("--dry-run");
  options->clip_previews = given.Set("--clip-previews");
  if (options->verbose && options->quiet) {
    return UsageError("--verbose and --quiet exclude each other");
  }
  if (Status values = TakeValues(given, options); !values.ok()) return values;
  return TakeEditAction(given, options);
}

// `edit ARCHIVE_DIR` and, with --set, its FIELD=VALUE words.
Status TakeEdit(const std::vector<std::string>& words, CliOptions* options) {
  static const char* const kFields[] = {"title",   "keywords", "category",
                                        "comment", "author",   "date"};
  if (words.empty()) return UsageError("edit takes ARCHIVE_DIR");
  options->dest_dir = words[0];
  const bool sets = options->edit_action == Action::kSet;
  if (!sets && words.size() != 1) return UsageError("edit takes ARCHIVE_DIR");
  if (sets && words.size() == 1) return UsageError("--set takes FIELD=VALUE");
  for (size_t i = 1; i < words.size(); ++i) {
    const size_t equals = words[i].find('=');
    const std::string field = words[i].substr(0, equals);
    if (equals == std::string::npos ||
        std::find(std::begin(kFields), std::end(kFields), field) == std::end(kFields)) {
      return UsageError(
          "--set takes FIELD=VALUE with FIELD one of title, keywords, category, comment, "
          "author, date; not '" +
          words[i] + "'");
    }
    options->edit_values.emplace_back(field, words[i].substr(equals + 1));
  }
  return Status::Ok();
}

// The command's arguments: how many it takes, and what they are.
Status TakeArguments(std::string_view command, const std::vector<std::string>& words,
                     CliOptions* options) {
  using Command = CliOptions::Command;
  const auto exactly = [&](size_t count, Command kind, const char* message) {
    if (words.size() != count) return UsageError(message);
    options->command = kind;
    if (count > 0) options->dest_dir = words[count - 1];
    return Status::Ok();
  };
  if (command == "scan") {
    options->source_dir = words.empty() ? "" : words[0];
    return exactly(2, Command::kScan, "scan takes SOURCE_DIR and DEST_DIR");
  }
  if (command == "catalog") {
    options->catalog_path = words.empty() ? "" : words[0];
    return exactly(2, Command::kCatalog, "catalog takes CATALOG_FILE and DEST_DIR");
  }
  if (command == "master") return exactly(1, Command::kMaster, "master takes DEST_DIR");
  if (command == "history") return exactly(1, Command::kHistory, "history takes ARCHIVE_DIR");
  if (command == "locations") {
    return exactly(0, Command::kLocations, "locations takes no folder; --drive X=DIR saves one");
  }
  if (command == "restore") {
    if (words.size() != 2) return UsageError("restore takes ARCHIVE_DIR and N");
    if (!IsNumber(words[1])) {
      return UsageError("restore takes a version number, not '" + words[1] + "'");
    }
    options->command = Command::kRestore;
    options->dest_dir = words[0];
    options->edit_record = words[1];
    return Status::Ok();
  }
  options->command = Command::kEdit;
  return TakeEdit(words, options);
}

// "--name is not an option of COMMAND" for an option another command takes, "unknown option
// --name" for any other; else Qt's text ("Missing value after '--copy'.").
std::string ParseError(const QCommandLineParser& parser, const CommandSpec& command) {
  if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
    const std::string option = (unknown[0].size() == 1 ? "-" : "--") + unknown[0].toStdString();
    if (FindOption(option) == nullptr) return "unknown option " + option;
    return option + " is not an option of " + std::string(command.name);
  }
  std::string text = parser.errorText().toStdString();
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

// `lumvane --help`, `lumvane --version`: nothing may follow.
StatusOr<CliOptions> ParseAlone(const std::vector<std::string>& args) {
  CliOptions options;
  const std::string& word = args[0];
  if (word == "--help" || word == "-h") options.command = CliOptions::Command::kHelp;
  if (word == "--version") options.command = CliOptions::Command::kVersion;
  if (options.command == CliOptions::Command::kNone) {
    return UsageError(word.starts_with("-") ? "a command comes before " + word
                                            : "unknown command " + word);
  }
  if (args.size() > 1) return UsageError(word + " takes no arguments, not '" + args[1] + "'");
  return options;
}

}  // namespace

StatusOr<CliOptions> ParseOptions(const std::vector<std::string>& args) {
  if (args.empty()) return UsageError("no command given");
  const CommandSpec* command = FindCommand(args[0]);
  if (command == nullptr) return ParseAlone(args);
  QCommandLineParser parser;
  parser.addOption(MadeOption(*FindOption("--help")));
  for (const CommandOption& option : command->options) {
    parser.addOption(MadeOption(*FindOption(option.name)));
  }
  QStringList words{"lumvane"};
  for (size_t i = 1; i < args.size(); ++i) words << QString::fromStdString(args[i]);
  if (!parser.parse(words)) return UsageError(ParseError(parser, *command));
  CliOptions options;
  if (parser.isSet("help")) {
    options.command = CliOptions::Command::kHelp;
    options.help_topic = command->name;
    return options;
  }
  if (Status flags = TakeFlags(Given(parser, *command), &options); !flags.ok()) return flags;
  std::vector<std::string> positional;
  for (const QString& word : parser.positionalArguments()) positional.push_back(word.toStdString());
  if (Status taken = TakeArguments(command->name, positional, &options); !taken.ok()) return taken;
  return options;
}

}  // namespace lumvane
