#pragma once
// H.264 in an MP4 file from palette pictures, through FFmpeg's libraries (libx264 behind
// libavcodec). The file is written under a temporary name beside the one asked for and
// renamed into place by Finish(), so a video that is cancelled or fails is never left
// half-written under its name: Abandon() and the destructor remove the temporary file.
//
// Colours: each palette index goes through the colour table to RGB, then to 4:2:0 YUV in
// BT.601 limited range, as the stream is tagged, so players show the table's colours.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace tidemar {

struct VideoFormat {
    int PictureWidth = 0;  // the palette pictures handed in
    int PictureHeight = 0;
    int Width = 0;  // the video, scaled from the picture; even sizes only
    int Height = 0;
    int Fps = 25;
};

class VideoEncoder {
public:
    VideoEncoder();
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // The temporary file Open() writes before Finish() renames it to `path`.
    static std::string TemporaryName(const std::string& path);

    // Creates the temporary file and sets the encoder up; false with the reason.
    bool Open(const std::string& path, const VideoFormat& format, std::string* reason);
    // Adds `count` frames of one picture (width x height palette indexes, top row first,
    // colours as in a BMP colour table: blue, green, red, 0). A long run of repeats stops
    // early, false with the reason "stopped", once `stop` (may be null) turns true.
    bool AddFrames(const uint8_t* pixels, const std::array<uint8_t, 1024>& colorTable, int64_t count,
                   std::string* reason, const std::atomic<bool>* stop = nullptr);
    // Drains the encoder, closes the file and renames it into place; false with the reason
    // (nothing is left under either name).
    bool Finish(std::string* reason);
    // Stops and removes the temporary file.
    void Abandon();

    int64_t FramesWritten() const;

private:
    struct Codec;
    std::unique_ptr<Codec> codec_;
};

}  // namespace tidemar
