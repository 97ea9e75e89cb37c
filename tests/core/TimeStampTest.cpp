// The clock texts of a ping: formats, month names, hundredths, and rebuilding only when
// the second moves on.
#include <gtest/gtest.h>

#include <string>

#include "core/TimeStamp.h"

namespace tidemar {
namespace {

TEST(StampTime, FirstReadingBuildsEveryText) {
    SonarState state;
    ManualClock clock;
    clock.Time = {2024, 3, 7, 9, 5, 3, 456};
    EXPECT_TRUE(StampTime(state, clock));
    EXPECT_EQ(state.DateText, "07-MAR-2024");
    EXPECT_EQ(state.TimeText, "09:05:03");
    EXPECT_EQ(state.DateTimeText, "07-MAR-2024  09:05:03");
    EXPECT_EQ(state.TimestampText, "07-MAR-2024  09:05:03.45");
    EXPECT_EQ(state.Hundredths, 45);
    EXPECT_EQ(state.ClockSecond, 3);
    EXPECT_EQ(state.TextSecond, 3);
}

TEST(StampTime, WithinASecondOnlyTheHundredthsMove) {
    SonarState state;
    ManualClock clock;
    clock.Time = {2024, 3, 7, 9, 5, 3, 0};
    ASSERT_TRUE(StampTime(state, clock));
    EXPECT_EQ(state.TimestampText, "07-MAR-2024  09:05:03.00");

    clock.Advance(994);
    EXPECT_FALSE(StampTime(state, clock));
    EXPECT_EQ(state.TimestampText, "07-MAR-2024  09:05:03.99");
    EXPECT_EQ(state.Hundredths, 99);

    // The texts are rebuilt only when the seconds field changes, so a clock that was
    // set back by exactly one minute keeps the old minute until the next second.
    clock.Time.Minute = 4;
    clock.Time.Millisecond = 120;
    EXPECT_FALSE(StampTime(state, clock));
    EXPECT_EQ(state.TimestampText, "07-MAR-2024  09:05:03.12");
}

TEST(StampTime, NewSecondRebuildsDateAndTime) {
    SonarState state;
    ManualClock clock;
    clock.Time = {2023, 12, 31, 23, 59, 59, 995};
    ASSERT_TRUE(StampTime(state, clock));
    EXPECT_EQ(state.TimestampText, "31-DEC-2023  23:59:59.99");

    clock.Time = {2024, 1, 1, 0, 0, 0, 7};
    EXPECT_TRUE(StampTime(state, clock));
    EXPECT_EQ(state.DateTimeText, "01-JAN-2024  00:00:00");
    EXPECT_EQ(state.TimestampText, "01-JAN-2024  00:00:00.00");
    EXPECT_EQ(state.ClockSecond, 0);
    EXPECT_EQ(state.TextSecond, 0);
}

TEST(StampTime, MonthNames) {
    const char* names[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    for (int month = 1; month <= 12; ++month) {
        SonarState state;
        ManualClock clock;
        clock.Time = {1999, month, 28, 12, 0, 0, 0};
        StampTime(state, clock);
        EXPECT_EQ(state.DateText, std::string("28-") + names[month - 1] + "-1999");
    }
}

TEST(StampTime, HundredthsTruncate) {
    struct Case {
        int millisecond;
        const char* tail;
    } cases[] = {{0, ".00"}, {9, ".00"}, {10, ".01"}, {509, ".50"}, {999, ".99"}};
    for (const auto& c : cases) {
        SonarState state;
        ManualClock clock;
        clock.Time = {2024, 6, 1, 1, 2, 3, c.millisecond};
        StampTime(state, clock);
        EXPECT_EQ(state.TimestampText, std::string("01-JUN-2024  01:02:03") + c.tail) << c.millisecond << " ms";
    }
}

TEST(StampTime, NarrowFieldsArePadded) {
    SonarState state;
    ManualClock clock;
    clock.Time = {987, 2, 3, 4, 5, 6, 70};
    StampTime(state, clock);
    EXPECT_EQ(state.TimestampText, "03-FEB-0987  04:05:06.07");
}

}  // namespace
}  // namespace tidemar
