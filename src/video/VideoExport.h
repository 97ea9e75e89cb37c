#pragma once
// A data file played into an MP4 video: PlayedPicture plays it once from the start (or
// from a percent of the file) to its end (or to a percent), VideoClock says how many
// frames each record is due, and VideoEncoder writes them. Cancelling, a picture that
// cannot be played and an encoder or disk fault all end with nothing under the name asked
// for and nothing left beside it. tidemar-cli video and the window's export both run it;
// it touches only what it owns, so the window runs it on a worker thread.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "core/SonarState.h"

namespace tidemar {

inline constexpr int MaxVideoFps = 120;
inline constexpr int MinVideoSide = 16;
inline constexpr int MaxVideoSide = 4096;
inline constexpr double MinVideoSpeed = 0.01;
inline constexpr double MaxVideoSpeed = 10000.0;

struct VideoOptions {
    int Fps = 25;
    double Speed = 1.0;  // seconds of recorded time per second of video
    int FromPercent = 0;
    int ToPercent = 100;
    int Width = 0;  // 0: the picture's own size (with the strip, when there is one)
    int Height = 0;
    bool ClockStrip = false;  // the record's date and time in a strip under the picture
};

// What is wrong with the options, or empty when they are fine: the frame rate 1..120, the
// speed 0.01 to 10000, the percents 0..100 with from below to, the size even
// and 16..4096 on each side.
std::string CheckVideoOptions(const VideoOptions& options);

struct VideoProgress {
    int Percent = 0;            // of the stretch of the file played
    int64_t Frames = 0;         // written so far
    double SecondsLeft = -1.0;  // estimated; below 0 while unknown
};

struct VideoResult {
    bool Written = false;
    bool Cancelled = false;
    std::string Error;  // one line when neither
    int64_t Frames = 0;
    int64_t Pings = 0;               // records drawn
    int64_t RecordedHundredths = 0;  // recorded time the video covers
};

// Plays `dataPath` with `settings` into `outPath`. `progress` (may be empty) is called
// about every half second and at the end, on the calling thread; the export stops soon
// after `cancel` (may be null) turns true.
VideoResult ExportVideo(const SonarState& settings, const std::string& dataPath, const std::string& outPath,
                        const VideoOptions& options, const std::function<void(const VideoProgress&)>& progress,
                        const std::atomic<bool>* cancel);

}  // namespace tidemar
