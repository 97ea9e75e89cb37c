#pragma once
// What is drawn over the picture and beside it besides the panel's read-outs: the head-
// position indicator (dial with sector, head and rotation markers), the transducer
// pictogram, the measurement read-out box, the measurement line with its markers, and the
// pixel-zoom frame. Each function paints its element whole from the state it is given.

#include <functional>

#include <QColor>
#include <QFont>
#include <QPainter>

#include "core/SonarState.h"
#include "ui_core/MeasureTool.h"
#include "ui_core/PanelLayout.h"

namespace tidemar {

using PaletteLookup = std::function<QColor(int index)>;
// Not a palette entry: what a PaletteLookup gives for the white of texts (dimmed at night).
inline constexpr int WhiteTextIndex = -1;

// Palette indices of the overlays.
inline constexpr int DialFaceIndex = 121;
inline constexpr int DialSectorIndex = 123;
inline constexpr int HeadMarkerIndex = 127;
inline constexpr int RotationMarkerIndex = 123;
inline constexpr int ZoomFramePenIndex = 122;
inline constexpr int ZoomFillIndex = 0;
inline constexpr int XdcrFaceIndex = 124;  // the transducer's acoustic window

// The frame box, the dial with its sector (a pie, a full circle at 360, a line towards the
// train at 0) and both markers.
void PaintHeadIndicator(QPainter& painter, const PanelLayout& layout, const SonarState& state,
                        const PaletteLookup& color);

// The pictogram of the head, transducer down (or forward) or up (aft), and its labels, in
// the right part of the indicator's frame.
void PaintXdcrPictogram(QPainter& painter, const PanelLayout& layout, const SonarState& state, const QFont& smallFont,
                        const PaletteLookup& color);
// Where the pictogram and its labels go.
QRect XdcrArea(const PanelLayout& layout);

// The three-line read-out box under the right end of the picture.
void PaintMeasureBox(QPainter& painter, const PanelLayout& layout, const MeasureReadout& readout,
                     const QFont& smallFont, const PaletteLookup& color);

// The read-out's font: the small font, made smaller where needed so that every line,
// spaces and all, fits the box. The numbers are zero-padded to fixed widths, so the size
// holds still while the pointer moves.
QFont MeasureReadoutFont(const QFont& smallFont, const PanelLayout& layout, const MeasureReadout& readout);

// The measurement line from the origin to `target`, the target marker (not when its x is 0)
// and the origin marker, clipped to the inside of the image frame.
void PaintMeasureLine(QPainter& painter, Point origin, Point target, int colors, const PaletteLookup& color);

// The frame of the zoom area: index 122 around a black field with the zoom on, erased in
// the panel colour with it off.
void PaintZoomFrame(QPainter& painter, const PanelLayout& layout, bool pixelZoom, const PaletteLookup& color);

}  // namespace tidemar
