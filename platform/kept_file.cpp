// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/kept_file.h"

#include <unistd.h>

#include <cstdio>

#include "platform/file_copy.h"
#include "platform/replacing_file.h"
#include "platform/temporary_files.h"

namespace lumvane {

KeptFile::KeptFile(std::string path) : path_(std::move(path)) {
  existed_ = access(path_.c_str(), F_OK) == 0;
  if (!existed_) return;
  const std::string folder = FolderOf(path_);
  before_ = TemporaryName(folder, "before") + path_.substr(path_.rfind('/') + 1);
  kept_ = link(path_.c_str(), before_.c_str()) == 0 ||
          CopyToTemporary(path_, folder, "before", &before_).ok();
}

KeptFile::~KeptFile() {
  if (kept_) unlink(before_.c_str());
}

void KeptFile::Restore() const {
  if (kept_) std::rename(before_.c_str(), path_.c_str());
  if (!existed_) unlink(path_.c_str());
}

}  // namespace lumvane
