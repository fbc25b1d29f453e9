#include "shell/run_driver.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "page/page_writer.h"
#include "pictures/catalog_line.h"
#include "tests/support/fake_window.h"
#include "tests/support/pictures.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::FakeWindow;
using testing_support::ReadAll;
using testing_support::TempDir;

class RunDriverTest : public testing::Test {
 protected:
  void SetUp() override {
    window.source_dir_value = source.path();
    window.dest_dir_value = dest.path();
    environment = DefaultRunEnvironment();
  }

  void AddPhotos(int count) {
    for (int i = 1; i <= count; ++i) {
      testing_support::WritePhoto(source / ("IMG_" + std::to_string(i) + ".jpg"), 2001, 3, i);
    }
  }

  size_t RecordsInPage() { return ReadCatalogLines(ReadAll(dest / "archive.htm")).size(); }
  bool PageIsComplete() {
    const std::string page = ReadAll(dest / "archive.htm");
    return page.starts_with(std::string(PageHeadText()).substr(0, 20)) &&
           page.ends_with("</html>\r\n");
  }

  TempDir source, dest;
  FakeWindow window;
  RunState state;
  RunEnvironment environment;
};

TEST_F(RunDriverTest, ScanRunCountsInStatusAndEndsDone) {
  AddPhotos(3);
  GoClick(window, state, environment);
  EXPECT_EQ(window.caption, "Go");
  EXPECT_EQ(window.status_text, " 3 Done!");
  EXPECT_EQ(window.statuses,
            (std::vector<std::string>{"", "Running...", " 1", " 2", " 3", " 3 Done!"}));
  EXPECT_EQ(window.copy_questions, 1);
  EXPECT_EQ(state.PictureCount, 3);
  EXPECT_EQ(RecordsInPage(), 3u);
  EXPECT_TRUE(PageIsComplete());
  EXPECT_EQ(ReadAll(dest / "texture.jpg"), ReadAll(environment.texture));
  EXPECT_TRUE(ReadAll(dest / "archive.txt").starts_with(TabCatalogHeader() + "\r\n"));
}

TEST_F(RunDriverTest, EmptyFolderGivesDoneAloneAndAnEmptyCompletePage) {
  GoClick(window, state, environment);
  EXPECT_EQ(window.status_text, " Done!");
  EXPECT_TRUE(PageIsComplete());
  EXPECT_EQ(RecordsInPage(), 0u);
}

TEST_F(RunDriverTest, StopAfterTheThirdPictureGivesThreeRecordsAndACompletePage) {
  AddPhotos(6);
  window.StopAfter(3);
  GoClick(window, state, environment);
  EXPECT_EQ(RecordsInPage(), 3u);
  EXPECT_TRUE(PageIsComplete());
  EXPECT_EQ(window.status_text, " 3 Done!");
  EXPECT_EQ(window.caption, "Go");
}

TEST_F(RunDriverTest, FolderHoldingAnEarlierArchiveIsScannedWithoutItsGeneratedImages) {
  AddPhotos(2);
  window.dest_dir_value = source.path();
  state.CopyMode = kCopyRename;
  GoClick(window, state, environment);
  EXPECT_EQ(window.copy_questions, 0) << "source equals destination: no question";
  ASSERT_EQ(state.PictureCount, 2);
  // Rescan: the two originals and their renamed copies are pictures; thumbnails and display
  // images are passed over in pairs, and so is the archive's background.
  GoClick(window, state, environment);
  EXPECT_EQ(state.PictureCount, 4);
  ASSERT_EQ(state.passed_over.size(), 5u);
  for (const auto& picture : state.passed_over) {
    EXPECT_EQ(picture.reason, PassOver::kGeneratedImage) << picture.source;
  }
}

TEST_F(RunDriverTest, CancelledCopyQuestionTouchesNothing) {
  AddPhotos(1);
  window.copy_answer = kCopyCancelled;
  dest.Write("archive.htm", "earlier");
  GoClick(window, state, environment);
  EXPECT_EQ(ReadAll(dest / "archive.htm"), "earlier");
  EXPECT_EQ(dest.Names(), std::vector<std::string>{"archive.htm"});
  EXPECT_EQ(window.caption, "Go");
}

TEST_F(RunDriverTest, UnwritableDestinationGivesAMessageAndKeepsTheEarlierArchive) {
  AddPhotos(1);
  window.dest_dir_value = dest / "missing";
  GoClick(window, state, environment);
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0],
            "Cannot write into the folder " + (dest / "missing") + ": No such file or directory");
  EXPECT_EQ(window.caption, "Go");
  if (geteuid() == 0) return;  // root writes into read-only folders
  window.dest_dir_value = dest.path();
  dest.Write("archive.htm", "earlier");
  chmod(dest.path().c_str(), 0555);
  GoClick(window, state, environment);
  chmod(dest.path().c_str(), 0755);
  EXPECT_EQ(ReadAll(dest / "archive.htm"), "earlier");
}

TEST_F(RunDriverTest, SelectionAndTypeChecks) {
  const struct {
    Mode mode;
    const char* file;
    const char* message;
  } cases[] = {{Mode::kCatalogOriginalPaths, "", "Select Catalog File"},
               {Mode::kEdit, "", "Select Archive File"},
               {Mode::kCatalogSourceDir, "trip.TXT", "Catalog file type not supported"},
               {Mode::kEdit, "Archive.htm", "Catalog file type not supported"},
               {Mode::kEdit, "photos.txt", "Catalog file type not supported"}};
  for (const auto& c : cases) {
    FakeWindow w;
    w.mode_value = c.mode;
    w.catalog_file_value = c.file;
    w.dest_dir_value = dest.path();
    GoClick(w, state, environment);
    EXPECT_EQ(w.messages, std::vector<std::string>{c.message}) << c.file;
  }
  EXPECT_TRUE(dest.Names().empty());
}

TEST_F(RunDriverTest, ArchiveHtmInACatalogModeOpensTheEditor) {
  window.mode_value = Mode::kCatalogOriginalPaths;
  window.catalog_dir_value = dest.path();
  window.catalog_file_value = "archive.htm";
  GoClick(window, state, environment);
  EXPECT_EQ(window.editor_folders, std::vector<std::string>{dest.path() + "/"});
  EXPECT_TRUE(dest.Names().empty());
}

// A tab-catalog stand-in that hands over the first column of every line but the header.
Status FirstColumnReader(ImportRun& run) {
  std::string bytes;
  if (!run.catalog()->ReadAll(&bytes)) return Status::Error("unreadable catalog");
  size_t start = bytes.find('\n') + 1;
  while (start < bytes.size()) {
    const size_t end = bytes.find('\n', start);
    PictureInput picture;
    picture.source = bytes.substr(start, bytes.find('\t', start) - start);
    run.Process(picture);
    if (run.StopRequested() || end == std::string::npos) break;
    start = end + 1;
  }
  return Status::Ok();
}

TEST_F(RunDriverTest, OwnArchiveTxtAsCatalogIsSwappedOnlyWhenTheRunCompletes) {
  AddPhotos(3);
  GoClick(window, state, environment);
  const std::string first = ReadAll(dest / "archive.txt");
  environment.importers.catalog_readers[".txt"] = FirstColumnReader;
  window.mode_value = Mode::kCatalogOriginalPaths;
  window.catalog_dir_value = dest.path();
  window.catalog_file_value = "archive.txt";

  window.StopAfter(2);
  window.yields = 0;
  GoClick(window, state, environment);
  EXPECT_EQ(ReadAll(dest / "archive.txt"), first) << "stopped: archive.txt unchanged";
  const std::string partial = ReadAll(dest / "archive2.txt");
  EXPECT_EQ(std::count(partial.begin(), partial.end(), '\n'), 3) << "header and two lines";

  window.on_yield = nullptr;
  GoClick(window, state, environment);
  EXPECT_FALSE(std::filesystem::exists(dest / "archive2.txt"));
  const std::string swapped = ReadAll(dest / "archive.txt");
  EXPECT_NE(swapped, first);
  EXPECT_EQ(std::count(swapped.begin(), swapped.end(), '\n'), 4) << "header and three lines";
}

TEST_F(RunDriverTest, CatalogThatCannotBeOpenedEndsTheRunKeepingTheArchive) {
  environment.importers.catalog_readers[".txt"] = FirstColumnReader;
  window.mode_value = Mode::kCatalogOriginalPaths;
  window.catalog_dir_value = source.path();
  window.catalog_file_value = "gone.txt";
  dest.Write("archive.htm", "earlier");
  GoClick(window, state, environment);
  EXPECT_EQ(window.messages, std::vector<std::string>{"gone.txt Error 53"});
  EXPECT_EQ(dest.Names(), std::vector<std::string>{"archive.htm"});
  EXPECT_EQ(ReadAll(dest / "archive.htm"), "earlier");
  EXPECT_EQ(window.caption, "Go");
  EXPECT_EQ(window.status_text, "");
}

TEST_F(RunDriverTest, ModesThatAreNotBuiltYetSayWhy) {
  window.mode_value = Mode::kMaster;
  GoClick(window, state, environment);
  window.mode_value = Mode::kCatalogOriginalPaths;
  window.catalog_file_value = "photos.plb";
  GoClick(window, state, environment);
  EXPECT_EQ(window.messages,
            (std::vector<std::string>{"Master archives are not available in this version yet.",
                                      "Reading .plb catalogs is not available in this version yet."}));
  EXPECT_TRUE(dest.Names().empty());
}

}  // namespace
}  // namespace lumvane
