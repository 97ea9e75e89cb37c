#pragma once
// The two clocks a ping reads: the local calendar time (for the time stamp texts) and a
// monotonic millisecond tick (for the reply interval). Behind an interface so that tests,
// and whole-program runs that replay a session, can set the time exactly.

#include <cstdint>

namespace tidemar {

// Local broken-down time, calendar numbering (Month 1..12, Day 1..31).
struct LocalTime {
    int Year = 2000;
    int Month = 1;
    int Day = 1;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;  // of the current second, 0..999
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
    // Milliseconds from an arbitrary start; never goes backwards.
    virtual int64_t TickMilliseconds() const = 0;
};

// The machine's clocks: the real-time clock converted with the local time zone, and the
// monotonic clock for the tick.
class SystemClock final : public Clock {
public:
    LocalTime Now() const override;
    int64_t TickMilliseconds() const override;
};

// A clock that says what it is told; for tests and scripted runs.
class ManualClock final : public Clock {
public:
    LocalTime Time;
    int64_t Tick = 0;

    LocalTime Now() const override { return Time; }
    int64_t TickMilliseconds() const override { return Tick; }

    // Moves both clocks on by a non-negative span; the calendar time carries into minutes, hours and
    // days (months are taken as 31 days, enough for the short spans tests cover).
    void Advance(int64_t milliseconds);
};

}  // namespace tidemar
