#include "image/PaletteMatch.h"

#include <cstddef>

namespace tidemar {

std::uint8_t NearestPaletteIndex(const DisplayPalette& palette, std::uint8_t red, std::uint8_t green,
                                 std::uint8_t blue) {
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < static_cast<int>(palette.Entries.size()); ++i) {
        const PaletteEntry& e = palette.Entries[static_cast<std::size_t>(i)];
        const int dr = e.Red - red;
        const int dg = e.Green - green;
        const int db = e.Blue - blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
            if (distance == 0) break;
        }
    }
    return static_cast<std::uint8_t>(best);
}

PaletteMatch::PaletteMatch(const DisplayPalette& palette) : palette_(palette) { keys_.fill(EmptySlot); }

std::uint8_t PaletteMatch::Nearest(std::uint32_t rgb) {
    rgb &= 0x00FFFFFFu;
    // Mixes all three channels into the slot number, so neighbouring shades spread out.
    const std::uint32_t slot = ((rgb * 2654435761u) >> (32 - CacheBits)) & ((1u << CacheBits) - 1);
    if (keys_[slot] == rgb) return values_[slot];
    const std::uint8_t index = NearestPaletteIndex(palette_, static_cast<std::uint8_t>(rgb >> 16),
                                                   static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb));
    keys_[slot] = rgb;
    values_[slot] = index;
    return index;
}

void PaletteMatch::MapRow(const std::uint32_t* rgb, int count, std::uint8_t* indexes) {
    // Runs of one colour are the rule on a window: the last match is kept at hand.
    std::uint32_t last = EmptySlot;
    std::uint8_t lastIndex = 0;
    for (int x = 0; x < count; ++x) {
        const std::uint32_t colour = rgb[x] & 0x00FFFFFFu;
        if (colour != last) {
            last = colour;
            lastIndex = Nearest(colour);
        }
        indexes[x] = lastIndex;
    }
}

}  // namespace tidemar
