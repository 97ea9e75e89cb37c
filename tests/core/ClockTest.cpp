// The test clock's carries and the system clock's agreement with the C library.
#include <gtest/gtest.h>

#include <ctime>
#include <time.h>

#include "core/Clock.h"

namespace tidemar {
namespace {

TEST(ManualClock, AdvanceCarriesThroughTheCalendar) {
    ManualClock clock;
    clock.Time = {2023, 12, 31, 23, 59, 59, 990};
    clock.Tick = 5000;
    clock.Advance(20);
    EXPECT_EQ(clock.TickMilliseconds(), 5020);
    const LocalTime t = clock.Now();
    EXPECT_EQ(t.Year, 2024);
    EXPECT_EQ(t.Month, 1);
    EXPECT_EQ(t.Day, 1);
    EXPECT_EQ(t.Hour, 0);
    EXPECT_EQ(t.Minute, 0);
    EXPECT_EQ(t.Second, 0);
    EXPECT_EQ(t.Millisecond, 10);

    clock.Advance(61 * 60 * 1000 + 1500);  // one hour, one minute and a half second
    EXPECT_EQ(clock.Now().Hour, 1);
    EXPECT_EQ(clock.Now().Minute, 1);
    EXPECT_EQ(clock.Now().Second, 1);
    EXPECT_EQ(clock.Now().Millisecond, 510);
}

TEST(SystemClock, AgreesWithLocalTime) {
    SystemClock clock;
    // std::time() may read a coarser clock that lags the precise one by a tick, so the
    // bounds are read from the same clock the system clock uses.
    auto seconds = [] {
        timespec t{};
        clock_gettime(CLOCK_REALTIME, &t);
        return static_cast<std::time_t>(t.tv_sec);
    };
    const std::time_t before = seconds();
    const LocalTime now = clock.Now();
    const std::time_t after = seconds();
    std::tm lo{}, hi{};
    localtime_r(&before, &lo);
    localtime_r(&after, &hi);
    EXPECT_GE(now.Year, lo.tm_year + 1900);
    EXPECT_LE(now.Year, hi.tm_year + 1900);
    if (before == after) {
        EXPECT_EQ(now.Month, lo.tm_mon + 1);
        EXPECT_EQ(now.Day, lo.tm_mday);
        EXPECT_EQ(now.Hour, lo.tm_hour);
        EXPECT_EQ(now.Minute, lo.tm_min);
        EXPECT_EQ(now.Second, lo.tm_sec);
    }
    EXPECT_GE(now.Millisecond, 0);
    EXPECT_LE(now.Millisecond, 999);

    const int64_t first = clock.TickMilliseconds();
    const int64_t second = clock.TickMilliseconds();
    EXPECT_GE(second, first);
}

}  // namespace
}  // namespace tidemar
