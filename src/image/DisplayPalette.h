#pragma once
// The logical palette every drawing selects. It maps each palette index to the same colour
// as the image colour table, so the picture and the interface drawn around it agree.

#include <array>
#include <cstdint>

#include "image/ImageColorTable.h"

namespace tidemar {

inline constexpr std::uint16_t PaletteVersion = 0x300;
inline constexpr std::uint8_t PC_RESERVED = 1;  // entry is private to this palette

// One logical palette entry: red, green, blue, flags.
struct PaletteEntry {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    std::uint8_t Flags = 0;
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

struct DisplayPalette {
    std::uint16_t Version = PaletteVersion;
    std::uint16_t NumEntries = 256;
    std::array<PaletteEntry, 256> Entries{};
};

// A fresh palette holding the colours of `table`, every entry flagged PC_RESERVED.
// Built from the image colour table itself so the two can never disagree, whatever
// table was last selected.
DisplayPalette BuildDisplayPalette(const ImageColorTable& table);

}  // namespace tidemar
