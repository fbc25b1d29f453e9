// SPDX-License-Identifier: GPL-3.0-or-later
// The main window, the Copy Originals question and the splash, without a display.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <memory>

#include "locations/saved_locations.h"
#include "page/archive_writer.h"
#include "pictures/catalog_line.h"
#include "platform/destination_lock.h"
#include "run/picture_pipeline.h"
#include "shell/frm_archive.h"
#include "shell/frm_copy.h"
#include "shell/frm_locations.h"
#include "shell/frm_splash.h"
#include "tests/support/pictures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/thumbsplus_database.h"

using lumvane::FrmArchive;
using testing_support::TempDir;

namespace {

lumvane::SavedLocations Saved() {
  lumvane::SavedLocations saved;
  if (!lumvane::SavedLocations::Load(&saved).ok()) qWarning("the saved locations cannot be read");
  return saved;
}

// Acts on the next modal dialog or message box as soon as it is up; not on `handled`, the one
// the step before acted on, while it is still there (a step may wait in the event loop).
void WhenModal(std::function<void(QWidget*)> act, QPointer<QWidget> handled = nullptr) {
  QTimer::singleShot(10, [act, handled] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || (handled != nullptr && modal == handled)) {
      return WhenModal(act, handled);
    }
    act(modal);
  });
}

void ClickInModal(const QString& button) {
  WhenModal([button](QWidget* modal) { modal->findChild<QPushButton*>(button)->click(); });
}

// Acts on the next modal windows one after another, one step each.
void WhenModals(std::vector<std::function<void(QWidget*)>> steps,
                QPointer<QWidget> handled = nullptr) {
  if (steps.empty()) return;
  WhenModal(
      [steps](QWidget* modal) {
        WhenModals({steps.begin() + 1, steps.end()}, modal);
        steps.front()(modal);
      },
      handled);
}

// A step that clicks the button of a message box or dialog captioned `text`.
std::function<void(QWidget*)> Click(const QString& text) {
  return [text](QWidget* modal) {
    for (auto* button : modal->findChildren<QAbstractButton*>()) {
      if (button->text().remove('&') == text) return button->click();
    }
    auto* box = qobject_cast<QMessageBox*>(modal);
    qFatal("no button %s in %s", qPrintable(text),
           qPrintable(box ? box->text() : modal->objectName()));
  };
}

// A step that chooses `folder` in a folder dialog.
std::function<void(QWidget*)> ChooseFolder(const std::string& folder) {
  return [folder](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (dialog == nullptr) qFatal("no folder dialog but %s", qPrintable(modal->objectName()));
    const QString chosen = QString::fromStdString(folder);
    // Opens the folder itself with no name typed, as a user who goes into it and presses the
    // button does. selectFile would type its name in the parent folder, unless the name box
    // has the focus, and the list read in another thread may then change the selection.
    dialog->setDirectory(chosen);
    dialog->findChild<QLineEdit*>("fileNameEdit")->clear();
    if (dialog->selectedFiles() != QStringList{chosen})
      qFatal("cannot open %s", qPrintable(chosen));
    QMetaObject::invokeMethod(dialog, "accept");  // QFileDialog's own, as its button calls it
  };
}

// A volume table that always reads `volumes`.
lumvane::VolumeTable Volumes(std::vector<lumvane::Volume> volumes) {
  return [volumes] { return volumes; };
}

QString ScreenshotPath(const QString& name);

// Reads the text and the details of the next message box, then closes it; saves a picture of
// it as `screenshot` when given.
void ReadMessage(QString* text, QString* details = nullptr, const QString& screenshot = {}) {
  QTimer::singleShot(10, [text, details, screenshot] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return ReadMessage(text, details, screenshot);
    *text = box->text();
    if (details != nullptr) *details = box->detailedText();
    if (!screenshot.isEmpty()) box->grab().save(ScreenshotPath(screenshot));
    box->accept();
  });
}

QString ScreenshotPath(const QString& name) {
  const QString folder = QCoreApplication::applicationDirPath() + "/../screenshots";
  QDir().mkpath(folder);
  return folder + "/" + name + ".png";
}

}  // namespace

class FrmArchiveTest : public QObject {
  Q_OBJECT

 private:
  // A window whose runs use `workers` threads (0: one per core).
  std::unique_ptr<FrmArchive> MakeWindow(int workers = 0) {
    lumvane::RunEnvironment environment = lumvane::DefaultRunEnvironment();
    environment.workers = workers;
    auto window = std::make_unique<FrmArchive>(std::move(environment), Volumes({{"/", ""}}));
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get())) qWarning("the window did not become active");
    return window;
  }

  template <typename T>
  static T* Child(QWidget* window, const char* name) {
    T* child = window->findChild<T*>(name);
    if (child == nullptr) qFatal("no control %s", name);
    return child;
  }

  static void OpenFolder(QWidget* window, const char* list, const std::string& folder) {
    Child<lumvane::DirectoryList>(window, list)->SetPath("/", QString::fromStdString(folder));
  }

  // Chooses an entry of a drive list the way a user does.
  static void Choose(QComboBox* drives, int index) {
    drives->setCurrentIndex(index);
    emit drives->activated(index);
  }

  static bool UsesFace(QWidget* widget) {
    return widget->palette().color(QPalette::Disabled, QPalette::Base) ==
           QApplication::palette().color(QPalette::Active, QPalette::Button);
  }

  // Makes `count` pictures in `source` and sets up a folder-scan run into `dest`.
  void PrepareScan(FrmArchive* window, const TempDir& source, const TempDir& dest, int count) {
    for (int i = 1; i <= count; ++i) {
      testing_support::WritePhoto(source / ("IMG_" + std::to_string(i) + ".jpg"), 2001, 3, i);
    }
    Child<QRadioButton>(window, "Option3")->click();
    OpenFolder(window, "SrcDir", source.path());
    OpenFolder(window, "DestDir", dest.path());
  }

  static size_t Records(const TempDir& dest) {
    return lumvane::ReadCatalogLines(testing_support::ReadAll(dest / "archive.htm")).size();
  }

  // A run stopped when `shown` pictures were recorded keeps those and the ones its one
  // worker had in hand, never all six.
  static bool StoppedAfter(size_t shown, size_t records) {
    return records >= shown && records <= shown + lumvane::PicturePipeline::kPicturesPerWorker &&
           records < 6;
  }

  QTemporaryDir config_;

 private slots:
  // The window's settings go to a folder of the test's own.
  void initTestCase() {
    QVERIFY(config_.isValid());
    qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
  }

  // A V4 export and a V3 database whose pictures moved to another disk: a run passes them
  // over, Locate finds their volumes from one picture each, and the next run has them all.
  void locateFindsTheMovedPicturesOfACatalog() {
    TempDir catalogs, moved, dest;
    std::filesystem::create_directories(moved / "disk/Photos/1998");
    std::filesystem::create_directories(moved / "cd/Trip");
    for (const char* picture :
         {"disk/Photos/1998/a.jpg", "disk/Photos/1998/b.jpg", "cd/Trip/c.jpg"}) {
      testing_support::WritePhoto(moved / picture);
    }
    std::string csv = "Label\r\n";
    for (const char* name : {"A.JPG", "b.jpg"}) {  // Windows ignored letter case
      std::vector<std::string> columns(24);
      columns[0] = "OLDDISK";
      columns[5] = "PHOTOS\\1998";
      columns[21] = name;
      for (const auto& column : columns) csv += column + ",";
      csv += "\r\n";
    }
    catalogs.Write("export.csv", csv);
    testing_support::Tdb db;
    db.volumes = {{1, "OLD CD"}};
    db.folders = {{7, 1, "Trip"}};
    db.files = {{1, 7, "c.jpg"}};
    catalogs.Write("photos.tDB", db.Bytes());
    auto window = MakeWindow();
    for (const auto& [catalog, found] :
         {std::pair{"export.csv", "disk/Photos/1998"}, {"photos.tDB", "cd/Trip"}}) {
      std::filesystem::create_directory(dest / catalog);
      OpenFolder(window.get(), "DestDir", dest / catalog);
      QVERIFY(window->ShowCatalogFile(QString::fromStdString(catalogs / catalog)));
      QString summary;
      WhenModals({Click("OK"),
                  [&summary](QWidget* box) {
                    summary = qobject_cast<QMessageBox*>(box)->text();
                    box->grab().save(ScreenshotPath("run-summary-locate"));
                    Click("Locate...")(box);
                  },
                  ChooseFolder(moved / found), Click("Yes"), Click("OK")});
      Child<QPushButton>(window.get(), "Go")->click();
      QVERIFY2(summary.contains("not where the catalog says"), qPrintable(summary));
      QCOMPARE(lumvane::ReadCatalogLines(testing_support::ReadAll(dest / catalog + "/archive.htm"))
                   .size(),
               std::string(catalog) == "export.csv" ? size_t{2} : size_t{1});
    }
    const lumvane::SavedLocations saved = Saved();
    QCOMPARE(saved.volumes.at("OLDDISK"), moved / "disk");
    QCOMPARE(saved.volumes.at("OLD CD"), moved / "cd");

    lumvane::FrmLocations locations(window.get());  // removes the entry chosen
    auto* table = Child<QTableWidget>(&locations, "Locations");
    QCOMPARE(table->rowCount(), 2);
    table->selectRow(0);
    Child<QPushButton>(&locations, "Remove")->click();
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(Saved().volumes.count("OLD CD"), size_t{0});
    QCOMPARE(Saved().volumes.count("OLDDISK"), size_t{1});

    // The next start remembers the session; a folder dropped on a list is opened there.
    auto next = MakeWindow();
    next->RestoreSession();
    QCOMPARE(next->catalog_file(), std::string("photos.tDB"));
    QCOMPARE(next->dest_dir(), dest / "photos.tDB");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(moved / "cd"))});
    QWidget* viewport = Child<lumvane::DirectoryList>(next.get(), "DestDir")->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);  // a drop goes where the drag entered
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    QCOMPARE(next->dest_dir(), moved / "cd");
  }

  void modeTable_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("catalogCaption");
    QTest::addColumn<QString>("destCaption");
    QTest::addColumn<bool>("catalog");
    QTest::addColumn<bool>("source");
    QTest::addColumn<bool>("dest");
    QTest::newRow("1") << "Option1"
                       << "Catalog File"
                       << "Destination Directory" << true << false << true;
    QTest::newRow("2") << "Option2"
                       << "Catalog File"
                       << "Destination Directory" << true << true << true;
    QTest::newRow("3") << "Option3"
                       << "Catalog File"
                       << "Destination Directory" << false << true << true;
    QTest::newRow("4") << "Option4"
                       << "Catalog File"
                       << "Destination Directory for Master" << false << false << true;
    QTest::newRow("5") << "Option5"
                       << "Archive File"
                       << "Destination Directory" << true << false << false;
  }

  void modeTable() {
    QFETCH(QString, option);
    auto window = MakeWindow();
    Child<QRadioButton>(window.get(), "Option4")->click();  // start from another row
    Child<QRadioButton>(window.get(), option.toLatin1())->click();
    QFETCH(QString, catalogCaption);
    QFETCH(QString, destCaption);
    QCOMPARE(QString("Option%1").arg(static_cast<int>(window->mode())), option);
    QCOMPARE(Child<QGroupBox>(window.get(), "Frame1")->title(), catalogCaption);
    QCOMPARE(Child<QGroupBox>(window.get(), "Frame3")->title(), destCaption);
    QFETCH(bool, catalog);
    QFETCH(bool, source);
    QFETCH(bool, dest);
    const std::pair<const char*, bool> groups[] = {
        {"CatDrive", catalog}, {"CatDir", catalog}, {"CatFile", catalog}, {"SrcDrive", source},
        {"SrcDir", source},    {"DestDrive", dest}, {"DestDir", dest}};
    for (const auto& [name, enabled] : groups) {
      QWidget* control = Child<QWidget>(window.get(), name);
      QCOMPARE(control->isEnabled(), enabled);
      QCOMPARE(UsesFace(control), !enabled);
    }
    window->grab().save(ScreenshotPath("main-window-" + option));
  }

  void catalogTypeInStatus() {
    TempDir dir;
    for (const char* name : {"photos.tdb", "photos.tDB", "archive.htm", "notes.xyz", "trip.txt"}) {
      dir.Write(name, "x");
    }
    auto window = MakeWindow();
    OpenFolder(window.get(), "CatDir", dir.path());
    auto* files = Child<QListWidget>(window.get(), "CatFile");
    QTRY_COMPARE(files->count(), 3);  // the catalogs the program reads, and archives
    Child<QComboBox>(window.get(), "CatFilter")->setCurrentIndex(1);  // all files
    QCOMPARE(files->count(), 5);
    const std::pair<const char*, const char*> expected[] = {
        {"photos.tdb", " Catalog file type not supported"},
        {"photos.tDB", " ThumbsPlus V3 Database"},
        {"archive.htm", " HTML File"},
        {"notes.xyz", " Catalog file type not supported"},
        {"trip.txt", " Tab Delimited Text File"}};
    for (const auto& [name, caption] : expected) {
      QListWidgetItem* item = files->findItems(name, Qt::MatchExactly).front();
      QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                        files->visualItemRect(item).center());
      QCOMPARE(Child<QLabel>(window.get(), "Status")->text(), QString(caption));
      QCOMPARE(QString::fromStdString(window->catalog_file()), QString(name));
    }
    files->setFocus();
    Child<QWidget>(window.get(), "Go")->setFocus();
    QCOMPARE(Child<QLabel>(window.get(), "Status")->text(), QString());
  }

  // A volume's entry opens its root; one that has gone says so and the choice stays; a
  // card plugged in while the window is open shows when the list is opened.
  void driveLists() {
    TempDir volume;
    auto table = std::make_shared<std::vector<lumvane::Volume>>(
        std::vector<lumvane::Volume>{{"/", ""}, {volume.path(), "PHOTOS"}, {"/no/such", "GONE"}});
    FrmArchive window(lumvane::DefaultRunEnvironment(), [table] { return *table; });
    auto* drives = Child<lumvane::DriveList>(&window, "DestDrive");
    QCOMPARE(drives->itemText(1), QString::fromStdString("PHOTOS  (" + volume.path() + ")"));
    Choose(drives, 1);  // the current folder is not on it: its root
    QCOMPARE(QString::fromStdString(window.dest_dir()), QString::fromStdString(volume.path()));
    QString message;
    ReadMessage(&message);
    Choose(drives, 2);
    QCOMPARE(message, QString("Cannot open /no/such."));
    QCOMPARE(drives->currentIndex(), 1);
    Choose(drives, 0);  // the current folder lies on the root volume
    QCOMPARE(QString::fromStdString(window.dest_dir()), QDir::currentPath());
    table->push_back({volume.path(), "CARD"});
    drives->showPopup();
    drives->hidePopup();
    QCOMPARE(drives->count(), 4);
    QCOMPARE(drives->currentIndex(), 0);  // the chosen volume stays chosen
  }

  // Folders made one after another and opened at once stay open while the list reads them:
  // a listing read before one was made must not put its neighbour in its place.
  void aFolderMadeJustBeforeItIsOpenedStaysOpen() {
    TempDir dest;
    lumvane::DirectoryList list;
    for (const char* folder : {"e", "d", "c", "b", "a"}) {
      std::filesystem::create_directory(dest / folder);
      list.SetPath("/", QString::fromStdString(dest / folder));
      QTest::qWait(5);
    }
    QTest::qWait(200);
    QCOMPARE(list.path(), QString::fromStdString(dest / "a"));
  }

  // A right click on another folder (to reach its menu) and a chosen folder that is removed
  // both leave the choice as it was; Go then says what has gone and writes nothing.
  void foldersStayChosenUntilTheUserChoosesAnother() {
    TempDir source, dest;
    auto window = MakeWindow();
    PrepareScan(window.get(), source, dest, 1);
    auto* dest_dir = Child<lumvane::DirectoryList>(window.get(), "DestDir");
    const QModelIndex other = dest_dir->indexAbove(dest_dir->currentIndex());
    QVERIFY(other.isValid());
    QTimer::singleShot(50, [] {
      if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
    });
    const QPoint at = dest_dir->visualRect(other).center();
    QTest::mousePress(dest_dir->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent menu_event(QContextMenuEvent::Mouse, at,
                                 dest_dir->viewport()->mapToGlobal(at));
    QApplication::sendEvent(dest_dir->viewport(), &menu_event);
    QTest::mouseRelease(dest_dir->viewport(), Qt::RightButton, {}, at);
    QCOMPARE(dest_dir->path(), QString::fromStdString(dest.path()));

    std::filesystem::remove_all(source.path());
    auto* src_dir = Child<lumvane::DirectoryList>(window.get(), "SrcDir");
    QTRY_COMPARE(Child<QLabel>(window.get(), "Status")->text(),
                 QString::fromStdString("Gone: " + source.path()));
    QCOMPARE(src_dir->path(), QString::fromStdString(source.path()));
    QString said;
    ReadMessage(&said);
    Child<QPushButton>(window.get(), "Go")->click();
    QVERIFY2(said.startsWith("The source folder"), qPrintable(said));
    QVERIFY(!std::filesystem::exists(dest / "archive.htm"));
  }

  // "and its subfolders": one Go makes the library's archives and masters.
  void aLibraryOfFoldersInOneRun() {
    TempDir source, dest;
    auto window = MakeWindow();
    std::filesystem::create_directories(source / "b/c");
    testing_support::WritePhoto(source / "a.jpg");
    testing_support::WritePhoto(source / "b/c/d.jpg");
    Child<QRadioButton>(window.get(), "Option3")->click();
    OpenFolder(window.get(), "SrcDir", source.path());
    OpenFolder(window.get(), "DestDir", dest.path());
    auto* subfolders = Child<QCheckBox>(window.get(), "SrcSubfolders");
    subfolders->setChecked(true);
    WhenModal([](QWidget* question) { question->findChild<QPushButton*>("OK")->click(); });
    Child<QPushButton>(window.get(), "Go")->click();
    QCOMPARE(Records(dest), size_t{2});
    QVERIFY(std::filesystem::exists(dest / "b/c/archive.htm"));
    Child<QRadioButton>(window.get(), "Option4")->click();
    QVERIFY(!subfolders->isEnabled());
  }

  void enterPressesTheFocusedButton() {
    TempDir source;
    auto window = MakeWindow();
    PrepareScan(window.get(), source, source, 2);  // one folder: no copy question
    auto* go = Child<QPushButton>(window.get(), "Go");
    go->setFocus();
    QTest::keyClick(go, Qt::Key_Return);
    QCOMPARE(Child<QLabel>(window.get(), "Status")->text(), QString(" 2 Done!"));
    auto* finished = window->findChild<QMessageBox*>("RunFinished");  // where, and Open archive
    QVERIFY(finished != nullptr && finished->isVisible() && !finished->isModal());
    QCOMPARE(finished->text(), QString::fromStdString("2 pictures archived. The archive is " +
                                                      (source / "archive.htm") + "."));
    QCOMPARE(finished->defaultButton()->text(), QString("&Open archive"));
  }

  // The path line opens a typed folder and makes one that is not there, after asking; the copy
  // question starts from the answer last given for the destination and says what each copies.
  void pathLineAndCopyQuestionMemory() {
    TempDir source, dest;
    auto window = MakeWindow();
    PrepareScan(window.get(), source, dest, 2);
    auto* line = Child<QLineEdit>(window.get(), "DestPath");
    QCOMPARE(line->text(), QString::fromStdString(dest.path()));
    line->setFocus();
    line->setText(QString::fromStdString(dest / "new/archive"));
    WhenModal(Click("Yes"));
    QTest::keyClick(line, Qt::Key_Return);
    QCOMPARE(window->dest_dir(), dest / "new/archive");
    dest.Write("file", "x");  // a folder that cannot be made is said, with the reason
    line->setText(QString::fromStdString(dest / "file/sub"));
    QString refused;
    WhenModals({Click("Yes"), [&refused](QWidget* box) {
                  refused = qobject_cast<QMessageBox*>(box)->text();
                  Click("OK")(box);
                }});
    QTest::keyClick(line, Qt::Key_Return);
    QCOMPARE(refused, QString::fromStdString("Cannot make the folder " + (dest / "file/sub") +
                                             ": Not a directory."));
    QCOMPARE(line->text(), QString::fromStdString(dest / "new/archive"));
    QString first_keep, second_keep;
    bool first_rename = false, second_kept = false;
    WhenModal([&](QWidget* dialog) {
      first_rename = dialog->findChild<QRadioButton*>("Option2")->isChecked();
      first_keep = dialog->findChild<QLabel*>("KeepNamesCopies")->text();
      dialog->findChild<QRadioButton*>("Option1")->click();
      Click("OK")(dialog);
    });
    Child<QPushButton>(window.get(), "Go")->click();
    QVERIFY(first_rename);
    QVERIFY2(first_keep.startsWith("copies 2 originals, "), qPrintable(first_keep));
    WhenModal([&](QWidget* dialog) {
      second_kept = dialog->findChild<QRadioButton*>("Option1")->isChecked();
      second_keep = dialog->findChild<QLabel*>("KeepNamesCopies")->text();
      Click("Cancel")(dialog);
    });
    Child<QPushButton>(window.get(), "Go")->click();
    QVERIFY(second_kept);
    QCOMPARE(second_keep, QString("copies nothing: the 2 originals are there already"));
  }

  void runSummaryNamesWhatWasPassedOver() {
    TempDir source, dest;
    auto window = MakeWindow();
    PrepareScan(window.get(), source, source, 2);
    source.Write("list.txt", "IMG_1.jpg\nIMG_2.jpg\ngone.jpg\nnot-a-picture.txt\n");
    Child<QRadioButton>(window.get(), "Option1")->click();
    OpenFolder(window.get(), "CatDir", source.path());
    OpenFolder(window.get(), "DestDir", dest.path());
    auto* files = Child<QListWidget>(window.get(), "CatFile");
    QTRY_VERIFY(!files->findItems("list.txt", Qt::MatchExactly).isEmpty());
    files->setCurrentItem(files->findItems("list.txt", Qt::MatchExactly).front());
    QString text, details;
    WhenModal([&text, &details](QWidget* question) {
      question->findChild<QPushButton*>("OK")->click();
      ReadMessage(&text, &details, "run-summary");
    });
    Child<QPushButton>(window.get(), "Go")->click();
    QTRY_VERIFY(!text.isEmpty());
    QCOMPARE(text, QString::fromStdString("2 archived; 2 passed over: 1 file missing, 1 not a "
                                          "picture name\nThe archive is " +
                                          (dest / "archive.htm") + "."));
    QCOMPARE(details,
             QString::fromStdString((source / "gone.jpg") + ": file missing\n" +
                                    (source / "not-a-picture.txt") + ": not a picture name\n"));

    // A run that leaves fewer pictures can be undone from its summary.
    std::filesystem::remove(source / "IMG_2.jpg");
    QString restored;
    WhenModals({Click("OK"), Click("Undo this run"), [&restored](QWidget* modal) {
                  restored = qobject_cast<QMessageBox*>(modal)->text();
                  Click("OK")(modal);
                }});
    Child<QPushButton>(window.get(), "Go")->click();
    QTRY_VERIFY(!restored.isEmpty());
    QVERIFY2(restored.startsWith("Restored version 1 (2 pictures"), qPrintable(restored));
    QCOMPARE(Records(dest), size_t{2});
  }

  // OK answers the choice, Escape and the close box cancel, and the arrows choose from the
  // preselected answer, which has the focus.
  void copyQuestion() {
    WhenModal([](QWidget* dialog) {
      QVERIFY(QTest::qWaitForWindowActive(dialog));  // a window manager gives focus later
      QCOMPARE(QApplication::focusWidget(), dialog->findChild<QRadioButton*>("Option2"));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
      dialog->grab().save(ScreenshotPath("copy-originals"));
      dialog->findChild<QPushButton*>("OK")->click();
    });
    QCOMPARE(lumvane::FrmCopy::Ask(nullptr), 1);
    WhenModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    QCOMPARE(lumvane::FrmCopy::Ask(nullptr), -1);
    WhenModal([](QWidget* dialog) { dialog->close(); });
    QCOMPARE(lumvane::FrmCopy::Ask(nullptr), -1);
  }

  // Go and Exit stop a run, and so does the close box, which then closes the window; each
  // completes the page with the pictures in hand.
  void runStops_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Go") << "Go";
    QTest::newRow("Exit") << "Exit";
    QTest::newRow("close box") << "close";
  }

  void runStops() {
    QFETCH(QString, how);
    TempDir source, dest;
    auto window = MakeWindow(1);
    PrepareScan(window.get(), source, dest, 6);
    FrmArchive* raw = window.get();
    connect(raw, &FrmArchive::statusChanged, raw, [raw, how](const QString& text) {
      if (text != " 3") return;
      QObject* target =
          how == "close" ? static_cast<QObject*>(raw) : raw->findChild<QPushButton*>(how);
      QMetaObject::invokeMethod(target, how == "close" ? "close" : "click", Qt::QueuedConnection);
    });
    ClickInModal("OK");
    Child<QPushButton>(raw, "Go")->click();
    const size_t records = Records(dest);
    QVERIFY2(StoppedAfter(3, records), std::to_string(records).c_str());
    QVERIFY(testing_support::ReadAll(dest / "archive.htm").ends_with("</html>\r\n"));
    QCOMPARE(raw->isVisible(), how != "close");
    QCOMPARE(Child<QPushButton>(raw, "Go")->text(), QString("&Go"));
    if (how == "Go") {
      QCOMPARE(Child<QLabel>(raw, "Status")->text(),
               QString("Stopped after %1 of 6 pictures").arg(records));
    }
  }

  void splash() {
    QWidget main_window;
    lumvane::FrmSplash splash(&main_window);
    splash.show();
    QCOMPARE(Child<QLabel>(&splash, "lblVersion")->text(), QString("Version 1.0.0"));
    QCOMPARE(Child<QLabel>(&splash, "lblPlatform")->text(), QString("for Linux"));
    QCOMPARE(Child<QLabel>(&splash, "lblProductName")->text(), QString("Lumvane"));
    splash.grab().save(ScreenshotPath("splash"));
    QVERIFY(!main_window.isVisible());
    QTest::keyClick(&splash, Qt::Key_Space);
    QVERIFY(main_window.isVisible());
    QVERIFY(!splash.isVisible());
  }

  void editorFromTheMainWindow() {
    TempDir dir;
    {
      lumvane::ArchiveWriter writer;
      QVERIFY(writer.Open(dir.path(), false).ok());
      for (const char* title : {"Harbour", "Church", "Hills"}) {
        lumvane::PictureRecord record;
        record.thumb = std::string("_") + title + "0.jpg";
        record.title = title;
        record.picdate = "May 1, 2000";
        QVERIFY(writer.Add(record, title).ok());
      }
      QVERIFY(writer.Commit(false).ok());
    }
    auto window = MakeWindow();
    Child<QRadioButton>(window.get(), "Option5")->click();
    OpenFolder(window.get(), "CatDir", dir.path());
    auto* files = Child<QListWidget>(window.get(), "CatFile");
    QTRY_VERIFY(!files->findItems("archive.htm", Qt::MatchExactly).isEmpty());
    files->setCurrentItem(files->findItems("archive.htm", Qt::MatchExactly).front());
    Child<QPushButton>(window.get(), "Go")->click();
    QWidget* editor = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->objectName() == "frmEdit_Html" && top->isVisible()) editor = top;
    }
    QVERIFY(editor != nullptr);
    QVERIFY(!window->isVisible());
    editor->grab().save(ScreenshotPath("editor"));
    const auto box = [editor](const char* name) { return Child<QLineEdit>(editor, name); };
    QCOMPARE(box("Title")->text(), QString("Harbour"));
    Child<QPushButton>(editor, "Up")->click();
    QCOMPARE(box("RecordNum")->text(), QString(" 2"));
    QCOMPARE(box("Title")->text(), QString("Church"));
    Child<QPushButton>(editor, "Up")->click();
    Child<QPushButton>(editor, "Up")->click();
    QCOMPARE(box("Title")->text(), QString());  // beyond the last: empty boxes
    box("RecordNum")->setText("2.5");           // the number typed shows its record at once
    QCOMPARE(box("Title")->text(), QString("Church"));

    box("RecordNum")->setText("1");
    // Typed changes are never dropped without a question.
    QCOMPARE(Child<QLabel>(editor, "RecordCount")->text(), QString("of 3"));
    QString asked;
    const auto answer = [&asked](QMessageBox::StandardButton button) {
      WhenModal([&asked, button](QWidget* modal) {
        auto* question = qobject_cast<QMessageBox*>(modal);
        asked = question->text();
        question->button(button)->click();
      });
    };
    box("Title")->setText("typed");
    answer(QMessageBox::Cancel);
    Child<QPushButton>(editor, "Up")->click();
    QCOMPARE(asked, QString("Save the changes to record 1?"));
    QCOMPARE(box("RecordNum")->text(), QString("1"));
    QCOMPARE(box("Title")->text(), QString("typed"));
    answer(QMessageBox::No);
    Child<QPushButton>(editor, "Up")->click();
    QCOMPARE(box("Title")->text(), QString("Church"));
    QString refused;  // a date the rules refuse: said, and the stored one shown again
    ReadMessage(&refused);
    box("PicDate")->setText("soon");
    Child<QPushButton>(editor, "Update")->click();
    QCOMPARE(refused, QString("soon is not a valid date"));
    QCOMPARE(box("PicDate")->text(), QString("May 1, 2000"));

    // An archive written meanwhile by another edit is offered for reloading, not overwritten,
    // and what was typed is offered again for the newer archive.
    lumvane::ArchiveEditor other;
    QVERIFY(other.Load(dir.path()).ok());
    lumvane::EditorFields elsewhere = other.Fields(2);
    elsewhere.title = "Chapel";
    elsewhere.comment = "theirs";
    QVERIFY(other.Update(2, elsewhere).ok());
    box("Title")->setText("mine");
    QString again;
    WhenModals({[&asked](QWidget* modal) {
                  asked = qobject_cast<QMessageBox*>(modal)->text();
                  Click("Yes")(modal);
                },
                [&again](QWidget* modal) {
                  again = modal->objectName();
                  Click("Yes")(modal);
                }});
    Child<QPushButton>(editor, "Update")->click();
    QVERIFY(asked.contains("has changed since it was opened"));
    QCOMPARE(again, QString("SaveAgain"));
    QCOMPARE(box("Title")->text(), QString("mine"));
    QCOMPARE(box("Comment")->text(), QString("theirs"));  // the newer archive's own change

    // Deleting asks with the record's title; No is the default and the focus leaves Delete.
    box("RecordNum")->setText("3");
    QString informative;
    WhenModal([&informative](QWidget* modal) {
      informative = qobject_cast<QMessageBox*>(modal)->informativeText();
      QTest::keyClick(modal, Qt::Key_Return);
    });
    Child<QPushButton>(editor, "Delete")->click();
    QCOMPARE(informative, QString("Hills"));
    QCOMPARE(Child<QLabel>(editor, "RecordCount")->text(), QString("of 3"));
    QVERIFY(!Child<QPushButton>(editor, "Delete")->hasFocus());
    box("RecordNum")->setText("2");

    box("Title")->setText("kept");
    answer(QMessageBox::Yes);
    editor->close();  // the close box, with a change typed: saved when asked
    QVERIFY(window->isVisible());
    lumvane::ArchiveEditor saved;
    QVERIFY(saved.Load(dir.path()).ok());
    QCOMPARE(saved.Fields(2).title, std::string("kept"));
  }
};

QTEST_MAIN(FrmArchiveTest)
#include "frm_archive_test.moc"
