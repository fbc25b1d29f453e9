// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/run_summary.h"

#include "platform/plural.h"

#include <algorithm>

namespace lumvane {
namespace {

std::string PassedOverPart(const RunState& state) {
  return std::to_string(state.passed_over.size()) +
         " passed over: " + PassedOverReasons(state, /*always_counted=*/false);
}

}  // namespace

std::string PassedOverReasons(const RunState& state, bool always_counted) {
  const std::map<std::string, int> by_reason = PassedOverByReason(state);
  std::string text;
  for (const auto& [reason, count] : by_reason) {
    if (!text.empty()) text += ", ";
    if (always_counted || by_reason.size() > 1) text += std::to_string(count) + " ";
    text += reason;
  }
  return text;
}

std::string ArchivedByFormat(const RunState& state) {
  std::string text;
  if (state.formats.size() < 2) return text;
  for (const auto& [format, count] : state.formats) {
    text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + format;
  }
  return text;
}

std::map<std::string, int> PassedOverByReason(const RunState& state) {
  std::map<std::string, int> by_reason;
  for (const auto& picture : state.passed_over) ++by_reason[picture.reason];
  return by_reason;
}

bool RunLeftSomethingOut(const RunState& state) {
  return !state.passed_over.empty() || !state.uncopied.empty() ||
         !EarlierArchiveLine(state).empty() || !state.dropped_versions.empty() ||
         !EditsLines(state).empty();
}

std::string StoppedLine(const RunState& state) {
  const auto archived = static_cast<size_t>(state.picture_count);
  if (state.expected_pictures < 0) return "Stopped after " + CountOf(archived, "picture");
  return "Stopped after " + std::to_string(archived) + " of " +
         CountOf(state.expected_pictures, "picture");
}

std::string EarlierArchiveLine(const RunState& state) {
  if (state.kept_version == 0) return "";
  const std::string kept =
      "; the earlier archive is kept as version " + std::to_string(state.kept_version);
  if (state.stopped) return StoppedLine(state) + kept;
  if (state.picture_count >= state.earlier_pictures) return "";
  return "The new archive holds " + CountOf(state.picture_count, "picture") + ", the earlier one " +
         std::to_string(state.earlier_pictures) + kept;
}

std::vector<std::string> EditsLines(const RunState& state, const std::string& how_back) {
  std::vector<std::string> lines;
  if (!state.edits_gave_way.empty()) {
    const size_t count = state.edits_gave_way.size();
    std::string line = "The editor's changes to " + CountOf(count, "picture") + " gave way to " +
                       (count == 1 ? "its" : "their") + " own new text:";
    for (size_t i = 0; i < count; ++i) line += (i == 0 ? " " : ", ") + state.edits_gave_way[i];
    lines.push_back(line + ".");
  }
  if (state.deleted_left_out > 0) {
    lines.push_back(CountOf(state.deleted_left_out, "picture") + " deleted in the editor " +
                    (state.deleted_left_out == 1 ? "stays" : "stay") + " out" + how_back + ".");
  }
  return lines;
}

std::string DroppedVersionsLine(const RunState& state) {
  if (state.dropped_versions.empty()) return "";
  std::string line = "To make room, the history no longer keeps ";
  for (size_t i = 0; i < state.dropped_versions.size(); ++i) {
    line += (i == 0 ? "" : ", ") + state.dropped_versions[i];
  }
  return line + ".";
}

std::vector<CatalogPlace> UnknownPlaces(const RunState& state) {
  std::vector<CatalogPlace> places;
  for (const auto& picture : state.passed_over) {
    if (!picture.place_unknown) continue;
    const bool known = std::any_of(places.begin(), places.end(), [&](const CatalogPlace& place) {
      return place.SameRoot(*picture.place);
    });
    if (!known) places.push_back(*picture.place);
  }
  return places;
}

std::vector<std::vector<const PassedOverPicture*>> MissingByPlace(const RunState& state) {
  std::vector<std::vector<const PassedOverPicture*>> groups;
  for (const PassedOverPicture& picture : state.passed_over) {
    if (!picture.place) continue;
    auto group = std::find_if(groups.begin(), groups.end(), [&](const auto& pictures) {
      return pictures.front()->place->SameRoot(*picture.place);
    });
    if (group == groups.end()) {
      groups.emplace_back();
      group = groups.end() - 1;
    }
    group->push_back(&picture);
  }
  std::stable_sort(groups.begin(), groups.end(),
                   [](const auto& a, const auto& b) { return a.size() > b.size(); });
  return groups;
}

int LostPictures(const RunState& state) {
  int count = 0;
  for (const auto& picture : state.passed_over) count += picture.lost ? 1 : 0;
  return count;
}

bool RunFellShort(const RunState& state) {
  return state.outcome != RunOutcome::kWritten || LostPictures(state) > 0 ||
         !state.uncopied.empty();
}

std::string RunSummaryLine(const RunState& state) {
  std::string line =
      state.stopped && EarlierArchiveLine(state).empty()  // else that line says it stopped
          ? StoppedLine(state)
          : std::to_string(state.picture_count) + " archived";
  if (const std::string formats = ArchivedByFormat(state); !formats.empty()) {
    line += " (" + formats + ")";
  }
  if (!state.passed_over.empty()) line += "; " + PassedOverPart(state);
  if (!state.uncopied.empty())
    line += "; " + CountOf(state.uncopied.size(), "original") + " not copied";
  return line;
}

std::string RunSummaryDetails(const RunState& state) {
  std::string details;
  for (const auto& picture : state.passed_over) {
    details += picture.source + ": " + picture.reason + "\n";
  }
  for (const auto& original : state.uncopied) {
    details += original.source + ": not copied: " + original.reason + "\n";
  }
  return details;
}

std::string UncopiedMessage(const RunState& state, const std::string& dest) {
  std::string text =
      "Could not copy " + CountOf(state.uncopied.size(), "original") + " into " + dest + ":";
  for (const auto& original : state.uncopied) {
    text += "\r  " + original.source + ": " + original.reason;
  }
  return text;
}

}  // namespace lumvane
