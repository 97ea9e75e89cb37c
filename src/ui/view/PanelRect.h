#pragma once
// The panel layout's rectangles (one past the last row and column) as Qt's.

#include <QRect>

#include "ui_core/PanelLayout.h"

namespace tidemar {

inline QRect ToQRect(const Rect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

}  // namespace tidemar
