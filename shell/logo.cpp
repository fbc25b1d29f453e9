// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/logo.h"

#include <QPainterPath>

namespace lumvane {

void DrawLogo(QPainter& p, const QRectF& area) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(area.topLeft());
  p.scale(area.width() / 112, area.height() / 112);  // drawn on a square of 112
  const QRectF lens(6, 6, 100, 100);
  QLinearGradient sky(lens.topLeft(), lens.bottomLeft());
  sky.setColorAt(0, QColor(58, 96, 168));
  sky.setColorAt(0.65, QColor(240, 196, 120));
  // Shapes cut to the lens rather than clipped, so that the SVG (which keeps no clipping) is
  // drawn as the pixels are.
  QPainterPath circle;
  circle.addEllipse(lens);
  p.setPen(Qt::NoPen);
  p.setBrush(sky);
  p.drawPath(circle);
  p.setBrush(QColor(255, 244, 214));
  p.drawEllipse(QPointF(lens.center().x() + 14, lens.top() + 38), 13, 13);
  QPainterPath hills(QPointF(lens.left(), lens.bottom()));
  hills.lineTo(lens.left(), lens.top() + 66);
  hills.cubicTo(lens.left() + 30, lens.top() + 50, lens.left() + 55, lens.top() + 78, lens.right(),
                lens.top() + 58);
  hills.lineTo(lens.right(), lens.bottom());
  p.setBrush(QColor(46, 88, 58));
  p.drawPath(hills.intersected(circle));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(40, 40, 48), 6));
  p.drawEllipse(lens);
  p.setPen(QPen(QColor(200, 200, 210), 1.5));
  p.drawEllipse(lens.adjusted(5, 5, -5, -5));
  p.restore();
}

}  // namespace lumvane
