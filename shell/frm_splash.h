// SPDX-License-Identifier: GPL-3.0-or-later
// The splash window: product, version and credits, until the first key, click or six seconds.
#ifndef LUMVANE_SHELL_FRM_SPLASH_H_
#define LUMVANE_SHELL_FRM_SPLASH_H_

#include <QIcon>
#include <QTimer>
#include <QWidget>

namespace lumvane {

// The logo on the splash (DrawLogo); a click on it ends the splash.
class Logo : public QWidget {
 public:
  explicit Logo(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
};

// The program's icon: the logo, at the sizes desktops ask for.
QIcon ApplicationIcon();

class FrmSplash : public QWidget {
  Q_OBJECT
 public:
  // `main_window` is shown when the splash ends.
  explicit FrmSplash(QWidget* main_window);

 signals:
  void finished();

 public slots:
  // Shows the main window and closes the splash; only the first call counts.
  void Finish();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  // While the splash is up, a key pressed in any window of the program ends it.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Takes the keyboard once the window system grants it, trying `attempts` more times.
  void TryToGrabKeyboard(int attempts);

  QWidget* main_window_;
  QTimer timer_;
  bool finished_ = false;
};

}  // namespace lumvane

#endif  // LUMVANE_SHELL_FRM_SPLASH_H_
