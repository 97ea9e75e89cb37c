// tidemar-cli video: plays a data file through the program's playback, dispatch and image
// code into an H.264 MP4 video of the sonar picture.
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "CliOptions.h"
#include "video/VideoExport.h"

namespace tidemar::cli {

namespace {

const char* const VideoHelp =
    "Usage: tidemar-cli video DATA.K7T --out FILE.mp4 [--settings FILE] [--fps N] [--speed X]\n"
    "                         [--from PERCENT] [--to PERCENT] [--size WxH] [--clock]\n"
    "\n"
    "Plays DATA.K7T as the program does in playback right after start-up (settings from\n"
    "FILE, default ./TIDEMAR.INI), once from the first record to the end of the file, and\n"
    "writes the sonar picture as H.264 video in an MP4 file.\n"
    "\n"
    "  --fps N          frames per second of video, 1..120 (default 25)\n"
    "  --speed X        seconds of recorded time per second of video, 0.01..10000, from\n"
    "                   the records' time stamps (default 1: real time); frames repeat or\n"
    "                   pings go by unseen as the clock requires; pauses over 10 s count\n"
    "                   as 10 s\n"
    "  --from PERCENT   start at this point of the file (default 0)\n"
    "  --to PERCENT     end at this point of the file (default 100)\n"
    "  --size WxH       scale to this size, even numbers (default 596x506, 596x526 with\n"
    "                   --clock)\n"
    "  --clock          the date and time of the pings shown under the picture\n"
    "\n"
    "A video lasts at least one second. The file is written under FILE.mp4.part and renamed\n"
    "when it is whole; a failure or Ctrl+C leaves neither. On a terminal a progress line\n"
    "shows on stderr.\n"
    "\n"
    "Exit status: 0 done, 1 the file could not be played or the video not written,\n"
    "2 usage error.\n";

bool ParseSpeed(const std::string& text, double& speed) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) return false;
    char* end = nullptr;
    speed = std::strtod(text.c_str(), &end);
    return end && *end == '\0';
}

bool ParsePercent(const std::string& text, int& percent) {
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    percent = std::atoi(text.c_str());
    return percent <= 100;
}

bool ParseSize(const std::string& text, int& width, int& height) {
    const size_t x = text.find_first_of("xX");
    long long w = 0, h = 0;
    if (x == std::string::npos || !ParsePositive(text.substr(0, x), w) || !ParsePositive(text.substr(x + 1), h))
        return false;
    if (w > MaxVideoSide || h > MaxVideoSide) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

void ShowProgress(const VideoProgress& p) {
    char left[32] = "";
    if (p.SecondsLeft >= 0) std::snprintf(left, sizeof left, ", about %.0f s left", p.SecondsLeft);
    std::fprintf(stderr, "\r%3d%%  %lld frames%s   ", p.Percent, static_cast<long long>(p.Frames), left);
    std::fflush(stderr);
}

}  // namespace

int RunVideo(const std::vector<std::string>& args) {
    std::string dataPath, outPath, settingsPath = "TIDEMAR.INI";
    VideoOptions options;
    std::vector<std::string> inputs;
    const CommandOptions command{
        "video", VideoHelp, {"--out", "--settings", "--fps", "--speed", "--from", "--to", "--size"}, {"--clock"}};
    const int optionsStatus = ReadOptions(
        args, command,
        [&](std::string_view option, const std::string& value) {
            long long fps = 0;
            if (option == "--out") outPath = value;
            if (option == "--settings") settingsPath = value;
            if (option == "--clock") options.ClockStrip = true;
            if (option == "--fps" && (!ParsePositive(value, fps) || fps > MaxVideoFps))
                return std::string("--fps needs a whole number from 1 to 120");
            if (option == "--fps") options.Fps = static_cast<int>(fps);
            if (option == "--speed" && (!ParseSpeed(value, options.Speed) || !(options.Speed >= MinVideoSpeed) ||
                                        options.Speed > MaxVideoSpeed))
                return std::string("--speed needs a number from 0.01 to 10000");
            if (option == "--from" && !ParsePercent(value, options.FromPercent))
                return std::string("--from needs a percent, 0 to 100");
            if (option == "--to" && !ParsePercent(value, options.ToPercent))
                return std::string("--to needs a percent, 0 to 100");
            if (option == "--size" && !ParseSize(value, options.Width, options.Height))
                return std::string("--size needs WIDTHxHEIGHT");
            return std::string();
        },
        inputs);
    if (optionsStatus >= 0) return optionsStatus;
    if (inputs.size() > 1) return UsageError("video takes one data file");
    if (!inputs.empty()) dataPath = inputs[0];
    if (dataPath.empty()) return UsageError("video needs a data file");
    if (outPath.empty()) return UsageError("video needs --out FILE.mp4");
    if (const std::string problem = CheckVideoOptions(options); !problem.empty()) return UsageError(problem);

    if (!PlayableFile(dataPath)) return 1;
    SonarState state = LoadStateFor(settingsPath, DataSource::File);
    state.SsSide = state.SSTrain;

    // Ctrl+C or a kill stops the encoding and removes what was written.
    std::atomic<bool>& interrupted = WatchStopSignals();

    const bool terminal = isatty(STDERR_FILENO);
    std::function<void(const VideoProgress&)> progress;
    if (terminal) progress = ShowProgress;
    const VideoResult result = ExportVideo(state, dataPath, outPath, options, progress, &interrupted);
    if (terminal) std::fputc('\n', stderr);
    if (result.Cancelled) {
        std::fprintf(stderr, "tidemar-cli: interrupted; no video written\n");
        return 1;
    }
    if (!result.Written) {
        std::fprintf(stderr, "tidemar-cli: %s\n", result.Error.c_str());
        return 1;
    }
    std::fprintf(stderr, "wrote %lld frames (%.2f s at %d frames/s) of %lld pings, %.2f s of recording, to %s\n",
                 static_cast<long long>(result.Frames), static_cast<double>(result.Frames) / options.Fps, options.Fps,
                 static_cast<long long>(result.Pings), static_cast<double>(result.RecordedHundredths) / 100.0,
                 outPath.c_str());
    return 0;
}

}  // namespace tidemar::cli
