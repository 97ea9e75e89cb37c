#include "core/UserConfigTable.h"

namespace tidemar {

UserConfigTable DefaultUserConfigTable() {
    // range label, frequency (kHz), absorption (0.01 dB/m), pulse length (us)
    static constexpr int rows[UserConfigUsedRows][4] = {
        {1, 1000, 60, 10},  {2, 1000, 60, 10},  {3, 1000, 60, 10},   {4, 1000, 60, 10},   {5, 1000, 60, 30},
        {10, 675, 20, 30},  {20, 675, 20, 50},  {30, 675, 20, 80},   {40, 675, 20, 110},  {50, 675, 20, 130},
        {60, 675, 20, 160}, {80, 675, 20, 210}, {100, 675, 20, 270}, {150, 310, 10, 400}, {200, 310, 10, 530},
    };
    UserConfigTable table{};
    for (int r = 0; r < UserConfigUsedRows; ++r) table[r] = {rows[r][0], rows[r][1], rows[r][2], rows[r][3]};
    return table;
}

void ResetUserConfig(UserConfigTables& tables) {
    tables.Default = DefaultUserConfigTable();
    for (int r = 0; r < UserConfigUsedRows; ++r) tables.Active[r] = tables.Default[r];
}

int RoundFrequency(double kHz) { return static_cast<int>(kHz * 0.2 + 0.5) * 5; }

int RoundPulseLength(double usec) { return static_cast<int>(usec * 0.1 + 0.5) * 10; }

}  // namespace tidemar
