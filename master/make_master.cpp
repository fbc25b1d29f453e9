// SPDX-License-Identifier: GPL-3.0-or-later
#include "master/make_master.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include "importers/source_scan.h"
#include "page/archive_page.h"
#include "pictures/catalog_line.h"
#include "platform/directory_listing.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/plural.h"
#include "platform/replacing_file.h"

namespace lumvane {
namespace {

// The archives of the visible subfolders of `dest`, in file-manager order.
struct SubfolderArchives {
  std::vector<std::string> folders;     // to merge
  std::vector<std::string> unreadable;  // "PAGE: reason"
};

// Lists the subfolders that hold an archive.htm. A subfolder that is the master's own folder,
// a folder above it or one listed already (through a link) is passed over and named, so that
// a master never merges itself.
Status ListArchiveFolders(ImportRun& run, const std::string& dest, SubfolderArchives* found) {
  std::vector<std::string> folders;
  if (Status status = ListVisibleFolders(dest, &folders); !status.ok()) return status;
  std::sort(folders.begin(), folders.end(), ListedBefore);
  std::error_code error;
  const std::string here = std::filesystem::canonical(dest, error).string();
  std::map<std::string, std::string> merged;  // real folder -> the subfolder that names it
  for (const std::string& folder : folders) {
    const std::string page = JoinPath(JoinPath(dest, folder), "archive.htm");
    const StatusOr<FileFacts> facts = FactsOf(page);
    if (!facts.ok() && facts.status().code() != StatusCode::kNotFound) {
      found->unreadable.push_back(page + ": " + facts.status().message());  // said so
    }
    if (!facts.ok() || facts->kind != FileKind::kRegular) continue;
    const std::string real = std::filesystem::canonical(JoinPath(dest, folder), error).string();
    if (real == here || here.starts_with(WithTrailingSeparator(real))) {
      run.NotePassedOver(JoinPath(dest, folder),
                         real == here ? "the master's own folder" : "a folder above the master's",
                         /*lost=*/false);
    } else if (const auto [earlier, fresh] = merged.emplace(real, folder); !fresh) {
      run.NotePassedOver(JoinPath(dest, folder), "the same folder as " + earlier->second,
                         /*lost=*/false);
    } else {
      found->folders.push_back(folder);
    }
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
    PictureRecord record = DecodeRecord(page.all[i]);
    if (!page.whole[i]) {
      run.NotePassedOver(page_path, "damaged entry", /*lost=*/true);
    } else if (!StaysInsideArchive(record.thumb) || !StaysInsideArchive(record.file)) {
      run.NotePassedOver(page_path, "an entry naming a file outside its archive", /*lost=*/true);
    } else {
      records.push_back(std::move(record));
    }
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
  std::string text = "Could not merge " + CountOf(reasons.size(), "archive") + ":";
  for (const std::string& reason : reasons) text += "\r  " + reason;
  return text;
}

}  // namespace

Status MakeMaster(ImportRun& run) {
  const std::string dest = run.dest_dir();
  SubfolderArchives archives;
  if (Status status = ListArchiveFolders(run, dest, &archives); !status.ok()) return status;
  const std::vector<std::string>& folders = archives.folders;
  std::vector<std::string> skipped = archives.unreadable;
  if (folders.empty() && skipped.empty()) {
    return Status::Error(StatusCode::kNotFound,
                         "No archives were found in the subfolders of " + dest);
  }
  run.ExpectPictures(static_cast<int>(folders.size()));
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
  return skipped.empty() ? Status::Ok()
                         : Status::Error(StatusCode::kDamaged, SkippedArchives(skipped));
}

}  // namespace lumvane
