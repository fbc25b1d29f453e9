#include "page/archive_writer.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "page/page_writer.h"
#include "pictures/catalog_line.h"
#include "platform/file_copy.h"
#include "platform/paths.h"
#include "platform/temporary_files.h"

namespace fs = std::filesystem;

namespace lumvane {
namespace {

// The folders of `dest` that do not exist yet, deepest first.
std::vector<std::string> MissingFolders(const std::string& dest) {
  std::vector<std::string> missing;
  std::error_code error;
  for (fs::path folder = fs::path(dest).lexically_normal();
       !folder.empty() && !fs::exists(folder, error) && folder != folder.parent_path();
       folder = folder.parent_path()) {
    missing.push_back(folder.string());
  }
  return missing;
}

// What a file name held before it is replaced, kept under a hard link while the object lives,
// so that a failure further on can put it back (or remove the new file when there was none).
class KeptFile {
 public:
  explicit KeptFile(std::string path)
      : path_(std::move(path)),
        before_(path_ + ".tmp-before"),
        kept_(link(path_.c_str(), before_.c_str()) == 0) {}
  ~KeptFile() {
    if (kept_) unlink(before_.c_str());
  }
  KeptFile(const KeptFile&) = delete;
  KeptFile& operator=(const KeptFile&) = delete;

  void Restore() const {
    if (kept_) std::rename(before_.c_str(), path_.c_str());
    if (!kept_) unlink(path_.c_str());
  }

 private:
  std::string path_, before_;
  bool kept_;
};

}  // namespace

Status ArchiveWriter::Open(const std::string& dest, bool reads_own_catalog) {
  Abandon();
  dest_ = dest;
  reads_own_catalog_ = reads_own_catalog;
  catalog_started_ = false;
  back_up_page_ = false;
  records_ = 0;
  created_folders_ = MissingFolders(dest);
  std::error_code error;
  fs::create_directories(dest, error);
  if (error) {
    Abandon();
    return Status::Error("Cannot write into " + dest + ": " + error.message());
  }
  Status status = lock_.Acquire(dest);
  if (status.ok()) {
    RemoveLeftoverTemporaries(dest);
    status = page_.Open(JoinPath(dest, "archive.htm"));
  }
  if (status.ok()) status = tab_.Open(JoinPath(dest, "archive.txt"));
  if (status.ok()) {
    WritePageHead(page_);
    status = page_.Flush();
  }
  if (!status.ok()) Abandon();
  return status;
}

void ArchiveWriter::StartCatalog() {
  if (catalog_started_) return;
  tab_.WriteLine(TabCatalogHeader());
  catalog_started_ = true;
}

Status ArchiveWriter::Add(const PictureRecord& record, const std::string& tab_source) {
  StartCatalog();
  for (const std::string& line : CatalogLine(EncodeRecord(record))) page_.WriteLine(line);
  tab_.WriteLine(TabCatalogLine(tab_source, record));
  Status status = page_.Flush();
  if (status.ok()) status = tab_.Flush();
  if (status.ok()) ++records_;
  return status;
}

void ArchiveWriter::NoteCreated(const std::string& path) {
  created_.push_back(path);
}

Status ArchiveWriter::AddTexture(const std::string& texture) {
  for (const char* name : {"texture.jpg", "texture2.jpg"}) {
    const std::string from = texture.empty() ? "" : JoinPath(FolderOf(texture), name);
    bool copied = false;
    Status status = CopyTexture(from, dest_, name, &copied);
    if (copied) NoteCreated(JoinPath(dest_, name));
    if (!status.ok()) return status;
  }
  return Status::Ok();
}

Status ArchiveWriter::Commit(bool stopped) {
  WritePageTail(page_);
  Status status = page_.Finish();
  if (status.ok()) status = tab_.Finish();
  const bool keeps_own = reads_own_catalog_ && stopped;
  if (status.ok()) {
    status = PutInPlaceWithBackup(JoinPath(dest_, keeps_own ? "archive2.txt" : "archive.txt"));
  }
  if (!status.ok()) {
    Abandon();
    return status;
  }
  if (reads_own_catalog_ && !stopped) unlink(JoinPath(dest_, "archive2.txt").c_str());
  SyncFolder(dest_);
  created_.clear();
  created_folders_.clear();
  lock_.Release();
  return Status::Ok();
}

// Renames the catalog, then the page. Should the page fail, the earlier catalog comes back,
// so that the two files always belong together.
Status ArchiveWriter::PutInPlace(const std::string& tab_final) {
  const KeptFile earlier_tab(tab_final);
  Status status = tab_.MoveTo(tab_final);
  if (status.ok()) {
    status = page_.MoveTo(JoinPath(dest_, "archive.htm"));
    if (!status.ok()) earlier_tab.Restore();
  }
  return status;
}

// PutInPlace, with the page it replaces kept as archive_bak.htm first when asked; should the
// new files fail to take their names, the earlier backup comes back too.
Status ArchiveWriter::PutInPlaceWithBackup(const std::string& tab_final) {
  const std::string page = JoinPath(dest_, "archive.htm");
  if (!back_up_page_ || access(page.c_str(), F_OK) != 0) return PutInPlace(tab_final);
  std::string temp;
  Status status = CopyToTemporary(page, dest_, "archive_bak.htm", &temp);
  if (!status.ok()) return status;
  const std::string backup = JoinPath(dest_, "archive_bak.htm");
  const KeptFile earlier_backup(backup);
  if (std::rename(temp.c_str(), backup.c_str()) != 0) {
    status = Status::Error("Cannot write into " + dest_ + ": " + std::strerror(errno));
    unlink(temp.c_str());
  } else if (status = PutInPlace(tab_final); !status.ok()) {
    earlier_backup.Restore();
  }
  return status;
}

void ArchiveWriter::Abandon() {
  page_.Abandon();
  tab_.Abandon();
  for (const std::string& path : created_) unlink(path.c_str());
  created_.clear();
  lock_.Release();
  for (const std::string& folder : created_folders_) rmdir(folder.c_str());
  created_folders_.clear();
}

bool ArchiveHoldsPictures(const std::string& dest) {
  std::ifstream page(JoinPath(dest, "archive.htm"), std::ios::binary);
  for (std::string line; std::getline(page, line);) {
    if (line.starts_with("cat.add")) return true;
  }
  return false;
}

}  // namespace lumvane
