// SPDX-License-Identifier: GPL-3.0-or-later
// What a run left out, in words, for the message after it.
#ifndef LUMVANE_RUN_RUN_SUMMARY_H_
#define LUMVANE_RUN_RUN_SUMMARY_H_

#include <map>
#include <string>
#include <vector>

#include "run/run_state.h"

namespace lumvane {

// "3 archived; 2 passed over: file missing; 1 original not copied": the count archived (by
// format when there were several: "3 archived (1 HEIF, 2 JPEG)"), then the pictures passed
// over by reason (counted per reason when there are several), then the originals not copied.
std::string RunSummaryLine(const RunState& state);

// "1 HEIF, 2 JPEG": the pictures archived by format, formats in alphabetical order; empty when
// they were all of one format.
std::string ArchivedByFormat(const RunState& state);

// How many pictures were passed over for each reason, reasons in alphabetical order.
std::map<std::string, int> PassedOverByReason(const RunState& state);

// Those reasons in one line, each with its count ("1 not a picture, 2 file missing"); one
// reason alone has no count unless `always_counted`.
std::string PassedOverReasons(const RunState& state, bool always_counted);

// One line per picture passed over and per original not copied: "FILE: reason".
std::string RunSummaryDetails(const RunState& state);

// True when there is something to tell beyond the count.
bool RunLeftSomethingOut(const RunState& state);

// "Stopped after 14 of 30 pictures", or "Stopped after 14 pictures" when the total is not known.
std::string StoppedLine(const RunState& state);

// When the run kept the archive it replaced and was stopped or holds fewer pictures: "Stopped
// after 13 of 160 pictures; the earlier archive is kept as version 4", or "The new archive
// holds 1 picture, the earlier one 32; ...". Empty otherwise.
std::string EarlierArchiveLine(const RunState& state);

// What became of the editor's changes, a line each: "The editor's changes to 1 picture gave
// way to its own new text: Harbour (title)." and "2 pictures deleted in the editor stay
// out`how_back`." Empty when there is nothing to tell.
std::vector<std::string> EditsLines(const RunState& state, const std::string& how_back = "");

// "To make room, the history no longer keeps version 1 (...)." when old versions went; empty
// otherwise.
std::string DroppedVersionsLine(const RunState& state);

// The pictures of the run that a saved location could find (passed over with a place),
// grouped by drive or volume, the one with the most pictures first.
std::vector<std::vector<const PassedOverPicture*>> MissingByPlace(const RunState& state);

// How many pictures the run was given and left out (PassedOverPicture::lost).
int LostPictures(const RunState& state);

// Whether the last run fell short of what it was asked: it did not put its archive in place,
// or something failed, or a picture it was given or an original it was to copy is missing
// from the archive.
bool RunFellShort(const RunState& state);

// The drives and volumes that pictures passed over are on and that have no folder on this
// machine, each once, in the order first met.
std::vector<CatalogPlace> UnknownPlaces(const RunState& state);

// "Could not copy N originals into DEST:" and a line per original, lines separated by "\r".
std::string UncopiedMessage(const RunState& state, const std::string& dest);

}  // namespace lumvane

#endif  // LUMVANE_RUN_RUN_SUMMARY_H_
