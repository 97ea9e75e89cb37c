#include "ui_core/ImagePointer.h"

#include "image/ImageBuffer.h"

namespace tidemar {

namespace {

void ZoomAt(PointerActions& actions, ImagePointer& pointer, int x, int y) {
    const ZoomSquare square = ZoomCentre(x, y);
    pointer.ZoomCentre = {square.CentreX, square.CentreY};
    actions.Zoom = true;
    actions.ZoomAt = pointer.ZoomCentre;
}

void MeasureAt(PointerActions& actions, ImagePointer& pointer, int x, int y) {
    pointer.LastPointer = {x, y};
    actions.MeasureTool = true;
    actions.MeasureAt = pointer.LastPointer;
}

void LineTo(PointerActions& actions, ImagePointer& pointer, int x, int y) {
    pointer.LastDrawn = {x, y};
    actions.DrawMeasureLine = true;
    actions.LineTo = pointer.LastDrawn;
}

}  // namespace

float NextCursorStep(float step) {
    step += CursorStepIncrement;
    return step > CursorStepLimit ? CursorStepLimit : step;
}

Point ArrowKeyTarget(Point at, ArrowKey key, float step) {
    const float x = static_cast<float>(at.X);
    const float y = static_cast<float>(at.Y);
    switch (key) {
    case ArrowKey::Left: return {static_cast<int>(x - step), at.Y};
    case ArrowKey::Up: return {at.X, static_cast<int>(y - step)};
    case ArrowKey::Right: return {static_cast<int>(x + step), at.Y};
    case ArrowKey::Down: return {at.X, static_cast<int>(y + step)};
    }
    return at;
}

PointerActions PointerMoved(ImagePointer& pointer, const PanelLayout& layout, int x, int y, bool pixelZoom,
                            bool sideScan) {
    PointerActions actions;
    pointer.MenuOpen = false;
    if (layout.MouseImageArea.Contains(x, y)) {
        actions.CursorChanged = !pointer.CursorInImage;
        if (pointer.MeasureLock) {
            if (sideScan) y = pointer.Origin.Y;  // SS distances run along the row only
            if (!pointer.ZoomFrozen) LineTo(actions, pointer, x, y);
        }
        pointer.CursorInImage = true;
        if (!pointer.ZoomFrozen) MeasureAt(actions, pointer, x, y);
        if (pixelZoom && !pointer.ZoomFrozen) ZoomAt(actions, pointer, x, y);
        return actions;
    }
    if (pointer.CursorInImage) {
        actions.CursorChanged = true;
        pointer.CursorInImage = false;
        if (!pointer.ZoomFrozen) MeasureAt(actions, pointer, x, y);  // the read-out empties
    }
    return actions;
}

PointerActions LeftClickInImage(ImagePointer& pointer, int x, int y, bool pixelZoom) {
    PointerActions actions;
    if (pixelZoom) pointer.ZoomFrozen = !pointer.ZoomFrozen;
    if (!pointer.ZoomFrozen) {
        MeasureAt(actions, pointer, x, y);
        if (pixelZoom) ZoomAt(actions, pointer, x, y);
    }
    return actions;
}

PointerActions RightClickInImage(ImagePointer& pointer, int x, int y) {
    PointerActions actions;
    pointer.ZoomFrozen = false;
    pointer.MeasureLock = !pointer.MeasureLock;
    if (pointer.MeasureLock) pointer.Origin = {x, y};
    actions.CursorChanged = true;
    LineTo(actions, pointer, x, y);
    MeasureAt(actions, pointer, x, y);
    return actions;
}

void ReleaseMeasureLock(ImagePointer& pointer, bool dataSourceChanged) {
    pointer.MeasureLock = false;
    if (dataSourceChanged) pointer.MeasureLineArmed = true;
}

void PixelZoomToggled(ImagePointer& pointer) { pointer.ZoomFrozen = false; }

PointerCursor CursorFor(const PanelLayout& layout, const ImagePointer& pointer, int x, int y, bool busy) {
    if (busy) return PointerCursor::Busy;
    if (!layout.MouseImageArea.Contains(x, y)) return PointerCursor::Arrow;
    return pointer.MeasureLock ? PointerCursor::Hidden : PointerCursor::Image;
}

bool PingRefreshesZoom(const ImagePointer& pointer, bool pixelZoom) {
    return pixelZoom && !pointer.ZoomFrozen && !pointer.MenuOpen;
}

}  // namespace tidemar
