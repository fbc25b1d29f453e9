// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/edit_command.h"

#include <cstdio>

#include "editor/archive_editor.h"
#include "platform/paths.h"

namespace lumvane {
namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "lumvane: %s\n", message.c_str());
  return 1;
}

// One line of a list: tabs and line breaks inside a value become blanks.
std::string OnOneLine(std::string text) {
  for (char& c : text) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

void List(const ArchiveEditor& editor) {
  for (long n = 1; n <= editor.count(); ++n) {
    const EditorFields f = editor.Fields(n);
    std::printf("%ld\t%s\t%s\t%s\n", n, OnOneLine(f.title).c_str(), OnOneLine(f.date).c_str(),
                OnOneLine(f.thumb).c_str());
  }
}

void Show(const EditorFields& f, long n) {
  const std::pair<const char*, std::string> boxes[] = {{"Number", std::to_string(n)},
                                                       {"Title", f.title},
                                                       {"Keywords", f.subject},
                                                       {"Categories", f.category},
                                                       {"Comment", f.comment},
                                                       {"Author", f.author},
                                                       {"Date", f.date},
                                                       {"Path", f.path},
                                                       {"Source File", f.source},
                                                       {"Thumb File", f.thumb}};
  for (const auto& [label, value] : boxes) std::printf("%s: %s\n", label, value.c_str());
}

// The fields of record n with the --set values typed into them.
EditorFields Typed(const ArchiveEditor& editor, long n, const CliOptions& options) {
  EditorFields fields = editor.Fields(n);
  for (const auto& [field, value] : options.edit_values) {
    std::string* box = field == "title"      ? &fields.title
                       : field == "keywords" ? &fields.subject
                       : field == "category" ? &fields.category
                       : field == "comment"  ? &fields.comment
                       : field == "author"   ? &fields.author
                                             : &fields.date;
    *box = value;
  }
  return fields;
}

}  // namespace

int RunEditCommand(const CliOptions& options, const std::string& folder) {
  ArchiveEditor editor;
  // A change is made on the archive as it is when it is written: should another run or edit
  // write it between this command's reading and writing, it is read again and the change made
  // anew, so that neither change is lost.
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (const Status loaded = editor.Load(folder); !loaded.ok()) return Fail(loaded.message());
    if (attempt == 0 && !editor.LeftOutNote().empty()) {
      std::fprintf(stderr, "lumvane: %s\n", editor.LeftOutNote().c_str());
    }
    if (options.edit_action == CliOptions::EditAction::kList) {
      List(editor);
      return 0;
    }
    const long n = std::stol(options.edit_record);  // digits only, as the options took it
    if (n < 1 || n > editor.count()) {
      return Fail(options.edit_action == CliOptions::EditAction::kDelete
                      ? "Invalid record number."
                      : "There is no record " + std::to_string(n));
    }
    Status changed;
    switch (options.edit_action) {
      case CliOptions::EditAction::kShow:
        Show(editor.Fields(n), n);
        return 0;
      case CliOptions::EditAction::kSet:
        changed = editor.Update(n, Typed(editor, n, options));
        break;
      case CliOptions::EditAction::kDelete:
        changed = editor.Delete(n);
        if (changed.ok()) std::printf("Please reload the web page.\n");
        break;
      default:
        return 0;
    }
    if (changed.ok()) return 0;
    if (changed.code() != StatusCode::kChanged) return Fail(changed.message());
  }
  return Fail(JoinPath(folder, "archive.htm") + " keeps changing; nothing was written.");
}

}  // namespace lumvane
