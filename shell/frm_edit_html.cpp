// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/frm_edit_html.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <functional>

#include "platform/paths.h"
#include "shell/window_style.h"

namespace lumvane {
namespace {

constexpr int kLabelLeft = 120, kBoxLeft = 1440, kRowHeight = 315;

}  // namespace

FrmEditHtml::FrmEditHtml(ArchiveEditor editor, QWidget* main_window)
    : editor_(std::move(editor)), main_window_(main_window) {
  setObjectName("frmEdit_Html");
  setWindowTitle("Edit Image Information");
  setFont(WindowFont());
  setFixedSize(7560 / 15, 5040 / 15);  // the boxes, and the record's thumbnail beside them
  auto* update =
      Placed(new QPushButton("&Update", this), "Update", Twips(kBoxLeft, 120, 1080, 375));
  auto* undo = Placed(new QPushButton("Und&o", this), "Undo", Twips(2640, 120, 1080, 375));
  auto* done = Placed(new QPushButton("&Done", this), "Done", Twips(3840, 120, 1080, 375));
  record_num_ = Box("RecordNum", "&Number", 720, 1200);
  auto* up = Placed(new QPushButton("+", this), "Up", Twips(2700, 705, 375, 345));
  auto* down = Placed(new QPushButton("-", this), "Down", Twips(3105, 705, 375, 345));
  record_count_ = Placed(new QLabel(this), "RecordCount", Twips(3540, 720, 1500, kRowHeight));
  picture_ = Placed(new QLabel(this), "Picture", Twips(6000, 1245, 1440, 1440));
  picture_->setAlignment(Qt::AlignCenter);
  title_ = Box("Title", "&Title", 1245);
  keyword_ = Box("Keyword", "&Keywords", 1650);
  category_ = Box("Category", "C&ategories", 2055);
  comment_ = Box("Comment", "&Comment", 2460);
  author_ = Box("Author", "Aut&hor", 2865);
  pic_date_ = Box("PicDate", "Dat&e", 3270);
  path_ = Box("Path", "Path", 3795);
  source_ = Box("Source", "Source File", 4200);
  thumb_ = Box("Thumb", "Thumb File", 4605, 3240);
  auto* remove = Placed(new QPushButton("De&lete", this), "Delete", Twips(4800, 4575, 960, 375));
  for (QLineEdit* info : {path_, source_, thumb_}) {  // shown, never stored
    info->setReadOnly(true);
    QPalette palette = info->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    info->setPalette(palette);
  }
  for (QPushButton* button : {up, down}) button->setFocusPolicy(Qt::NoFocus);
  connect(record_num_, &QLineEdit::textChanged, this, &FrmEditHtml::OnNumberChanged);
  connect(up, &QPushButton::clicked, this, [this] { Step(1); });
  connect(down, &QPushButton::clicked, this, [this] { Step(-1); });
  connect(update, &QPushButton::clicked, this, &FrmEditHtml::OnUpdate);
  connect(undo, &QPushButton::clicked, this, &FrmEditHtml::OnUndo);
  connect(remove, &QPushButton::clicked, this, &FrmEditHtml::OnDelete);
  connect(done, &QPushButton::clicked, this, &QWidget::close);
  AddKeys();
  record_num_->setText("1");
}

// Page Up and Page Down step through the records, Ctrl+Home and Ctrl+End go to the first and
// the last; Enter in a box stores the record, as Update does.
void FrmEditHtml::AddKeys() {
  const auto go_to = [this](long n) { record_num_->setText(QString::number(n)); };
  const std::pair<QKeySequence, std::function<void()>> keys[] = {
      {QKeySequence(Qt::Key_PageDown), [this] { Step(1); }},
      {QKeySequence(Qt::Key_PageUp), [this] { Step(-1); }},
      {QKeySequence(Qt::CTRL | Qt::Key_Home), [go_to] { go_to(1); }},
      {QKeySequence(Qt::CTRL | Qt::Key_End), [this, go_to] { go_to(editor_.count()); }}};
  for (const auto& [key, action] : keys) {
    connect(new QShortcut(key, this), &QShortcut::activated, this, action);
  }
  for (QLineEdit* box : {title_, keyword_, category_, comment_, author_, pic_date_}) {
    connect(box, &QLineEdit::returnPressed, this, &FrmEditHtml::OnUpdate);
  }
}

QLineEdit* FrmEditHtml::Box(const char* name, const char* label, int top, int width) {
  auto* caption = new QLabel(label, this);
  caption->setGeometry(Twips(kLabelLeft, top, kBoxLeft - kLabelLeft - 60, kRowHeight));
  caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  auto* box = Placed(new QLineEdit(this), name, Twips(kBoxLeft, top, width, kRowHeight));
  caption->setBuddy(box);
  return box;
}

void FrmEditHtml::ShowFields(const EditorFields& f, bool editable_only) {
  title_->setText(QString::fromStdString(f.title));
  keyword_->setText(QString::fromStdString(f.subject));
  category_->setText(QString::fromStdString(f.category));
  comment_->setText(QString::fromStdString(f.comment));
  author_->setText(QString::fromStdString(f.author));
  pic_date_->setText(QString::fromStdString(f.date));
  if (editable_only) return;
  const std::pair<QLineEdit*, const std::string*> info[] = {
      {path_, &f.path}, {source_, &f.source}, {thumb_, &f.thumb}};
  for (const auto& [box, text] : info) {
    box->setText(QString::fromStdString(*text));
    box->setToolTip(box->text());  // long names do not fit the box
    box->setCursorPosition(0);
  }
}

void FrmEditHtml::ShowRecord(long n) {
  shown_ = n;
  const EditorFields fields = editor_.Fields(n);
  ShowFields(fields, false);
  const QPixmap thumbnail(QString::fromStdString(JoinPath(editor_.folder(), fields.thumb)));
  picture_->setPixmap(thumbnail);
  record_count_->setText(QString("of %1").arg(editor_.count()));
}

// Shows the record the number names, once typed changes to the record on screen are saved or
// dropped as the user says; a text that names none empties the number box.
void FrmEditHtml::OnNumberChanged() {
  const long n = RecordNumberOf(record_num_->text().toStdString());
  if (n >= 1 && n != shown_ && !ConfirmLeaving()) {
    const QSignalBlocker quiet(record_num_);
    record_num_->setText(number_text_);  // Cancel: stay on the record on screen
    return;
  }
  number_text_ = record_num_->text();
  if (n < 1) {
    record_num_->setText("");
    return;
  }
  ShowRecord(n);
}

void FrmEditHtml::Step(int step) {
  record_num_->setText(
      QString::fromStdString(SteppedRecordNumber(record_num_->text().toStdString(), step)));
  record_num_->setFocus();  // so that a number can be typed straight after the click
}

EditorFields FrmEditHtml::Typed() const {
  EditorFields typed;
  typed.title = title_->text().toStdString();
  typed.subject = keyword_->text().toStdString();
  typed.category = category_->text().toStdString();
  typed.comment = comment_->text().toStdString();
  typed.author = author_->text().toStdString();
  typed.date = pic_date_->text().toStdString();
  return typed;
}

bool FrmEditHtml::Dirty() const {
  if (shown_ < 1) return false;
  const EditorFields stored = editor_.Fields(shown_), typed = Typed();
  return typed.title != stored.title || typed.subject != stored.subject ||
         typed.category != stored.category || typed.comment != stored.comment ||
         typed.author != stored.author || typed.date != stored.date;
}

bool FrmEditHtml::ConfirmLeaving() {
  if (!Dirty()) return true;
  QMessageBox question(QMessageBox::NoIcon, "Lumvane",
                       QString("Save the changes to record %1?").arg(shown_),
                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
  question.setObjectName("SaveChanges");
  switch (question.exec()) {
    case QMessageBox::Yes:
      return Save(shown_);
    case QMessageBox::No:
      return true;
    default:
      return false;
  }
}

bool FrmEditHtml::Save(long n) {
  const EditorFields typed = Typed();
  const EditorFields before = n >= 1 ? editor_.Fields(n) : EditorFields();
  std::string stored;
  const Status status = editor_.Update(n, typed, &stored);
  if (status.code() == StatusCode::kInvalidInput) {  // the typed date
    ShowMessage(QString::fromStdString(status.message()));
    pic_date_->setText(QString::fromStdString(n >= 1 ? editor_.Fields(n).date : ""));
    return false;
  }
  if (!status.ok()) {
    if (status.code() == StatusCode::kChanged) {
      OfferReload(status, n, typed, before);
    } else {
      ShowMessage(QString::fromStdString(status.message()));
    }
    return false;
  }
  pic_date_->setText(QString::fromStdString(stored));
  return true;
}

void FrmEditHtml::OfferReload(const Status& refused, long typed_for, const EditorFields& typed,
                              const EditorFields& before) {
  QMessageBox question(
      QMessageBox::NoIcon, "Lumvane",
      QString::fromStdString(refused.message()) + "\nReload it now?" +
          (typed_for >= 1 ? " What you typed is then offered for the newer archive." : ""),
      QMessageBox::Yes | QMessageBox::No, this);
  question.setObjectName("ReloadArchive");
  if (question.exec() != QMessageBox::Yes) return;
  if (const Status loaded = editor_.Load(editor_.folder()); !loaded.ok()) {
    ShowMessage(QString::fromStdString(loaded.message()));
    return;
  }
  if (typed_for < 1 || typed_for > editor_.count()) {
    if (shown_ >= 1) ShowRecord(shown_);
    return;
  }
  ShowRecord(typed_for);
  EditorFields merged = editor_.Fields(typed_for);  // the newer archive's, with what was typed
  for (auto field : {&EditorFields::title, &EditorFields::subject, &EditorFields::category,
                     &EditorFields::comment, &EditorFields::author, &EditorFields::date}) {
    if (typed.*field != before.*field) merged.*field = typed.*field;
  }
  ShowFields(merged, /*editable_only=*/true);  // on screen, not yet saved
  QMessageBox again(
      QMessageBox::NoIcon, "Lumvane",
      QString("Save what you typed for record %1 in the newer archive?").arg(typed_for),
      QMessageBox::Yes | QMessageBox::No, this);
  again.setObjectName("SaveAgain");
  if (again.exec() == QMessageBox::Yes) Save(typed_for);
}

void FrmEditHtml::OnUpdate() {
  Save(RecordNumberOf(record_num_->text().toStdString()));
}

void FrmEditHtml::OnUndo() {
  const long n = RecordNumberOf(record_num_->text().toStdString());
  if (n >= 1) ShowFields(editor_.Fields(n), true);
}

void FrmEditHtml::OnDelete() {
  const long n = RecordNumberOf(record_num_->text().toStdString());
  if (n < 1 || n > editor_.count()) {
    ShowMessage("Invalid record number.");
    return;
  }
  // The question shows which record goes, and a stray Enter keeps it: No is the default and
  // the focus leaves Delete, which every deletion in the history can undo anyway.
  const EditorFields doomed = editor_.Fields(n);
  QMessageBox question(QMessageBox::NoIcon, "Delete!", QString("Delete record %1 ?").arg(n),
                       QMessageBox::Yes | QMessageBox::No, this);
  question.setObjectName("DeleteRecord");
  question.setInformativeText(
      QString::fromStdString(doomed.title.empty() ? doomed.source : doomed.title));
  const QPixmap thumbnail(QString::fromStdString(JoinPath(editor_.folder(), doomed.thumb)));
  if (!thumbnail.isNull()) question.setIconPixmap(thumbnail);
  question.setDefaultButton(QMessageBox::No);
  const int answer = question.exec();
  title_->setFocus();
  if (answer != QMessageBox::Yes) return;
  if (const Status status = editor_.Delete(n); !status.ok()) {
    if (status.code() == StatusCode::kChanged) {
      OfferReload(status);
    } else {
      ShowMessage(QString::fromStdString(status.message()));
    }
    return;
  }
  ShowMessage("Please reload the web page.");
  ShowRecord(n);
}

void FrmEditHtml::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, "Lumvane", text, QMessageBox::Ok, this);
  box.exec();
}

void FrmEditHtml::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (main_window_ != nullptr) main_window_->hide();
  if (const std::string note = editor_.LeftOutNote(); !note.empty() && !told_left_out_) {
    told_left_out_ = true;
    QTimer::singleShot(0, this, [this, note] { ShowMessage(QString::fromStdString(note)); });
  }
}

void FrmEditHtml::closeEvent(QCloseEvent* event) {
  if (!ConfirmLeaving()) {  // Cancel, or changes that could not be saved: stay open
    event->ignore();
    return;
  }
  event->accept();
  if (main_window_ != nullptr) main_window_->show();
  emit closed();
}

}  // namespace lumvane
