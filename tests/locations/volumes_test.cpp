// SPDX-License-Identifier: GPL-3.0-or-later
#include "locations/volumes.h"

#include <gtest/gtest.h>

#include "locations/drive_map.h"

namespace lumvane {
namespace {

TEST(Volumes, RootFirstThenByLabelOrMountPointWithEscapesRead) {
  const std::string mounts =
      "proc /proc proc rw 0 0\n"
      "/dev/sdb1 /media/usb\\040stick vfat rw 0 0\n"
      "/dev/sda2 / ext4 rw 0 0\n"
      "/dev/sdc1 /mnt/archive ext4 rw 0 0\n"
      "/dev/sda2 / ext4 rw 0 0\n"
      "tmpfs /run tmpfs rw 0 0\n";
  const auto volumes =
      VolumesFrom(mounts, {{"Holiday\\x20Photos", "/dev/sdb1"}, {"ARCHIVE", "/dev/sdc1"}});
  ASSERT_EQ(volumes.size(), 3u);
  EXPECT_EQ(volumes[0].mount_point, "/");
  EXPECT_EQ(volumes[1].label, "ARCHIVE");
  EXPECT_EQ(volumes[2].mount_point, "/media/usb stick");
  EXPECT_EQ(volumes[2].label, "Holiday Photos");
}

TEST(DriveMap, MappedDrivesReadFromTheirFolder) {
  const DriveMap drives = {{'D', "/mnt/old"}};
  EXPECT_EQ(MapDrive(drives, "D:\\Pics\\1999\\a.jpg"), "/mnt/old/Pics/1999/a.jpg");
  EXPECT_EQ(MapDrive(drives, "d:/Pics/a.jpg"), "/mnt/old/Pics/a.jpg");
  EXPECT_EQ(MapDrive(drives, "E:\\Pics\\a.jpg"), "E:\\Pics\\a.jpg");
  EXPECT_EQ(MapDrive(drives, "/home/a.jpg"), "/home/a.jpg");
  EXPECT_EQ(MapDrive(drives, "D:"), "D:");
}

TEST(DriveMap, RelativeCatalogPathsAreReadBesideTheCatalog) {
  const DriveMap drives = {{'D', "/mnt/old"}};
  EXPECT_EQ(LocateCatalogSource(drives, "/cat", "bare.jpg"), "/cat/bare.jpg");
  EXPECT_EQ(LocateCatalogSource(drives, "/cat", "sub/x.jpg"), "/cat/sub/x.jpg");
  EXPECT_EQ(LocateCatalogSource(drives, "/cat", "sub\\x.jpg"), "/cat/sub\\x.jpg");
  EXPECT_EQ(LocateCatalogSource(drives, "/cat", "/abs/x.jpg"), "/abs/x.jpg");
  EXPECT_EQ(LocateCatalogSource(drives, "/cat", "\\Old\\x.jpg"), "\\Old\\x.jpg");
  EXPECT_EQ(LocateCatalogSource(drives, "/cat", "E:\\x.jpg"), "E:\\x.jpg");
  EXPECT_EQ(LocateCatalogSource(drives, "/cat", "D:\\x.jpg"), "/mnt/old/x.jpg");
  EXPECT_EQ(LocateCatalogSource(drives, "", "bare.jpg"), "bare.jpg") << "no catalog: as it is";
}

}  // namespace
}  // namespace lumvane
