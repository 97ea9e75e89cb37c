#include "core/Clock.h"

#include <chrono>
#include <ctime>

namespace tidemar {

LocalTime SystemClock::Now() const {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm broken{};
    localtime_r(&now.tv_sec, &broken);
    LocalTime t;
    t.Year = broken.tm_year + 1900;
    t.Month = broken.tm_mon + 1;
    t.Day = broken.tm_mday;
    t.Hour = broken.tm_hour;
    t.Minute = broken.tm_min;
    t.Second = broken.tm_sec;
    t.Millisecond = static_cast<int>(now.tv_nsec / 1000000);
    return t;
}

int64_t SystemClock::TickMilliseconds() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void ManualClock::Advance(int64_t milliseconds) {
    Tick += milliseconds;
    int64_t ms = Time.Millisecond + milliseconds;
    int64_t seconds = Time.Second + ms / 1000;
    Time.Millisecond = static_cast<int>(ms % 1000);
    int64_t minutes = Time.Minute + seconds / 60;
    Time.Second = static_cast<int>(seconds % 60);
    int64_t hours = Time.Hour + minutes / 60;
    Time.Minute = static_cast<int>(minutes % 60);
    int64_t days = Time.Day - 1 + hours / 24;
    Time.Hour = static_cast<int>(hours % 24);
    int64_t months = Time.Month - 1 + days / 31;
    Time.Day = static_cast<int>(days % 31) + 1;
    Time.Year += static_cast<int>(months / 12);
    Time.Month = static_cast<int>(months % 12) + 1;
}

}  // namespace tidemar
