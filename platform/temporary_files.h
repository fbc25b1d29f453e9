// The temporary files Lumvane writes beside the files they become, and the removal of those
// that a killed run left behind.
#ifndef LUMVANE_PLATFORM_TEMPORARY_FILES_H_
#define LUMVANE_PLATFORM_TEMPORARY_FILES_H_

#include <string>
#include <string_view>

namespace lumvane {

// The mkstemp template for a temporary of `stem` in `folder`: "folder/stem.tmp-XXXXXX".
std::string TemporaryTemplate(const std::string& folder, std::string_view stem);

// Creates a new temporary of `stem` in `folder`, named as TemporaryTemplate, with `mode` less
// the process's umask (as any new file gets). Returns the descriptor, open for writing, and
// its path; -1 with errno set when it cannot be created.
int CreateTemporary(const std::string& folder, std::string_view stem, unsigned mode,
                    std::string* path);

// The stem of a temporary copy of an original: a fixed, short name, so that the temporary's
// name stays within the file system's limit whatever the original is called.
inline constexpr char kCopyStem[] = ".lumvane-copy";

// True for the names of Lumvane's own temporaries: one of the archive's files (archive.htm,
// archive.txt, archive2.txt, archive_bak.htm, texture.jpg, a generated image, the copy stem)
// followed by ".tmp-" and six letters or digits; or NAME.tmp-copy of earlier versions.
bool IsLeftoverTemporary(std::string_view name);

// Removes from `folder` every file whose name IsLeftoverTemporary. Returns how many.
// REQUIRES: the caller holds the folder's DestinationLock, so no running run owns them.
int RemoveLeftoverTemporaries(const std::string& folder);

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_TEMPORARY_FILES_H_
