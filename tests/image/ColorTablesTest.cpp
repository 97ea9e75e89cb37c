#include "image/ColorTables.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace tidemar {

void PrintTo(const RgbColor& c, std::ostream* os) { *os << "(" << c.Red << "," << c.Green << "," << c.Blue << ")"; }

namespace {

enum Table { NormHi, NormLo, Green, Grey, RevGrey, BrownYellow, GreenBlue, GreenYellow, Blue };

// One row group of the base table as it is described: start values and the step of
// each component over `count` rows.
struct RowRun {
    int first, count;
    int red, redStep, green, greenStep, blue, blueStep;
};

// Walks the described runs; "same as red" rows are written out with red's start and step.
TEST(BaseColorTable, RowsFollowTheDescribedRuns) {
    // clang-format off
    const RowRun runs[] = {
        {0, 1, 0, 0, 0, 0, 0, 0},       {1, 1, 0, 0, 0, 0, 1, 0},
        {2, 1, 0, 0, 0, 0, 3, 0},       {3, 1, 0, 0, 0, 0, 5, 0},
        {4, 15, 0, 0, 0, 0, 10, 5},     // blue 10 rising by 5 to 80
        {19, 16, 0, 0, 20, 5, 80, -5},  // green 20..95, blue 80..5
        {35, 5, 0, 0, 100, 5, 0, 0},    // green 100..120
        {40, 2, 5, 5, 125, 5, 0, 0},    // (5,125) (10,130)
        {42, 7, 20, 0, 135, 5, 0, 0},   // green 135..165
        {49, 1, 40, 0, 170, 0, 0, 0},   {50, 1, 60, 0, 175, 0, 0, 0},
        {51, 1, 70, 0, 180, 0, 0, 0},   {52, 1, 80, 0, 185, 0, 0, 0},
        {53, 6, 90, 10, 175, -10, 0, 0},  // red 90..140, green 175..125
        {59, 1, 150, 0, 110, 0, 0, 0},  {60, 1, 155, 0, 105, 0, 0, 0},
        {61, 9, 160, 5, 100, 0, 0, 0},    // red 160..200
        {70, 3, 205, 5, 105, 5, 0, 0},    // (205,105) (210,110) (215,115)
        {73, 6, 210, -10, 120, 5, 0, 0},  // red 210..160, green 120..145
        {79, 1, 150, 0, 150, 0, 0, 0},
        {80, 9, 155, 5, 155, 5, 0, 0},      // yellow 155..195
        {89, 10, 200, 5, 200, 5, 50, 10},   // 200..245, blue 50..140
        {99, 8, 180, 5, 180, 5, 180, 5},    // grey 180..215
        {107, 12, 160, 0, 0, 0, 0, 0},
    };
    // clang-format on
    int covered = 0;
    for (const RowRun& run : runs) {
        ASSERT_EQ(run.first, covered) << "runs must tile rows 0..118";
        for (int k = 0; k < run.count; ++k) {
            const RgbColor expected{run.red + k * run.redStep, run.green + k * run.greenStep,
                                    run.blue + k * run.blueStep};
            EXPECT_EQ(BaseColorTable[run.first + k], expected) << "row " << run.first + k;
        }
        covered += run.count;
    }
    EXPECT_EQ(covered, ColorTableEntries);

    // The ends the description names, as a check on the runs above.
    EXPECT_EQ(BaseColorTable[18], (RgbColor{0, 0, 80}));
    EXPECT_EQ(BaseColorTable[34], (RgbColor{0, 95, 5}));
    EXPECT_EQ(BaseColorTable[58], (RgbColor{140, 125, 0}));
    EXPECT_EQ(BaseColorTable[78], (RgbColor{160, 145, 0}));
    EXPECT_EQ(BaseColorTable[98], (RgbColor{245, 245, 140}));
    EXPECT_EQ(BaseColorTable[106], (RgbColor{215, 215, 215}));
}

TEST(BaseColorTable, InterfaceAndGridRows) {
    const RgbColor interfaceRows[] = {{0, 100, 0}, {80, 100, 0}, {40, 40, 40}, {80, 80, 80}, {120, 120, 120},
                                      {0, 0, 90},  {0, 0, 0},    {100, 0, 0},  {148, 0, 0}};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(BaseColorTable[119 + i], interfaceRows[i]) << 119 + i;
    for (int i = 128; i < 256; ++i) EXPECT_EQ(BaseColorTable[i], (RgbColor{150, 0, 0})) << i;
}

TEST(ColorTables, NormHiIsOneAndAHalfTimesBaseLimited) {
    EXPECT_EQ(ColorTableEntry(NormHi, 88), (RgbColor{255, 255, 0}));  // 292.5 limited
    EXPECT_EQ(ColorTableEntry(NormHi, 107), (RgbColor{240, 0, 0}));
    EXPECT_EQ(ColorTableEntry(NormHi, 2), (RgbColor{0, 0, 4}));  // 4.5 truncated
    EXPECT_EQ(ColorTableEntry(NormHi, 41), (RgbColor{15, 195, 0}));
    EXPECT_EQ(ColorTableEntry(NormHi, 79), (RgbColor{225, 225, 0}));
    EXPECT_EQ(ColorTableEntry(NormHi, 99), (RgbColor{255, 255, 255}));  // 270 limited
}

TEST(ColorTables, NormLoIsTheBaseRows) {
    EXPECT_EQ(ColorTableEntry(NormLo, 107), (RgbColor{160, 0, 0}));
    for (int i = 0; i < ColorTableEntries; ++i)
        EXPECT_EQ(ColorTableEntry(NormLo, i), BaseColorTable[i]) << "index " << i;
}

TEST(ColorTables, LinearRamps) {
    EXPECT_EQ(ColorTableEntry(Green, 0), (RgbColor{0, 0, 0}));
    EXPECT_EQ(ColorTableEntry(Green, 41), (RgbColor{0, 102, 0}));   // 102.5
    EXPECT_EQ(ColorTableEntry(Green, 102), (RgbColor{0, 255, 0}));  // exactly 255
    EXPECT_EQ(ColorTableEntry(Green, 103), (RgbColor{0, 255, 0}));  // 257.5 limited
    EXPECT_EQ(ColorTableEntry(Grey, 101), (RgbColor{252, 252, 252}));
    EXPECT_EQ(ColorTableEntry(Grey, 118), (RgbColor{255, 255, 255}));

    EXPECT_EQ(ColorTableEntry(RevGrey, 0), (RgbColor{212, 212, 212}));   // 212.4
    EXPECT_EQ(ColorTableEntry(RevGrey, 1), (RgbColor{210, 210, 210}));   // 210.6
    EXPECT_EQ(ColorTableEntry(RevGrey, 59), (RgbColor{106, 106, 106}));  // 106.2
    EXPECT_EQ(ColorTableEntry(RevGrey, 118), (RgbColor{0, 0, 0}));
}

// Hand-worked, x = i * pi/236:
//   i=10: 255 sin x = 33.85 -> 33 -> 39.6 -> 39;   255 - 255 cos x = 2.26 -> 2 -> 2.4 -> 2
//   i=30: 99.15 -> 99 -> 118.8 -> 118;             20.07 -> 20 -> 24
//   i=59: 180.31 -> 180 -> 216;                    74.69 -> 74 -> 88.8 -> 88
//   i=74: 212.50 -> 212 -> 254.4 -> 254;           114.04 -> 114 -> 136.8 -> 136
//   i=75: 214.35 -> 214 -> 256.8 -> 255;           116.88 -> 116 -> 139.2 -> 139
//   i=105: 251.19 -> 255 (limited);                211.09 -> 211 -> 253.2 -> 253
//   i=106: 251.75 -> 255;                          214.44 -> 214 -> 256.8 -> 255
// i=10 catches a missing inner truncation (1.2 x 33.85 = 40.6 would give 40).
TEST(ColorTables, SineAndCosineRamps) {
    struct Spot {
        int index, sine, cosine;
    };
    const Spot spots[] = {{0, 0, 0},      {10, 39, 2},     {30, 118, 24},   {59, 216, 88},  {74, 254, 136},
                          {75, 255, 139}, {105, 255, 253}, {106, 255, 255}, {118, 255, 255}};
    for (const Spot& s : spots) {
        EXPECT_EQ(ColorTableEntry(BrownYellow, s.index), (RgbColor{s.sine, s.cosine, 0})) << "index " << s.index;
        EXPECT_EQ(ColorTableEntry(GreenBlue, s.index), (RgbColor{0, s.sine, s.cosine})) << "index " << s.index;
        EXPECT_EQ(ColorTableEntry(GreenYellow, s.index), (RgbColor{s.cosine, s.sine, 0})) << "index " << s.index;
        EXPECT_EQ(ColorTableEntry(Blue, s.index), (RgbColor{0, s.cosine, s.sine})) << "index " << s.index;
    }
}

TEST(ColorTables, RampsNeverFallAsTheEchoGrows) {
    for (int table : {Green, Grey, BrownYellow, GreenBlue, GreenYellow, Blue}) {
        for (int i = 1; i < ColorTableEntries; ++i) {
            const RgbColor a = ColorTableEntry(table, i - 1), b = ColorTableEntry(table, i);
            EXPECT_GE(b.Red, a.Red) << "table " << table << " index " << i;
            EXPECT_GE(b.Green, a.Green) << "table " << table << " index " << i;
            EXPECT_GE(b.Blue, a.Blue) << "table " << table << " index " << i;
        }
    }
}

TEST(ColorTables, FixedEntriesAreTheSameInEveryTable) {
    const RgbColor interfaceColors[] = {{0, 179, 0}, {143, 179, 0}, {71, 71, 71}, {143, 143, 143}, {215, 215, 215},
                                        {0, 0, 161}, {0, 0, 0},     {179, 0, 0},  {255, 0, 0}};
    for (int table = 0; table < ColorTableCount; ++table) {
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(PaletteColor(table, 119 + i), interfaceColors[i]) << "table " << table << " index " << 119 + i;
        for (int i = 128; i < 256; ++i)
            EXPECT_EQ(PaletteColor(table, i), (RgbColor{127, 0, 0})) << "table " << table << " index " << i;
        // A dredge line drawn over a grid pixel.
        EXPECT_EQ(PaletteColor(table, 88 + 128), (RgbColor{127, 0, 0})) << "table " << table;
    }
    // 120 x 1.8f is 215.99999: a single-precision product would round to 216.
    EXPECT_EQ(FixedColorEntry(123), (RgbColor{215, 215, 215}));
    EXPECT_EQ(FixedColorEntry(PaletteWindowBackground), (RgbColor{71, 71, 71}));
    EXPECT_EQ(FixedColorEntry(PaletteBlack), (RgbColor{0, 0, 0}));
}

TEST(ColorTables, OutOfRangeArguments) {
    EXPECT_EQ(ColorTableEntry(9, 88), ColorTableEntry(NormHi, 88));
    EXPECT_EQ(ColorTableEntry(-1, 107), (RgbColor{240, 0, 0}));
    EXPECT_EQ(ColorTableEntry(Grey, 119), (RgbColor{}));
    EXPECT_EQ(ColorTableEntry(Grey, -1), (RgbColor{}));
    EXPECT_EQ(FixedColorEntry(118), (RgbColor{}));
    EXPECT_EQ(FixedColorEntry(256), (RgbColor{}));
    EXPECT_EQ(PaletteColor(Grey, 256), (RgbColor{}));
}

TEST(ColorTables, MenuLabelsAndCommands) {
    const char* labels[] = {"Norm &Hi",      "Norm &Lo",    "Gr&een",        "&Grey", "&Rev Grey",
                            "&Brown/Yellow", "Green/Bl&ue", "Green/&Yellow", "Blu&e"};
    for (int i = 0; i < ColorTableCount; ++i) {
        EXPECT_EQ(std::string(ColorTableMenu[i].Label), labels[i]);
        EXPECT_EQ(ColorTableMenu[i].CommandId, 80 + i);
    }
}

}  // namespace
}  // namespace tidemar
