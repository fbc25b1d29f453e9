// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/status.h"

#include <cerrno>

namespace lumvane {

StatusCode Status::CodeOfErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return StatusCode::kNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return StatusCode::kPermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return StatusCode::kNoSpace;
    case EWOULDBLOCK:
    case EBUSY:
    case ETXTBSY:
      return StatusCode::kBusy;
    default:
      return StatusCode::kIoError;
  }
}

}  // namespace lumvane
