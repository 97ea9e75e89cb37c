#include "image/DisplayPalette.h"
#include "image/ImageColorTable.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tidemar {
namespace {

// Colour of entry `i` read back as (red, green, blue).
struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

Rgb At(const ImageColorTable& t, int i) { return {t[i].Red, t[i].Green, t[i].Blue}; }
Rgb At(const DisplayPalette& p, int i) { return {p.Entries[i].Red, p.Entries[i].Green, p.Entries[i].Blue}; }

TEST(ImageColorTable, InitGivesNormHiAndTheFixedColours) {
    ImageColorTable table{};
    InitImageColorTable(table);
    EXPECT_EQ(At(table, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(At(table, 88), (Rgb{255, 255, 0}));
    EXPECT_EQ(At(table, 107), (Rgb{240, 0, 0}));
    EXPECT_EQ(At(table, 118), (Rgb{240, 0, 0}));
    EXPECT_EQ(At(table, 119), (Rgb{0, 179, 0}));
    EXPECT_EQ(At(table, 121), (Rgb{71, 71, 71}));
    EXPECT_EQ(At(table, 127), (Rgb{255, 0, 0}));
    for (int i = 128; i < 256; ++i) EXPECT_EQ(At(table, i), (Rgb{127, 0, 0})) << i;
    for (const RgbQuad& q : table) EXPECT_EQ(q.Reserved, 0);
}

TEST(ImageColorTable, RebuildChangesOnlyTheEchoEntries) {
    ImageColorTable table{};
    InitImageColorTable(table);
    const ImageColorTable normHi = table;

    BuildColorTableEntries(table, 4);  // Rev Grey
    EXPECT_EQ(At(table, 0), (Rgb{212, 212, 212}));
    EXPECT_EQ(At(table, 118), (Rgb{0, 0, 0}));
    for (int i = 119; i < 256; ++i) EXPECT_EQ(table[i], normHi[i]) << i;

    BuildColorTableEntries(table, 5);  // Brown/Yellow
    EXPECT_EQ(At(table, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(At(table, 118), (Rgb{255, 255, 0}));
    EXPECT_EQ(At(table, 121), (Rgb{71, 71, 71}));
    EXPECT_EQ(At(table, 200), (Rgb{127, 0, 0}));

    BuildColorTableEntries(table, 0);
    EXPECT_EQ(table, normHi);
}

TEST(ImageColorTable, TableOutsideTheMenuLeavesEntriesAlone) {
    ImageColorTable table{};
    InitImageColorTable(table);
    BuildColorTableEntries(table, 3);  // Grey
    const ImageColorTable grey = table;
    BuildColorTableEntries(table, 9);
    EXPECT_EQ(table, grey);
    BuildColorTableEntries(table, -1);
    EXPECT_EQ(table, grey);
}

TEST(ImageColorTable, BytesAreBlueGreenRedZero) {
    ImageColorTable table{};
    InitImageColorTable(table);
    BuildColorTableEntries(table, 6);  // Green/Blue: entry 59 is (0, 216, 88)
    const auto bytes = ImageColorTableBytes(table);
    ASSERT_EQ(bytes.size(), 1024u);
    const std::uint8_t entry59[] = {88, 216, 0, 0};
    const std::uint8_t entry120[] = {0, 179, 143, 0};  // (143,179,0)
    const std::uint8_t entry124[] = {161, 0, 0, 0};    // (0,0,161)
    const std::uint8_t entry255[] = {0, 0, 127, 0};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(bytes[4 * 59 + k], entry59[k]) << k;
        EXPECT_EQ(bytes[4 * 120 + k], entry120[k]) << k;
        EXPECT_EQ(bytes[4 * 124 + k], entry124[k]) << k;
        EXPECT_EQ(bytes[4 * 255 + k], entry255[k]) << k;
    }
    for (int i = 0; i < 256; ++i) EXPECT_EQ(bytes[4 * i + 3], 0) << i;
}

TEST(DisplayPalette, HeaderAndFlags) {
    ImageColorTable table{};
    InitImageColorTable(table);
    const DisplayPalette palette = BuildDisplayPalette(table);
    EXPECT_EQ(palette.Version, 0x300);
    EXPECT_EQ(palette.NumEntries, 256);
    for (const PaletteEntry& e : palette.Entries) EXPECT_EQ(e.Flags, 1);
}

TEST(DisplayPalette, AgreesWithTheImageTableAfterEveryChange) {
    ImageColorTable table{};
    InitImageColorTable(table);
    // Every table in turn, then a value outside the menu that must keep the last one.
    for (int colors : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}) {
        BuildColorTableEntries(table, colors);
        const DisplayPalette palette = BuildDisplayPalette(table);
        for (int i = 0; i < 256; ++i) ASSERT_EQ(At(palette, i), At(table, i)) << "table " << colors << " index " << i;
        EXPECT_EQ(At(palette, 121), (Rgb{71, 71, 71}));
        EXPECT_EQ(At(palette, 88 + 128), (Rgb{127, 0, 0}));
    }
    // Blue was the last real table: entry 59 is (0, 88, 216).
    EXPECT_EQ(At(BuildDisplayPalette(table), 59), (Rgb{0, 88, 216}));
}

}  // namespace
}  // namespace tidemar
