#pragma once
// The mouse pointer over the picture: what moving it, clicking and right-clicking in the
// picture do to the pixel zoom and the measurement tool, and the arrow keys that move it
// with acceleration. The window owns one ImagePointer and turns each returned
// PointerActions into drawing; nothing here draws.

#include "ui_core/PanelLayout.h"

namespace tidemar {

// Arrow keys step the pointer by CursorStep pixels; every key press adds half a pixel up to
// 16, and a key release starts again at one.
inline constexpr float CursorStepStart = 1.0f;
inline constexpr float CursorStepIncrement = 0.5f;
inline constexpr float CursorStepLimit = 16.0f;

enum class ArrowKey { Left, Up, Right, Down };

// The step after one more key press.
float NextCursorStep(float step);

// Where an arrow key moves the pointer: the coordinate plus or minus the step, truncated.
Point ArrowKeyTarget(Point at, ArrowKey key, float step);

enum class PointerCursor { Arrow, Image, Hidden, Busy };

struct ImagePointer {
    bool MenuOpen = false;          // a menu opened since the last move: the pings leave the zoom alone
    bool CursorInImage = false;     // the pointer was over the picture at the last move
    bool ZoomFrozen = false;        // the zoom keeps the view of the click that froze it
    bool MeasureLock = false;       // a right click fixed the measurement origin
    bool MeasureLineArmed = false;  // set by the first data-source change; no line before
    Point Origin;                   // the right click that set MeasureLock
    Point LastDrawn;                // end of the measurement line
    Point LastPointer;              // the last point given to the measurement read-out
    Point ZoomCentre{301, 256};     // last zoom centre, after clamping
    float CursorStep = CursorStepStart;
};

// What the window does after a pointer event, in this order.
struct PointerActions {
    bool DrawMeasureLine = false;  // measurement line (or its removal) to LineTo
    Point LineTo;
    bool MeasureTool = false;  // recompute the read-out at MeasureAt
    Point MeasureAt;
    bool Zoom = false;  // ZoomPixels around ZoomAt
    Point ZoomAt;
    bool CursorChanged = false;  // the pointer shape follows the new state
};

// The mouse moved to (x, y). `pixelZoom`: PixelZoom is on; `sideScan`: the SS display,
// where a locked line stays on the origin's row.
PointerActions PointerMoved(ImagePointer& pointer, const PanelLayout& layout, int x, int y, bool pixelZoom,
                            bool sideScan);

// A left click in the picture: with the zoom on it freezes or unfreezes the view; when the
// view is (now) live the read-out and the zoom follow the click point.
PointerActions LeftClickInImage(ImagePointer& pointer, int x, int y, bool pixelZoom);

// A right click in the picture: the zoom is unfrozen and the measurement origin fixed at
// (x, y) or released.
PointerActions RightClickInImage(ImagePointer& pointer, int x, int y);

// The data source changed, or SS was entered: the origin is released and the pointer shown
// again. A data-source change also arms the measurement line.
void ReleaseMeasureLock(ImagePointer& pointer, bool dataSourceChanged);

// The pixel zoom was turned on or off: the view is live again.
void PixelZoomToggled(ImagePointer& pointer);

// The pointer shape for a point: the hourglass while busy, hidden over the picture while an
// origin is fixed, the cross-hair over the picture, the arrow elsewhere.
PointerCursor CursorFor(const PanelLayout& layout, const ImagePointer& pointer, int x, int y, bool busy);

// Whether a ping may refresh the zoom: zoom on, not frozen, no menu opened since the move.
bool PingRefreshesZoom(const ImagePointer& pointer, bool pixelZoom);

}  // namespace tidemar
