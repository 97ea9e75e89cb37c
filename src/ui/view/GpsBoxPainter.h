#pragma once
// Paints the GPS position box under the control panel as DecideGpsBox worked it out: the
// frame and fill, then either the "not available" text or the two halves of the position
// with the blinking star. A hidden box is left to the window background.

#include <functional>

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>

#include "gps/GpsPositionBox.h"

namespace tidemar {

// The pixels of the box for text lines of this font: (2, 532) up to, not including,
// (200, line height + 536).
QRect GpsBoxRect(const QFont& font);

void PaintGpsBox(QPainter& painter, const QFont& font, const GpsBox& box,
                 const std::function<QColor(int)>& paletteColor);

}  // namespace tidemar
