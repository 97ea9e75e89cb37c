#include "image/NightColors.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace tidemar {

namespace {

// The brightest component, not the luminance: a table of pure greens or blues would
// otherwise use only part of the ramp.
int Brightness(const RgbColor& c) { return std::max({c.Red, c.Green, c.Blue, 0}); }

RgbColor Ramp(const RgbColor& day, int ceiling) {
    return {(std::min(Brightness(day), 255) * ceiling + 127) / 255, 0, 0};
}

// Entries 119..127 in their order: frequency text, auto text, window background, read-out
// fill, light frames, the "Adjusting" box, black, the capture-name strip, the
// "No Connection" box. The greys keep a touch more red than green and blue.
constexpr std::array<RgbColor, 9> NightInterface = {{
    {72, 40, 0},           // frequency text, green by day
    {88, 60, 0},           // auto text, yellow-green by day
    {22, 17, 17},          // window background
    {34, 26, 26},          // read-out fill
    {60, 44, 44},          // light frames and buttons
    {48, 0, 32},           // "Wait - Adjusting Transducer", blue by day
    {0, 0, 0},             // black
    {64, 0, 0},            // the capture-name strip
    {NightCeiling, 0, 0},  // "No Connection"
}};

// The grid bit: a greyish red, apart from the pure reds of the echoes under it.
constexpr RgbColor NightGrid{56, 38, 38};

}  // namespace

RgbColor NightColor(int index, const RgbColor& day) {
    if (index >= FirstInterfaceColor && index < FirstGridColor) return NightInterface[index - FirstInterfaceColor];
    if (index >= FirstGridColor && index < PaletteSize) return NightGrid;
    return Ramp(day, NightEchoCeiling);
}

RgbColor NightShade(const RgbColor& day) { return Ramp(day, NightCeiling); }

ImageColorTable NightColorTable(const ImageColorTable& day) {
    ImageColorTable night{};
    for (int i = 0; i < PaletteSize; ++i) {
        const RgbQuad& d = day[static_cast<std::size_t>(i)];
        const RgbColor c = NightColor(i, {d.Red, d.Green, d.Blue});
        night[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(c.Blue), static_cast<std::uint8_t>(c.Green),
                                              static_cast<std::uint8_t>(c.Red), 0};
    }
    return night;
}

}  // namespace tidemar
