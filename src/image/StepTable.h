#pragma once
// How wide a ping's wedge is and how its sub-lines blend the last three pings, per speed
// setting, and the unit vectors of those sub-lines for one ping.

#include <array>
#include <cstdint>
#include <span>

#include "core/SonarState.h"

namespace tidemar {

// Weights of the oldest, middle and newest ping for one sub-line; every row sums to 200.
struct WeightRow {
    uint8_t Oldest = 0;
    uint8_t Middle = 0;
    uint8_t Newest = 0;
    friend bool operator==(const WeightRow&, const WeightRow&) = default;
};

struct WeightTableSet {
    std::array<WeightRow, 7> W7;
    std::array<WeightRow, 11> W11;
    std::array<WeightRow, 21> W21;
    std::array<WeightRow, 41> W41;
};

// Built once, at compile time.
const WeightTableSet& WeightTables();

// trunc(0.005 x sum), the blend of three pings with one weight row, for any sum the
// weights and byte samples can make (0 .. 200 x 255): sum / 8 / 25 with the division by
// 25 as a multiply and a shift, which is exact over that range.
inline constexpr int MaxWeightedSum = 200 * 255;
constexpr int TruncatedBlend(int sum) { return ((sum >> 3) * 5243) >> 17; }

inline constexpr int MaxSubLines = 41;
inline constexpr double ScanPi = 3.141592654;
inline constexpr int DisplaySpeedCount = 5;  // "Slow" .. "Fastest"

// One row of StepTable together with the fan of vectors it draws from.
struct StepSetting {
    int SubLines = 0;                    // n: sub-lines drawn per sample (fewer near the apex)
    int StepUnits = 0;                   // head step between pings, in units of pi/600
    int FirstVector = 0;                 // sub-line j uses vector FirstVector + j
    std::span<const WeightRow> Weights;  // row j for sub-line j, SubLines rows
    int VectorCount = 0;                 // vectors in the fan (21 or 41)
    double EdgeOffset = 0;               // a: angle from the wedge centre to the first vector
    double Spacing = 0;                  // s: angle between neighbouring vectors
};

// The row for a DisplaySpeed, held to 0..4 (a played file can carry anything).
StepSetting SelectStepSetting(int displaySpeed, bool polar);

// Unit vectors (x, y) of one ping's sub-lines, in image axes (y grows downwards).
struct SubLineVectors {
    std::array<float, MaxSubLines> X{};
    std::array<float, MaxSubLines> Y{};
    int Count = 0;
};

// The fan is centred on the previous ping's angle (HeadAngleRad minus or plus one head
// step, by DrawDirection), which is the middle ping of the history; with SectorSize 0 the
// head is not stepping and the fan is centred on HeadAngleRad itself. Angles are run in
// single precision, each sub-line one spacing on from the last. ProfileGrid 1 with
// ZeroDown 0 turns the picture upside down.
SubLineVectors BuildSubLineVectors(const SonarState& state, const StepSetting& setting);

bool PolarDisplay(const SonarState& state);
bool ApexUp(const SonarState& state);

}  // namespace tidemar
