// SonarView: the pointer over the picture (zoom, measurement tool, arrow keys, pointer
// shapes) and the overlays painted over and beside the picture.
#include <cmath>

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

#include "core/Modes.h"
#include "image/ImageBuffer.h"
#include "ui/view/Logo.h"
#include "ui/view/OverlayPainter.h"
#include "ui/view/PanelRect.h"
#include "ui/view/SonarView.h"
#include "ui_core/HeadIndicator.h"

namespace tidemar {

// ---- commands and state changes from the window --------------------------------------------

void SonarView::SetMenuOpen() { pointer_.MenuOpen = true; }

void SonarView::PixelZoomChanged() {
    PixelZoomToggled(pointer_);
    if (!state_ || state_->PixelZoom != 1) {
        zoom_ = QImage();
        zoomIndexes_ = QImage();
    }
    Repaint(ToQRect(layout_.ZoomFrame));
}

void SonarView::DataSourceChanged() {
    tidemar::ReleaseMeasureLock(pointer_, true);
    RefreshMeasureLineArea();
    RefreshMeasureReadout();
    UpdateCursorShape();
}

void SonarView::ReleaseMeasureLock() {
    if (!pointer_.MeasureLock) return;
    tidemar::ReleaseMeasureLock(pointer_, false);
    RefreshMeasureLineArea();
    RefreshMeasureReadout();
    UpdateCursorShape();
}

void SonarView::RefreshCursor() { UpdateCursorShape(); }

// ---- the pointer -------------------------------------------------------------------------------

void SonarView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = ToLogical(event->position());
    // A held arrow lets go when the pointer leaves it.
    if (pressed_ != PanelElement::None && state_ &&
        HitTest(layout_, at.x(), at.y(), *state_, ReverseAvailable()).Element != pressed_)
        ReleaseButton();
    PointerMovedTo(at.x(), at.y());
    QWidget::mouseMoveEvent(event);
}

void SonarView::PointerMovedTo(int x, int y) {
    tracked_ = {x, y};
    if (!state_) return;
    const bool sideScan = state_->GridMode == DisplayMode::SideScan;
    ApplyPointerActions(PointerMoved(pointer_, layout_, x, y, state_->PixelZoom == 1, sideScan));
}

void SonarView::ArrowKeyPressed(ArrowKey key) {
    const Point to = ArrowKeyTarget(tracked_, key, pointer_.CursorStep);
    // A screen pixel of that logical pixel, however large the zoom draws it.
    const auto device = [this](int logical) { return static_cast<int>(std::ceil(logical * scale_)); };
    QCursor::setPos(screen(), mapToGlobal(QPoint(device(to.X), device(to.Y))));
    // Handled here at once; the platform's own move event to the same point changes nothing.
    PointerMovedTo(to.X, to.Y);
}

void SonarView::ApplyPointerActions(const PointerActions& actions) {
    if (actions.DrawMeasureLine) RefreshMeasureLineArea();
    if (actions.MeasureTool) MeasureTool(actions.MeasureAt);
    if (actions.Zoom) ZoomPixels(actions.ZoomAt);
    UpdateCursorShape();
}

void SonarView::UpdateCursorShape() {
    const bool busy = state_ && state_->BusyCursorOn;
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (CursorFor(layout_, pointer_, tracked_.X, tracked_.Y, busy)) {
    case PointerCursor::Arrow: shape = Qt::ArrowCursor; break;
    case PointerCursor::Image: shape = Qt::BitmapCursor; break;
    case PointerCursor::Hidden: shape = Qt::BlankCursor; break;
    case PointerCursor::Busy: shape = Qt::WaitCursor; break;
    }
    if (shape == cursorShape_) return;
    cursorShape_ = shape;
    if (shape == Qt::BitmapCursor)
        setCursor(imageCursor_);
    else
        setCursor(shape);
}

// ---- measurement ---------------------------------------------------------------------------------

void SonarView::MeasureTool(Point at) {
    measureInput_.X = at.X;
    measureInput_.Y = at.Y;
    measureInput_.CursorInImage = pointer_.CursorInImage;
    measureInput_.Lock = pointer_.MeasureLock;
    measureInput_.OriginX = pointer_.Origin.X;
    measureInput_.OriginY = pointer_.Origin.Y;
    Repaint(ToQRect(layout_.MeasureBox));
}

void SonarView::RefreshMeasureReadout() { MeasureTool(pointer_.LastPointer); }

MeasureReadout SonarView::ShownMeasure() const {
    // Computed from the state as it is now: units, range and sound velocity changes show
    // at once, at the point the read-out was last taken for.
    return state_ ? ComputeMeasure(*state_, measureInput_) : MeasureReadout{};
}

bool SonarView::MeasureLineShown() const { return pointer_.MeasureLock && pointer_.MeasureLineArmed; }

void SonarView::RefreshMeasureLineArea() {
    QRect area;
    if (MeasureLineShown()) {
        // The picture's pixels under the line and its markers, shown at (3, 3).
        const Rect pixels = MeasureRefreshArea(true, pointer_.Origin, pointer_.LastDrawn);
        area = QRect(pixels.Left + ImageOffset, pixels.Top + ImageOffset, pixels.Width(), pixels.Height());
    }
    Repaint(lineArea_.united(area));
    lineArea_ = area;
}

void SonarView::RedrawMeasureLine() {
    if (MeasureLineShown()) RefreshMeasureLineArea();
}

// ---- pixel zoom ----------------------------------------------------------------------------------

QRect SonarView::ZoomArea() const { return ToQRect(layout_.ZoomArea); }

void SonarView::ZoomPixels(Point centre) {
    // A still copy of the picture under the pointer, as it is now: the zoom shows what was
    // there when it was taken, and keeps it while frozen.
    zoomSquare_ = ZoomCentre(centre.X, centre.Y);
    if (zoomIndexes_.isNull()) zoomIndexes_ = QImage(ZoomSourceSize, ZoomSourceSize, QImage::Format_Indexed8);
    for (int y = 0; y < ZoomSourceSize; ++y) {
        const size_t row = static_cast<size_t>(zoomSquare_.SourceTop - ImageOffset + y) * ImageWidth;
        std::copy_n(image_.Pixels.data() + row + (zoomSquare_.SourceLeft - ImageOffset), ZoomSourceSize,
                    zoomIndexes_.scanLine(y));
    }
    zoomLine_ = MeasureLineShown() && state_;
    zoomLineFrom_ = pointer_.Origin;
    zoomLineTo_ = pointer_.LastDrawn;
    zoomLineColors_ = state_ ? state_->Colors : 0;
    RenderZoom();
    ScheduleOverlayRepaint(ZoomArea());
}

void SonarView::RenderZoom() {
    if (zoomIndexes_.isNull()) return;
    if (zoom_.isNull()) zoom_ = QImage(ZoomSourceSize, ZoomSourceSize, QImage::Format_RGB32);
    for (int y = 0; y < ZoomSourceSize; ++y) {
        const uint8_t* from = zoomIndexes_.constScanLine(y);
        auto* to = reinterpret_cast<QRgb*>(zoom_.scanLine(y));
        for (int x = 0; x < ZoomSourceSize; ++x) to[x] = lut_[from[x]];
    }
    if (!zoomLine_) return;
    QPainter painter(&zoom_);
    painter.translate(-zoomSquare_.SourceLeft, -zoomSquare_.SourceTop);
    PaintMeasureLine(painter, zoomLineFrom_, zoomLineTo_, zoomLineColors_,
                     [this](int index) { return PaletteColor(index); });
}

void SonarView::UpdatePixelZoom() {
    if (state_ && PingRefreshesZoom(pointer_, state_->PixelZoom == 1)) ZoomPixels(pointer_.ZoomCentre);
}

// ---- per-ping overlays ------------------------------------------------------------------------

void SonarView::HeadPositionChanged() { ScheduleOverlayRepaint(ToQRect(layout_.DialFrame)); }

void SonarView::XdcrChanged() { Repaint(XdcrArea(layout_)); }

void SonarView::ApplyReadoutUpdate(const PanelUpdate& update) { Apply(update); }

// ---- painting ------------------------------------------------------------------------------------

void SonarView::PaintImageLayer(QPainter& painter) {
    // The buffer is read in place: it belongs to the main thread, as does painting.
    // The rows painted were converted by the caller.
    if (pixelFactor_ != 0) {
        painter.drawImage(QPoint(ImageOffset, ImageOffset), rgb_);
    } else if (dayPaint_) {
        // A capture is drawn at 100%: the picture at its own size, converted for it alone.
        QImage picture(ImageWidth, ImageHeight, QImage::Format_RGB32);
        for (int y = 0; y < ImageHeight; ++y) {
            const uint8_t* from = image_.Pixels.data() + static_cast<size_t>(y) * ImageWidth;
            auto* to = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < ImageWidth; ++x) to[x] = lut_[from[x]];
        }
        painter.drawImage(QPoint(ImageOffset, ImageOffset), picture);
    } else {
        // Already at the screen's size: painted one to one where the mapping puts it.
        painter.save();
        painter.resetTransform();
        painter.drawImage(ToDevice(QRect(ImageOffset, ImageOffset, 1, 1)).topLeft(), rgb_);
        painter.restore();
    }
    if (MeasureLineShown() && state_)
        PaintMeasureLine(painter, pointer_.Origin, pointer_.LastDrawn, state_->Colors,
                         [this](int index) { return PaletteColor(index); });
}

void SonarView::PaintOverlays(QPainter& painter, const QRect& dirty) {
    const PaletteLookup color = [this](int index) { return PaletteColor(index); };
    const SonarState& state = *state_;
    if (dirty.intersects(ToQRect(layout_.DialFrame))) {
        PaintHeadIndicator(painter, layout_, state, color);
        PaintXdcrPictogram(painter, layout_, state, smallFont_, color);
    }
    const QRect zoomFrame = ToQRect(layout_.ZoomFrame);
    if (dirty.intersects(zoomFrame)) {
        PaintZoomFrame(painter, layout_, state.PixelZoom == 1, color);
        if (state.PixelZoom == 1 && !zoom_.isNull()) {
            painter.save();
            painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            painter.drawImage(ZoomArea(), zoom_);
            painter.restore();
        }
    }
    const QRect logo = ToQRect(layout_.LogoBox);
    if (dirty.intersects(logo)) {
        painter.fillRect(logo, color(BackgroundIndex));
        PaintLogo(painter, logo.adjusted(1, 1, -1, -1), night_ && !dayPaint_);
    }
    if (dirty.intersects(ToQRect(layout_.MeasureBox)))
        PaintMeasureBox(painter, layout_, ShownMeasure(), smallFont_, color);
}

}  // namespace tidemar
