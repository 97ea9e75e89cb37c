#include "core/TimeStamp.h"

#include <cstdio>

#include "core/SonarTables.h"

namespace tidemar {

bool StampTime(SonarState& state, const Clock& clock) {
    const LocalTime now = clock.Now();
    state.Hundredths = now.Millisecond / 10;
    state.ClockSecond = now.Second;

    const bool secondChanged = now.Second != state.TextSecond;
    if (secondChanged) {
        state.TextSecond = now.Second;
        // A clock that hands out a month outside 1..12 still gets a readable name.
        const int monthIndex = now.Month < 1 ? 0 : (now.Month > 12 ? 11 : now.Month - 1);
        char date[32];
        std::snprintf(date, sizeof date, "%02d-%s-%04d", now.Day, MonthAbbreviations[monthIndex], now.Year);
        char time[32];
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", now.Hour, now.Minute, now.Second);
        state.DateText = date;
        state.TimeText = time;
        state.DateTimeText = state.DateText + "  " + state.TimeText;
    }

    char hundredths[16];
    std::snprintf(hundredths, sizeof hundredths, ".%02d", state.Hundredths);
    state.TimestampText = state.DateTimeText + hundredths;
    return secondChanged;
}

}  // namespace tidemar
