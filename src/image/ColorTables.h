#pragma once
// Index-to-colour mapping of the sonar picture and the whole interface.
//
// Every pixel the program paints is an index into one 256-entry palette:
//   0..107    echo amplitude (0 no echo, 107 strongest)
//   108..118  never produced by echoes; the colour bar reaches 111
//   119..127  fixed interface colours (base row x 1.8f)
//   128..255  echo value plus the grid bit 128 (base row x 0.85f, one dark red)
// Entries 0..118 come from the selected colour table (`Colors`, 0..8); the rest are the
// same in every table so the interface keeps its colours when the operator switches.

#include <array>

namespace tidemar {

struct RgbColor {
    int Red = 0;
    int Green = 0;
    int Blue = 0;
    friend bool operator==(const RgbColor&, const RgbColor&) = default;
};

inline constexpr int PaletteSize = 256;
inline constexpr int ColorTableEntries = 119;  // indices 0..118 follow the selected table
inline constexpr int FirstInterfaceColor = 119;
inline constexpr int FirstGridColor = 128;

// Interface colours by palette index.
inline constexpr int PaletteFrequencyText = 119;
inline constexpr int PaletteWindowBackground = 121;
inline constexpr int PaletteReadoutFill = 122;
inline constexpr int PaletteLightFrame = 123;
inline constexpr int PaletteBlack = 125;

// The 256 base rows; rows 0..118 are also the Norm Lo table as it stands.
extern const std::array<RgbColor, PaletteSize> BaseColorTable;

inline constexpr int ColorTableCount = 9;
inline constexpr int FirstColorTableCommand = 80;  // menu command of table n is 80 + n

struct ColorTableMenuItem {
    const char* Label;
    int CommandId;
};

// The Color Table menu, indexed by `Colors`.
extern const std::array<ColorTableMenuItem, ColorTableCount> ColorTableMenu;

// Colour of entry `index` (0..118) in table `table` (0..8). A table outside 0..8 is read
// as Norm Hi, the way the settings reader treats a bad `Colors`; other indices give black.
RgbColor ColorTableEntry(int table, int index);

// Colour of a fixed entry, `index` 119..255, the same in every table; other indices give
// black.
RgbColor FixedColorEntry(int index);

// Colour of palette index `index` (0..255) while `table` is selected.
RgbColor PaletteColor(int table, int index);

}  // namespace tidemar
