#include "ui_core/PanelLayout.h"

#include "core/Modes.h"

namespace tidemar {

namespace {

constexpr std::array<const char*, PanelParameterCount> WidgetLabels = {"Range", "Mode",   "Gain",
                                                                       "Speed", "Sector", "Train"};

ParameterWidget MakeWidget(PanelParameter parameter, int x, int y, const PanelLayout& layout) {
    const PanelMetrics& m = layout.Metrics;
    ParameterWidget w;
    w.Parameter = parameter;
    w.Label = WidgetLabels[static_cast<int>(parameter)];
    w.Origin = {x, y};
    w.Box = {x, y - 1, x + layout.ReadoutWidth, y + 2 * m.ArrowHeight};
    const int arrowLeft = x + layout.ReadoutWidth;
    w.UpArrow = {arrowLeft, y, arrowLeft + m.ArrowWidth, y + m.ArrowHeight};
    w.DownArrow = {arrowLeft, y + m.ArrowHeight, arrowLeft + m.ArrowWidth, y + 2 * m.ArrowHeight};
    w.LabelShadow = {x + 3, y - m.CharHeight - 1};
    w.LabelText = {x + 2, y - m.CharHeight - 2};
    return w;
}

Rect ArrowCell(int x, int y, const PanelMetrics& m) { return {x, y, x + m.ArrowWidth, y + m.ArrowHeight}; }

}  // namespace

PanelLayout ComputePanelLayout(const PanelMetrics& metrics) {
    PanelLayout l;
    l.Metrics = metrics;
    const int cw = metrics.CharWidth;
    const int ch = metrics.CharHeight;
    const int aw = metrics.ArrowWidth;
    const int ah = metrics.ArrowHeight;

    l.ReadoutWidth = 6 * cw + 4;
    l.Column2 = 631 + 6 * cw + aw;
    l.RowPitch = 2 * ah + ch + 3;
    for (int i = 0; i < 4; ++i) l.Rows[i] = 83 + i * l.RowPitch;

    l.Widgets[0] = MakeWidget(PanelParameter::Range, l.Column1, l.Rows[0], l);
    l.Widgets[1] = MakeWidget(PanelParameter::Mode, l.Column2, l.Rows[0], l);
    l.Widgets[2] = MakeWidget(PanelParameter::Gain, l.Column1, l.Rows[1], l);
    l.Widgets[3] = MakeWidget(PanelParameter::Speed, l.Column2, l.Rows[1], l);
    l.Widgets[4] = MakeWidget(PanelParameter::Sector, l.Column1, l.Rows[2], l);
    l.Widgets[5] = MakeWidget(PanelParameter::Train, l.Column2, l.Rows[2], l);

    const int buttonTop = ch + 2;
    const int buttonWidth = 5 * cw;
    const int buttonHeight = ch + 5;
    l.HeadButton = {619, buttonTop, 619 + buttonWidth, buttonTop + buttonHeight};
    l.FileButton = {619 + buttonWidth, buttonTop, 619 + 2 * buttonWidth, buttonTop + buttonHeight};

    l.KeyEntryOrigin = {619, 2 * ch + 13};

    const int lowerBase = l.Rows[3] + 2 * ah;  // Y3 + 2 * ArrowHeight
    l.DialCentre = {(l.ReadoutWidth + aw) / 2 + 635, lowerBase + 25};
    l.DialFrame = {619, l.DialCentre.Y - 54, 777, l.DialCentre.Y + 54};
    l.UserTextBox = {619, lowerBase - 46, 777, lowerBase - 28};
    const int zoomTop = lowerBase + 85;
    l.ZoomArea = {620, zoomTop, 620 + 156, zoomTop + 156};
    l.ZoomFrame = {619, zoomTop - 1, 620 + 156 + 1, zoomTop + 156 + 1};
    // The small logo is scaled into a fixed box; its size is ours to choose.
    l.LogoBox = {620, 515, 776, 547};

    l.DateTimeBox = {2, 512, 18 * cw + 2, ch + 515};
    const int smallHeight = metrics.SmallCharHeight;
    l.GridLabelBox = {266, 513, 336, smallHeight + 517};
    // Erased before the label is drawn: as wide as 20 small characters (plus 5 and 6) and
    // down to the bottom of the label box, so no part of a longer old label survives.
    const int eraseHalf = (20 * metrics.SmallCharWidth) / 2;
    l.GridLabelErase = {301 - eraseHalf - 5, 512, 301 + eraseHalf + 6, smallHeight + 517};
    l.GpsBox = {2, 532, 200, smallHeight + 536};
    l.PingMarkBox = {600 - 19 * cw, 511, 600 - 17 * cw, 514 + ch};
    l.MeasureBox = {601 - 16 * cw, 511, 600, 514 + 3 * ch};
    l.PlotSpeedLeft = ArrowCell(251, 534, metrics);
    l.PlotSpeedRight = ArrowCell(336, 534, metrics);
    return l;
}

Rect DataSourcePanelArea(const PanelLayout& layout, int clientRight) {
    return {611, 1, clientRight, layout.DialCentre.Y - layout.DialRadius - 39};
}

Rect PanelRowsArea(const PanelLayout& layout, int clientRight) {
    return {619, layout.Rows[1] - layout.Metrics.CharHeight - 2, clientRight,
            layout.Rows[2] + 2 * layout.Metrics.ArrowHeight};
}

Rect LinkStatusBox(const PanelLayout& layout, int textWidth) {
    return {296 - textWidth / 2, 512, 307 + textWidth / 2, 515 + layout.Metrics.CharHeight};
}

Point LinkStatusText(int textWidth) { return {301 - textWidth / 2, 513}; }

Point FrequencyOrigin(const PanelLayout& layout, int runMode) {
    return runMode == DataSource::File ? layout.FrequencyFile : layout.FrequencyHead;
}

Rect FrequencyErase(const PanelLayout& layout, int runMode) {
    const Point o = FrequencyOrigin(layout, runMode);
    return {o.X - 1, o.Y - 1, o.X + (runMode == DataSource::File ? 73 : 113), o.Y + 19};
}

Rect KeyEntryBox(const PanelLayout& layout, int textWidth) {
    const Point o = layout.KeyEntryOrigin;
    return {o.X, o.Y, o.X + textWidth + 5, o.Y + layout.Metrics.CharHeight};
}

Point KeyEntryTextPosition(const PanelLayout& layout) {
    return {layout.KeyEntryOrigin.X + 2, layout.KeyEntryOrigin.Y + 1};
}

Rect KeyEntryErase(const PanelLayout& layout) {
    const Point o = layout.KeyEntryOrigin;
    return {o.X, o.Y, o.X + 100, o.Y + layout.Metrics.CharHeight};
}

Point ReadoutValueShadow(const PanelLayout& layout, const Rect& box, int textWidth, int textHeight) {
    return {(box.Left + box.Right) / 2 - textWidth / 2 + 2, box.Top + layout.Metrics.ArrowHeight - textHeight / 2 + 1};
}

int CentredLeft(int centreX, int textWidth) { return centreX - textWidth / 2; }

bool IsParameterArrow(PanelElement element) {
    return element >= PanelElement::RangeUp && element <= PanelElement::TrainDown;
}

PanelParameter ArrowParameter(PanelElement element) {
    const int offset = static_cast<int>(element) - static_cast<int>(PanelElement::RangeUp);
    return static_cast<PanelParameter>(offset / 2);
}

bool IsUpArrow(PanelElement element) {
    if (element == PanelElement::PlotSpeedRight) return true;
    if (!IsParameterArrow(element)) return false;
    return (static_cast<int>(element) - static_cast<int>(PanelElement::RangeUp)) % 2 == 0;
}

bool ArrowDrawnInactive(PanelParameter parameter, const SonarState& state) {
    if (state.RunMode == DataSource::File) return true;
    return state.GridMode == DisplayMode::SideScan &&
           (parameter == PanelParameter::Speed || parameter == PanelParameter::Sector);
}

bool ElementActive(PanelElement element, const SonarState& state, bool reverseAvailable) {
    switch (element) {
    case PanelElement::None: return false;
    case PanelElement::Image: return true;
    case PanelElement::HoldBox: return true;
    case PanelElement::RevBox: return state.RunMode == DataSource::Head;
    case PanelElement::PlaybackReverseBox: return state.RunMode == DataSource::File && reverseAvailable;
    default: break;
    }
    if (state.HoldActive) return false;
    switch (element) {
    case PanelElement::PlotSpeedLeft:
    case PanelElement::PlotSpeedRight: return state.RunMode == DataSource::File;
    case PanelElement::HeadButton:
    case PanelElement::FileButton: return true;
    default: break;
    }
    return IsParameterArrow(element) && !ArrowDrawnInactive(ArrowParameter(element), state);
}

PanelHit HitTest(const PanelLayout& layout, int x, int y, const SonarState& state, bool reverseAvailable) {
    auto hit = [&](PanelElement e) { return PanelHit{e, ElementActive(e, state, reverseAvailable)}; };
    const bool file = state.RunMode == DataSource::File;

    if (layout.MouseImageArea.Contains(x, y)) return hit(PanelElement::Image);
    if (layout.HoldHit.Contains(x, y)) return hit(PanelElement::HoldBox);
    if (!file && layout.RevHit.Contains(x, y)) return hit(PanelElement::RevBox);
    if (file && reverseAvailable && layout.PlaybackReverseHit.Contains(x, y))
        return hit(PanelElement::PlaybackReverseBox);
    if (file && layout.PlotSpeedRight.Contains(x, y)) return hit(PanelElement::PlotSpeedRight);
    if (file && layout.PlotSpeedLeft.Contains(x, y)) return hit(PanelElement::PlotSpeedLeft);
    if (layout.FileButton.ContainsInside(x, y)) return hit(PanelElement::FileButton);
    if (layout.HeadButton.ContainsInside(x, y)) return hit(PanelElement::HeadButton);
    for (const ParameterWidget& w : layout.Widgets) {
        const int base = static_cast<int>(PanelElement::RangeUp) + 2 * static_cast<int>(w.Parameter);
        if (w.UpArrow.Contains(x, y)) return hit(static_cast<PanelElement>(base));
        if (w.DownArrow.Contains(x, y)) return hit(static_cast<PanelElement>(base + 1));
    }
    return {};
}

}  // namespace tidemar
