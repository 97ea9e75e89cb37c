#pragma once
// Where the settings dialogs open: centred on the picture's centre (column 301, row 256 of
// the main window, scaled with its zoom) and pulled back inside the right and bottom screen
// edges.

namespace tidemar {

struct DialogPlacementInput {
    int Width = 0;  // the dialog's size in pixels
    int Height = 0;
    int WindowLeft = 0;  // the main window's outer top-left corner, relative to the screen
    int WindowTop = 0;
    int CaptionHeight = 0;  // the main window's title bar
    int MenuHeight = 0;     // the main window's menu bar
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    int ZoomPercent = 100;  // how large the window draws its client area
};

struct DialogPosition {
    int X = 0;
    int Y = 0;
    bool operator==(const DialogPosition&) const = default;
};

// The top-left corner of the dialog, relative to the screen. A corner that would lie
// left of or above the screen is pulled onto it, so the dialog's title bar can always be
// reached.
DialogPosition PlaceDialogPosition(const DialogPlacementInput& in);

// Dialog template units to pixels: a quarter of the average character width across, an
// eighth of the character height down.
inline int DialogUnitsToPixelsX(int units, int averageCharWidth) { return units * averageCharWidth / 4; }
inline int DialogUnitsToPixelsY(int units, int charHeight) { return units * charHeight / 8; }

// Template sizes in dialog units.
inline constexpr int SettingsDialogUnitsWide = 244, SettingsDialogUnitsHigh = 230;
inline constexpr int UserConfigDialogUnitsWide = 311, UserConfigDialogUnitsHigh = 268;
inline constexpr int UserConfigDialogDrop = 8;  // this one opens 8 pixels lower
inline constexpr int ProfileSetupDialogUnitsWide = 180, ProfileSetupDialogUnitsHigh = 148;
inline constexpr int AboutDialogUnitsWide = 180, AboutDialogUnitsHigh = 215;

}  // namespace tidemar
