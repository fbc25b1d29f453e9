// SPDX-License-Identifier: GPL-3.0-or-later
// Runs with several workers, and runs that keep the images of an earlier run.
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "pictures/catalog_line.h"
#include "processing/naming.h"
#include "tests/support/lumvane_process.h"
#include "tests/support/pictures.h"
#include "tests/support/temp_dir.h"

namespace {

using testing_support::Finished;
using testing_support::ReadAll;
using testing_support::RunLumvane;
using testing_support::TempDir;

// Twelve photos of different sizes, so that workers finish them out of order.
void WritePhotos(const TempDir& source) {
  for (int i = 1; i <= 12; ++i) {
    const int width = i % 3 == 0 ? 2400 : 320;
    testing_jpegs::WriteJpeg(source / ("IMG_" + std::to_string(100 + i) + ".jpg"),
                             {width, width * 3 / 4});
    testing_support::SetFileDate(source / ("IMG_" + std::to_string(100 + i) + ".jpg"), 2003, 1, i);
  }
}

TEST(CliParallel, OneAndFourWorkersWriteTheSameArchive) {
  TempDir source, one, four, one_catalog, four_catalog;
  WritePhotos(source);
  source.Write("broken.jpg", "not a picture");
  std::filesystem::create_directory(source / "folder.jpg");
  for (const auto& [jobs, dest] : {std::pair{"1", &one}, std::pair{"4", &four}}) {
    const Finished run =
        RunLumvane({"scan", source.path(), dest->path(), "--copy", "no", "--jobs", jobs});
    EXPECT_EQ(run.exit_code, 0) << run.err;
  }
  EXPECT_EQ(ReadAll(one / "archive.htm"), ReadAll(four / "archive.htm"));
  EXPECT_EQ(ReadAll(one / "archive.txt"), ReadAll(four / "archive.txt"));

  std::string catalog;
  for (int i = 1; i <= 12; ++i) {
    catalog += "IMG_" + std::to_string(100 + i) + ".jpg\tPicture " + std::to_string(i) + "\n";
    if (i % 4 == 0) catalog += "missing" + std::to_string(i) + ".jpg\tgone\nbroken.jpg\tbad\n";
  }
  source.Write("photos.txt", catalog);
  for (const auto& [jobs, dest] : {std::pair{"1", &one_catalog}, std::pair{"4", &four_catalog}}) {
    const Finished run = RunLumvane(
        {"catalog", source / "photos.txt", dest->path(), "--copy", "rename", "--jobs", jobs});
    EXPECT_EQ(run.exit_code, 1) << "three pictures are missing";
    EXPECT_NE(run.out.find("Passed over 6: 3 file missing, 3 not a picture"), std::string::npos)
        << run.out;
  }
  EXPECT_EQ(ReadAll(one_catalog / "archive.htm"), ReadAll(four_catalog / "archive.htm"));
  EXPECT_EQ(ReadAll(one_catalog / "archive.txt"), ReadAll(four_catalog / "archive.txt"));
  EXPECT_EQ(one_catalog.Names(), four_catalog.Names()) << "the same images and copies";
}

TEST(CliParallel, ReRunsKeepTheImagesOfUnchangedOriginals) {
  TempDir source, dest;
  for (int i = 1; i <= 3; ++i) {
    testing_support::WritePhoto(source / ("p" + std::to_string(i) + ".jpg"), 2004, 5, i);
  }
  const std::vector<std::string> scan = {"scan", source.path(), dest.path(), "--copy", "no"};
  ASSERT_EQ(RunLumvane(scan).exit_code, 0);
  const std::string first_page = ReadAll(dest / "archive.htm");
  const auto records = lumvane::ReadCatalogLines(first_page);
  ASSERT_EQ(records.size(), 3u);
  const auto display_of = [&](size_t n) {
    return dest / lumvane::NamesForCode(records[n][0].substr(1, 7))->display;
  };
  struct stat before {};
  stat(display_of(0).c_str(), &before);

  Finished again = RunLumvane(scan);
  EXPECT_EQ(again.exit_code, 0) << again.err;
  EXPECT_NE(again.out.find("3 pictures kept the images of the earlier archive"), std::string::npos)
      << again.out;
  EXPECT_EQ(ReadAll(dest / "archive.htm"), first_page);
  struct stat after {};
  stat(display_of(0).c_str(), &after);
  EXPECT_EQ(after.st_ino, before.st_ino) << "the display image was not written again";

  testing_support::SetFileDate(source / "p2.jpg", 2010, 1, 1);  // a changed original
  std::filesystem::resize_file(display_of(2), 0);               // an image that was never completed
  // A dry run says what the run below will do, and writes nothing anywhere.
  const int watch = inotify_init1(IN_NONBLOCK);
  for (const std::string& folder : {dest.path(), source.path()}) {
    inotify_add_watch(watch, folder.c_str(), IN_CREATE | IN_MODIFY | IN_ATTRIB | IN_MOVED_TO);
  }
  const Finished dry = RunLumvane({"scan", source.path(), dest.path(), "--copy=keep", "-n"});
  char event[4096];
  EXPECT_EQ(read(watch, event, sizeof event), -1) << "the dry run wrote into a folder";
  close(watch);
  EXPECT_EQ(dry.exit_code, 0) << dry.err;
  EXPECT_TRUE(dry.out.starts_with(
      "Would archive 3 pictures into " + (dest / "archive.htm") +
      ": 2 with new images, 1 keeping the images already there\nWould replace the archive of 3 "
      "pictures in " +
      dest.path() +
      ", keeping it in the archive's history\nWould copy 3 "
      "originals ("))
      << dry.out;
  EXPECT_TRUE(dry.out.ends_with(" free\nNothing was written (--dry-run).\n")) << dry.out;
  EXPECT_EQ(RunLumvane({"scan", source.path(), dest / "new", "--dry-run"}).exit_code, 0);
  EXPECT_FALSE(std::filesystem::exists(dest / "new"));
  again = RunLumvane(scan);
  EXPECT_NE(again.out.find("1 picture kept the images"), std::string::npos) << again.out;
  const auto changed = lumvane::ReadCatalogLines(ReadAll(dest / "archive.htm"));
  EXPECT_NE(changed[1][0], records[1][0]) << "new names for the changed original";
  EXPECT_GT(std::filesystem::file_size(display_of(2)), 0u) << "the empty image made again";

  again = RunLumvane({"scan", source.path(), dest.path(), "--copy", "no", "--force"});
  EXPECT_EQ(again.exit_code, 0) << again.err;
  EXPECT_EQ(again.out.find("kept the images"), std::string::npos) << again.out;
  stat(display_of(0).c_str(), &after);
  EXPECT_NE(after.st_ino, before.st_ino) << "--force writes every image again";

  EXPECT_EQ(RunLumvane({"scan", source.path(), dest.path(), "--jobs", "0"}).exit_code, 2);
  EXPECT_EQ(RunLumvane({"master", dest.path(), "--force"}).exit_code, 2);
}

}  // namespace
