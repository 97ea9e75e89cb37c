#pragma once
// Where everything of the main window's client area lies: the control panel right of the
// image, the strip under the image and the fixed frame around the picture. The window is
// laid out in fixed pixels; only the text-dependent parts follow the measured character
// cells and the size of the arrow bitmaps, so the same numbers hold on every screen.
//
// Rectangles are given the way the window's drawing calls take them: Right and Bottom are
// one past the last pixel, so a box "from (2, 512) to (146, 531)" is Rect{2, 512, 146, 531}
// and covers columns 2..145. Hit tests use the same half-open rule.

#include <array>

#include "core/SonarState.h"

namespace tidemar {

struct Point {
    int X = 0;
    int Y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int Left = 0;
    int Top = 0;
    int Right = 0;   // one past the last column
    int Bottom = 0;  // one past the last row

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    // Strictly inside: the outline itself does not count (the data-source buttons).
    bool ContainsInside(int x, int y) const { return x > Left && x < Right && y > Top && y < Bottom; }
    bool operator==(const Rect&) const = default;
};

// What the window measures once at creation and hands in.
struct PanelMetrics {
    int CharWidth = 8;       // width of "X" in the window's default font
    int CharHeight = 16;     // its height
    int SmallCharWidth = 7;  // "X" in the small (variable-pitch) font of the strip texts
    int SmallCharHeight = 13;
    int ArrowWidth = 16;  // one up/down arrow bitmap
    int ArrowHeight = 16;
};

// The six parameter read-outs, in panel order (left column first, top row first).
enum class PanelParameter { Range, Mode, Gain, Speed, Sector, Train };
inline constexpr int PanelParameterCount = 6;

// One read-out with its label and its two arrow buttons.
struct ParameterWidget {
    PanelParameter Parameter = PanelParameter::Range;
    const char* Label = "";  // "Range", "Mode", ...
    Point Origin;            // (x, y) of the widget
    Rect Box;                // (x, y - 1) to (x + ReadoutWidth, y + 2 * ArrowHeight)
    Rect UpArrow;            // bitmap cell at (x + ReadoutWidth, y)
    Rect DownArrow;          // bitmap cell at (x + ReadoutWidth, y + ArrowHeight)
    Point LabelShadow;       // (x + 3, y - CharHeight - 1), black
    Point LabelText;         // (x + 2, y - CharHeight - 2), white
};

struct PanelLayout {
    PanelMetrics Metrics;

    // ---- fixed frame ----------------------------------------------------------------------
    Rect ImageFrame{2, 2, 600, 510};      // pen 123, fill 0
    Point ImageOrigin{3, 3};              // where image pixel (0, 0) is shown
    Rect MouseImageArea{3, 3, 599, 509};  // x 3..598, y 3..508
    Rect ColorBar{600, 2, 605, 510};      // columns 600..604, rows 2..509
    Point DialogCentre{301, 256};         // image centre used to place dialogs

    // ---- parameter read-outs ------------------------------------------------------------------
    int ReadoutWidth = 0;  // 6 * CharWidth + 4
    int Column1 = 619;
    int Column2 = 0;                                             // 631 + 6 * CharWidth + ArrowWidth
    int RowPitch = 0;                                            // 2 * ArrowHeight + CharHeight + 3
    std::array<int, 4> Rows{};                                   // 83, 83 + P, 83 + 2P, 83 + 3P
    std::array<ParameterWidget, PanelParameterCount> Widgets{};  // indexed by PanelParameter

    // ---- data source and check boxes ---------------------------------------------------------
    Point DataFromText{624, 2};  // "DATA FROM", white
    Point DataFromShadow{625, 3};
    Rect HeadButton;              // (619, CharHeight + 2), 5 * CharWidth by CharHeight + 5
    Rect FileButton;              // right of it, same size
    Point HoldBox{734, 4};        // check-box bitmap cell
    Point HoldLabelText{750, 3};  // "Hold"
    Point HoldLabelShadow{751, 4};
    Rect HoldHit{735, 5, 780, 15};  // what a click on the Hold box must hit
    Point RevBox{734, 22};          // HEAD only
    Point RevLabelText{750, 21};    // "Rev"
    Point RevLabelShadow{751, 22};
    Rect RevHit{735, 23, 780, 33};

    // ---- upper panel ------------------------------------------------------------------------
    Point KeyEntryOrigin;          // (619, 2 * CharHeight + 13)
    Point FrequencyHead{620, 43};  // frequency read-out origin, HEAD mode
    Point FrequencyFile{718, 21};  // FILE mode (the slider takes the HEAD place)
    Rect PlaybackSlider{620, 43, 774, 63};

    // ---- lower panel ------------------------------------------------------------------------
    Point DialCentre;  // head-position indicator, radius DialRadius
    int DialRadius = 34;
    Rect DialFrame;          // (619, centre - 54) to (777, centre + 54)
    Rect UserTextBox;        // (619, Y3 + 2AH - 46) to (777, Y3 + 2AH - 28)
    int UserTextLeft = 623;  // text x; clipped at UserTextClipRight
    int UserTextClipRight = 772;
    Rect ZoomArea;   // left 620, top Y3 + 2AH + 85, 156 x 156
    Rect ZoomFrame;  // (619, top - 1) to (777, top + 157)
    Rect LogoBox;    // small logo below the zoom area, from (620, 515)

    // ---- strip under the image ------------------------------------------------------------------
    Rect DateTimeBox;           // (2, 512) to (18 * CharWidth + 2, CharHeight + 515)
    int DateTimeTextTop = 513;  // text centred in the box at this y
    Rect GridLabelBox;          // (266, 513) to (336, small text height + 517)
    int GridLabelCentreX = 301;
    int GridLabelTextTop = 515;
    Rect GridLabelErase;                    // what a 20-character small text centred on 301 covers
    Rect GpsBox;                            // (2, 532) to (200, small text height + 536)
    Rect PingMarkBox;                       // (600 - 19 CW, 511) to (600 - 17 CW, 514 + CH)
    Rect MeasureBox;                        // (601 - 16 CW, 511) to (600, 514 + 3 CH)
    Rect PlotSpeedBox{266, 533, 336, 550};  // FILE only
    Rect PlotSpeedLeft;                     // arrow cell at (251, 534)
    Rect PlotSpeedRight;                    // arrow cell at (336, 534)
    Point PlotSpeedText{275, 535};          // "Plot Speed", black, small font
    Point PlaybackReverseBox{361, 534};     // FILE with a reversible file only
    Point PlaybackReverseText{377, 533};    // "Reverse"
    Point PlaybackReverseShadow{378, 534};
    Rect PlaybackReverseHit{362, 535, 432, 545};
    Rect PlaybackReverseErase{361, 534, 441, 550};
    Rect DataSourceStrip{251, 533, 453, 551};  // invalidated when the data source changes

    const ParameterWidget& Widget(PanelParameter p) const { return Widgets[static_cast<int>(p)]; }
};

// Computes every position from the measured cells (done once when the window is created).
PanelLayout ComputePanelLayout(const PanelMetrics& metrics);

// ---- rectangles that depend on the window width or on a text ---------------------------------

// Panel area repainted when the data source changes: (611, 1) to (clientRight, dial
// centre row - 34 - 39).
Rect DataSourcePanelArea(const PanelLayout& layout, int clientRight);

// Rows of Gain/Speed and Sector/Train, repainted when SS mode is entered or left so their
// arrows change between normal and inactive: (619, Y1 - CharHeight - 2) to
// (clientRight, Y2 + 2 * ArrowHeight).
Rect PanelRowsArea(const PanelLayout& layout, int clientRight);

// Link status box under the image for a text of the given width: x 296 - w/2 to 307 + w/2,
// y 512 to 515 + CharHeight; the text is drawn at LinkStatusText.
Rect LinkStatusBox(const PanelLayout& layout, int textWidth);
Point LinkStatusText(int textWidth);

// The frequency read-out's erase area: (x - 1, y - 1) to (x + 113, y + 19) in HEAD mode,
// (x - 1, y - 1) to (x + 73, y + 19) in FILE mode, at the mode's origin.
Point FrequencyOrigin(const PanelLayout& layout, int runMode);
Rect FrequencyErase(const PanelLayout& layout, int runMode);

// Keyboard entry box for a text of the given width, and the area its cancel erases.
Rect KeyEntryBox(const PanelLayout& layout, int textWidth);
Point KeyEntryTextPosition(const PanelLayout& layout);
Rect KeyEntryErase(const PanelLayout& layout);

// Shadow position of a value centred in a read-out box (the white text goes one pixel up
// and left): x = (left + right) / 2 - textWidth / 2 + 2, y = top + ArrowHeight -
// textHeight / 2 + 1, halvings truncated towards zero.
Point ReadoutValueShadow(const PanelLayout& layout, const Rect& box, int textWidth, int textHeight);

// Left edge of a text of the given width centred on x (halving towards zero).
int CentredLeft(int centreX, int textWidth);

// ---- hit testing -----------------------------------------------------------------------------

enum class PanelElement {
    None,
    Image,  // the mouse image area
    RangeUp,
    RangeDown,
    ModeUp,
    ModeDown,
    GainUp,
    GainDown,
    SpeedUp,
    SpeedDown,
    SectorUp,
    SectorDown,
    TrainUp,
    TrainDown,
    PlotSpeedLeft,
    PlotSpeedRight,  // FILE only
    HeadButton,
    FileButton,
    HoldBox,
    RevBox,              // HEAD only
    PlaybackReverseBox,  // FILE with a reversible file only
};

// The twelve parameter arrows, in PanelElement order from RangeUp.
bool IsParameterArrow(PanelElement element);
PanelParameter ArrowParameter(PanelElement element);  // for a parameter arrow
bool IsUpArrow(PanelElement element);                 // Up, or Plot Speed right

struct PanelHit {
    PanelElement Element = PanelElement::None;
    // Whether a click does anything now: false for the Speed and Sector arrows in SS mode,
    // every parameter arrow in FILE mode, and every button except Hold, Rev and the playback
    // Reverse box while the hold is on.
    bool Active = false;
};

// The element under a window point. Elements that do not exist in the current data source
// (Rev in FILE mode, Plot Speed and the playback Reverse box in HEAD mode, the Reverse box
// without a reversible file) are not hit. `reverseAvailable`: the played file can run
// backwards.
PanelHit HitTest(const PanelLayout& layout, int x, int y, const SonarState& state, bool reverseAvailable = false);

// Whether the arrow of a read-out is drawn inactive: all twelve in FILE mode, Speed and
// Sector in SS mode. (The hold does not change how arrows look, only whether they react.)
bool ArrowDrawnInactive(PanelParameter parameter, const SonarState& state);

// Whether an element reacts to a click in the current state (the Active of HitTest).
bool ElementActive(PanelElement element, const SonarState& state, bool reverseAvailable = false);

}  // namespace tidemar
