#include "video/VideoClock.h"

#include <array>
#include <cctype>
#include <cmath>

namespace tidemar {

namespace {

bool ReadNumber(const std::string& text, size_t at, size_t digits, int& value) {
    if (at + digits > text.size()) return false;
    value = 0;
    for (size_t i = at; i < at + digits; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

int MonthOf(const std::string& text) {
    static constexpr std::array<const char*, 12> Months = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                           "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    if (text.size() < 6) return 0;
    for (int m = 0; m < 12; ++m) {
        bool same = true;
        for (int i = 0; i < 3; ++i)
            same = same && std::toupper(static_cast<unsigned char>(text[3 + static_cast<size_t>(i)])) == Months[m][i];
        if (same) return m + 1;
    }
    return 0;
}

// Days from 1 January of the year 1 in the proleptic Gregorian calendar.
int64_t DaysOf(int year, int month, int day) {
    const int y = month <= 2 ? year - 1 : year;
    const int era = y / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<int64_t>(era) * 146097 + doe;
}

}  // namespace

std::optional<int64_t> StampHundredths(const std::string& dateText, const std::string& timeText, int hundredths) {
    int day = 0, year = 0, hour = 0, minute = 0, second = 0;
    const int month = MonthOf(dateText);
    if (month == 0 || !ReadNumber(dateText, 0, 2, day) || !ReadNumber(dateText, 7, 4, year) ||
        !ReadNumber(timeText, 0, 2, hour) || !ReadNumber(timeText, 3, 2, minute) || !ReadNumber(timeText, 6, 2, second))
        return std::nullopt;
    if (day < 1 || day > 31 || year < 1 || hour > 23 || minute > 59 || second > 59 || hundredths < 0 || hundredths > 99)
        return std::nullopt;
    const int64_t seconds = DaysOf(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    return seconds * 100 + hundredths;
}

int64_t VideoClock::Advance(std::optional<int64_t> stamp) const {
    if (!stamp || !last_ || *stamp <= *last_) return 0;
    const int64_t step = *stamp - *last_;
    return step > MaxGapSeconds * 100 ? MaxGapSeconds * 100 : step;
}

int64_t VideoClock::FramesBefore(int64_t recorded) const {
    // Frame k's moment is k x speed / fps seconds after the first stamp.
    const double moments = static_cast<double>(recorded) * fps_ / (100.0 * speed_);
    return static_cast<int64_t>(std::ceil(moments - 1e-9));
}

void VideoClock::Drawn(std::optional<int64_t> stamp) {
    recorded_ += Advance(stamp);
    if (stamp) last_ = stamp;
}

int64_t VideoClock::FramesDue(std::optional<int64_t> next) {
    if (!last_) return 0;
    const int64_t due = FramesBefore(recorded_ + Advance(next));
    const int64_t count = due > frames_ ? due - frames_ : 0;
    frames_ += count;
    return count;
}

int64_t VideoClock::FramesToFinish() const {
    // Up to the first frame at or after the last record, so the last picture is shown whole.
    int64_t total = FramesBefore(recorded_) + 1;
    if (total < fps_) total = fps_;
    return total > frames_ ? total - frames_ : 0;
}

}  // namespace tidemar
