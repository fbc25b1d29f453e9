// A library's tree as runs: which folders become archives and masters, which are left out, and
// when a step need not run again.
#include "run/library_plan.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/pictures.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;

std::vector<std::string> StepsOf(const LibraryPlan& plan) {
  std::vector<std::string> steps;
  for (const LibraryStep& step : plan.steps) {
    steps.push_back((step.kind == LibraryStep::Kind::kScan ? "scan " : "master ") + step.relative);
  }
  return steps;
}

TEST(LibraryPlan, FoldersWithPicturesBecomeArchivesUnderMastersAndLinksOutAreLeftOut) {
  TempDir library, elsewhere;
  for (const char* folder : {"2019", "2019/Italy", "2019/Spain", "2020/Winter/Alps", ".cache",
                             "2020/empty", "Archive"}) {
    fs::create_directories(library / folder);
    if (std::string(folder) != "2020/empty")
      testing_support::WritePhoto(library / (std::string(folder) + "/a.jpg"));
  }
  fs::create_directories(library / "2020/an archive");  // an archive's own images alone
  testing_support::WritePhoto(library / "2020/an archive/_K7Q2M40.jpg");
  testing_support::WritePhoto(library / "2020/an archive/_K7Q2M41.jpg");
  fs::create_directory_symlink(elsewhere.path(), library / "2020/out");
  fs::create_directory_symlink("../..", library / "2020/Winter/loop");
  LibraryPlan plan;
  ASSERT_TRUE(PlanLibrary(library.path(), library / "Archive", false, &plan).ok());
  EXPECT_EQ(StepsOf(plan),
            (std::vector<std::string>{"scan 2019/(this folder)", "scan 2019/Italy",
                                      "scan 2019/Spain", "master 2019", "scan 2020/Winter/Alps",
                                      "master 2020/Winter", "master 2020", "master "}));
  EXPECT_EQ(plan.steps[1].source, library / "2019/Italy");
  EXPECT_EQ(plan.steps[1].dest, library / "Archive/2019/Italy");
  EXPECT_EQ(plan.left_out,
            (std::vector<std::string>{"2020/out (a link out of the library)",
                                      "2020/Winter/loop (a link to a folder taken already)",
                                      "Archive (the archive's own folder)"}));
  EXPECT_FALSE(PlanLibrary(library / "none", library / "Archive", false, &plan).ok());
}

TEST(LibraryPlan, AStepRunsAgainWhenItsPicturesOrOptionsChange) {
  TempDir source, dest;
  testing_support::WritePhoto(source / "a.jpg", 2001);
  const LibraryStep step{LibraryStep::Kind::kScan, source.path(), dest.path(), ""};
  const std::string first = StepFingerprint(step, false, "copy=0");
  EXPECT_FALSE(StepUnchanged(step, first)) << "never run";
  ASSERT_TRUE(NoteStepDone(step, first).ok());
  EXPECT_FALSE(StepUnchanged(step, first)) << "its archive is missing";
  dest.Write("archive.htm", "");
  EXPECT_TRUE(StepUnchanged(step, first));
  EXPECT_NE(StepFingerprint(step, false, "copy=1"), first);
  testing_support::SetFileDate(source / "a.jpg", 2002, 1, 1);
  EXPECT_NE(StepFingerprint(step, false, "copy=0"), first);
  source.Write("b.png", "");
  EXPECT_NE(StepFingerprint(step, true, "copy=0"), StepFingerprint(step, false, "copy=0"));
}

}  // namespace
}  // namespace lumvane
