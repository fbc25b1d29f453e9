#include "cli/edit_command.h"

#include <cstdio>

#include "editor/archive_editor.h"

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
                                                       {"Keywords", f.keywords},
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
                       : field == "keywords" ? &fields.keywords
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
  if (const Status loaded = editor.Load(folder); !loaded.ok()) return Fail(loaded.message());
  if (options.edit_action == CliOptions::EditAction::kList) {
    List(editor);
    return 0;
  }
  const long n = RecordNumberOf(options.edit_record);
  if (n < 1 || n > editor.count()) return Fail("Invalid record number.");
  switch (options.edit_action) {
    case CliOptions::EditAction::kShow:
      Show(editor.Fields(n), n);
      return 0;
    case CliOptions::EditAction::kSet:
      if (const Status updated = editor.Update(n, Typed(editor, n, options)); !updated.ok()) {
        return Fail(updated.message());
      }
      return 0;
    case CliOptions::EditAction::kDelete:
      if (const Status deleted = editor.Delete(n); !deleted.ok()) return Fail(deleted.message());
      std::printf("Please reload the web page.\n");
      return 0;
    default:
      return 0;
  }
}

}  // namespace lumvane
