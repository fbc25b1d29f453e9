// SPDX-License-Identifier: GPL-3.0-or-later
// The platform's guards of the user's files: temporaries, copies, the destination's lock and
// files that must never be waited on.
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "platform/catalog_file.h"
#include "platform/content_digest.h"
#include "platform/destination_lock.h"
#include "platform/file_copy.h"
#include "platform/file_probe.h"
#include "platform/temporary_files.h"
#include "tests/support/small_disk.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::ReadAll;
using testing_support::TempDir;

TEST(TemporaryFiles, OnlyOurOwnPrefixCountsAsLeftover) {
  TempDir dir;
  std::string made;
  const int fd = CreateTemporary(dir.path(), "archive.htm", 0666, &made);
  ASSERT_GE(fd, 0);
  close(fd);
  EXPECT_TRUE(IsLeftoverTemporary(made.substr(made.rfind('/') + 1))) << made;
  for (const char* theirs : {"Thesis draft.tmp-copy", "archive.htm.tmp-backup",
                             "_ABCDEFG.jpg.tmp-mine12", "notes.lumvane-tmp-1", "archive.htm"}) {
    EXPECT_FALSE(IsLeftoverTemporary(theirs)) << theirs;
    dir.Write(theirs, "the user's");
  }
  EXPECT_EQ(RemoveLeftoverTemporaries(dir.path()), 1);
  EXPECT_EQ(dir.Names().size(), 5u) << "every file of the user's stays";
}

TEST(ContentDigest, TheSameBytesInAnyPiecesGiveTheSameDigestAndOneChangedByteAnother) {
  const std::string bytes = "archive.htm, its records and its tail\r\n";
  ContentDigest whole, pieces, changed;
  whole.Add(bytes);
  for (size_t at = 0, length = 1; at < bytes.size(); at += length, length = length % 5 + 1) {
    pieces.Add(std::string_view(bytes).substr(at, length));
  }
  std::string other = bytes;
  other[9] = 'H';
  changed.Add(other);
  EXPECT_TRUE(whole == pieces);
  EXPECT_FALSE(whole == changed);
  TempDir dir;
  dir.Write("page", bytes);
  EXPECT_TRUE(DigestOfFile(dir / "page") == whole);
  EXPECT_FALSE(DigestOfFile(dir / "gone").has_value());
}

// "new", "there", or the failure's message.
std::string Made(const StatusOr<CopyMade>& copy) {
  if (!copy.ok()) return copy.status().message();
  return *copy == CopyMade::kNewFile ? "new" : "there";
}

TEST(CopyToNewFile, CopiesBytesAndTimeAndNeverReplacesAnotherFile) {
  TempDir from, to;
  from.Write("a.jpg", "original bytes");
  std::filesystem::last_write_time(from / "a.jpg",
                                   std::filesystem::file_time_type(std::chrono::hours(300000)));
  EXPECT_EQ(Made(CopyToNewFile(from / "a.jpg", to / "a.jpg")), "new");
  EXPECT_EQ(ReadAll(to / "a.jpg"), "original bytes");
  EXPECT_EQ(std::filesystem::last_write_time(to / "a.jpg"),
            std::filesystem::last_write_time(from / "a.jpg"));
  EXPECT_EQ(Made(CopyToNewFile(from / "a.jpg", to / "a.jpg")), "there");

  to.Write("b.jpg", "original bytes");  // the same bytes at another time
  from.Write("b.jpg", "original bytes");
  EXPECT_EQ(Made(CopyToNewFile(from / "b.jpg", to / "b.jpg")), "there");
  to.Write("c.jpg", "other bytes of the same length");
  from.Write("c.jpg", "original bytes of same length!");
  // Same name, size and time (a second memory card): only the bytes tell them apart.
  std::filesystem::last_write_time(to / "c.jpg", std::filesystem::last_write_time(from / "c.jpg"));
  EXPECT_EQ(CopyToNewFile(from / "c.jpg", to / "c.jpg").status().code(),
            StatusCode::kAlreadyExists);
  EXPECT_EQ(ReadAll(to / "c.jpg"), "other bytes of the same length");
}

TEST(CopyToNewFile, TwoCopiesOfOneOriginalAtOnceAreNeverInEachOthersWay) {
  TempDir from, to;
  from.Write("a.jpg", std::string(1 << 20, 'x'));
  for (int round = 0; round < 20; ++round) {
    const std::string target = to / ("a" + std::to_string(round) + ".jpg");
    std::string first;
    std::thread other([&] { first = Made(CopyToNewFile(from / "a.jpg", target)); });
    const std::string second = Made(CopyToNewFile(from / "a.jpg", target));
    other.join();
    EXPECT_TRUE(first + second == "newthere" || first + second == "therenew") << first << second;
  }
}

TEST(CopyToNewFile, FailuresSayWhyAndLeaveNothingBehind) {
  TempDir from, to;
  from.Write("a.jpg", "bytes");
  EXPECT_EQ(Made(CopyToNewFile(from / "gone.jpg", to / "gone.jpg")), "No such file or directory");
  EXPECT_EQ(Made(CopyToNewFile(from / "a.jpg", to / (std::string(252, 'n') + ".jpg"))),
            "File name too long");
  EXPECT_EQ(CopyToNewFile(from / "a.jpg", to / "gone/a.jpg").status().code(),
            StatusCode::kNotFound);
  ASSERT_EQ(mkfifo((from / "pipe.jpg").c_str(), 0644), 0);
  EXPECT_FALSE(CopyToNewFile(from / "pipe.jpg", to / "pipe.jpg").ok());
  // An original larger than the room left is refused before a byte of it is written.
  from.Write("big.jpg", std::string(1 << 20, 'x'));
  const testing_support::SmallDisk disk(to.path(), 256 * 1024);
  const int watch = inotify_init1(IN_NONBLOCK);
  inotify_add_watch(watch, to.path().c_str(), IN_MODIFY);
  EXPECT_EQ(Made(CopyToNewFile(from / "big.jpg", to / "big.jpg")), disk.full_reason());
  char event[4096];
  EXPECT_EQ(read(watch, event, sizeof event), -1) << "nothing written";
  close(watch);
  EXPECT_TRUE(to.Names().empty());
}

TEST(ProbeAndCatalogFile, FifosFoldersAndMissingFilesAreNamedWithoutBlocking) {
  TempDir dir;
  ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0644), 0);
  std::filesystem::create_directory(dir / "folder.txt");
  dir.Write("plain", "x");
  EXPECT_EQ(ProbeFile(dir / "pipe").code(), StatusCode::kInvalidInput);
  EXPECT_EQ(ProbeFile(dir / "folder.txt").code(), StatusCode::kInvalidInput);
  EXPECT_EQ(ProbeFile(dir / "gone").code(), StatusCode::kNotFound);
  EXPECT_EQ(ProbeFile(dir / "plain/x").code(), StatusCode::kNotFound);
  EXPECT_TRUE(ProbeFile(dir / "plain").ok());
  CatalogFile catalog;
  const Status pipe = catalog.Open(dir / "pipe");
  EXPECT_EQ(CatalogFile::ErrorNumber(pipe), 75);
  EXPECT_EQ(CatalogFile::ErrorNumber(Status::FromErrno(EACCES, "")), 70);
  EXPECT_EQ(CatalogFile::ErrorNumber(catalog.Open(dir / "gone.txt")), 53);
  EXPECT_EQ(pipe.message(), "Not a regular file");
  EXPECT_EQ(catalog.Open(dir / "folder.txt").message(), "Is a directory");
}

TEST(DestinationLock, OneHolderAtATimeAndAKilledHolderLetsGo) {
  TempDir dir;
  DestinationLock first, second;
  ASSERT_TRUE(first.Acquire(dir.path()).ok());
  EXPECT_EQ(second.Acquire(dir.path()).message(), dir.path() + " is being written by another run");
  first.Release();
  EXPECT_TRUE(dir.Names().empty()) << "the lock file goes with the lock";
  ASSERT_TRUE(second.Acquire(dir.path()).ok());
  second.Release();

  const pid_t child = fork();
  if (child == 0) {
    DestinationLock held;
    _exit(held.Acquire(dir.path()).ok() ? 0 : 1);  // ends without releasing, as if killed
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(first.Acquire(dir.path()).ok()) << "the kernel released the dead holder's lock";
  EXPECT_EQ(DestinationLock().Acquire(dir / "gone").message(),
            "Cannot write into " + (dir / "gone") + ": No such file or directory");
}

}  // namespace
}  // namespace lumvane
