// Reading an archive that is there already (a master's sub-archives, the editor's archive).
#ifndef LUMVANE_PAGE_ARCHIVE_PAGE_H_
#define LUMVANE_PAGE_ARCHIVE_PAGE_H_

#include <map>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace lumvane {

// The bytes of the archive file at `path` as they are on disk, never waiting on a FIFO. The
// error's message is the reason alone ("No such file or directory", "open by another
// program"), for the caller to put beside the file's name.
Status ReadArchiveFile(const std::string& path, std::string* bytes);

// ReadArchiveFile, decoded to UTF-8 (older pages are Windows-1252).
Status ReadArchivePage(const std::string& path, std::string* text);

// True when `page_text` is an archive page of ours (or of the program whose pages ours
// continue): its script creates the catalog that its records are added to.
bool IsArchivePage(std::string_view page_text);

// The source column of every row of an archive.txt (`catalog_bytes`, as on disk), by the
// row's thumbnail column: the original's path exactly as the run wrote it, which the page's
// records hold only in part (their file names in lower case).
std::map<std::string, std::string> SourcesByThumbnail(std::string_view catalog_bytes);

}  // namespace lumvane

#endif  // LUMVANE_PAGE_ARCHIVE_PAGE_H_
