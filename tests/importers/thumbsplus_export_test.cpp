// SPDX-License-Identifier: GPL-3.0-or-later
#include "importers/thumbsplus_export.h"

#include <gtest/gtest.h>

#include "locations/label_to_drive.h"
#include "tests/support/pictures.h"
#include "tests/support/recording_run.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::RecordingRun;
using testing_support::TempDir;

// An export line: label, folder (column 6), name (22), comment (23), keywords (24).
std::string Line(const std::string& label, const std::string& folder, const std::string& name,
                 const std::string& comment = "", const std::string& keywords = "") {
  std::string line = label + ",x,x,x,x," + folder;
  for (int column = 7; column <= 21; ++column) line += ",c" + std::to_string(column);
  return line + "," + name + "," + comment + "," + keywords + "\r\n";
}

class ThumbsPlusExport : public testing::Test {
 protected:
  std::vector<PictureInput> Read(const std::string& catalog) {
    dir.Write("export.csv", catalog);
    EXPECT_TRUE(run.OpenCatalog(dir / "export.csv"));
    EXPECT_TRUE(ReadThumbsPlusExport(run).ok());
    return run.pictures;
  }
  TempDir dir;
  RecordingRun run;
};

TEST(ExportColumns, QuotedCommasAndSurplusColumns) {
  const auto columns = SplitExportLine("PHOTOS,\"a, b\",\"say \"\"hi\"\"\",\",x");
  EXPECT_EQ(columns[1], "a, b");
  EXPECT_EQ(columns[2], "say \"\"hi\"\"");
  EXPECT_EQ(columns[3], "\",x") << "an unclosed quote runs to the end of the line";
  std::string wide;
  for (int i = 1; i <= 30; ++i) wide += std::to_string(i) + ",";
  EXPECT_EQ(SplitExportLine(wide)[23], "24");
  EXPECT_EQ(SplitExportLine("\"")[0], "\"");
}

TEST_F(ThumbsPlusExport, LabelOfAMountedVolumeGivesItsPathAndTheFileDate) {
  run.volumes = {{"/", ""}, {dir.path(), "PHOTOS"}};
  std::filesystem::create_directories(dir / "Trips/1999");
  testing_support::WritePhoto(dir / "Trips/1999/a.jpg", 1999, 4, 5);
  const auto pictures = Read("Label,Path,x\r\n" +
                             Line("PHOTOS", "Trips\\1999", "a.jpg", "\"dawn, harbour\"", "boats"));
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].source, dir / "Trips/1999/a.jpg");
  EXPECT_EQ(pictures[0].comment, "dawn, harbour");
  EXPECT_EQ(pictures[0].subject, "boats");
  EXPECT_EQ(pictures[0].picdate, "April 5, 1999");
  EXPECT_EQ(pictures[0].title, "");
}

TEST_F(ThumbsPlusExport, UnknownLabelFallsBackToDriveCWhichTheDriveMapMayResolve) {
  run.drives['C'] = dir.path();
  std::filesystem::create_directories(dir / "Pics");
  testing_support::WritePhoto(dir / "Pics/b.jpg", 2001, 3, 5);
  const auto pictures = Read(Line("NOWHERE", "Pics", "b.jpg"));
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].source, "C:\\Pics\\b.jpg");
  EXPECT_EQ(pictures[0].picdate, "March 5, 2001") << "the date is read through the drive map";
}

TEST_F(ThumbsPlusExport, VolumesAreProbedOnceForTwoHundredLinesOfOneLabel) {
  run.volumes = {{"/media/cd", "CD1"}};
  std::string catalog;
  for (int i = 0; i < 200; ++i) catalog += Line("CD1", "f", std::to_string(i) + ".jpg");
  const auto pictures = Read(catalog);
  ASSERT_EQ(pictures.size(), 200u);
  EXPECT_EQ(run.volume_probes, 1);
  EXPECT_EQ(pictures[199].source, "/media/cd/f/199.jpg");
}

TEST_F(ThumbsPlusExport, HeaderIsTheFirstLabelLineOnlyAndEmptyLinesAreSkipped) {
  run.volumes = {{"/v", "V"}};
  const auto pictures = Read(Line("V", "f", "1.jpg") + "\r\n,,,\r" + "Label,x\n" +
                             Line("V", "f", "2.jpg") + Line("Label", "f", "3.jpg"));
  EXPECT_EQ(run.Sources(), (std::vector<std::string>{"/v/f/1.jpg", "/v/f/2.jpg", "C:\\f\\3.jpg"}));
  EXPECT_EQ(pictures.size(), 3u);
}

TEST_F(ThumbsPlusExport, StopsAfterThePictureInHand) {
  run.stop_after = 1;
  EXPECT_EQ(Read(Line("V", "f", "1.jpg") + Line("V", "f", "2.jpg")).size(), 1u);
}

TEST(LabelToDrive, FirstVolumeInListOrderAndEveryAnswerRemembered) {
  std::map<std::string, std::string> cache;
  int probes = 0;
  std::vector<Volume> volumes = {{"/", "ROOT"}, {"/media/a", "DATA"}, {"/media/b", "DATA"}};
  const VolumeSource source = [&] {
    ++probes;
    return volumes;
  };
  EXPECT_EQ(LabelToDrive("DATA", cache, source), "/media/a");
  EXPECT_EQ(LabelToDrive("GONE", cache, source), "C:");
  volumes.push_back({"/media/c", "GONE"});
  EXPECT_EQ(LabelToDrive("GONE", cache, source), "C:") << "kept for the program's life";
  EXPECT_EQ(LabelToDrive("data", cache, source), "C:") << "labels compare exactly";
  EXPECT_EQ(probes, 3);
}

}  // namespace
}  // namespace lumvane
