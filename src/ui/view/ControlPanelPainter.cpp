#include "ui/view/ControlPanelPainter.h"

#include <QFontMetrics>
#include <QPolygon>

#include "core/Cp1252.h"
#include "core/Modes.h"
#include "ui/view/PanelRect.h"
#include "ui_core/PanelTexts.h"

namespace tidemar {

namespace {

QString Latin(const std::string& text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

constexpr PanelParameter AllParameters[] = {PanelParameter::Range, PanelParameter::Mode,   PanelParameter::Gain,
                                            PanelParameter::Speed, PanelParameter::Sector, PanelParameter::Train};

PanelElement UpElement(PanelParameter p) {
    return static_cast<PanelElement>(static_cast<int>(PanelElement::RangeUp) + 2 * static_cast<int>(p));
}
PanelElement DownElement(PanelParameter p) {
    return static_cast<PanelElement>(static_cast<int>(PanelElement::RangeDown) + 2 * static_cast<int>(p));
}

}  // namespace

ControlPanelPainter::ControlPanelPainter(QPainter& painter, const PanelLayout& layout, const ImageColorTable& colors,
                                         const QFont& font, const QFont& smallFont, const QColor& white)
    : painter_(painter), layout_(layout), colors_(colors), font_(font), small_(smallFont), white_(white) {
    // Panel texts are drawn pixel-exact in their palette colours, without blending.
    font_.setStyleStrategy(QFont::NoAntialias);
    small_.setStyleStrategy(QFont::NoAntialias);
}

QColor ControlPanelPainter::Color(int index) const {
    const RgbQuad& entry = colors_[static_cast<size_t>(index & 0xFF)];
    return QColor(entry.Red, entry.Green, entry.Blue);
}

void ControlPanelPainter::Text(int x, int y, const QString& text, const QColor& color, const QFont& font) {
    painter_.setFont(font);
    painter_.setPen(color);
    painter_.drawText(x, y + QFontMetrics(font).ascent(), text);
}

void ControlPanelPainter::ShadowText(Point shadow, Point white, const QString& text, const QFont& font) {
    Text(shadow.X, shadow.Y, text, Color(BlackIndex), font);
    Text(white.X, white.Y, text, white_, font);
}

void ControlPanelPainter::FillOutlined(const Rect& box, int fillIndex, int outlineIndex) {
    if (box.Width() <= 0 || box.Height() <= 0) return;
    painter_.fillRect(ToQRect(box), Color(fillIndex));
    painter_.setPen(Color(outlineIndex));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(box.Left, box.Top, box.Width() - 1, box.Height() - 1);
}

void ControlPanelPainter::Paint(const SonarState& state, const PanelView& view) {
    painter_.save();
    for (PanelParameter p : AllParameters) Label(p);
    for (PanelParameter p : AllParameters) {
        Readout(state, p);
        Arrows(state, p, view.Pressed);
    }
    UserTextBox(state);
    FrequencyReadout(state);
    ShadowText(layout_.DataFromShadow, layout_.DataFromText, QString::fromLatin1(DataFromLabel), font_);
    DataSourceButtons(state);
    CheckBoxes(state, view);
    DateTimeBox(state);
    GridLabel(state);
    if (state.RunMode == DataSource::File) PlotSpeed(state, view.Pressed);
    if (view.Entry && view.Entry->Mode != KeyEntryKind::None) KeyEntryBox(state, *view.Entry);
    painter_.restore();
}

void ControlPanelPainter::Label(PanelParameter parameter) {
    const ParameterWidget& w = layout_.Widget(parameter);
    ShadowText(w.LabelShadow, w.LabelText, QString::fromLatin1(ParameterLabel(parameter)), font_);
}

void ControlPanelPainter::Readout(const SonarState& state, PanelParameter parameter) {
    const ParameterWidget& w = layout_.Widget(parameter);
    FillOutlined(w.Box, ReadoutFillIndex, BlackIndex);
    const QString text = Latin(ReadoutText(state, parameter));
    const QFontMetrics metrics(font_);
    const Point shadow = ReadoutValueShadow(layout_, w.Box, metrics.horizontalAdvance(text), metrics.height());
    ShadowText(shadow, Point{shadow.X - 1, shadow.Y - 1}, text, font_);
}

void ControlPanelPainter::Arrows(const SonarState& state, PanelParameter parameter, PanelElement pressed) {
    const ParameterWidget& w = layout_.Widget(parameter);
    const bool inactive = ArrowDrawnInactive(parameter, state);
    auto look = [&](PanelElement e) {
        if (inactive) return ArrowLook::Inactive;
        return e == pressed ? ArrowLook::Pressed : ArrowLook::Normal;
    };
    DrawArrow(w.UpArrow, ArrowDirection::Up, look(UpElement(parameter)));
    DrawArrow(w.DownArrow, ArrowDirection::Down, look(DownElement(parameter)));
}

void ControlPanelPainter::DrawArrow(const Rect& cell, ArrowDirection direction, ArrowLook look) {
    const QRect r = ToQRect(cell);
    painter_.fillRect(r, Color(ButtonFaceIndex));
    painter_.setBrush(Qt::NoBrush);
    const int l = r.left(), t = r.top(), rr = r.right(), b = r.bottom();
    if (look == ArrowLook::Pressed) {
        painter_.setPen(Color(ReadoutFillIndex));
        painter_.drawRect(l, t, r.width() - 1, r.height() - 1);
    } else {
        painter_.setPen(white_);
        painter_.drawLine(l, t, rr - 1, t);
        painter_.drawLine(l, t, l, b - 1);
        painter_.setPen(Color(BlackIndex));
        painter_.drawLine(l, b, rr, b);
        painter_.drawLine(rr, t, rr, b);
        painter_.setPen(Color(ReadoutFillIndex));
        painter_.drawLine(l + 1, b - 1, rr - 1, b - 1);
        painter_.drawLine(rr - 1, t + 1, rr - 1, b - 1);
    }
    // The triangle: a quarter of the cell high, centred, one pixel down-right when pressed.
    const int shift = look == ArrowLook::Pressed ? 1 : 0;
    const int cx = l + r.width() / 2 - 1 + shift;
    const int cy = t + r.height() / 2 - 1 + shift;
    const int s = std::max(2, std::min(r.width(), r.height()) / 4);
    QPolygon triangle;
    switch (direction) {
    case ArrowDirection::Up:
        triangle << QPoint(cx, cy - s / 2) << QPoint(cx - s, cy - s / 2 + s) << QPoint(cx + s, cy - s / 2 + s);
        break;
    case ArrowDirection::Down:
        triangle << QPoint(cx, cy + s / 2) << QPoint(cx - s, cy + s / 2 - s) << QPoint(cx + s, cy + s / 2 - s);
        break;
    case ArrowDirection::Left:
        triangle << QPoint(cx - s / 2, cy) << QPoint(cx - s / 2 + s, cy - s) << QPoint(cx - s / 2 + s, cy + s);
        break;
    case ArrowDirection::Right:
        triangle << QPoint(cx + s / 2, cy) << QPoint(cx + s / 2 - s, cy - s) << QPoint(cx + s / 2 - s, cy + s);
        break;
    }
    if (look == ArrowLook::Inactive) {
        // Grayed: a white relief one pixel down-right under a gray triangle.
        painter_.setPen(white_);
        painter_.setBrush(white_);
        painter_.drawPolygon(triangle.translated(1, 1));
        painter_.setPen(Color(ReadoutFillIndex));
        painter_.setBrush(Color(ReadoutFillIndex));
    } else {
        painter_.setPen(Color(BlackIndex));
        painter_.setBrush(Color(BlackIndex));
    }
    painter_.drawPolygon(triangle);
    painter_.setBrush(Qt::NoBrush);
}

void ControlPanelPainter::DrawCheckBox(int x, int y, bool on) {
    const int n = CheckBoxSize;
    painter_.fillRect(QRect(x, y, n, n), white_);
    painter_.setBrush(Qt::NoBrush);
    painter_.setPen(Color(ReadoutFillIndex));
    painter_.drawLine(x, y, x + n - 2, y);
    painter_.drawLine(x, y, x, y + n - 2);
    painter_.setPen(Color(BlackIndex));
    painter_.drawLine(x + 1, y + 1, x + n - 3, y + 1);
    painter_.drawLine(x + 1, y + 1, x + 1, y + n - 3);
    painter_.setPen(Color(ButtonFaceIndex));
    painter_.drawLine(x + 1, y + n - 2, x + n - 2, y + n - 2);
    painter_.drawLine(x + n - 2, y + 1, x + n - 2, y + n - 2);
    if (!on) return;
    // The tick.
    painter_.setPen(Color(BlackIndex));
    for (int k = 0; k < 3; ++k) {
        painter_.drawLine(x + 3, y + 5 + k, x + 5, y + 7 + k);
        painter_.drawLine(x + 5, y + 7 + k, x + 9, y + 3 + k);
    }
}

void ControlPanelPainter::DrawFrameButton(const Rect& box, bool raised, const char* text, bool enabled) {
    const QRect r = ToQRect(box);
    FillOutlined(box, ButtonFaceIndex, BlackIndex);
    const int l = r.left() + 1, t = r.top() + 1, rr = r.right() - 1, b = r.bottom() - 1;
    if (raised) {
        painter_.setPen(white_);
        painter_.drawLine(l, t, rr, t);
        painter_.drawLine(l, t, l, b);
        painter_.setPen(Color(ReadoutFillIndex));
        for (int k = 0; k < 2; ++k) {
            painter_.drawLine(l + k, b - k, rr, b - k);
            painter_.drawLine(rr - k, t + k, rr - k, b);
        }
    } else {
        painter_.setPen(Color(ReadoutFillIndex));
        painter_.drawLine(l, t, rr, t);
        painter_.drawLine(l, t, l, b);
    }
    const QString label = QString::fromLatin1(text);
    const int w = QFontMetrics(font_).horizontalAdvance(label);
    const int x = box.Left + box.Width() / 2 - w / 2 + (raised ? 0 : 1);
    const int y = box.Top + (raised ? 2 : 3);
    Text(x, y, label, enabled ? Color(BlackIndex) : Color(ReadoutFillIndex), font_);
}

void ControlPanelPainter::DataSourceButtons(const SonarState& state) {
    const bool head = state.RunMode == DataSource::Head;
    DrawFrameButton(layout_.HeadButton, !head, HeadButtonText, true);
    DrawFrameButton(layout_.FileButton, head, FileButtonText, true);
}

void ControlPanelPainter::CheckBoxes(const SonarState& state, const PanelView& view) {
    DrawCheckBox(layout_.HoldBox.X, layout_.HoldBox.Y, state.HoldActive != 0);
    ShadowText(layout_.HoldLabelShadow, layout_.HoldLabelText, QString::fromLatin1(HoldLabel), font_);
    if (state.RunMode == DataSource::Head) {
        // The reverse request is a one-shot flash: the box rests off.
        DrawCheckBox(layout_.RevBox.X, layout_.RevBox.Y, false);
        ShadowText(layout_.RevLabelShadow, layout_.RevLabelText, QString::fromLatin1(RevLabel), font_);
    } else if (view.ReverseAvailable) {
        DrawCheckBox(layout_.PlaybackReverseBox.X, layout_.PlaybackReverseBox.Y, state.PlaybackReverse != 0);
        ShadowText(layout_.PlaybackReverseShadow, layout_.PlaybackReverseText,
                   QString::fromLatin1(PlaybackReverseLabel), font_);
    }
}

void ControlPanelPainter::FrequencyReadout(const SonarState& state) {
    painter_.fillRect(ToQRect(FrequencyErase(layout_, state.RunMode)), Color(PanelBackgroundIndex));
    const Point o = FrequencyOrigin(layout_, state.RunMode);
    const QString text = Latin(FrequencyText(state));
    Text(o.X + 2, o.Y + 2, text, Color(BlackIndex), font_);
    Text(o.X + 1, o.Y + 1, text, Color(FrequencyTextIndex), font_);
    if (FrequencyShowsAuto(state)) {
        const int w = QFontMetrics(font_).horizontalAdvance(text);
        const QString autoText = QString::fromLatin1(AutoConfigText);
        Text(o.X + w + 7, o.Y + 4, autoText, Color(BlackIndex), small_);
        Text(o.X + w + 6, o.Y + 3, autoText, Color(AutoTextIndex), small_);
    }
}

void ControlPanelPainter::UserTextBox(const SonarState& state) {
    const Rect& box = layout_.UserTextBox;
    painter_.fillRect(ToQRect(box), Color(ReadoutFillIndex));
    const QString text = QString::fromStdString(Cp1252ToUtf8(UserTextBoxText(state)));
    if (text.isEmpty()) return;
    painter_.save();
    painter_.setClipRect(QRect(box.Left, box.Top, layout_.UserTextClipRight - box.Left, box.Height()),
                         Qt::IntersectClip);
    const int top = box.Bottom - QFontMetrics(small_).height() - 3;
    Text(layout_.UserTextLeft, top, text, Color(BlackIndex), small_);
    painter_.restore();
}

void ControlPanelPainter::DateTimeBox(const SonarState& state) {
    const Rect& box = layout_.DateTimeBox;
    FillOutlined(box, ReadoutFillIndex, BlackIndex);
    const QString text = Latin(DateTimeBoxText(state));
    const int w = QFontMetrics(font_).horizontalAdvance(text);
    Text(CentredLeft((box.Left + box.Right) / 2, w), layout_.DateTimeTextTop, text, Color(BlackIndex), font_);
}

void ControlPanelPainter::GridLabel(const SonarState& state) {
    if (!GridLabelShown(state)) return;
    painter_.fillRect(ToQRect(layout_.GridLabelErase), Color(PanelBackgroundIndex));
    FillOutlined(layout_.GridLabelBox, ReadoutFillIndex, BlackIndex);
    const QString text = Latin(GridLabelText(state));
    const int w = QFontMetrics(small_).horizontalAdvance(text);
    Text(CentredLeft(layout_.GridLabelCentreX, w), layout_.GridLabelTextTop, text, Color(BlackIndex), small_);
}

void ControlPanelPainter::PlotSpeed(const SonarState& state, PanelElement pressed) {
    FillOutlined(layout_.PlotSpeedBox, ReadoutFillIndex, BlackIndex);
    const int b = PlotSpeedBarWidth(state.PlotSpeed);
    painter_.fillRect(QRect(QPoint(267, 534), QPoint(267 + b - 1, 548)), Color(ButtonFaceIndex));
    painter_.fillRect(QRect(QPoint(268 + b, 534), QPoint(335, 548)), Color(ReadoutFillIndex));
    Text(layout_.PlotSpeedText.X, layout_.PlotSpeedText.Y, QString::fromLatin1(PlotSpeedLabel), Color(BlackIndex),
         small_);
    auto look = [&](PanelElement e) { return e == pressed ? ArrowLook::Pressed : ArrowLook::Normal; };
    DrawArrow(layout_.PlotSpeedLeft, ArrowDirection::Left, look(PanelElement::PlotSpeedLeft));
    DrawArrow(layout_.PlotSpeedRight, ArrowDirection::Right, look(PanelElement::PlotSpeedRight));
}

void ControlPanelPainter::KeyEntryBox(const SonarState& state, const KeyEntry& entry) {
    const QString text = Latin(KeyEntryDisplayText(entry, state));
    painter_.fillRect(ToQRect(KeyEntryErase(layout_)), Color(PanelBackgroundIndex));
    FillOutlined(tidemar::KeyEntryBox(layout_, QFontMetrics(small_).horizontalAdvance(text)), ButtonFaceIndex,
                 BlackIndex);
    const Point at = KeyEntryTextPosition(layout_);
    Text(at.X, at.Y, text, Color(BlackIndex), small_);
}

}  // namespace tidemar
