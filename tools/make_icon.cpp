// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's icons into an icon theme folder: the logo as a scalable SVG and as PNGs
// of 16 to 256 pixels, in hicolor's layout. Usage: make_icon THEME_DIR
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QSvgGenerator>
#include <cstdio>

#include "shell/logo.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icon THEME_DIR\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");  // drawn without a display
  QGuiApplication app(argc, argv);
  const QDir theme(QString::fromLocal8Bit(argv[1]));
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString folder = QString("%1x%1/apps").arg(size);
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    lumvane::DrawLogo(painter, QRectF(0, 0, size, size));
    painter.end();
    if (!theme.mkpath(folder) || !icon.save(theme.filePath(folder + "/lumvane.png"))) return 1;
  }
  if (!theme.mkpath("scalable/apps")) return 1;
  QSvgGenerator svg;
  svg.setFileName(theme.filePath("scalable/apps/lumvane.svg"));
  svg.setSize(QSize(112, 112));
  svg.setViewBox(QRect(0, 0, 112, 112));
  svg.setTitle("Lumvane");
  QPainter painter(&svg);
  lumvane::DrawLogo(painter, QRectF(0, 0, 112, 112));
  return painter.end() ? 0 : 1;
}
