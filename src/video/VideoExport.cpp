#include "video/VideoExport.h"

#include <sys/stat.h>

#include <chrono>
#include <cstring>
#include <filesystem>

#include "image/SonarImage.h"
#include "video/ClockStrip.h"
#include "video/PlayedPicture.h"
#include "video/VideoClock.h"
#include "video/VideoEncoder.h"

namespace tidemar {

namespace {

constexpr auto ProgressInterval = std::chrono::milliseconds(500);

// Renaming onto a device or a pipe would replace it with a plain file: only a regular
// file, or nothing, may be there.
bool PlainFileOrNothing(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode);
}

}  // namespace

std::string CheckVideoOptions(const VideoOptions& o) {
    if (o.Fps < 1 || o.Fps > MaxVideoFps) return "the frame rate must be 1 to 120";
    // Slower than a hundredth of real time, one record's 10 s gap would be tens of thousands
    // of frames, and the frame count soon more than a 64-bit number holds.
    if (!(o.Speed >= MinVideoSpeed) || o.Speed > MaxVideoSpeed) return "the speed must be 0.01 to 10000";
    if (o.FromPercent < 0 || o.ToPercent > 100 || o.FromPercent >= o.ToPercent)
        return "the stretch must be from 0..99 to 1..100 percent, from below to";
    const bool ownSize = o.Width == 0 && o.Height == 0;
    if (!ownSize && (o.Width % 2 || o.Height % 2 || o.Width < MinVideoSide || o.Height < MinVideoSide ||
                     o.Width > MaxVideoSide || o.Height > MaxVideoSide))
        return "the video size must be even, 16 to 4096 on each side";
    return {};
}

VideoResult ExportVideo(const SonarState& settings, const std::string& dataPath, const std::string& outPath,
                        const VideoOptions& options, const std::function<void(const VideoProgress&)>& progress,
                        const std::atomic<bool>* cancel) {
    VideoResult result;
    result.Error = CheckVideoOptions(options);
    if (!result.Error.empty()) return result;
    if (!PlainFileOrNothing(outPath)) {
        result.Error = outPath + ": not a plain file";
        return result;
    }
    std::error_code unknown;
    if (std::filesystem::equivalent(dataPath, outPath, unknown)) {
        result.Error = outPath + ": is the data file played; the video would replace it";
        return result;
    }

    PlayedPicture played(settings);
    if (!played.Start(dataPath)) {
        result.Error = dataPath + ": " + (played.Messages().empty() ? "cannot be played" : played.Messages().back());
        return result;
    }
    if (options.FromPercent > 0) played.SeekToPercent(options.FromPercent);

    VideoFormat format;
    format.PictureWidth = ImageWidth;
    format.PictureHeight = ImageHeight + (options.ClockStrip ? ClockStripHeight : 0);
    format.Width = options.Width ? options.Width : format.PictureWidth;
    format.Height = options.Height ? options.Height : format.PictureHeight;
    format.Fps = options.Fps;
    VideoEncoder encoder;
    if (!encoder.Open(outPath, format, &result.Error)) return result;

    VideoClock clock(options.Fps, options.Speed);
    const auto started = std::chrono::steady_clock::now();
    auto lastReport = started;
    auto report = [&](int percent, int64_t frames) {
        if (!progress) return;
        VideoProgress p;
        p.Percent = percent;
        p.Frames = frames;
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (percent > 0 && percent < 100) p.SecondsLeft = elapsed * (100 - percent) / percent;
        if (percent >= 100) p.SecondsLeft = 0.0;
        progress(p);
    };

    // Records that start before the end of the stretch are played.
    const int64_t length = played.FileLength();
    const int64_t end = options.ToPercent >= 100 ? length : length * options.ToPercent / 100;
    const int64_t start = played.PeekNext() ? played.PeekNext()->Offset : 0;
    // With the strip, each frame is the picture and under it the stamp of the record drawn last.
    std::vector<uint8_t> framed;
    std::string stripText;
    uint8_t ink = 0, ground = 0;
    if (options.ClockStrip) {
        framed.resize(static_cast<size_t>(format.PictureWidth) * static_cast<size_t>(format.PictureHeight));
        ink = NearestTableEntry(played.ColorTable(), 255, 255, 255);
        ground = NearestTableEntry(played.ColorTable(), 0, 0, 0);
        DrawClockStrip(framed.data() + ImageWidth * ImageHeight, ImageWidth, stripText, ink, ground);
    }
    auto frame = [&]() -> const uint8_t* {
        if (!options.ClockStrip) return played.Pixels();
        std::memcpy(framed.data(), played.Pixels(), static_cast<size_t>(ImageWidth) * ImageHeight);
        if (played.State().TimestampText != stripText) {
            stripText = played.State().TimestampText;
            DrawClockStrip(framed.data() + ImageWidth * ImageHeight, ImageWidth, stripText, ink, ground);
        }
        return framed.data();
    };
    auto write = [&](int64_t count) {
        if (count <= 0) return true;
        if (encoder.AddFrames(frame(), played.ColorTable(), count, &result.Error, cancel)) return true;
        encoder.Abandon();
        if (cancel && cancel->load()) {
            result.Cancelled = true;
            result.Error.clear();
        }
        return false;
    };
    for (std::optional<PlayedPicture::NextRecord> next = played.PeekNext(); next && next->Offset < end;) {
        if (cancel && cancel->load()) {
            encoder.Abandon();
            result.Cancelled = true;
            return result;
        }
        const SourceStep step = played.Step();
        if (step.Rewound) break;
        if (step.Dispatched) ++result.Pings;
        clock.Drawn(next->Stamp);
        next = played.PeekNext();
        if (!next || next->Offset >= end) break;
        if (!write(clock.FramesDue(next->Stamp))) return result;
        const auto now = std::chrono::steady_clock::now();
        if (now - lastReport >= ProgressInterval && end > start) {
            lastReport = now;
            report(static_cast<int>((next->Offset - start) * 100 / (end - start)), encoder.FramesWritten());
        }
    }
    if (!write(clock.FramesToFinish())) return result;
    const int64_t frames = encoder.FramesWritten();
    if (!encoder.Finish(&result.Error)) return result;
    result.Written = true;
    result.Frames = frames;
    result.RecordedHundredths = clock.RecordedHundredths();
    report(100, frames);
    return result;
}

}  // namespace tidemar
