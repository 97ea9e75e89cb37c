// The night colours: dim, red, and in the order of the day colours they stand for.
#include "image/NightColors.h"

#include <gtest/gtest.h>

#include "image/ImageColorTable.h"

namespace tidemar {
namespace {

ImageColorTable DayTable(int colors) {
    ImageColorTable table{};
    InitImageColorTable(table);
    BuildColorTableEntries(table, colors);
    return table;
}

TEST(NightColors, EveryEntryOfEveryTableIsDimAndRed) {
    for (int colors = 0; colors < ColorTableCount; ++colors) {
        const ImageColorTable night = NightColorTable(DayTable(colors));
        for (int i = 0; i < PaletteSize; ++i) {
            const RgbQuad& c = night[static_cast<size_t>(i)];
            EXPECT_LE(c.Red, i < ColorTableEntries ? NightEchoCeiling : NightCeiling) << colors << " " << i;
            EXPECT_LE(c.Green, c.Red) << colors << " " << i;
            EXPECT_LE(c.Blue, c.Red) << colors << " " << i;
        }
    }
}

TEST(NightColors, EchoRampKeepsTheOrderOfTheDayBrightness) {
    // Each row: colour table, +1 brighter with the echo, -1 darker (Rev Grey).
    const struct {
        int Colors;
        int Direction;
    } rows[] = {{3, +1}, {2, +1}, {4, -1}};
    for (const auto& row : rows) {
        const ImageColorTable night = NightColorTable(DayTable(row.Colors));
        for (int i = 1; i < ColorTableEntries; ++i)
            EXPECT_GE(row.Direction * (night[i].Red - night[i - 1].Red), 0) << row.Colors << " " << i;
        const int dark = row.Direction > 0 ? 0 : ColorTableEntries - 1;
        const int bright = row.Direction > 0 ? ColorTableEntries - 1 : 0;
        EXPECT_EQ(night[static_cast<size_t>(dark)].Red, 0) << row.Colors;
        EXPECT_GE(night[static_cast<size_t>(bright)].Red, NightEchoCeiling * 3 / 4) << row.Colors;
    }
}

TEST(NightColors, KnownEntries) {
    // Each row: palette index, its day colour, the night colour.
    const struct {
        int Index;
        RgbColor Day, Night;
    } rows[] = {
        {0, {0, 0, 0}, {0, 0, 0}},                         // no echo stays black
        {107, {255, 255, 255}, {NightEchoCeiling, 0, 0}},  // the whitest echo: the ramp's top
        {50, {0, 255, 0}, {NightEchoCeiling, 0, 0}},       // pure green: the top as well
        {20, {0, 25, 75}, {19, 0, 0}},                     // its brightest component counts
        {121, {72, 72, 72}, {22, 17, 17}},                 // window background
        {125, {0, 0, 0}, {0, 0, 0}},                       // black
        {127, {255, 0, 0}, {NightCeiling, 0, 0}},          // "No Connection"
        {200, {127, 0, 0}, {56, 38, 38}},                  // grid over an echo
    };
    for (const auto& row : rows) EXPECT_EQ(NightColor(row.Index, row.Day), row.Night) << row.Index;
    EXPECT_EQ(NightShade({255, 255, 255}), (RgbColor{NightCeiling, 0, 0}));
    EXPECT_EQ(NightShade({0, 0, 0}), (RgbColor{0, 0, 0}));
}

}  // namespace
}  // namespace tidemar
