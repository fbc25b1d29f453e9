// SPDX-License-Identifier: GPL-3.0-or-later
// The archive editor's window, "Edit Image Information": the boxes of one record, moving by
// record number, Update, Undo, Delete and Done. It forwards to the editor's model and shows
// its messages; the main window is hidden while it is open and shown again when it closes.
// Typed changes are never dropped without asking, and an archive that changed on disk since
// it was loaded is offered for reloading, never written over.
#ifndef LUMVANE_SHELL_FRM_EDIT_HTML_H_
#define LUMVANE_SHELL_FRM_EDIT_HTML_H_

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "editor/archive_editor.h"

namespace lumvane {

class FrmEditHtml : public QWidget {
  Q_OBJECT
 public:
  // Shows record 1 of the loaded `editor`. `main_window` (may be null) is hidden while the
  // editor is open.
  FrmEditHtml(ArchiveEditor editor, QWidget* main_window);

  const ArchiveEditor& model() const { return editor_; }

 signals:
  void closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QLineEdit* Box(const char* name, const char* label, int top, int width = 4320);
  void OnNumberChanged();
  void ShowRecord(long n);
  void Step(int step);
  void AddKeys();
  void OnUpdate();
  void OnUndo();
  void OnDelete();
  // Stores the typed boxes as record n; false (with its message shown) when nothing was
  // stored.
  bool Save(long n);
  // True when the typed boxes differ from the record on screen as stored.
  bool Dirty() const;
  // Before the record on screen is left: asks whether to save typed changes. False for Cancel,
  // or when they could not be saved.
  bool ConfirmLeaving();
  // The archive changed on disk since it was loaded, and `refused` was not written. Offers to
  // read it again; the boxes typed for record `typed_for` (0: none) that differ from `before`,
  // the record as it was loaded, are then offered again on the newer archive.
  void OfferReload(const Status& refused, long typed_for = 0, const EditorFields& typed = {},
                   const EditorFields& before = {});
  EditorFields Typed() const;
  void ShowFields(const EditorFields& fields, bool editable_only);
  void ShowMessage(const QString& text);

  ArchiveEditor editor_;
  QWidget* main_window_;
  long shown_ = 0;              // the record whose boxes are on screen
  bool told_left_out_ = false;  // the note of records left out was shown
  QString number_text_;         // the record number box as it was before its last change
  QLineEdit* record_num_;
  QLabel* record_count_;
  QLabel* picture_;  // the record's thumbnail
  QLineEdit *title_, *keyword_, *category_, *comment_, *author_, *pic_date_;
  QLineEdit *path_, *source_, *thumb_;
};

}  // namespace lumvane

#endif  // LUMVANE_SHELL_FRM_EDIT_HTML_H_
