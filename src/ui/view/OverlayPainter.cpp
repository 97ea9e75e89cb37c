#include "ui/view/OverlayPainter.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QPolygon>

#include "core/Modes.h"
#include "image/ImageGrid.h"
#include "ui/view/ControlPanelPainter.h"
#include "ui/view/PanelRect.h"
#include "ui_core/HeadIndicator.h"

namespace tidemar {

namespace {

constexpr double RadiansPerDegree = 3.141592654 / 180.0;
constexpr int BeamCentreIndex = 126;
// The inside of the image frame: the markers never draw on the frame or the panel.
const QRect ImageInside(3, 3, 596, 506);

// Outline with both corners on the line, as the window's rectangles are drawn.
void Outline(QPainter& p, int x1, int y1, int x2, int y2) {
    p.setBrush(Qt::NoBrush);
    p.drawRect(x1, y1, x2 - x1, y2 - y1);
}

void Disk(QPainter& p, Point c, int radius, const QColor& color) {
    p.setPen(color);
    p.setBrush(color);
    p.drawEllipse(QPoint(c.X, c.Y), radius, radius);
    p.setBrush(Qt::NoBrush);
}

// A plus of `width` pixels wide arms reaching `arm` pixels from the centre, as an outline.
QPolygon PlusOutline(int x, int y, int arm, int width) {
    const int h = width / 2 + 1;  // the outline runs just outside the arm's pixels
    QPolygon plus;
    plus << QPoint(x - h, y - arm) << QPoint(x + h, y - arm) << QPoint(x + h, y - h) << QPoint(x + arm, y - h)
         << QPoint(x + arm, y + h) << QPoint(x + h, y + h) << QPoint(x + h, y + arm) << QPoint(x - h, y + arm)
         << QPoint(x - h, y + h) << QPoint(x - arm, y + h) << QPoint(x - arm, y - h) << QPoint(x - h, y - h);
    return plus;
}

void TargetMarker(QPainter& p, int x, int y, const PaletteLookup& color) {
    p.setPen(color(ButtonFaceIndex));
    Outline(p, x - 7, y - 7, x + 7, y + 7);
    p.drawLine(x - 5, y, x - 1, y);
    p.drawLine(x + 2, y, x + 6, y);
    p.drawLine(x, y - 5, x, y - 1);
    p.drawLine(x, y + 2, x, y + 6);
    p.setPen(color(BlackIndex));
    Outline(p, x - 8, y - 8, x + 8, y + 8);
    p.drawPolygon(PlusOutline(x, y, 6, 3));
}

void OriginMarker(QPainter& p, int x, int y, const PaletteLookup& color) {
    p.setPen(color(BlackIndex));
    Outline(p, x - 6, y - 6, x + 6, y + 6);
    Outline(p, x - 4, y - 4, x + 4, y + 4);
    p.drawPolygon(PlusOutline(x, y, 9, 3));
    p.setPen(color(ButtonFaceIndex));
    Outline(p, x - 5, y - 5, x + 5, y + 5);
    p.drawLine(x - 8, y, x - 2, y);
    p.drawLine(x + 2, y, x + 8, y);
    p.drawLine(x, y - 8, x, y - 2);
    p.drawLine(x, y + 2, x, y + 8);
}

// Whole, trailing spaces included: the SS Diff line is centred with them, which sets it
// a little left of the lines above.
QString LineText(const MeasureReadout& readout, int line) { return QString::fromLatin1(readout.Lines[line].c_str()); }

}  // namespace

QFont MeasureReadoutFont(const QFont& smallFont, const PanelLayout& layout, const MeasureReadout& readout) {
    QFont font = smallFont;
    font.setStyleStrategy(QFont::NoAntialias);
    const int room = layout.MeasureBox.Width() - 4;
    const int valueRoom = layout.MeasureBox.Right - MeasureValueLeft(layout) - 2;
    auto fits = [&](const QFontMetrics& m) {
        for (int i = 0; i < 3; ++i) {
            if (readout.Cartesian) {
                if (m.horizontalAdvance(QString::fromLatin1(readout.Values[i].c_str())) > valueRoom) return false;
            } else if (m.horizontalAdvance(LineText(readout, i)) > room) {
                return false;
            }
        }
        return true;
    };
    for (int size = QFontMetrics(font).height(); size > 6 && !fits(QFontMetrics(font)); --size)
        font.setPixelSize(size - 1);
    return font;
}

void PaintHeadIndicator(QPainter& painter, const PanelLayout& layout, const SonarState& state,
                        const PaletteLookup& color) {
    painter.save();
    const QRect frame = ToQRect(layout.DialFrame);
    painter.fillRect(frame, color(ReadoutFillIndex));
    painter.setPen(color(BlackIndex));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));

    const Point c = layout.DialCentre;
    const int r = layout.DialRadius;
    const QRect dial(c.X - r, c.Y - r, 2 * r, 2 * r);
    painter.setPen(color(BlackIndex));
    painter.setBrush(color(DialFaceIndex));
    painter.drawEllipse(dial);

    const SectorDial sector = ComputeSectorDial(state);
    const bool upsideDown = DialUpsideDown(state);
    painter.setBrush(color(DialSectorIndex));
    switch (sector.Shape) {
    case DialShape::FullCircle: painter.drawEllipse(dial); break;
    case DialShape::Pie: {
        // Head angles run clockwise from up, Qt's anticlockwise from three o'clock.
        const double start = 90.0 - sector.StartEdgeDegrees;
        const double span = -static_cast<double>(state.SectorSize);
        const double s = upsideDown ? -start : start;
        const double w = upsideDown ? -span : span;
        painter.drawPie(dial, static_cast<int>(std::lround(s * 16)), static_cast<int>(std::lround(w * 16)));
        break;
    }
    case DialShape::Line: {
        const double a = state.Train * RadiansPerDegree;
        const double dy = r * std::cos(a);
        const int x = static_cast<int>(c.X + r * std::sin(a) + 0.5);
        const int y = static_cast<int>((upsideDown ? c.Y + dy : c.Y - dy) + 0.5);
        painter.setPen(color(DialSectorIndex));
        painter.drawLine(c.X, c.Y, x, y);
        break;
    }
    }
    Disk(painter, RotationMarkerPoint(layout, state), RotationMarkerRadius, color(RotationMarkerIndex));
    Disk(painter, HeadMarkerPoint(layout, state), HeadMarkerRadius, color(HeadMarkerIndex));
    painter.restore();
}

QRect XdcrArea(const PanelLayout& layout) {
    // Right of the marker circle, inside the indicator's frame.
    const int left = layout.DialCentre.X + MarkerCircleRadius + HeadMarkerRadius + 3;
    return QRect(QPoint(left, layout.DialFrame.Top + 2),
                 QPoint(layout.DialFrame.Right - 3, layout.DialFrame.Bottom - 3));
}

void PaintXdcrPictogram(QPainter& painter, const PanelLayout& layout, const SonarState& state, const QFont& smallFont,
                        const PaletteLookup& color) {
    painter.save();
    const QRect area = XdcrArea(layout);
    painter.fillRect(area, color(ReadoutFillIndex));
    QFont font = smallFont;
    font.setStyleStrategy(QFont::NoAntialias);  // palette colours, pixel for pixel
    const QFontMetrics metrics(font);
    const int lineHeight = metrics.height();
    const char* zero = ZeroLabel(state);
    const int labelRows = zero ? 2 : 1;

    // The head: a cable, a housing and the transducer's window, with the beam fanning out
    // from it. Drawn for "down" and flipped top to bottom for "up".
    const int cx = area.center().x();
    const int top = area.top() + 2;
    const int height = area.height() - labelRows * lineHeight - 6;
    auto y = [&](int fromTop) { return state.Xdcr == Transducer::Up ? top + height - 1 - fromTop : top + fromTop; };
    const int body = std::max(12, height * 2 / 5);
    const int face = std::max(4, height / 8);
    painter.setPen(color(DialFaceIndex));
    painter.drawLine(cx, y(0), cx, y(3));  // cable
    painter.fillRect(QRect(QPoint(cx - 3, std::min(y(3), y(5))), QPoint(cx + 3, std::max(y(3), y(5)))),
                     color(BlackIndex));  // connector
    const QRect housing(QPoint(cx - 7, std::min(y(6), y(6 + body))), QPoint(cx + 7, std::max(y(6), y(6 + body))));
    painter.fillRect(housing, color(ButtonFaceIndex));
    painter.setPen(color(BlackIndex));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(housing.adjusted(0, 0, -1, -1));
    const QRect window(QPoint(cx - 6, std::min(y(7 + body), y(6 + body + face))),
                       QPoint(cx + 6, std::max(y(7 + body), y(6 + body + face))));
    painter.fillRect(window, color(XdcrFaceIndex));
    // The beam.
    painter.setPen(color(HeadMarkerIndex));
    const int beamFrom = 8 + body + face;
    const int beamTo = std::max(beamFrom + 2, height - 1);
    painter.drawLine(cx - 3, y(beamFrom), cx - 8, y(beamTo));
    painter.drawLine(cx + 3, y(beamFrom), cx + 8, y(beamTo));
    painter.setPen(color(BeamCentreIndex));
    painter.drawLine(cx, y(beamFrom), cx, y(beamTo));

    // The labels, centred under the pictogram.
    painter.setFont(font);
    int textTop = area.bottom() - labelRows * lineHeight;
    for (const char* label : {XdcrLabel(state), zero}) {
        if (!label) continue;
        const QString text = QString::fromLatin1(label);
        const int x = cx - metrics.horizontalAdvance(text) / 2;
        painter.setPen(color(BlackIndex));
        painter.drawText(x + 1, textTop + 1 + metrics.ascent(), text);
        painter.setPen(color(WhiteTextIndex));
        painter.drawText(x, textTop + metrics.ascent(), text);
        textTop += lineHeight;
    }
    painter.restore();
}

void PaintMeasureBox(QPainter& painter, const PanelLayout& layout, const MeasureReadout& readout,
                     const QFont& smallFont, const PaletteLookup& color) {
    painter.save();
    const QRect box = ToQRect(layout.MeasureBox);
    painter.fillRect(box, color(ReadoutFillIndex));
    painter.setPen(color(BlackIndex));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    if (!readout.Empty) {
        painter.setClipRect(box.adjusted(1, 1, -1, -1), Qt::IntersectClip);
        const QFont font = MeasureReadoutFont(smallFont, layout, readout);
        painter.setFont(font);
        const QFontMetrics metrics(font);
        for (int i = 0; i < 3; ++i) {
            const int top = MeasureLineTop(layout, i) + metrics.ascent();
            if (readout.Cartesian) {
                painter.drawText(MeasureLabelLeft(layout), top, QString::fromLatin1(readout.Labels[i].c_str()));
                painter.drawText(MeasureValueLeft(layout), top, QString::fromLatin1(readout.Values[i].c_str()));
            } else {
                const QString text = LineText(readout, i);
                painter.drawText(MeasureLineLeft(layout, metrics.horizontalAdvance(text)), top, text);
            }
        }
    }
    painter.restore();
}

void PaintMeasureLine(QPainter& painter, Point origin, Point target, int colors, const PaletteLookup& color) {
    painter.save();
    painter.setClipRect(ImageInside, Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // On the grey table the light line would vanish in the echoes.
    painter.setPen(color(colors == 4 ? BlackIndex : ButtonFaceIndex));
    painter.drawLine(origin.X, origin.Y, target.X, target.Y);
    if (target.X != 0) TargetMarker(painter, target.X, target.Y, color);
    OriginMarker(painter, origin.X, origin.Y, color);
    painter.restore();
}

void PaintZoomFrame(QPainter& painter, const PanelLayout& layout, bool pixelZoom, const PaletteLookup& color) {
    const QRect frame = ToQRect(layout.ZoomFrame);
    painter.save();
    if (pixelZoom) {
        painter.fillRect(frame, color(ZoomFillIndex));
        painter.setPen(color(ZoomFramePenIndex));
    } else {
        painter.fillRect(frame, color(PanelBackgroundIndex));
        painter.setPen(color(PanelBackgroundIndex));
    }
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.restore();
}

}  // namespace tidemar
