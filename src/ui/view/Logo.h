#pragma once
// The program's logo: a sonar fan beside the name "Tidemar" over "Digital Sonar", drawn
// to fit any rectangle, for the splash screen and the small box under the pixel zoom.

#include <QPainter>
#include <QRect>

namespace tidemar {

inline constexpr const char* LogoName = "Tidemar";
inline constexpr const char* LogoSubtitle = "Digital Sonar";

// `night`: in the dark reds of the night colours.
void PaintLogo(QPainter& painter, const QRect& area, bool night = false);

}  // namespace tidemar
