// SPDX-License-Identifier: GPL-3.0-or-later
// The answer to the Copy Originals question: whether a run copies the originals into the
// archive's folder, and under which names.
#ifndef LUMVANE_PICTURES_COPY_MODE_H_
#define LUMVANE_PICTURES_COPY_MODE_H_

namespace lumvane {

enum class CopyMode { kCancelled = -1, kNone = 0, kKeepNames = 1, kRename = 2 };

}  // namespace lumvane

#endif  // LUMVANE_PICTURES_COPY_MODE_H_
