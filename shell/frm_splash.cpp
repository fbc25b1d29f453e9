// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/frm_splash.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include "lumvane/version.h"
#include "shell/logo.h"
#include "shell/window_style.h"

namespace lumvane {
namespace {

QLabel* MakeLabel(const QString& name, const QString& text, int pixel_size, bool bold,
                  QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  QFont font = WindowFont(pixel_size);
  font.setBold(bold);
  label->setFont(font);
  label->setAlignment(Qt::AlignCenter);
  label->setWordWrap(true);
  return label;
}

}  // namespace

Logo::Logo(QWidget* parent) : QWidget(parent) {
  setObjectName("imgLogo");
  setFixedSize(112, 112);
}

void Logo::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  DrawLogo(painter, rect());
}

QIcon ApplicationIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    QPixmap drawn(size, size);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    DrawLogo(painter, QRectF(0, 0, size, size));
    painter.end();
    icon.addPixmap(drawn);
  }
  return icon;
}

void Logo::mousePressEvent(QMouseEvent*) {
  if (auto* splash = qobject_cast<FrmSplash*>(window())) splash->Finish();
}

FrmSplash::FrmSplash(QWidget* main_window) : main_window_(main_window) {
  setObjectName("frmSplash");
  setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
  setFixedSize(420, 300);
  auto* frame = new QFrame(this);
  frame->setObjectName("Frame1");
  frame->setFrameStyle(QFrame::Box | QFrame::Raised);
  frame->setLineWidth(2);
  frame->setGeometry(rect());
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(20, 16, 20, 16);
  layout->addWidget(new Logo(frame), 0, Qt::AlignHCenter);
  layout->addWidget(MakeLabel("lblProductName", "Lumvane", 30, true, frame));
  layout->addWidget(MakeLabel("lblPlatform", "for Linux", 14, false, frame));
  layout->addWidget(MakeLabel("lblVersion", QString("Version ") + kVersion, 13, false, frame));
  layout->addStretch();
  layout->addWidget(MakeLabel(
      "lblWarning", "This software is based in part on the work of the Independent JPEG Group.", 11,
      false, frame));
  layout->addWidget(MakeLabel("lblCompany", "", 11, false, frame));
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  timer_.setObjectName("Timer1");
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &FrmSplash::Finish);
  timer_.start(6000);
}

void FrmSplash::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // A window manager need not give a splash the focus: the first key closes it all the same,
  // through a grab of the keyboard (taken once the window is on screen, which is when the
  // X server grants it) and, should the grab be refused, a filter on the application's keys.
  qApp->installEventFilter(this);
  TryToGrabKeyboard(40);
}

void FrmSplash::TryToGrabKeyboard(int attempts) {
  if (finished_ || windowHandle() == nullptr || attempts == 0) return;
  if (windowHandle()->setKeyboardGrabEnabled(true)) return;
  QTimer::singleShot(50, this, [this, attempts] { TryToGrabKeyboard(attempts - 1); });
}

bool FrmSplash::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    Finish();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void FrmSplash::Finish() {
  if (finished_) return;
  finished_ = true;
  timer_.stop();
  qApp->removeEventFilter(this);
  if (windowHandle() != nullptr) windowHandle()->setKeyboardGrabEnabled(false);
  main_window_->show();
  emit finished();
  close();
}

void FrmSplash::keyPressEvent(QKeyEvent*) {
  Finish();
}

void FrmSplash::mousePressEvent(QMouseEvent*) {
  Finish();
}

}  // namespace lumvane
