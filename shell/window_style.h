// SPDX-License-Identifier: GPL-3.0-or-later
// Geometry and font shared by Lumvane's windows: layouts are kept in twips and drawn at
// 15 twips per pixel, in an Arial-metric font small enough for those layouts.
#ifndef LUMVANE_SHELL_WINDOW_STYLE_H_
#define LUMVANE_SHELL_WINDOW_STYLE_H_

#include <QFont>
#include <QHeaderView>
#include <QRect>
#include <QStringList>
#include <QTableWidget>

namespace lumvane {

inline QRect Twips(int left, int top, int width, int height) {
  return QRect(left / 15, top / 15, width / 15, height / 15);
}

// `widget` with its control name and place.
template <typename Widget>
Widget* Placed(Widget* widget, const char* name, const QRect& geometry) {
  widget->setObjectName(name);
  widget->setGeometry(geometry);
  return widget;
}

inline QFont WindowFont(int pixel_size = 11) {
  QFont font("Liberation Sans");
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixel_size);
  return font;
}

// The main window's style sheet: the control with the keyboard focus shows it plainly, lists
// and flat buttons included, which the platform's style draws without a mark.
inline constexpr char kFocusStyle[] =
    "QAbstractItemView:focus { border: 2px solid palette(highlight); }"
    "QPushButton:flat:focus { border: 1px solid palette(highlight); border-radius: 2px; }";

// A read-only table of whole rows, one chosen at a time, without row numbers: the dialogs'
// lists.
inline QTableWidget* RowTable(const char* name, const QStringList& columns, QWidget* parent) {
  auto* table = new QTableWidget(0, static_cast<int>(columns.size()), parent);
  table->setObjectName(name);
  table->setHorizontalHeaderLabels(columns);
  table->horizontalHeader()->setStretchLastSection(true);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->verticalHeader()->hide();
  return table;
}

}  // namespace lumvane

#endif  // LUMVANE_SHELL_WINDOW_STYLE_H_
