// The frames a video gets from the records' time stamps, and the stamps read from a
// record's texts.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "video/VideoClock.h"

namespace tidemar {
namespace {

TEST(VideoClock, StampsOfRecordTexts) {
    struct Case {
        const char* Legend;
        const char* Date;
        const char* Time;
        int Hundredths;
        std::optional<int64_t> Minus;  // hundredths after 08-DEC-2026 00:00:00.00
    };
    const Case cases[] = {
        {"midnight", "08-DEC-2026", "00:00:00", 0, 0},
        {"time and hundredths", "08-DEC-2026", "09:05:55", 48, (9 * 3600 + 5 * 60 + 55) * 100 + 48},
        {"month in small letters", "08-dec-2026", "00:00:01", 0, 100},
        {"next day", "09-DEC-2026", "00:00:00", 0, 86400 * 100},
        {"across a year's end", "01-JAN-2027", "00:00:00", 0, 24 * 86400 * 100},
        {"across February of a leap year", "01-MAR-2028", "00:00:00", 0, (24 + 365 + 31 + 29) * 86400LL * 100},
        {"unknown month", "08-XYZ-2026", "00:00:00", 0, std::nullopt},
        {"hour out of range", "08-DEC-2026", "24:00:00", 0, std::nullopt},
        {"empty texts", "", "", 0, std::nullopt},
        {"hundredths out of range", "08-DEC-2026", "00:00:00", 100, std::nullopt},
    };
    const int64_t base = *StampHundredths("08-DEC-2026", "00:00:00", 0);
    for (const Case& c : cases) {
        const std::optional<int64_t> got = StampHundredths(c.Date, c.Time, c.Hundredths);
        ASSERT_EQ(got.has_value(), c.Minus.has_value()) << c.Legend;
        if (got) {
            EXPECT_EQ(*got - base, *c.Minus) << c.Legend;
        }
    }
}

// Plays stamps (hundredths; -1: no readable stamp) through a clock: the frames written
// after each record, then those that finish the video.
std::vector<int64_t> Play(int fps, double speed, const std::vector<int64_t>& stamps) {
    VideoClock clock(fps, speed);
    std::vector<int64_t> frames;
    auto stamp = [](int64_t s) { return s < 0 ? std::nullopt : std::optional<int64_t>(s); };
    for (size_t i = 0; i < stamps.size(); ++i) {
        clock.Drawn(stamp(stamps[i]));
        if (i + 1 < stamps.size()) frames.push_back(clock.FramesDue(stamp(stamps[i + 1])));
    }
    frames.push_back(clock.FramesToFinish());
    return frames;
}

TEST(VideoClock, FramesFollowTheStamps) {
    struct Case {
        const char* Legend;
        int Fps;
        double Speed;
        std::vector<int64_t> Stamps;
        std::vector<int64_t> Frames;
    };
    const Case cases[] = {
        {"one record is one second of it", 25, 1.0, {500}, {25}},
        {"one record at any speed", 10, 8.0, {500}, {10}},
        {"pings 0.2 s apart at 10 frames/s: two frames each", 10, 1.0, {0, 20, 40, 60, 80, 100}, {2, 2, 2, 2, 2, 1}},
        {"the last frame shows the last ping", 10, 1.0, {0, 115}, {12, 1}},
        {"pings faster than frames go by unseen", 4, 1.0, {0, 10, 20, 30, 40, 50, 60, 70}, {1, 0, 1, 0, 0, 1, 0, 1}},
        {"speed 4 makes a quarter of the frames", 10, 4.0, {0, 100, 200, 300, 400}, {3, 2, 3, 2, 1}},
        {"a stamp before the one before moves nothing", 10, 1.0, {0, 50, 30, 80}, {5, 0, 5, 1}},
        {"a pause over 10 s counts 10 s", 1, 1.0, {0, 100000, 100100}, {10, 1, 1}},
        {"records without a stamp stay with the last", 10, 1.0, {0, -1, 50, -1, 100}, {0, 5, 0, 5, 1}},
        {"half speed repeats frames", 2, 0.5, {0, 100}, {4, 1}},
    };
    for (const Case& c : cases) EXPECT_EQ(Play(c.Fps, c.Speed, c.Stamps), c.Frames) << c.Legend;
}

}  // namespace
}  // namespace tidemar
