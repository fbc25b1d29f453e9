#include "master/make_master.h"

#include <algorithm>
#include <vector>

#include "importers/source_scan.h"
#include "page/archive_page.h"
#include "pictures/catalog_line.h"
#include "platform/directory_listing.h"
#include "platform/paths.h"
#include "platform/replacing_file.h"

namespace lumvane {
namespace {

// The visible subfolders of `dest` that hold an archive.htm, in file-manager order.
Status ListArchiveFolders(const std::string& dest, std::vector<std::string>* archives) {
  std::vector<std::string> folders;
  if (Status status = ListVisibleFolders(dest, &folders); !status.ok()) return status;
  std::sort(folders.begin(), folders.end(), ListedBefore);
  for (const std::string& folder : folders) {
    if (IsVisibleFile(JoinPath(JoinPath(dest, folder), "archive.htm"))) archives->push_back(folder);
  }
  return Status::Ok();
}

// Hands the whole records of one page to the run, prefixed, each with its source as the
// archive's archive.txt names it.
void MergeArchive(ImportRun& run, const std::string& page_text, const std::string& prefix,
                  const std::string& page_path) {
  const PageRecords page = ReadPageRecords(page_text);
  std::vector<PictureRecord> records;
  for (size_t i = 0; i < page.all.size(); ++i) {
    if (page.whole[i]) records.push_back(DecodeRecord(page.all[i]));
    if (!page.whole[i]) run.NotePassedOver(page_path, "damaged entry");
  }
  std::string catalog;
  if (!ReadArchiveFile(JoinPath(FolderOf(page_path), "archive.txt"), &catalog).ok()) {
    catalog.clear();
  }
  const std::vector<std::string> sources = SourcesOf(records, catalog);
  for (size_t i = 0; i < records.size(); ++i) {
    records[i].thumb = prefix + records[i].thumb;
    records[i].file = prefix + records[i].file;
    run.AddRecord(records[i], sources[i]);
  }
}

std::string SkippedArchives(const std::vector<std::string>& reasons) {
  std::string text = "Could not merge " + std::to_string(reasons.size()) + " archive" +
                     (reasons.size() == 1 ? "" : "s") + ":";
  for (const std::string& reason : reasons) text += "\r  " + reason;
  return text;
}

}  // namespace

Status MakeMaster(ImportRun& run) {
  const std::string dest = run.dest_dir();
  std::vector<std::string> folders;
  if (Status status = ListArchiveFolders(dest, &folders); !status.ok()) return status;
  if (folders.empty()) return Status::Error("No archives were found in the subfolders of " + dest);
  run.ExpectPictures(static_cast<int>(folders.size()));
  std::vector<std::string> skipped;
  for (size_t i = 0; i < folders.size(); ++i) {
    run.BeginStep(" " + std::to_string(i + 1));
    const std::string page_path = JoinPath(JoinPath(dest, folders[i]), "archive.htm");
    std::string text;
    if (Status read = ReadArchivePage(page_path, &text); !read.ok()) {
      skipped.push_back(page_path + ": " + read.message());
    } else {
      MergeArchive(run, text, folders[i] + "/", page_path);
      run.CountMergedArchive();
    }
    if (run.StopRequested()) break;
  }
  return skipped.empty() ? Status::Ok() : Status::Error(SkippedArchives(skipped));
}

}  // namespace lumvane
