// SPDX-License-Identifier: GPL-3.0-or-later
// A library's tree as runs: which folders become archives and masters, which are left out, and
// when a step need not run again.
#include "run/library_plan.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "run/library_run.h"
#include "tests/support/pictures.h"
#include "tests/support/run_fixture.h"
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

using LibraryRunTest = testing_support::RunFixture;

// One Go over a library: the copy question once, Go stays Stop until the end, a Stop ends it
// after the step in hand, and a run again leaves the unchanged steps alone.
TEST_F(LibraryRunTest, AWindowsLibraryRunAsksOnceStopsBetweenStepsAndSkipsWhatIsUnchanged) {
  fs::create_directories(source / "b/c");
  testing_support::WritePhoto(source / "a.jpg");
  testing_support::WritePhoto(source / "b/c/d.jpg");
  std::vector<std::string> captions;
  window.on_yield = [&captions](testing_support::FakeWindow& w) {
    captions.push_back(w.caption());
  };
  RunLibrary(window, state, environment);
  EXPECT_EQ(window.copy_questions, 1);
  EXPECT_EQ(window.messages, std::vector<std::string>{});
  EXPECT_EQ(captions, std::vector<std::string>(captions.size(), "Stop")) << "never Go inside";
  EXPECT_EQ(window.caption(), "Go");
  EXPECT_EQ(window.status_text, "4 archives made, 0 archives unchanged: " + dest.path());
  EXPECT_EQ(state.picture_count, 2);
  EXPECT_EQ(window.reports, 1);

  testing_support::SetFileDate(source / "b/c/d.jpg", 2002, 1, 1);
  window.StopAfter(window.yields + 1);
  RunLibrary(window, state, environment);
  EXPECT_EQ(window.status_text, "1 archive made, 1 archive unchanged: " + dest.path())
      << "stopped after b/c, before the masters above it";
}

}  // namespace
}  // namespace lumvane
