// tidemar-cli render: plays a data file through the program's playback, dispatch and
// image code, once from start to end, and writes the picture as BMP or PNG files.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "CliOptions.h"
#include "CliJobs.h"
#include "image/BmpFile.h"
#include "image/PngFile.h"
#include "image/SonarImage.h"
#include "video/PlayedPicture.h"

namespace tidemar::cli {

namespace {

const char* const RenderHelp =
    "Usage: tidemar-cli render DATA.K7T... --out DIR [--settings FILE] [--every N] [--format bmp|png]\n"
    "                          [--jobs N]\n"
    "\n"
    "Plays DATA.K7T as the program does in playback right after start-up (settings from\n"
    "FILE, default ./TIDEMAR.INI), once from the first record to the end of the file,\n"
    "and writes the sonar picture (596 x 506, 8-bit BMP with the colour table of the\n"
    "settings' Colors) to DIR/final.bmp; with --every N also after every N-th played ping\n"
    "to DIR/NNNNNN.bmp (the count of played pings, six digits). --format png writes the\n"
    "same pixels as 8-bit palette PNG files (final.png, NNNNNN.png) instead.\n"
    "\n"
    "With several data files, each one's pictures go to DIR/<its name without the\n"
    "extension>/, the files played side by side (--jobs N threads, default: one per core).\n"
    "\n"
    "Exit status: 0 done, 1 a picture could not be written, 2 usage error or a file that\n"
    "cannot be played (the worst of all files).\n";

std::string FrameName(const std::string& dir, long long count, PictureFormat format) {
    char name[32];
    std::snprintf(name, sizeof name, "%06lld.%s", count, PictureExtension(format));
    return (std::filesystem::path(dir) / name).string();
}

int RenderOne(const std::string& dataPath, const std::string& outDir, const std::string& settingsPath, long long every,
              PictureFormat format) {
    if (!PlayableFile(dataPath) || !OutputFolder(outDir)) return 2;

    SonarState state = LoadStateFor(settingsPath, DataSource::File);
    state.SsSide = state.SSTrain;
    PlayedPicture picture(state);
    if (!picture.Start(dataPath)) {
        for (const std::string& message : picture.Messages())
            std::fprintf(stderr, "tidemar-cli: %s\n", message.c_str());
        return 2;
    }

    auto write = [&](const std::string& path) {
        std::string reason;
        const std::vector<uint8_t> bytes =
            IndexedPictureBytes(format, ImageWidth, ImageHeight, picture.Pixels(), picture.ColorTable(), &reason);
        if (!bytes.empty() && WriteWholeFile(path, bytes, &reason)) return true;
        std::fprintf(stderr, "tidemar-cli: %s: %s\n", path.c_str(), reason.c_str());
        return false;
    };

    long long played = 0;
    auto lastReport = std::chrono::steady_clock::now();
    for (;;) {
        const SourceStep step = picture.Step();
        if (step.Rewound) break;
        if (!step.Dispatched) continue;
        ++played;
        if (every > 0 && played % every == 0 && !write(FrameName(outDir, played, format))) return 1;
        const auto now = std::chrono::steady_clock::now();
        if (now - lastReport >= std::chrono::seconds(1)) {
            lastReport = now;
            std::fprintf(stderr, "rendered %lld pings (%d%% of %s)\n", played, picture.Percent(), dataPath.c_str());
        }
    }
    if (!write((std::filesystem::path(outDir) / (std::string("final.") + PictureExtension(format))).string())) return 1;
    std::fprintf(stderr, "rendered %lld pings into %s\n", played, outDir.c_str());
    return 0;
}

}  // namespace

int RunRender(const std::vector<std::string>& args) {
    std::vector<std::string> dataPaths;
    std::string outDir, settingsPath = "TIDEMAR.INI";
    long long every = 0;
    PictureFormat format = PictureFormat::Bmp;
    int jobs = DefaultJobCount();
    const CommandOptions command{"render", RenderHelp, {"--out", "--settings", "--every", "--format", "--jobs"}, {}};
    const int optionsStatus = ReadOptions(
        args, command,
        [&](std::string_view option, const std::string& value) {
            if (option == "--out") outDir = value;
            if (option == "--settings") settingsPath = value;
            if (option == "--every" && !ParsePositive(value, every))
                return std::string("--every needs a whole number above 0");
            if (option == "--format" && !ParsePictureFormat(value, format))
                return std::string("--format is bmp or png");
            if (option == "--jobs" && !ParseJobCount(value, jobs))
                return std::string("--jobs needs a whole number above 0");
            return std::string();
        },
        dataPaths);
    if (optionsStatus >= 0) return optionsStatus;
    if (dataPaths.empty()) return UsageError("render needs a data file");
    if (outDir.empty()) return UsageError("render needs --out DIR");

    if (dataPaths.size() == 1) return RenderOne(dataPaths[0], outDir, settingsPath, every, format);
    // Several files: each into its own folder under DIR, side by side.
    const std::vector<std::string> folders = PerInputFolders(outDir, dataPaths);
    if (folders.empty()) return 2;
    return RunJobs(dataPaths.size(), jobs,
                   [&](size_t i) { return RenderOne(dataPaths[i], folders[i], settingsPath, every, format); });
}

}  // namespace tidemar::cli
