// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/dry_run_lines.h"

#include <filesystem>

#include "platform/paths.h"
#include "platform/plural.h"

namespace lumvane {
namespace {

std::string WhatItWouldArchive(const RunState& state, const std::string& page, bool master) {
  const DryRunFigures& dry = state.dry;
  if (master) {
    return "Would merge " + CountOf(state.picture_count, "picture") + " from " +
           CountOf(state.archives_merged, "archive") + " into " + page;
  }
  std::string line =
      "Would archive " + CountOf(dry.new_images + dry.kept_images, "picture") + " into " + page;
  if (dry.kept_images > 0) {
    line += ": " + std::to_string(dry.new_images) + " with new images, " +
            std::to_string(dry.kept_images) + " keeping the images already there";
  }
  return line;
}

std::string WhatItWouldReplace(const RunState& state, const std::string& dest) {
  const DryRunFigures& dry = state.dry;
  if (dry.earlier_pictures == 0) return "Would make a new archive in " + dest;
  return std::string("Would replace the ") + (dry.earlier_master ? "master archive" : "archive") +
         " of " + CountOf(dry.earlier_pictures, "picture") + " in " + dest +
         ", keeping it in the archive's history";
}

}  // namespace

std::string ThereAlready(int originals) {
  return std::to_string(originals) + (originals == 1 ? " is" : " are") + " there already";
}

std::vector<std::string> DryRunLines(const RunState& state, const std::string& dest, bool master,
                                     long long available) {
  const DryRunFigures& dry = state.dry;
  const CopyFigures none;
  const CopyFigures& copy = state.copy_mode == CopyMode::kKeepNames ? dry.keep_names
                            : state.copy_mode == CopyMode::kRename  ? dry.rename
                                                                    : none;
  std::vector<std::string> lines = {
      WhatItWouldArchive(state, JoinPath(dest, "archive.htm"), master),
      WhatItWouldReplace(state, dest)};
  if (copy.copies > 0) {
    lines.push_back("Would copy " + CountOf(copy.copies, "original") + " (" +
                    BytesText(copy.bytes) + ") into " + dest +
                    (copy.there > 0 ? "; " + ThereAlready(copy.there) : ""));
  } else if (copy.there > 0) {
    lines.push_back("Would copy no original: " + ThereAlready(copy.there));
  }
  // The page takes its fixed blocks and about a kilobyte a picture with its catalog line.
  constexpr long long kPageBlocks = 140 << 10, kPerRecord = 1 << 10;
  const long long needed = dry.image_bytes + copy.bytes + kPageBlocks +
                           kPerRecord * (dry.new_images + dry.kept_images + state.picture_count);
  const bool fits = needed < available;
  lines.push_back("Needs about " + BytesText(needed) + "; the disk has " + (fits ? "" : "only ") +
                  BytesText(available) + " free");
  lines.push_back(fits ? "Nothing was written (--dry-run)."
                       : "The run would not fit on the disk; nothing was written (--dry-run).");
  return lines;
}

long long AvailableBytes(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path existing = fs::absolute(folder, error);
  while (!fs::exists(existing, error) && existing.has_parent_path() &&
         existing.parent_path() != existing) {
    existing = existing.parent_path();
  }
  const fs::space_info space = fs::space(existing, error);
  return error ? 0 : static_cast<long long>(space.available);
}

}  // namespace lumvane
