// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/frm_archive.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>

#include "locations/locate_pictures.h"
#include "locations/saved_locations.h"
#include "platform/paths.h"
#include "platform/plural.h"
#include "run/catalog_types.h"
#include "run/library_run.h"
#include "run/run_summary.h"
#include "shell/frm_copy.h"
#include "shell/frm_history.h"
#include "shell/frm_locations.h"
#include "shell/frm_splash.h"
#include "shell/locate_missing.h"
#include "shell/window_style.h"

namespace lumvane {
namespace {

// Enabled lists have the window background, disabled ones the button face, so that they look
// inactive.
void SetGroupEnabled(std::initializer_list<QWidget*> widgets, bool enabled) {
  const QPalette app = QApplication::palette();
  const QColor colour = app.color(QPalette::Active, enabled ? QPalette::Base : QPalette::Button);
  for (QWidget* widget : widgets) {
    widget->setEnabled(enabled);
    QPalette palette = widget->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      palette.setColor(group, QPalette::Base, colour);
    }
    widget->setPalette(palette);
  }
}

// A run's message for a message box: its lines are separated by carriage returns.
QString MessageText(const std::string& text) {
  return QString::fromStdString(text).replace('\r', '\n');
}

}  // namespace

FrmArchive::FrmArchive(RunEnvironment environment, VolumeTable volumes, QWidget* parent)
    : QWidget(parent), environment_(std::move(environment)), volumes_(std::move(volumes)) {
  setObjectName("frmArchive");
  setWindowTitle("Archive \u2014 Lumvane");  // the window's caption, and the program's name
  setWindowIcon(ApplicationIcon());
  setFixedSize(6990 / 15, 5910 / 15);
  setFont(WindowFont());
  status_ = Placed(new QLabel(this), "Status", Twips(0, 0, 6975, 255));
  BuildLocations();
  BuildModes();
  ConnectLists();
  AddListHabits(Group::kCatalog, {cat_drive_, cat_dir_, cat_file_});
  AddListHabits(Group::kSource, {src_drive_, src_dir_});
  AddListHabits(Group::kDest, {dest_drive_, dest_dir_});
  AddPathLine(Group::kCatalog, cat_path_, cat_dir_);
  AddPathLine(Group::kSource, src_path_, src_dir_);
  AddPathLine(Group::kDest, dest_path_, dest_dir_);
  ApplyMode(Mode::kCatalogOriginalPaths);
  setTabOrder(go_, cat_file_);
  QWidget* order[] = {cat_file_, cat_filter_, cat_drive_,  cat_path_,   cat_dir_,    src_drive_,
                      src_path_, src_dir_,    subfolders_, dest_drive_, dest_path_,  dest_dir_,
                      exit_,     options_[0], options_[1], options_[2], options_[3], options_[4]};
  for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
  for (QWidget* shows_focus : std::initializer_list<QWidget*>{
           cat_dir_, cat_file_, src_dir_, dest_dir_, findChild<QWidget*>("Locations")}) {
    shows_focus->setStyleSheet(kFocusStyle);
  }
  go_->setFocus();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

void FrmArchive::BuildLocations() {
  const std::vector<Volume> volumes = volumes_();  // read once for the three lists
  catalog_frame_ =
      Placed(new QGroupBox("Catalog File", this), "Frame1", Twips(240, 360, 3135, 4215));
  cat_drive_ = Placed(new DriveList(volumes_, volumes, catalog_frame_), "CatDrive",
                      Twips(120, 240, 2895, 315));
  // Above each folder tree, its folder's full path, which takes a typed or pasted one.
  cat_path_ = Placed(new QLineEdit(catalog_frame_), "CatPath", Twips(120, 600, 2895, 285));
  cat_dir_ = Placed(new DirectoryList(catalog_frame_), "CatDir", Twips(120, 915, 2895, 1020));
  cat_file_ = Placed(new FileList(this), "CatFile", Twips(360, 2520, 2895, 1545));
  // The catalogs the program reads, or every file.
  cat_filter_ = Placed(new QComboBox(this), "CatFilter", Twips(360, 4095, 2895, 285));
  cat_filter_->addItems({"Catalog and archive files", "All files"});
  source_frame_ =
      Placed(new QGroupBox("Source Directory", this), "Frame2", Twips(3600, 360, 3135, 2055));
  src_drive_ =
      Placed(new DriveList(volumes_, volumes, this), "SrcDrive", Twips(3720, 600, 2895, 315));
  src_path_ = Placed(new QLineEdit(this), "SrcPath", Twips(3720, 945, 2895, 285));
  src_dir_ = Placed(new DirectoryList(this), "SrcDir", Twips(3720, 1260, 2895, 795));
  // A whole library: an archive for each folder below the source, masters above them.
  subfolders_ = Placed(new QCheckBox("and its su&bfolders", this), "SrcSubfolders",
                       Twips(3720, 2085, 2895, 255));
  subfolders_->setToolTip(
      "An archive for each folder below the source that holds pictures, in the same folders "
      "below the destination, and a master archive at each level above them");
  dest_frame_ =
      Placed(new QGroupBox("Destination Directory", this), "Frame3", Twips(3600, 2520, 3135, 2055));
  dest_drive_ =
      Placed(new DriveList(volumes_, volumes, this), "DestDrive", Twips(3720, 2760, 2895, 315));
  dest_path_ = Placed(new QLineEdit(this), "DestPath", Twips(3720, 3105, 2895, 285));
  dest_dir_ = Placed(new DirectoryList(this), "DestDir", Twips(3720, 3420, 2895, 1035));
  for (QWidget* w :
       std::initializer_list<QWidget*>{cat_file_, cat_filter_, src_drive_, src_path_, src_dir_,
                                       subfolders_, dest_drive_, dest_path_, dest_dir_}) {
    w->raise();
  }
}

void FrmArchive::BuildModes() {
  go_ = Placed(new QPushButton(QString("&") + GoCaption(GoState::kIdle), this), "Go",
               Twips(240, 4910, 855, 615));
  // Between the catalog frame and Go: the saved locations of drives and volumes.
  auto* locations =
      Placed(new QPushButton("&Locations...", this), "Locations", Twips(240, 4605, 1935, 270));
  locations->setFlat(true);
  locations->setToolTip("Where the drives and volumes of catalogs made on Windows are now");
  connect(locations, &QPushButton::clicked, this, &FrmArchive::ShowLocations);
  exit_ = Placed(new QPushButton("E&xit", this), "Exit", Twips(1320, 4910, 855, 615));
  auto* modes = new QWidget(this);
  modes->setObjectName("Frame4");
  // Reaches to the window's right and bottom edges, so that the longest caption and the
  // last button fit in our font.
  modes->setGeometry(Twips(2510, 4590, 4470, 1320));
  const char* captions[] = {"Make archive using &catalog file, original image paths",
                            "Make archive using catalog file, select so&urce directory",
                            "Make archive from source directory &image files",
                            "Make &master archive from subdirectory archives",
                            "E&dit existing archive file"};
  for (int i = 0; i < 5; ++i) {
    options_[i] = new QRadioButton(captions[i], modes);
    options_[i]->setObjectName(QString("Option%1").arg(i + 1));
    options_[i]->setGeometry(Twips(60, 80 + 240 * i, 4410, 240));
    const Mode mode = static_cast<Mode>(i + 1);
    connect(options_[i], &QRadioButton::clicked, this, [this, mode] { ApplyMode(mode); });
  }
  options_[0]->setChecked(true);
  connect(go_, &QPushButton::clicked, this, &FrmArchive::OnGo);
  connect(exit_, &QPushButton::clicked, this, &FrmArchive::OnExit);
}

void FrmArchive::ConnectLists() {
  const QString here = QDir::currentPath();
  const Volume* holding = VolumeHolding(cat_drive_->volumes(), here);
  const QString root = holding != nullptr ? QString::fromStdString(holding->mount_point) : "/";
  connect(cat_dir_, &DirectoryList::pathChanged, cat_file_, &FileList::SetPath);
  const auto keep_catalogs = [](const QString& name) {
    return !CatalogTypeOf(name.toStdString()).empty() ||
           name.compare("archive.htm", Qt::CaseInsensitive) == 0;
  };
  cat_file_->SetFilter(keep_catalogs);
  connect(cat_filter_, &QComboBox::currentIndexChanged, this, [this, keep_catalogs](int index) {
    cat_file_->SetFilter(index == 0 ? FileList::Filter(keep_catalogs) : nullptr);
  });
  connect(cat_file_, &FileList::fileClicked, this,
          [this](const QString& name) { set_status(CatalogTypeCaption(name.toStdString())); });
  connect(cat_file_, &FileList::focusLost, this, [this] { set_status(""); });
  const std::pair<DriveList*, DirectoryList*> groups[] = {
      {cat_drive_, cat_dir_}, {src_drive_, src_dir_}, {dest_drive_, dest_dir_}};
  for (const auto& [drives, folders] : groups) {
    drives->ShowVolumeOf(here);
    folders->SetPath(root, here);
    connect(drives, &DriveList::driveChanged, this,
            [this, drives = drives, folders = folders](const QString& drive, int previous) {
              ChangeDrive(drives, folders, drive, previous);
            });
    connect(folders, &DirectoryList::folderGone, this, [this](const QString& path) {
      if (go_state() == GoState::kIdle) set_status("Gone: " + path.toStdString());
    });
  }
}

std::string FrmArchive::GoneFolder() const {
  const Mode mode = this->mode();
  const bool catalog =
      mode == Mode::kCatalogOriginalPaths || mode == Mode::kCatalogSourceDir || mode == Mode::kEdit;
  const bool source = mode == Mode::kCatalogSourceDir || mode == Mode::kSourceScan;
  struct Used {
    bool used;
    const char* role;
    std::string folder;
  };
  for (const Used& f :
       {Used{catalog, "catalog", catalog_dir()}, Used{source, "source", source_dir()},
        Used{mode != Mode::kEdit, "destination", dest_dir()}}) {
    if (f.used && !QFileInfo(QString::fromStdString(f.folder)).isDir()) {
      return std::string("The ") + f.role + " folder " + f.folder +
             " is no longer there; nothing was written. Choose it again, or another.";
    }
  }
  return "";
}

void FrmArchive::ChangeDrive(DriveList* drives, DirectoryList* folders, const QString& drive,
                             int previous) {
  if (!QDir(drive).isReadable()) {
    ShowMessage("Cannot open " + drive.toStdString() + ".");
    drives->setCurrentIndex(previous);
    return;
  }
  const QString here = QDir::currentPath();
  const Volume* holding = VolumeHolding(drives->volumes(), here);
  const bool here_on_drive =
      holding != nullptr && QString::fromStdString(holding->mount_point) == drive;
  folders->SetPath(drive, here_on_drive ? here : drive);
}

void FrmArchive::ApplyMode(Mode mode) {
  const int row = static_cast<int>(mode) - 1;
  static constexpr bool kEnabled[5][3] = {{true, false, true},
                                          {true, true, true},
                                          {false, true, true},
                                          {false, false, true},
                                          {true, false, false}};
  catalog_frame_->setTitle(mode == Mode::kEdit ? "Archive File" : "Catalog File");
  dest_frame_->setTitle(mode == Mode::kMaster ? "Destination Directory for Master"
                                              : "Destination Directory");
  SetGroupEnabled({cat_drive_, cat_path_, cat_dir_, cat_file_, cat_filter_}, kEnabled[row][0]);
  SetGroupEnabled({src_drive_, src_path_, src_dir_}, kEnabled[row][1]);
  subfolders_->setEnabled(mode == Mode::kSourceScan);
  SetGroupEnabled({dest_drive_, dest_path_, dest_dir_}, kEnabled[row][2]);
}

Mode FrmArchive::mode() const {
  for (int i = 0; i < 5; ++i) {
    if (options_[i]->isChecked()) return static_cast<Mode>(i + 1);
  }
  return Mode::kCatalogOriginalPaths;
}

std::string FrmArchive::catalog_dir() const {
  return cat_dir_->path().toStdString();
}
std::string FrmArchive::catalog_file() const {
  return cat_file_->fileName().toStdString();
}
std::string FrmArchive::source_dir() const {
  return src_dir_->path().toStdString();
}
std::string FrmArchive::dest_dir() const {
  return dest_dir_->path().toStdString();
}
GoState FrmArchive::go_state() const {
  return go_state_;
}

void FrmArchive::set_go_state(GoState state) {
  go_state_ = state;
  go_->setText(QString("&") + GoCaption(state));  // Alt+G, Alt+S
}

void FrmArchive::set_status(const std::string& text) {
  status_->setText(QString::fromStdString(text));
  emit statusChanged(status_->text());
}

void FrmArchive::ShowProgress(int handled, int total) {
  if (total > 0 && go_state_ != GoState::kIdle) {
    status_->setText(QString("Running... %1 of %2").arg(handled).arg(total));
  }
}

void FrmArchive::LetEventsRun() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool FrmArchive::ConfirmMasterOver(const std::string& page, int pictures) {
  QMessageBox box(
      QMessageBox::NoIcon, "Lumvane",
      QString("%1 is an archive of %2, not a master archive.\n"
              "Replace it with the master archive? It is kept in the archive's history.")
          .arg(QString::fromStdString(page), QString::fromStdString(CountOf(pictures, "picture"))),
      QMessageBox::Yes | QMessageBox::No, this);
  box.setObjectName("ReplaceArchive");
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void FrmArchive::ShowMessage(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, "Lumvane", MessageText(text), QMessageBox::Ok, this);
  box.exec();
}

bool FrmArchive::AskRetry(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, "Lumvane", MessageText(text),
                  QMessageBox::Retry | QMessageBox::Cancel, this);
  return box.exec() == QMessageBox::Retry;
}

void FrmArchive::ReportRun(const RunState& state) {
  const std::string where = "The archive is " + JoinPath(dest_dir(), "archive.htm") + ".";
  if (!RunLeftSomethingOut(state)) {
    return ShowFinished(CountOf(state.picture_count, "picture") + " archived. " + where);
  }
  std::string text = RunSummaryLine(state);
  if (const std::string earlier = EarlierArchiveLine(state); !earlier.empty()) {
    text = earlier + "\n" + text;
  }
  for (const std::string& line : EditsLines(state)) text += "\n" + line;
  if (const std::string dropped = DroppedVersionsLine(state); !dropped.empty()) {
    text += "\n" + dropped;
  }
  ShowSummary(text + "\n" + where, state);
}

void FrmArchive::ShowFinished(const std::string& text) {
  if (finished_ != nullptr) finished_->close();
  auto* box = new QMessageBox(QMessageBox::NoIcon, "Lumvane", QString::fromStdString(text),
                              QMessageBox::Close, this);
  box->setObjectName("RunFinished");
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);  // a message box is modal unless told otherwise
  QPushButton* open = box->addButton("&Open archive", QMessageBox::AcceptRole);
  box->setDefaultButton(open);
  connect(open, &QPushButton::clicked, this, &FrmArchive::OpenArchive);
  box->show();
  finished_ = box;
}

void FrmArchive::ReportNothingArchived(const std::string& text, const RunState& state) {
  ShowSummary(MessageText(text).toStdString(), state);
}

void FrmArchive::ShowSummary(std::string text, const RunState& state) {
  const auto missing = MissingByPlace(state);
  size_t count = 0;
  for (const auto& group : missing) count += group.size();
  if (count > 0) {
    text += "\n" + std::to_string(count) +
            (count == 1 ? " picture is not where the catalog says: Locate... finds it once you "
                          "show where it is now."
                        : " pictures are not where the catalog says: Locate... finds them once "
                          "you show where one of them is now.");
  }
  QMessageBox box(QMessageBox::NoIcon, "Lumvane", QString::fromStdString(text), QMessageBox::Ok,
                  this);
  box.setObjectName("RunSummary");
  box.setDetailedText(QString::fromStdString(RunSummaryDetails(state)));
  QPushButton* locate = count > 0 ? box.addButton("Locate...", QMessageBox::ActionRole) : nullptr;
  QPushButton* undo = state.kept_version > 0 && state.archive_written
                          ? box.addButton("Undo this run", QMessageBox::ActionRole)
                          : nullptr;
  if (undo != nullptr) undo->setObjectName("UndoRun");
  QPushButton* locations = box.addButton("Locations...", QMessageBox::ActionRole);
  QPushButton* open = box.addButton("&Open archive", QMessageBox::ActionRole);
  if (locate != nullptr) box.setDefaultButton(locate);
  box.exec();
  if (box.clickedButton() == nullptr) return;
  if (box.clickedButton() == undo) {
    FrmHistory::Restore(this, dest_dir(), state.kept_version);
  } else if (box.clickedButton() == locate) {
    run_again_ = LocateMissingPictures(this, state, cat_drive_->volumes(),
                                       QString::fromStdString(catalog_dir()));
  } else if (box.clickedButton() == locations) {
    ShowLocations();
  } else if (box.clickedButton() == open) {
    OpenArchive();
  }
}

void FrmArchive::OpenEditor(const std::string& folder) {
  ArchiveEditor model;
  if (const Status loaded = model.Load(folder); !loaded.ok()) {
    ShowMessage(loaded.message());
    return;
  }
  editor_ = std::make_unique<FrmEditHtml>(std::move(model), this);
  editor_->show();
}

void FrmArchive::OnGo() {
  const bool starts = go_state() == GoState::kIdle;
  if (const std::string gone = starts ? GoneFolder() : ""; !gone.empty()) {
    ShowMessage(gone);
    return;
  }
  do {
    run_again_ = false;
    if (starts) {  // what the command line or the Locations dialog saved since
      SavedLocations saved;
      const Status loaded = SavedLocations::Load(&saved);
      if (!loaded.ok() && mode() == Mode::kCatalogOriginalPaths) {
        ShowMessage(loaded.message() + "\rThe run needs the saved locations; nothing was written.");
        return;
      }
      environment_.drive_map = saved.drives;
      environment_.volume_folders = saved.volumes;
    }
    if (starts && mode() == Mode::kSourceScan && subfolders_->isChecked()) {
      RunLibrary(*this, state_, environment_);
    } else {
      GoClick(*this, state_, environment_);
    }
  } while (starts && run_again_ && !close_after_run_);
  if (starts) SaveSession();
  if (close_after_run_ && go_state() == GoState::kIdle) close();
}

void FrmArchive::ShowLocations() {
  FrmLocations dialog(this);
  dialog.exec();
}

void FrmArchive::OpenArchive() {
  const QString page = QDir(QString::fromStdString(dest_dir())).filePath("archive.htm");
  if (!QFileInfo(page).isFile()) {
    ShowMessage("There is no archive in " + dest_dir() + " yet.");
    return;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page))) {
    ShowMessage("No program to open " + page.toStdString() + " was found.");
  }
}

void FrmArchive::OnExit() {
  if (go_state() != GoState::kIdle) {
    set_go_state(GoState::kStopRequested);
    return;
  }
  close();
}

void FrmArchive::keyPressEvent(QKeyEvent* event) {
  auto* button = qobject_cast<QPushButton*>(focusWidget());
  if (button != nullptr && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    button->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void FrmArchive::closeEvent(QCloseEvent* event) {
  if (go_state() == GoState::kIdle) {
    SaveSession();
    event->accept();
    QCoreApplication::quit();
    return;
  }
  set_go_state(GoState::kStopRequested);
  close_after_run_ = true;
  event->ignore();
}

}  // namespace lumvane
