// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/page_writer.h"

#include <filesystem>
#include <system_error>

#include "platform/file_copy.h"
#include "platform/paths.h"

namespace lumvane {

// The fixed blocks, from page/: the head block is head.html, library.js and the opening of the
// records' block, the tail block its closing, the interface's scripts (the frames', the
// address's, the phone's), the viewer library and the styles, and the layout's choice.
extern const char kPageHead[];
extern const char kPageLibrary[];
extern const char kPageRecordsOpen[];
extern const char kPageRecordsClose[];
extern const char kPageInterface[];
extern const char kPageAddress[];
extern const char kPageDetails[];
extern const char kPageLayout[];
extern const char kPagePhone[];
extern const char kPagePhoneViewer[];
extern const char kPageTail[];
extern const char kPagePhotoSwipe[];
extern const char kPageTailStyle[];
extern const char kPagePhotoSwipeStyle[];
extern const char kPagePhoneStyle[];
extern const char kPageTailEnd[];

namespace {

void WriteBlock(ReplacingFile& page, std::string_view block) {
  if (block.ends_with('\n')) block.remove_suffix(1);
  size_t start = 0;
  while (true) {
    const size_t end = block.find('\n', start);
    page.WriteLine(block.substr(start, end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
}

}  // namespace

void WritePageHead(ReplacingFile& page) {
  WriteBlock(page, kPageHead);
  WriteBlock(page, kPageLibrary);
  WriteBlock(page, kPageRecordsOpen);
}

void WritePageTail(ReplacingFile& page) {
  for (const char* block : {kPageRecordsClose, kPageInterface, kPageAddress, kPageDetails,
                            kPageLayout, kPagePhone, kPagePhoneViewer, kPageTail, kPagePhotoSwipe,
                            kPageTailStyle, kPagePhotoSwipeStyle, kPagePhoneStyle, kPageTailEnd}) {
    WriteBlock(page, block);
  }
}

std::string FindTexture() {
  namespace fs = std::filesystem;
  const fs::path program(ProgramDirectory());
  std::error_code error;
  // Beside the program in the build tree; in share/lumvane once installed, seen from bin/ (the
  // command line) or from libexec/lumvane/ (the window).
  for (const fs::path& candidate :
       {program / "texture.jpg", program / ".." / "share" / "lumvane" / "texture.jpg",
        program / ".." / ".." / "share" / "lumvane" / "texture.jpg"}) {
    if (fs::is_regular_file(candidate, error)) return candidate.lexically_normal().string();
  }
  return "";
}

Status CopyTexture(const std::string& texture, const std::string& dest_dir, const std::string& name,
                   bool* copied) {
  std::error_code error;
  if (copied != nullptr) *copied = false;
  if (texture.empty() || !std::filesystem::is_regular_file(texture, error)) return Status::Ok();
  const StatusOr<CopyMade> result = CopyToNewFile(texture, JoinPath(dest_dir, name));
  if (!result.ok() && result.status().code() != StatusCode::kAlreadyExists) {
    return result.status().Prefixed("Cannot copy " + name + " into " + dest_dir + ": ");
  }
  if (copied != nullptr) *copied = result.ok() && *result == CopyMade::kNewFile;
  return Status::Ok();
}

}  // namespace lumvane
