// SPDX-License-Identifier: GPL-3.0-or-later
// Lumvane's logo, drawn: a sun over hills inside a lens ring. The splash, the window's icon
// and the installed icons (made at build time) all come from this one drawing.
#ifndef LUMVANE_SHELL_LOGO_H_
#define LUMVANE_SHELL_LOGO_H_

#include <QPainter>
#include <QRectF>

namespace lumvane {

// Draws the logo into `area` (a square; the drawing keeps its proportions).
void DrawLogo(QPainter& painter, const QRectF& area);

}  // namespace lumvane

#endif  // LUMVANE_SHELL_LOGO_H_
