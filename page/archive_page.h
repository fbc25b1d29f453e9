// SPDX-License-Identifier: GPL-3.0-or-later
// Reading an archive that is there already (a master's sub-archives, the editor's archive).
#ifndef LUMVANE_PAGE_ARCHIVE_PAGE_H_
#define LUMVANE_PAGE_ARCHIVE_PAGE_H_

#include <string>
#include <string_view>
#include <vector>

#include "pictures/picture_record.h"
#include "platform/status.h"

namespace lumvane {

// The bytes of the archive file at `path` as they are on disk, never waiting on a FIFO, never
// more than 1 GB. The error's message is the reason alone ("No such file or directory", "open
// by another program", "too large to read (3072 MB; ...)"), for the caller to put beside the
// file's name.
Status ReadArchiveFile(const std::string& path, std::string* bytes);

// ReadArchiveFile, decoded to UTF-8 (older pages are Windows-1252).
Status ReadArchivePage(const std::string& path, std::string* text);

// True when `page_text` is an archive page of ours (or of the program whose pages ours
// continue): its script creates the catalog that its records are added to.
bool IsArchivePage(std::string_view page_text);

// True when `name`, a record's thumbnail or file as the page links to it, stays inside the
// archive's folder: relative, and without a ".." among its folders (either separator). The
// page would have the browser read anything else, /etc/passwd among it.
bool StaysInsideArchive(std::string_view name);

// The picture's original file for archive.txt when no catalog row names it: `path` and
// `source` joined by the separator that `path` uses ("\" for a Windows folder, else "/").
std::string OriginalFileOf(const PictureRecord& record);

// The archive.txt source of each of `records` (a page's records, in page order), read from
// `catalog_bytes` (archive.txt as on disk): the original's path exactly as the run wrote it,
// where the records hold their file names in lower case. A record takes the row in its own
// place when the thumbnails match, else the first row with its thumbnail, else
// OriginalFileOf.
std::vector<std::string> SourcesOf(const std::vector<PictureRecord>& records,
                                   std::string_view catalog_bytes);

}  // namespace lumvane

#endif  // LUMVANE_PAGE_ARCHIVE_PAGE_H_
