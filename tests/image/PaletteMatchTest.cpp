// Nearest palette entries of screen colours, and the cache in front of the full search.
#include <gtest/gtest.h>

#include <random>

#include "image/DisplayPalette.h"
#include "image/ImageColorTable.h"
#include "image/PaletteMatch.h"

namespace tidemar {
namespace {

DisplayPalette WindowPalette(int colors) {
    ImageColorTable table{};
    InitImageColorTable(table);
    BuildColorTableEntries(table, colors);
    return BuildDisplayPalette(table);
}

uint32_t Rgb(const PaletteEntry& e) { return (uint32_t{e.Red} << 16) | (uint32_t{e.Green} << 8) | e.Blue; }

int FirstIndexOf(const DisplayPalette& palette, const PaletteEntry& colour) {
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& e = palette.Entries[static_cast<size_t>(i)];
        if (e.Red == colour.Red && e.Green == colour.Green && e.Blue == colour.Blue) return i;
    }
    return -1;
}

TEST(PaletteMatch, EveryPaletteColourGivesTheFirstEntryOfThatColour) {
    for (int colors : {0, 4, 8}) {
        const DisplayPalette palette = WindowPalette(colors);
        PaletteMatch match(palette);
        int repeatedColours = 0;
        for (int i = 0; i < 256; ++i) {
            const PaletteEntry& e = palette.Entries[static_cast<size_t>(i)];
            const int expected = FirstIndexOf(palette, e);
            EXPECT_EQ(match.Nearest(Rgb(e)), expected) << "table " << colors << " entry " << i;
            EXPECT_EQ(NearestPaletteIndex(palette, e.Red, e.Green, e.Blue), expected);
            if (expected != i) ++repeatedColours;
        }
        // The tables do repeat colours (black, at least), so the tie rule is exercised.
        EXPECT_GT(repeatedColours, 0) << "table " << colors;
    }
}

TEST(PaletteMatch, ColoursBetweenEntriesGoToTheCloserOneAndTiesToTheLowerIndex) {
    DisplayPalette palette;
    for (auto& e : palette.Entries) e = {255, 255, 255, 0};
    palette.Entries[3] = {0, 0, 0, 0};
    palette.Entries[7] = {100, 0, 0, 0};
    palette.Entries[9] = {0, 100, 0, 0};
    EXPECT_EQ(NearestPaletteIndex(palette, 40, 0, 0), 3);
    EXPECT_EQ(NearestPaletteIndex(palette, 60, 0, 0), 7);
    EXPECT_EQ(NearestPaletteIndex(palette, 50, 0, 0), 3);     // equally far from 3 and 7
    EXPECT_EQ(NearestPaletteIndex(palette, 100, 100, 0), 7);  // equally far from 7 and 9
    EXPECT_EQ(NearestPaletteIndex(palette, 60, 50, 0), 7);
    EXPECT_EQ(NearestPaletteIndex(palette, 250, 250, 250), 0);
    PaletteMatch match(palette);
    EXPECT_EQ(match.Nearest(0xFF000000u | (60u << 16) | (50u << 8)), 7);  // alpha is ignored
}

TEST(PaletteMatch, CachedAnswersAgreeWithTheFullSearch) {
    const DisplayPalette palette = WindowPalette(2);
    PaletteMatch match(palette);
    std::mt19937 random(11);
    std::uniform_int_distribution<uint32_t> colour(0, 0xFFFFFF);
    // Far more colours than cache slots, each asked twice in a row and again later, so
    // slots are reused and overwritten.
    std::vector<uint32_t> asked;
    for (int n = 0; n < 20000; ++n) {
        const uint32_t c = colour(random);
        asked.push_back(c);
        const uint8_t expected = NearestPaletteIndex(palette, c >> 16, (c >> 8) & 0xFF, c & 0xFF);
        ASSERT_EQ(match.Nearest(c), expected) << std::hex << c;
        ASSERT_EQ(match.Nearest(c), expected) << std::hex << c;
    }
    for (uint32_t c : asked)
        ASSERT_EQ(match.Nearest(c), NearestPaletteIndex(palette, c >> 16, (c >> 8) & 0xFF, c & 0xFF));
}

TEST(PaletteMatch, RowsKeepRunsAndChangesApart) {
    const DisplayPalette palette = WindowPalette(0);
    PaletteMatch match(palette);
    const uint32_t a = Rgb(palette.Entries[121]);
    const uint32_t b = Rgb(palette.Entries[FirstIndexOf(palette, palette.Entries[50])]);
    const std::vector<uint32_t> row = {a, a, b, b, b, a, 0xFFFFFF, 0xFFFFFF, a};
    std::vector<uint8_t> out(row.size(), 0xEE);
    match.MapRow(row.data(), static_cast<int>(row.size()), out.data());
    const uint8_t ia = match.Nearest(a), ib = match.Nearest(b), iw = match.Nearest(0xFFFFFF);
    EXPECT_EQ(out, (std::vector<uint8_t>{ia, ia, ib, ib, ib, ia, iw, iw, ia}));
    EXPECT_NE(ia, ib);
}

}  // namespace
}  // namespace tidemar
