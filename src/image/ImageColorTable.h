#pragma once
// The colour table carried in the image bitmap header: palette index to colour for every
// pixel of the sonar image. A rebuild for a new colour table touches entries 0..118 only.

#include <array>
#include <cstdint>

namespace tidemar {

// One bitmap colour-table entry, in the order it is stored: blue, green, red, 0.
struct RgbQuad {
    std::uint8_t Blue = 0;
    std::uint8_t Green = 0;
    std::uint8_t Red = 0;
    std::uint8_t Reserved = 0;
    friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};

using ImageColorTable = std::array<RgbQuad, 256>;

inline constexpr int ImageColorTableBytesSize = 1024;

// Norm Hi for entries 0..118 and the fixed interface and grid colours for 119..255.
void InitImageColorTable(ImageColorTable& table);

// Rebuilds entries 0..118 for colour table `colors` (0..8). Any other value leaves the
// table as it is; entries 119..255 are never touched.
void BuildColorTableEntries(ImageColorTable& table, int colors);

// The 1,024 bytes of the table as a bitmap header carries them: per entry blue, green,
// red, 0, in index order.
std::array<std::uint8_t, ImageColorTableBytesSize> ImageColorTableBytes(const ImageColorTable& table);

}  // namespace tidemar
