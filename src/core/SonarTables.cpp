#include "core/SonarTables.h"

namespace tidemar {

const std::array<RangeRow, RangeCount> RangeTable = {{
    {1, "1 M", "3 FT", 0.02f},
    {2, "2 M", "6 FT", 0.04f},
    {3, "3 M", "9 FT", 0.06f},
    {4, "4 M", "12 FT", 0.08f},
    {5, "5 M", "15 FT", 0.1f},
    {10, "10 M", "30 FT", 0.2f},
    {20, "20 M", "60 FT", 0.4f},
    {30, "30 M", "90 FT", 0.6f},
    {40, "40 M", "120 FT", 0.8f},
    {50, "50 M", "150 FT", 1.0f},
    {60, "60 M", "180 FT", 1.2f},
    {80, "80 M", "240 FT", 1.6f},
    {100, "100 M", "300 FT", 2.0f},
    {150, "150 M", "450 FT", 3.0f},
    {200, "200 M", "600 FT", 4.0f},
}};

const std::array<SpeedRow, SpeedCount> SpeedTable = {{
    {"Slow", 1, 0.3f, 3},
    {"Med", 2, 0.6f, 3},
    {"Fast", 3, 0.9f, 3},
    {"Faster", 4, 1.2f, 6},
    {"Fastest", 8, 2.4f, 9},
}};

const std::array<const char*, 4> DisplayModeLabels = {"Sector", "Polar", "SS", "Profile"};
const std::array<const char*, 3> SSTrainLabels = {"Port", "Both", "Stbd"};
const std::array<const char*, 3> SampleWidthLabels = {"4 Bits", "8 Bits", "14 Bits"};
const std::array<const char*, 12> MonthAbbreviations = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                        "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

int RangeIndexOfMeters(int meters) {
    for (int i = 0; i < RangeCount; ++i)
        if (RangeTable[i].Meters == meters) return i;
    return -1;
}

}  // namespace tidemar
