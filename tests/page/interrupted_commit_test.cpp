// SPDX-License-Identifier: GPL-3.0-or-later
// A run killed between the two renames that put its page and catalog in place: the next
// writer of the folder finds a page and a catalog that belong together, and no copy of either
// is lost, on file systems with hard links and without. A page whose rename fails leaves the
// folder as it was, backups included. What a rename puts in place is on the disk before it,
// and so are the images the page names.
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "page/archive_writer.h"
#include "pictures/catalog_line.h"
#include "tests/support/temp_dir.h"

namespace {

// Armed, rename ends the process when it puts a file in place under this name: before the
// rename, or just after it.
const char* die_at_rename_to = nullptr;
bool die_after_rename = false;
// Armed, rename fails when it puts a file in place under this name.
const char* fail_rename_to = nullptr;
// Armed, fsync and rename note what they sync and rename ("sync NAME", "rename FROM TO").
bool noting = false;
std::vector<std::string> noted;

std::string BaseName(const std::string& path) {
  return path.substr(path.find_last_of('/') + 1);
}

// Armed, link fails as on a file system without hard links.
bool no_hard_links = false;

}  // namespace

// These stand in for the C library's functions of the same names in this test program.
extern "C" int rename(const char* from, const char* to) {
  static const auto real =
      reinterpret_cast<int (*)(const char*, const char*)>(dlsym(RTLD_NEXT, "rename"));
  if (fail_rename_to != nullptr && std::string(to).ends_with(fail_rename_to)) {
    errno = EACCES;
    return -1;
  }
  if (noting) noted.push_back("rename " + BaseName(from) + " " + BaseName(to));
  const bool dies = die_at_rename_to != nullptr && std::string(to).ends_with(die_at_rename_to);
  if (dies && !die_after_rename) _exit(0);
  const int renamed = real(from, to);
  if (dies) _exit(0);
  return renamed;
}

extern "C" int fsync(int fd) {
  static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
  char path[4096] = {};
  if (noting &&
      readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path - 1) > 0) {
    noted.push_back("sync " + BaseName(path));
  }
  return real(fd);
}

extern "C" int syncfs(int fd) {
  static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "syncfs"));
  if (noting) noted.push_back("syncfs");
  return real(fd);
}

extern "C" int link(const char* from, const char* to) {
  static const auto real =
      reinterpret_cast<int (*)(const char*, const char*)>(dlsym(RTLD_NEXT, "link"));
  if (!no_hard_links) return real(from, to);
  errno = EPERM;
  return -1;
}

namespace lumvane {
namespace {

using testing_support::ReadAll;
using testing_support::TempDir;

// Writes an archive of `pictures` pictures titled `title`.
void WriteArchive(const std::string& dest, const std::string& title, int pictures) {
  ArchiveWriter writer;
  ASSERT_TRUE(writer.Open(dest, false).ok());
  PictureRecord record;
  record.thumb = "_K7Q2M40.jpg";
  record.title = title;
  for (int i = 0; i < pictures; ++i) ASSERT_TRUE(writer.Add(record, title + ".jpg").ok());
  ASSERT_TRUE(writer.Commit(false).ok());
}

// The titles of the page's records and of the catalog's rows, which must match.
void ExpectAPair(const std::string& dest, const std::string& title, size_t pictures,
                 const std::string& name = "archive") {
  const auto records = ReadCatalogLines(ReadAll(dest + "/" + name + ".htm"));
  ASSERT_EQ(records.size(), pictures);
  EXPECT_EQ(records[0][4], title);
  EXPECT_NE(ReadAll(dest + "/" + name + ".txt").find("\t" + title + "\t"), std::string::npos);
}

// Runs `write` in a child process that `rename` ends at the rename to `name`.
template <typename Write>
void KilledAtRename(bool after, bool links, Write write, const char* name = "/archive.htm") {
  const pid_t run = fork();
  if (run == 0) {
    no_hard_links = !links;
    die_at_rename_to = name;
    die_after_rename = after;
    write();
    _exit(1);  // not killed: the test is void
  }
  int status = 0;
  waitpid(run, &status, 0);
  ASSERT_EQ(WEXITSTATUS(status), 0);
}

TEST(InterruptedCommit, TheNextWriterFindsAPageAndACatalogThatBelongTogether) {
  for (const bool links : {true, false}) {
    for (const bool after : {false, true}) {
      SCOPED_TRACE(std::string(links ? "hard links" : "no hard links") +
                   (after ? ", killed after the page's rename" : ", killed before it"));
      TempDir dest;
      WriteArchive(dest.path(), "Earlier", 1);
      KilledAtRename(after, links, [&] { WriteArchive(dest.path(), "Newer", 2); });
      ArchiveWriter next;  // the next run into the folder
      ASSERT_TRUE(next.Open(dest.path(), false).ok());
      next.Abandon();
      ExpectAPair(dest.path(), "Newer", 2);
      EXPECT_EQ(dest.Names(), (std::vector<std::string>{"archive.htm", "archive.txt"}));
    }
  }
}

TEST(InterruptedCommit, AnyFolderIsFinishedAndTheJournalKeptWhileTheRenameFails) {
  TempDir top;
  std::string dest = top / ("a line\nbreak" + std::string(240, 'x'));
  for (const char c : {'y', 'z', 'w'}) dest += "/" + std::string(240, c);  // over 1,000 bytes
  std::filesystem::create_directories(dest);
  WriteArchive(dest, "Earlier", 1);
  KilledAtRename(/*after=*/false, /*links=*/true, [&] { WriteArchive(dest, "Newer", 2); });
  ArchiveWriter next;
  fail_rename_to = "/archive.htm";
  const Status failed = next.Open(dest, false);
  fail_rename_to = nullptr;
  EXPECT_NE(failed.message().find("Cannot finish"), std::string::npos) << failed.message();
  ASSERT_TRUE(next.Open(dest, false).ok()) << "the journal was kept for the next writer";
  next.Abandon();
  ExpectAPair(dest, "Newer", 2);
}

TEST(InterruptedCommit, TheEditorsBackupsCutInTwoAreFinishedAsAPair) {
  TempDir dest;
  WriteArchive(dest.path(), "Earlier", 1);
  KilledAtRename(
      /*after=*/false, /*links=*/true,
      [&] {
        ArchiveWriter writer;
        ASSERT_TRUE(writer.Open(dest.path(), false).ok());
        writer.BackUpAtCommit();
        ASSERT_TRUE(writer.Add(PictureRecord(), "a.jpg").ok());
        ASSERT_TRUE(writer.Commit(false).ok());
      },
      "/archive_bak.htm");
  ArchiveWriter next;
  ASSERT_TRUE(next.Open(dest.path(), false).ok());
  next.Abandon();
  ExpectAPair(dest.path(), "Earlier", 1, "archive_bak");
  ExpectAPair(dest.path(), "Earlier", 1);  // the archive itself was not reached
}

TEST(Commit, EachFileAndTheJournalsFolderAreOnDiskBeforeTheRenamesThatNeedThem) {
  TempDir dest;
  ArchiveWriter writer;
  ASSERT_TRUE(writer.Open(dest.path(), false).ok());
  ASSERT_TRUE(writer.Add(PictureRecord(), "a.jpg").ok());
  noted.clear();
  noting = true;
  const Status status = writer.Commit(false);
  noting = false;
  ASSERT_TRUE(status.ok());
  int renames = 0;
  for (auto event = noted.begin(); event != noted.end(); ++event) {
    if (!event->starts_with("rename ")) continue;
    ++renames;
    const std::string from = event->substr(7, event->find(' ', 7) - 7);
    EXPECT_NE(std::find(noted.begin(), event, "sync " + from), event) << *event;
    if (event->ends_with(" archive.txt")) {  // the journal's name and the images are first
      EXPECT_NE(std::find(noted.begin(), event, "sync " + BaseName(dest.path())), event);
      EXPECT_NE(std::find(noted.begin(), event, "syncfs"), event);
    }
  }
  EXPECT_EQ(renames, 3) << "the journal, the catalog and the page";
}

TEST(FailedCommit, APageThatCannotTakeItsNameLeavesTheFolderAndItsBackupsAsTheyWere) {
  TempDir dest;
  WriteArchive(dest.path(), "Earlier", 1);
  dest.Write("archive_bak.htm", "the backup of an earlier edit");
  dest.Write("archive_bak.txt", "its catalog");
  const auto before = dest.Snapshot();
  ArchiveWriter writer;
  ASSERT_TRUE(writer.Open(dest.path(), false).ok());
  writer.BackUpAtCommit();
  ASSERT_TRUE(writer.Add(PictureRecord(), "a.jpg").ok());
  fail_rename_to = "/archive.htm";
  const Status status = writer.Commit(false);
  fail_rename_to = nullptr;
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(dest.Snapshot(), before);
}

}  // namespace
}  // namespace lumvane
