#pragma once
// Paints the control panel right of the image and the read-outs of the strip under it,
// element by element, from SonarState, the layout and the panel texts. Nothing here keeps
// state: every element is painted whole each time, so any part of the panel can be
// repainted at any moment.

#include <QFont>
#include <QPainter>

#include "image/ImageColorTable.h"
#include "core/SonarState.h"
#include "ui_core/PanelActions.h"
#include "ui_core/PanelLayout.h"

namespace tidemar {

// Palette indices of the panel.
inline constexpr int PanelBackgroundIndex = 121;
inline constexpr int ReadoutFillIndex = 122;
inline constexpr int ButtonFaceIndex = 123;
inline constexpr int BlackIndex = 125;
inline constexpr int FrequencyTextIndex = 119;
inline constexpr int AutoTextIndex = 120;

// How an arrow or check box is shown.
enum class ArrowLook { Normal, Pressed, Inactive };
enum class ArrowDirection { Up, Down, Left, Right };

// What the panel shows besides SonarState.
struct PanelView {
    PanelElement Pressed = PanelElement::None;  // the arrow held down, drawn pressed
    const KeyEntry* Entry = nullptr;            // the open keyboard entry, if any
    bool ReverseAvailable = false;              // the played file can run backwards
};

class ControlPanelPainter {
public:
    // `white` is the colour of the texts and reliefs that are white by day.
    ControlPanelPainter(QPainter& painter, const PanelLayout& layout, const ImageColorTable& colors, const QFont& font,
                        const QFont& smallFont, const QColor& white = Qt::white);

    // The whole panel and strip, in the window's paint order.
    void Paint(const SonarState& state, const PanelView& view);

    // The single elements.
    void Readout(const SonarState& state, PanelParameter parameter);
    void Label(PanelParameter parameter);
    void Arrows(const SonarState& state, PanelParameter parameter, PanelElement pressed);
    void DataSourceButtons(const SonarState& state);
    void CheckBoxes(const SonarState& state, const PanelView& view);
    void FrequencyReadout(const SonarState& state);
    void UserTextBox(const SonarState& state);
    void DateTimeBox(const SonarState& state);
    void GridLabel(const SonarState& state);
    void PlotSpeed(const SonarState& state, PanelElement pressed);
    void KeyEntryBox(const SonarState& state, const KeyEntry& entry);

    void DrawFrameButton(const Rect& box, bool raised, const char* text, bool enabled);
    void DrawArrow(const Rect& cell, ArrowDirection direction, ArrowLook look);
    void DrawCheckBox(int x, int y, bool on);

    QColor Color(int index) const;

private:
    // Text with its top-left corner at (x, y).
    void Text(int x, int y, const QString& text, const QColor& color, const QFont& font);
    // White text at `white` over a black shadow at `shadow`.
    void ShadowText(Point shadow, Point white, const QString& text, const QFont& font);
    void FillOutlined(const Rect& box, int fillIndex, int outlineIndex);

    QPainter& painter_;
    const PanelLayout& layout_;
    const ImageColorTable& colors_;
    QFont font_;
    QFont small_;
    QColor white_;
};

// Size of the check-box cell.
inline constexpr int CheckBoxSize = 13;

}  // namespace tidemar
