// Reading an archive page that is there already (a master's sub-archives, the editor's page).
#ifndef LUMVANE_PAGE_ARCHIVE_PAGE_H_
#define LUMVANE_PAGE_ARCHIVE_PAGE_H_

#include <string>

#include "platform/status.h"

namespace lumvane {

// The text of the page at `path`, decoded to UTF-8 (older pages are Windows-1252), never
// waiting on a FIFO. The error's message is the reason alone ("No such file or directory",
// "open by another program"), for the caller to put beside the page's name.
Status ReadArchivePage(const std::string& path, std::string* text);

}  // namespace lumvane

#endif  // LUMVANE_PAGE_ARCHIVE_PAGE_H_
