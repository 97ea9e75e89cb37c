#include "image/StepTable.h"

#include <algorithm>
#include <cmath>

#include "core/Modes.h"

namespace tidemar {

namespace {

constexpr WeightRow Row(int oldest, int middle, int newest) {
    return {static_cast<uint8_t>(oldest), static_cast<uint8_t>(middle), static_cast<uint8_t>(newest)};
}

constexpr std::array<WeightRow, 11> MakeW11() {
    std::array<WeightRow, 11> rows{};
    for (int r = 0; r < 11; ++r) rows[r] = Row(75 - 5 * r, 100, 25 + 5 * r);
    return rows;
}

constexpr std::array<WeightRow, 41> MakeW41() {
    std::array<WeightRow, 41> rows{};
    int r = 0;
    for (int k = 0; k < 5; ++k) rows[r++] = Row(100, 100, 0);
    for (int old = 95; old >= 40; old -= 5) rows[r++] = Row(old, 200 - old, 0);
    for (int old = 35; old >= 0; old -= 5) rows[r++] = Row(old, 160, 40 - old);
    for (int mid = 155; mid >= 105; mid -= 5) rows[r++] = Row(0, mid, 200 - mid);
    for (int k = 0; k < 5; ++k) rows[r++] = Row(0, 100, 100);
    return rows;
}

constexpr WeightTableSet Tables{
    {Row(65, 100, 35), Row(60, 100, 40), Row(55, 100, 45), Row(50, 100, 50), Row(45, 100, 55), Row(40, 100, 60),
     Row(35, 100, 65)},
    MakeW11(),
    {Row(100, 100, 0), Row(100, 100, 0), Row(100, 100, 0), Row(90, 110, 0),  Row(80, 120, 0),  Row(70, 130, 0),
     Row(60, 140, 0),  Row(50, 150, 0),  Row(40, 160, 0),  Row(30, 160, 10), Row(20, 160, 20), Row(10, 160, 30),
     Row(0, 160, 40),  Row(0, 150, 50),  Row(0, 140, 60),  Row(0, 130, 70),  Row(0, 120, 80),  Row(0, 110, 90),
     Row(0, 100, 100), Row(0, 100, 100), Row(0, 100, 100)},
    MakeW41(),
};

// The fans: 21 vectors about 0.06 degrees apart for speeds 0..3, wider for speed 4.
constexpr double NarrowOffset = 0.010471975;
constexpr double NarrowSpacing = 0.000997331;
constexpr double WideOffset = 0.02094395;
constexpr double WideSectorSpacing = 0.001021656;
constexpr double WidePolarSpacing = 0.001994662;

}  // namespace

const WeightTableSet& WeightTables() { return Tables; }

bool PolarDisplay(const SonarState& state) { return state.GridMode == DisplayMode::Polar; }

bool ApexUp(const SonarState& state) { return state.ProfileGrid == 1 && state.ZeroDown == 0; }

StepSetting SelectStepSetting(int displaySpeed, bool polar) {
    const std::span<const WeightRow> w21(Tables.W21);
    switch (std::clamp(displaySpeed, 0, DisplaySpeedCount - 1)) {
    case 0: return {7, 1, 7, Tables.W7, 21, NarrowOffset, NarrowSpacing};
    case 1: return {11, 2, 5, Tables.W11, 21, NarrowOffset, NarrowSpacing};
    case 2: return {17, 3, 2, w21.subspan(2, 17), 21, NarrowOffset, NarrowSpacing};
    case 3: return {21, 4, 0, w21, 21, NarrowOffset, NarrowSpacing};
    default:
        if (polar) return {21, 8, 0, w21, 21, WideOffset, WidePolarSpacing};
        return {41, 8, 0, Tables.W41, 41, WideOffset, WideSectorSpacing};
    }
}

SubLineVectors BuildSubLineVectors(const SonarState& state, const StepSetting& setting) {
    const double delta = state.SectorSize == 0 ? 0.0 : setting.StepUnits * ScanPi / 600.0;
    const double theta = state.HeadAngleRad;
    const bool forward = state.DrawDirection == 1;
    const double step = forward ? setting.Spacing : -setting.Spacing;
    const float flip = ApexUp(state) ? -1.0f : 1.0f;

    SubLineVectors v;
    v.Count = setting.VectorCount;
    float angle = static_cast<float>(forward ? theta - setting.EdgeOffset - delta : theta + setting.EdgeOffset + delta);
    for (int k = 0; k < v.Count; ++k) {
        v.X[k] = static_cast<float>(std::sin(static_cast<double>(angle)));
        v.Y[k] = flip * static_cast<float>(-std::cos(static_cast<double>(angle)));
        angle = static_cast<float>(angle + step);
    }
    return v;
}

}  // namespace tidemar
