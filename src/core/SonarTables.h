#pragma once
// Fixed tables of the sonar: ranges, scan speeds and the labels shown for them.

#include <array>

#include "core/Modes.h"

namespace tidemar {

inline constexpr int FeetUnits = 1;                // Units
inline constexpr double FeetPerMeter = 3.2808399;  // as the picture's ranges use it
inline constexpr double Pi = 3.141592654;          // the value every angle is computed with

struct RangeRow {
    int Meters;
    const char* Label;      // metric label
    const char* FeetLabel;  // nominal: the head always gets Meters
    float RangeScale;       // Meters / 50, as exact table values
};

inline constexpr int RangeCount = 15;
extern const std::array<RangeRow, RangeCount> RangeTable;

struct SpeedRow {
    const char* Label;
    int StepCode;           // command byte 13
    float StepAngle;        // degrees the head steps per ping
    int AutoProfileMargin;  // degrees added to the sector during an auto-profile scan
};

inline constexpr int SpeedCount = 5;
extern const std::array<SpeedRow, SpeedCount> SpeedTable;

extern const std::array<const char*, 4> DisplayModeLabels;  // by GridMode; "Profile" is unreachable
extern const std::array<const char*, 3> SSTrainLabels;      // by SSTrain
extern const std::array<const char*, 3> SampleWidthLabels;  // 4, 8, 16 bit data
extern const std::array<const char*, 12> MonthAbbreviations;

// Range index of a range in metres as the head reports it, or -1 when it is not a
// table range.
int RangeIndexOfMeters(int meters);

}  // namespace tidemar
