#pragma once
// Per-range transmit settings: frequency, absorption and pulse length for each of the
// 15 ranges. The row layout is the on-disk layout of .CFG files, so it is kept as
// four signed 32-bit numbers followed by reserved space.

#include <array>
#include <cstdint>

namespace tidemar {

struct UserConfigRow {
    int32_t RangeLabel = 0;   // metres of the row's range; carried along, never computed with
    int32_t Frequency = 0;    // kHz, 280..1100, multiple of 5
    int32_t Absorption = 0;   // 0.01 dB/m, 1..255
    int32_t PulseLength = 0;  // microseconds, 10..1000, multiple of 10
};

inline constexpr int UserConfigRowBytes = 256;
inline constexpr int UserConfigTableRows = 20;  // only rows 0..14 are used
inline constexpr int UserConfigUsedRows = 15;

using UserConfigTable = std::array<UserConfigRow, UserConfigTableRows>;

// The three tables that live side by side: the built-in defaults, the table in force
// (applied to the sonar and written to files) and the copy the editor works on.
struct UserConfigTables {
    UserConfigTable Default{};
    UserConfigTable Active{};
    UserConfigTable Working{};
};

// The built-in table, rows 0..14 filled, 15..19 zero.
UserConfigTable DefaultUserConfigTable();

// Rebuilds the default table and copies it into the active one (the working copy is
// left alone: it belongs to the editor).
void ResetUserConfig(UserConfigTables& tables);

// Rounding of typed or stored values to the unit's step, halves up.
int RoundFrequency(double kHz);     // nearest multiple of 5
int RoundPulseLength(double usec);  // nearest multiple of 10

inline constexpr int MinFrequency = 280;
inline constexpr int MaxFrequency = 1100;

}  // namespace tidemar
