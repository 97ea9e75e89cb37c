// tidemar-cli render: plays a data file through the program's playback, dispatch and
// image code, once from start to end, and writes the picture as BMP files.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "CliJobs.h"
#include "files/DataFileCheck.h"
#include "files/DataFileReader.h"
#include "files/Playback.h"
#include "image/BmpFile.h"
#include "image/ImageColorTable.h"
#include "image/ImageDispatch.h"
#include "platform/ScriptedPrompts.h"

namespace tidemar::cli {

namespace {

const char* const RenderHelp =
    "Usage: tidemar-cli render DATA.K7T... --out DIR [--settings FILE] [--every N] [--jobs N]\n"
    "\n"
    "Plays DATA.K7T as the program does in playback right after start-up (settings from\n"
    "FILE, default ./TIDEMAR.INI), once from the first record to the end of the file,\n"
    "and writes the sonar picture (596 x 506, 8-bit BMP with the colour table of the\n"
    "settings' Colors) to DIR/final.bmp; with --every N also after every N-th played ping\n"
    "to DIR/NNNNNN.bmp (the count of played pings, six digits).\n"
    "\n"
    "With several data files, each one's pictures go to DIR/<its name without the\n"
    "extension>/, the files played side by side (--jobs N threads, default: one per core).\n"
    "\n"
    "Exit status: 0 done, 1 a picture could not be written, 2 usage error or a file that\n"
    "cannot be played (the worst of all files).\n";

std::string FrameName(const std::string& dir, long long count) {
    char name[32];
    std::snprintf(name, sizeof name, "%06lld.bmp", count);
    return (std::filesystem::path(dir) / name).string();
}

int RenderOne(const std::string& dataPath, const std::string& outDir, const std::string& settingsPath,
              long long every) {
    if (!PlayableFile(dataPath) || !OutputFolder(outDir)) return 2;

    // The program starting in playback: settings, the played file's values take over,
    // the picture cleared and the grid drawn.
    SonarState state = LoadStateFor(settingsPath, DataSource::File);
    state.SsSide = state.SSTrain;
    EnterPlayback(state);

    ImageColorTable colors;
    InitImageColorTable(colors);
    BuildColorTableEntries(colors, state.Colors);
    const auto colorBytes = ImageColorTableBytes(colors);

    ImageState image;
    ImageDispatchTarget target(state, image);
    target.ResetEchoHistory();
    target.RedrawSonarImage();

    ScriptedPrompts prompts;
    RecordedChrome chrome;
    SystemClock clock;
    Playback playback(prompts, chrome);
    PlaybackSource source(playback, SourceContext{state, clock, target, {}});
    source.SetFileName(dataPath);
    if (!StartPlayedFile(source, prompts)) return 2;
    target.SetPlaybackOpen(true);

    auto write = [&](const std::string& path) {
        std::string reason;
        if (WriteIndexedBmp(path, ImageWidth, ImageHeight, image.Image.Pixels.data(), colorBytes, &reason)) return true;
        std::fprintf(stderr, "tidemar-cli: %s: %s\n", path.c_str(), reason.c_str());
        return false;
    };

    long long played = 0;
    auto lastReport = std::chrono::steady_clock::now();
    for (;;) {
        const SourceStep step = source.Step();
        if (step.Rewound) break;
        if (!step.Dispatched) continue;
        ++played;
        if (every > 0 && played % every == 0 && !write(FrameName(outDir, played))) return 1;
        const auto now = std::chrono::steady_clock::now();
        if (now - lastReport >= std::chrono::seconds(1)) {
            lastReport = now;
            std::fprintf(stderr, "rendered %lld pings (%d%% of the file)\n", played, source.Percent());
        }
    }
    if (!write((std::filesystem::path(outDir) / "final.bmp").string())) return 1;
    std::fprintf(stderr, "rendered %lld pings into %s\n", played, outDir.c_str());
    return 0;
}

}  // namespace

int RunRender(const std::vector<std::string>& args) {
    std::vector<std::string> dataPaths;
    std::string outDir, settingsPath = "TIDEMAR.INI";
    long long every = 0;
    int jobs = DefaultJobCount();
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(RenderHelp, stdout);
            return 0;
        }
        if (arg == "--out" || arg == "--settings" || arg == "--every" || arg == "--jobs") {
            if (i + 1 >= args.size()) return UsageError(arg + " needs a value");
            const std::string& value = args[++i];
            if (arg == "--out") outDir = value;
            if (arg == "--settings") settingsPath = value;
            if (arg == "--every" && !ParsePositive(value, every))
                return UsageError("--every needs a whole number above 0");
            if (arg == "--jobs" && !ParseJobCount(value, jobs))
                return UsageError("--jobs needs a whole number above 0");
            continue;
        }
        if (!arg.empty() && arg[0] == '-') return UsageError("unknown option '" + arg + "' for render");
        dataPaths.push_back(arg);
    }
    if (dataPaths.empty()) return UsageError("render needs a data file");
    if (outDir.empty()) return UsageError("render needs --out DIR");

    if (dataPaths.size() == 1) return RenderOne(dataPaths[0], outDir, settingsPath, every);
    // Several files: each into its own folder under DIR, side by side.
    const std::vector<std::string> folders = PerInputFolders(outDir, dataPaths);
    if (folders.empty()) return 2;
    return RunJobs(dataPaths.size(), jobs,
                   [&](size_t i) { return RenderOne(dataPaths[i], folders[i], settingsPath, every); });
}

}  // namespace tidemar::cli
