#include "image/ImageColorTable.h"

#include "image/ColorTables.h"

namespace tidemar {

namespace {

RgbQuad ToQuad(const RgbColor& color) {
    return {static_cast<std::uint8_t>(color.Blue), static_cast<std::uint8_t>(color.Green),
            static_cast<std::uint8_t>(color.Red), 0};
}

}  // namespace

void InitImageColorTable(ImageColorTable& table) {
    for (int i = 0; i < PaletteSize; ++i) table[i] = ToQuad(PaletteColor(0, i));
}

void BuildColorTableEntries(ImageColorTable& table, int colors) {
    if (colors < 0 || colors >= ColorTableCount) return;
    for (int i = 0; i < ColorTableEntries; ++i) table[i] = ToQuad(ColorTableEntry(colors, i));
}

std::array<std::uint8_t, ImageColorTableBytesSize> ImageColorTableBytes(const ImageColorTable& table) {
    std::array<std::uint8_t, ImageColorTableBytesSize> bytes{};
    for (int i = 0; i < PaletteSize; ++i) {
        bytes[4 * i] = table[i].Blue;
        bytes[4 * i + 1] = table[i].Green;
        bytes[4 * i + 2] = table[i].Red;
        bytes[4 * i + 3] = 0;
    }
    return bytes;
}

}  // namespace tidemar
