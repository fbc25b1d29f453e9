// SPDX-License-Identifier: GPL-3.0-or-later
// What the user changed in the editor, kept beside the archive (DEST/.lumvane-edits) so that
// a later run into the same archive does not silently undo it: the fields edited, each with
// the text the photo or catalog gave it then, and the records deleted. Pictures are known by
// their original's folder and name, not by their place in the archive.
#ifndef LUMVANE_PAGE_EDIT_LOG_H_
#define LUMVANE_PAGE_EDIT_LOG_H_

#include <map>
#include <string>
#include <vector>

#include "pictures/picture_record.h"
#include "platform/status.h"

namespace lumvane {

inline constexpr char kEditLogName[] = ".lumvane-edits";

class EditLog {
 public:
  // What a run did with a record the log knows.
  struct Applied {
    bool deleted = false;               // deleted in the editor: the run leaves it out
    std::vector<std::string> gave_way;  // fields whose own text changed since the edit
  };

  // Reads DEST's log; a missing log is an empty one. Errors name the file and the reason; a
  // line that is not one of ours is passed over.
  static Status Load(const std::string& dest, EditLog* log);

  // Writes the log beside its name and renames it into place; an empty log removes the file.
  Status Save(const std::string& dest) const;

  bool empty() const { return pictures_.empty(); }

  // Notes the fields of `after` that differ from `before` (the same picture); a field set back
  // to the text it had before any edit is no longer an edit.
  void NoteEdit(const PictureRecord& before, const PictureRecord& after);
  void NoteDeletion(const PictureRecord& record);

  // Gives `record`, as a run made it, the user's edits of its fields, unless the photo's or
  // catalog's own text of a field changed since: that edit gives way, and leaves the log.
  // `with_deleted`: a deleted record comes back, and leaves the log.
  Applied Apply(PictureRecord* record, bool with_deleted);

 private:
  struct FieldEdit {
    std::string was;  // the text before the edit: the photo's or catalog's own
    std::string now;  // the user's
  };
  struct Picture {
    bool deleted = false;
    std::map<std::string, FieldEdit> fields;  // by field name: "title", "keywords", ...
  };
  std::map<std::string, Picture> pictures_;  // by the original's folder and name
};

}  // namespace lumvane

#endif  // LUMVANE_PAGE_EDIT_LOG_H_
