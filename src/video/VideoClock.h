#pragma once
// The clock of a video made from a played file: which frames are due as the records'
// time stamps go by, at `fps` frames per second of video and `speed` seconds of recorded
// time per second of video.
//
// Frame k stands for the recorded moment t0 + k x speed / fps, t0 being the stamp of the
// first record played, and shows the picture with every record stamped up to that moment
// drawn: while pings come faster than frames, pings between two frames are drawn but not
// shown on their own; while they come slower, a frame repeats. The last frame is the one
// at or after the last record, so a video ends on the whole picture. A stamp earlier than
// the one before (a clock set back) moves nothing and time goes on from there, and a gap longer than MaxGapSeconds
// (recording paused, a damaged stamp) counts as MaxGapSeconds, so a video never fills up
// with a still picture. Whatever the file, the video lasts at least one second: a file of
// one record gives one second of that record.

#include <cstdint>
#include <optional>
#include <string>

namespace tidemar {

inline constexpr int MaxGapSeconds = 10;

// A record's stamp ("DD-MMM-YYYY", "HH:MM:SS", hundredths) in hundredths of a second
// since the start of the year 1; nothing when the texts are no date and time.
std::optional<int64_t> StampHundredths(const std::string& dateText, const std::string& timeText, int hundredths);

class VideoClock {
public:
    VideoClock(int fps, double speed) : fps_(fps), speed_(speed) {}

    // A record stamped `stamp` was drawn (nothing: no readable stamp, it stays with the
    // stamp before it).
    void Drawn(std::optional<int64_t> stamp);
    // The next record to be drawn is stamped `next`: the count of frames to write now, of
    // the picture as it stands, because their moment comes before that record.
    int64_t FramesDue(std::optional<int64_t> next);
    // No record is left: the count of frames still to write of the last picture.
    int64_t FramesToFinish() const;

    // Frames counted so far (those of FramesToFinish not included).
    int64_t Frames() const { return frames_; }
    // Recorded time drawn so far, in hundredths of a second (gaps shortened).
    int64_t RecordedHundredths() const { return recorded_; }

private:
    int64_t Advance(std::optional<int64_t> stamp) const;
    // How many frame moments lie before `recorded` hundredths of recorded time.
    int64_t FramesBefore(int64_t recorded) const;

    int fps_;
    double speed_;
    std::optional<int64_t> last_;
    int64_t recorded_ = 0;
    int64_t frames_ = 0;
};

}  // namespace tidemar
