#include "shell/frm_edit_html.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>

#include "editor/date_rules.h"
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
  setFixedSize(6000 / 15, 5040 / 15);
  auto* update = Placed(new QPushButton("Update", this), "Update", Twips(kBoxLeft, 120, 1080, 375));
  auto* undo = Placed(new QPushButton("Undo", this), "Undo", Twips(2640, 120, 1080, 375));
  auto* done = Placed(new QPushButton("Done", this), "Done", Twips(3840, 120, 1080, 375));
  record_num_ = Box("RecordNum", "Number", 720, 1200);
  auto* up = Placed(new QPushButton("+", this), "Up", Twips(2700, 705, 330, 180));
  auto* down = Placed(new QPushButton("-", this), "Down", Twips(2700, 885, 330, 180));
  title_ = Box("Title", "Title", 1245);
  keyword_ = Box("Keyword", "Keywords", 1650);
  category_ = Box("Category", "Categories", 2055);
  comment_ = Box("Comment", "Comment", 2460);
  author_ = Box("Author", "Author", 2865);
  pic_date_ = Box("PicDate", "Date", 3270);
  path_ = Box("Path", "Path", 3795);
  source_ = Box("Source", "Source File", 4200);
  thumb_ = Box("Thumb", "Thumb File", 4605, 3240);
  auto* remove = Placed(new QPushButton("Delete", this), "Delete", Twips(4800, 4575, 960, 375));
  for (QLineEdit* info : {path_, source_, thumb_}) {  // shown, never stored
    info->setReadOnly(true);
    QPalette palette = info->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    info->setPalette(palette);
  }
  for (QPushButton* button : {up, down}) button->setFocusPolicy(Qt::NoFocus);
  connect(record_num_, &QLineEdit::textChanged, this, &FrmEditHtml::Display);
  connect(up, &QPushButton::clicked, this, [this] { Step(1); });
  connect(down, &QPushButton::clicked, this, [this] { Step(-1); });
  connect(update, &QPushButton::clicked, this, &FrmEditHtml::OnUpdate);
  connect(undo, &QPushButton::clicked, this, &FrmEditHtml::OnUndo);
  connect(remove, &QPushButton::clicked, this, &FrmEditHtml::OnDelete);
  connect(done, &QPushButton::clicked, this, &QWidget::close);
  record_num_->setText("1");
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
  keyword_->setText(QString::fromStdString(f.keywords));
  category_->setText(QString::fromStdString(f.category));
  comment_->setText(QString::fromStdString(f.comment));
  author_->setText(QString::fromStdString(f.author));
  pic_date_->setText(QString::fromStdString(f.date));
  if (editable_only) return;
  path_->setText(QString::fromStdString(f.path));
  source_->setText(QString::fromStdString(f.source));
  thumb_->setText(QString::fromStdString(f.thumb));
}

// Shows the record the number names; a text that names none empties the number box.
void FrmEditHtml::Display() {
  const long n = RecordNumberOf(record_num_->text().toStdString());
  if (n < 1) {
    record_num_->setText("");
    return;
  }
  ShowFields(editor_.Fields(n), false);
}

void FrmEditHtml::Step(int step) {
  record_num_->setText(
      QString::fromStdString(SteppedRecordNumber(record_num_->text().toStdString(), step)));
  record_num_->setFocus();  // so that a number can be typed straight after the click
}

EditorFields FrmEditHtml::Typed() const {
  EditorFields typed;
  typed.title = title_->text().toStdString();
  typed.keywords = keyword_->text().toStdString();
  typed.category = category_->text().toStdString();
  typed.comment = comment_->text().toStdString();
  typed.author = author_->text().toStdString();
  typed.date = pic_date_->text().toStdString();
  return typed;
}

void FrmEditHtml::OnUpdate() {
  const long n = RecordNumberOf(record_num_->text().toStdString());
  const EditorFields typed = Typed();
  std::string stored;
  const Status status = editor_.Update(n, typed, &stored);
  if (!StoredDate(typed.date)) {
    ShowMessage(QString::fromStdString(status.message()));
    pic_date_->setText(QString::fromStdString(n >= 1 ? editor_.Fields(n).date : ""));
    return;
  }
  if (!status.ok()) {
    ShowMessage(QString::fromStdString(status.message()));
    return;
  }
  pic_date_->setText(QString::fromStdString(stored));
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
  QMessageBox question(QMessageBox::NoIcon, "Delete!", QString("Delete record %1 ?").arg(n),
                       QMessageBox::Yes | QMessageBox::No, this);
  if (question.exec() != QMessageBox::Yes) return;
  if (const Status status = editor_.Delete(n); !status.ok()) {
    ShowMessage(QString::fromStdString(status.message()));
    return;
  }
  ShowMessage("Please reload the web page.");
  Display();
}

void FrmEditHtml::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, "Lumvane", text, QMessageBox::Ok, this);
  box.exec();
}

void FrmEditHtml::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (main_window_ != nullptr) main_window_->hide();
}

void FrmEditHtml::closeEvent(QCloseEvent* event) {
  event->accept();  // closing is never refused
  if (main_window_ != nullptr) main_window_->show();
  emit closed();
}

}  // namespace lumvane
