#pragma once
// The palette entry nearest to a colour read off the screen: a screen capture stores every
// pixel of the window as the index of the DisplayPalette entry closest to it, by squared
// distance in red, green and blue, the lowest index winning a tie (the echo levels
// 128..255 repeat colours of 0..127, and the plain index is the one to keep).
//
// A capture maps 480,000 pixels but a window holds few distinct colours, so matches are
// remembered in a small direct-mapped cache in front of the full search.

#include <array>
#include <cstdint>

#include "image/DisplayPalette.h"

namespace tidemar {

// The full search over the 256 entries.
std::uint8_t NearestPaletteIndex(const DisplayPalette& palette, std::uint8_t red, std::uint8_t green,
                                 std::uint8_t blue);

class PaletteMatch {
public:
    explicit PaletteMatch(const DisplayPalette& palette);

    // `rgb` as 0x??RRGGBB (the top byte is ignored, as in a QRgb).
    std::uint8_t Nearest(std::uint32_t rgb);
    // One row of such pixels into palette indexes.
    void MapRow(const std::uint32_t* rgb, int count, std::uint8_t* indexes);

private:
    static constexpr int CacheBits = 12;
    static constexpr std::uint32_t EmptySlot = 0xFFFFFFFFu;

    DisplayPalette palette_;
    std::array<std::uint32_t, 1u << CacheBits> keys_;
    std::array<std::uint8_t, 1u << CacheBits> values_{};
};

}  // namespace tidemar
