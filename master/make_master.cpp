#include "master/make_master.h"

#include <algorithm>
#include <map>
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
  std::string catalog;
  if (!ReadArchiveFile(JoinPath(FolderOf(page_path), "archive.txt"), &catalog).ok())
    catalog.clear();
  const std::map<std::string, std::string> sources = SourcesByThumbnail(catalog);
  const PageRecords page = ReadPageRecords(page_text);
  for (size_t i = 0; i < page.all.size(); ++i) {
    if (!page.whole[i]) {
      run.NotePassedOver(page_path, "damaged entry");
      continue;
    }
    PictureRecord record = DecodeRecord(page.all[i]);
    const auto source = sources.find(record.thumb);
    const std::string tab_source =
        source != sources.end() ? source->second : OriginalFileOf(record);
    record.thumb = prefix + record.thumb;
    record.file = prefix + record.file;
    run.AddRecord(record, tab_source);
  }
}

std::string SkippedArchives(const std::vector<std::string>& reasons) {
  std::string text = "Could not merge " + std::to_string(reasons.size()) + " archive" +
                     (reasons.size() == 1 ? "" : "s") + ":";
  for (const std::string& reason : reasons) text += "\r  " + reason;
  return text;
}

}  // namespace

std::string OriginalFileOf(const PictureRecord& record) {
  if (record.path.empty()) return record.source;
  const bool windows =
      record.path.find('\\') != std::string::npos && record.path.find('/') == std::string::npos;
  const char separator = windows ? '\\' : '/';
  if (record.path.back() == separator) return record.path + record.source;
  return record.path + separator + record.source;
}

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
