// SPDX-License-Identifier: GPL-3.0-or-later
// A run into `dest` through a fake window, with the program's importers: the fixture of the
// run driver's tests.
#ifndef LUMVANE_TESTS_SUPPORT_RUN_FIXTURE_H_
#define LUMVANE_TESTS_SUPPORT_RUN_FIXTURE_H_

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "run/run_driver.h"
#include "tests/support/archive.h"
#include "tests/support/fake_window.h"
#include "tests/support/pictures.h"
#include "tests/support/temp_dir.h"

namespace testing_support {

class RunFixture : public testing::Test {
 protected:
  void SetUp() override {
    window.source_dir_value = source.path();
    window.dest_dir_value = dest.path();
    environment = lumvane::DefaultRunEnvironment();
  }

  // `count` photos IMG_1.jpg, ... in the source folder.
  void AddPhotos(int count) {
    for (int i = 1; i <= count; ++i) {
      WritePhoto(source / ("IMG_" + std::to_string(i) + ".jpg"), 2001, 3, i);
    }
  }

  // Makes an archive of one or two pictures in the destination, as an earlier run left it.
  void MakeEarlierArchive(int pictures = 2) {
    WritePhoto(source / "one.jpg", 2001, 1, 1);
    if (pictures > 1) WritePhoto(source / "two.jpg", 2001, 1, 2);
    GoClick(window, state, environment);
    ASSERT_EQ(state.picture_count, pictures);
    window.messages.clear();
    earlier = dest.Snapshot();
  }

  void UseCatalog(const std::string& folder, const std::string& name) {
    window.mode_value = lumvane::Mode::kCatalogOriginalPaths;
    window.catalog_dir_value = folder;
    window.catalog_file_value = name;
  }

  size_t RecordsInPage() { return RecordsIn(dest.path()).size(); }
  bool PageIsComplete() {
    const std::string page = ReadAll(dest / "archive.htm");
    return page.starts_with("<!DOCTYPE HTML") && page.ends_with("</html>\r\n");
  }

  TempDir source, dest;
  FakeWindow window;
  lumvane::RunState state;
  lumvane::RunEnvironment environment;
  std::map<std::string, std::string> earlier;  // the destination before the run tried
};

}  // namespace testing_support

#endif  // LUMVANE_TESTS_SUPPORT_RUN_FIXTURE_H_
