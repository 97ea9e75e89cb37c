#include "image/ColorTables.h"

#include <cmath>

namespace tidemar {

namespace {

constexpr std::array<RgbColor, PaletteSize> MakeBaseColorTable() {
    // clang-format off
    std::array<RgbColor, 128> rows = {{
        // 0..3: blue just above black
        {0, 0, 0}, {0, 0, 1}, {0, 0, 3}, {0, 0, 5},
        // 4..18: blue 10..80
        {0, 0, 10}, {0, 0, 15}, {0, 0, 20}, {0, 0, 25}, {0, 0, 30}, {0, 0, 35}, {0, 0, 40},
        {0, 0, 45}, {0, 0, 50}, {0, 0, 55}, {0, 0, 60}, {0, 0, 65}, {0, 0, 70}, {0, 0, 75},
        {0, 0, 80},
        // 19..34: blue fades into green
        {0, 20, 80}, {0, 25, 75}, {0, 30, 70}, {0, 35, 65}, {0, 40, 60}, {0, 45, 55},
        {0, 50, 50}, {0, 55, 45}, {0, 60, 40}, {0, 65, 35}, {0, 70, 30}, {0, 75, 25},
        {0, 80, 20}, {0, 85, 15}, {0, 90, 10}, {0, 95, 5},
        // 35..39: green 100..120
        {0, 100, 0}, {0, 105, 0}, {0, 110, 0}, {0, 115, 0}, {0, 120, 0},
        // 40..41
        {5, 125, 0}, {10, 130, 0},
        // 42..48: green 135..165 with a little red
        {20, 135, 0}, {20, 140, 0}, {20, 145, 0}, {20, 150, 0}, {20, 155, 0}, {20, 160, 0},
        {20, 165, 0},
        // 49..52
        {40, 170, 0}, {60, 175, 0}, {70, 180, 0}, {80, 185, 0},
        // 53..58: green turns to red
        {90, 175, 0}, {100, 165, 0}, {110, 155, 0}, {120, 145, 0}, {130, 135, 0}, {140, 125, 0},
        // 59..60
        {150, 110, 0}, {155, 105, 0},
        // 61..69: red 160..200 over green 100
        {160, 100, 0}, {165, 100, 0}, {170, 100, 0}, {175, 100, 0}, {180, 100, 0},
        {185, 100, 0}, {190, 100, 0}, {195, 100, 0}, {200, 100, 0},
        // 70..72
        {205, 105, 0}, {210, 110, 0}, {215, 115, 0},
        // 73..78: towards yellow
        {210, 120, 0}, {200, 125, 0}, {190, 130, 0}, {180, 135, 0}, {170, 140, 0}, {160, 145, 0},
        // 79
        {150, 150, 0},
        // 80..88: yellow 155..195
        {155, 155, 0}, {160, 160, 0}, {165, 165, 0}, {170, 170, 0}, {175, 175, 0},
        {180, 180, 0}, {185, 185, 0}, {190, 190, 0}, {195, 195, 0},
        // 89..98: yellow 200..245 whitening
        {200, 200, 50}, {205, 205, 60}, {210, 210, 70}, {215, 215, 80}, {220, 220, 90},
        {225, 225, 100}, {230, 230, 110}, {235, 235, 120}, {240, 240, 130}, {245, 245, 140},
        // 99..106: grey 180..215
        {180, 180, 180}, {185, 185, 185}, {190, 190, 190}, {195, 195, 195}, {200, 200, 200},
        {205, 205, 205}, {210, 210, 210}, {215, 215, 215},
        // 107..118: red
        {160, 0, 0}, {160, 0, 0}, {160, 0, 0}, {160, 0, 0}, {160, 0, 0}, {160, 0, 0},
        {160, 0, 0}, {160, 0, 0}, {160, 0, 0}, {160, 0, 0}, {160, 0, 0}, {160, 0, 0},
        // 119..127: interface colours before scaling
        {0, 100, 0}, {80, 100, 0}, {40, 40, 40}, {80, 80, 80}, {120, 120, 120}, {0, 0, 90},
        {0, 0, 0}, {100, 0, 0}, {148, 0, 0},
    }};
    // clang-format on
    std::array<RgbColor, PaletteSize> table{};
    for (int i = 0; i < 128; ++i) table[i] = rows[i];
    for (int i = 128; i < PaletteSize; ++i) table[i] = {150, 0, 0};  // grid pixels
    return table;
}

// Every conversion to an integer truncates toward zero, then the component is limited.
int Component(double value) {
    const int n = static_cast<int>(value);
    return n > 255 ? 255 : n;
}

RgbColor Scaled(const RgbColor& base, double factor) {
    return {Component(factor * base.Red), Component(factor * base.Green), Component(factor * base.Blue)};
}

// A quarter turn over entries 0..118, π as the program has always written it.
double RampAngle(int index) { return index * 0.5 * 3.141592654 / 118; }

int SineRamp(int index) {
    const int s = static_cast<int>(255 * std::sin(RampAngle(index)));
    return Component(1.2 * s);
}

int CosineRamp(int index) {
    const int c = static_cast<int>(255 - 255 * std::cos(RampAngle(index)));
    return Component(1.2 * c);
}

}  // namespace

constinit const std::array<RgbColor, PaletteSize> BaseColorTable = MakeBaseColorTable();

const std::array<ColorTableMenuItem, ColorTableCount> ColorTableMenu = {{
    {"Norm &Hi", 80},
    {"Norm &Lo", 81},
    {"Gr&een", 82},
    {"&Grey", 83},
    {"&Rev Grey", 84},
    {"&Brown/Yellow", 85},
    {"Green/Bl&ue", 86},
    {"Green/&Yellow", 87},
    {"Blu&e", 88},
}};

RgbColor ColorTableEntry(int table, int index) {
    if (index < 0 || index >= ColorTableEntries) return {};
    const RgbColor& base = BaseColorTable[index];
    switch (table) {
    case 1: return base;
    case 2: return {0, Component(2.5 * index), 0};
    case 3: {
        const int grey = Component(2.5 * index);
        return {grey, grey, grey};
    }
    case 4: {
        const int grey = Component(1.8 * (118 - index));
        return {grey, grey, grey};
    }
    case 5: return {SineRamp(index), CosineRamp(index), 0};
    case 6: return {0, SineRamp(index), CosineRamp(index)};
    case 7: return {CosineRamp(index), SineRamp(index), 0};
    case 8: return {0, CosineRamp(index), SineRamp(index)};
    default: return Scaled(base, 1.5);
    }
}

RgbColor FixedColorEntry(int index) {
    // The factors are single-precision constants, multiplied in double: 120 x 1.8f is
    // 215.99999 and must give 215 (a float product would round up to 216).
    if (index >= FirstInterfaceColor && index < FirstGridColor)
        return Scaled(BaseColorTable[index], static_cast<double>(1.8f));
    if (index >= FirstGridColor && index < PaletteSize)
        return Scaled(BaseColorTable[index], static_cast<double>(0.85f));
    return {};
}

RgbColor PaletteColor(int table, int index) {
    return index < ColorTableEntries ? ColorTableEntry(table, index) : FixedColorEntry(index);
}

}  // namespace tidemar
