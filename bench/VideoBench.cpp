// Video encoding speed: a one-hour recording (the Polar test recording's pings over and
// over, 15 a second, restamped to span an hour) played into an MP4 at --speed 10 and at
// real time over its first minutes, 596 x 506, 25 frames/s. Prints frames/s and seconds
// of recording per second of work, and whether the hour at --speed 10 took under a minute.
// Usage: tidemar-bench-video [SECONDS-AT-REAL-TIME]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/SonarState.h"
#include "video/VideoExport.h"

using namespace tidemar;

namespace {

constexpr int PingsPerSecond = 15;
constexpr int HourSeconds = 3600;

bool WriteHour(const std::string& source, const std::string& target) {
    std::ifstream in(source, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::vector<char>> records;
    for (size_t at = 0; at + 100 <= bytes.size();) {
        const size_t size = (static_cast<uint8_t>(bytes[at + 4]) << 8) | static_cast<uint8_t>(bytes[at + 5]);
        if (size < 100 || at + size > bytes.size()) break;
        records.emplace_back(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + size));
        at += size;
    }
    if (records.empty()) return false;
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    for (int i = 0; i < HourSeconds * PingsPerSecond; ++i) {
        std::vector<char> r = records[static_cast<size_t>(i) % records.size()];
        const int hundredths = i * 100 / PingsPerSecond;
        const int s = hundredths / 100;
        char time[16];
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", 10 + s / 3600, s / 60 % 60, s % 60);
        std::copy(time, time + 8, r.begin() + 20);
        char fraction[8];
        std::snprintf(fraction, sizeof fraction, ".%02d", hundredths % 100);
        std::copy(fraction, fraction + 3, r.begin() + 29);
        out.write(r.data(), static_cast<std::streamsize>(r.size()));
    }
    return static_cast<bool>(out);
}

void Run(const char* legend, const std::string& file, const std::string& video, double speed, int toPercent) {
    SonarState state;
    state.RunMode = 1;
    VideoOptions options;
    options.Speed = speed;
    options.ToPercent = toPercent;
    const auto start = std::chrono::steady_clock::now();
    const VideoResult result = ExportVideo(state, file, video, options, {}, nullptr);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!result.Written) {
        std::printf("video %s: failed: %s\n", legend, result.Error.c_str());
        std::exit(1);
    }
    const double recorded = static_cast<double>(result.RecordedHundredths) / 100.0;
    std::printf("video %s: %lld frames of %lld pings (%.0f s recorded) in %.1f s = %.0f frames/s, %.0f recorded s/s\n",
                legend, static_cast<long long>(result.Frames), static_cast<long long>(result.Pings), recorded, seconds,
                static_cast<double>(result.Frames) / seconds, recorded / seconds);
    if (speed == 10.0 && toPercent == 100)
        std::printf("video: a one-hour recording at --speed 10 %s in under a minute (%.1f s)\n",
                    seconds < 60.0 ? "encodes" : "does NOT encode", seconds);
}

}  // namespace

int main(int argc, char** argv) {
    const int realTimeSeconds = argc > 1 ? std::atoi(argv[1]) : 120;
    const auto dir = std::filesystem::temp_directory_path() / "tidemar-bench-video";
    std::filesystem::create_directories(dir);
    const std::string hour = (dir / "hour.K7T").string();
    if (!WriteHour(TIDEMAR_TEST_DATA "/render/polar.K7T", hour)) {
        std::printf("video: cannot build the one-hour recording\n");
        return 1;
    }
    Run("one hour at --speed 10", hour, (dir / "hour-x10.mp4").string(), 10.0, 100);
    // The first minutes at real time: every ping its own frames, no skipping.
    const int percent = std::max(1, std::min(100, realTimeSeconds * 100 / HourSeconds));
    Run("real time (first part)", hour, (dir / "hour-x1.mp4").string(), 1.0, percent);
    std::filesystem::remove_all(dir);
    return 0;
}
