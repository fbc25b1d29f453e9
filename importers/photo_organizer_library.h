// SPDX-License-Identifier: GPL-3.0-or-later
// The Photo Organizer library (.plb): a byte scan for record and list signatures; each list
// block completes one picture from the texts and date of the record before it.
#ifndef LUMVANE_IMPORTERS_PHOTO_ORGANIZER_LIBRARY_H_
#define LUMVANE_IMPORTERS_PHOTO_ORGANIZER_LIBRARY_H_

#include <string>

#include "importers/import_run.h"
#include "platform/status.h"

namespace lumvane {

// The picture date of three date bytes: the days 2^e x (m / 524,288 + 2) after December 30,
// 1899 (e the top 4 bits of the 24-bit little-endian value, m the low 20), "mmmm d, yyyy".
std::string PhotoOrganizerDate(unsigned char b0, unsigned char b1, unsigned char b2);

// Hands one picture per list block to the run, stopping after the picture in hand when asked.
// A length or count that runs past the end of the file ends the scan: the pictures before it
// stay, and the error names the catalog and the byte offset.
Status ReadPhotoOrganizerLibrary(ImportRun& run);

}  // namespace lumvane

#endif  // LUMVANE_IMPORTERS_PHOTO_ORGANIZER_LIBRARY_H_
