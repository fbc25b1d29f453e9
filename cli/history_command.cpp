// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/history_command.h"

#include <cstdio>
#include <cstdlib>

#include "page/archive_history.h"
#include "page/archive_restore.h"
#include "platform/paths.h"
#include "platform/plural.h"

namespace lumvane {

int RunHistoryCommand(const std::string& dest) {
  Status problem;
  const std::vector<Generation> generations = ListGenerations(dest, &problem);
  if (!problem.ok()) {
    std::fprintf(stderr, "lumvane: %s\n", problem.message().c_str());
    return 1;
  }
  if (generations.empty()) {
    std::printf("No earlier versions of %s are kept.\n", JoinPath(dest, "archive.htm").c_str());
    return 0;
  }
  for (const Generation& g : generations) {
    std::printf("%4d  %s  %-8s %s\n", g.number, g.replaced.c_str(), g.by.c_str(),
                CountOf(g.pictures, "picture").c_str());
  }
  return 0;
}

int RunRestoreCommand(const std::string& dest, const std::string& number) {
  Restored restored;
  const Status status = RestoreGeneration(dest, std::atoi(number.c_str()), &restored);
  if (!status.ok()) {
    std::fprintf(stderr, "lumvane: %s\n", status.message().c_str());
    return 1;
  }
  std::printf("%s\n", RestoreSummary(restored, dest).c_str());
  return 0;
}

}  // namespace lumvane
