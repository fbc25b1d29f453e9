// SPDX-License-Identifier: GPL-3.0-or-later
// The archive page's fixed head and tail blocks, its records, and the background image.
// Every archive carries identical head and tail blocks; the records between them vary.
#ifndef LUMVANE_PAGE_PAGE_WRITER_H_
#define LUMVANE_PAGE_PAGE_WRITER_H_

#include <string>
#include <string_view>

#include "pictures/catalog_line.h"
#include "platform/replacing_file.h"
#include "platform/status.h"

namespace lumvane {

// Writes the head block (up to "var cat = new Catalog();") to `page`.
void WritePageHead(ReplacingFile& page);

// Writes the tail block (the user interface, the frameset, "</html>") to `page`.
void WritePageTail(ReplacingFile& page);

// Where Lumvane's own texture.jpg lies: beside the executable in the build tree, or
// <prefix>/share/lumvane when installed. Empty when neither exists.
std::string FindTexture();

// Copies `texture` into `dest_dir` as `name` unless `texture` is missing or the destination
// already has a file of that name (which is kept). Both skips are silent; a failed copy is
// reported. `*copied` (when given) tells whether a new file was made.
Status CopyTexture(const std::string& texture, const std::string& dest_dir,
                   const std::string& name = "texture.jpg", bool* copied = nullptr);

}  // namespace lumvane

#endif  // LUMVANE_PAGE_PAGE_WRITER_H_
