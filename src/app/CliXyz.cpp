// tidemar-cli xyz: plays a data file with auto-profile on and saves every sweep of the
// head as an XYZ file, named as the program names them, without asking anything.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "CliOptions.h"
#include "CliJobs.h"
#include "files/CaptureNames.h"
#include "files/DataFileCheck.h"
#include "files/DataFileReader.h"
#include "files/Playback.h"
#include "files/XyzFile.h"
#include "image/ImageGrid.h"
#include "core/AutoProfile.h"
#include "core/Reply.h"
#include "core/SonarTables.h"
#include "platform/ScriptedPrompts.h"

namespace tidemar::cli {

namespace {

const char* const XyzHelp =
    "Usage: tidemar-cli xyz DATA.K7T... --out DIR [--settings FILE] [--jobs N]\n"
    "\n"
    "Plays DATA.K7T once with auto-profile on (settings from FILE, default ./TIDEMAR.INI)\n"
    "and writes the profile points of every complete sweep of the head to an ASCII XYZ\n"
    "file in DIR, named after the played date with the next free number\n"
    "(07DEC2026-0001.XYZ, ...). Chainage, elevation, offset, units and columns come from\n"
    "the settings. The sweep under way when the file starts or ends is not complete and\n"
    "is not written. Prints the path of each file written. With several data files, each\n"
    "one's profiles go to DIR/<its name without the extension>/, the files played side by\n"
    "side (--jobs N threads, default: one per core).\n"
    "\n"
    "Exit status: 0 done, 1 an XYZ file could not be written, 2 usage error or a file\n"
    "that cannot be played.\n";

// Played pings add their profile points to the scan.
class ScanCollector : public DispatchTarget {
public:
    ScanCollector(SonarState& state, ProfileScan& scan) : state_(state), scan_(scan) {}
    void AddProfilePoint(const SonarState&) override { RecordProfilePoint(state_, scan_); }

private:
    SonarState& state_;
    ProfileScan& scan_;
};

// Every scan is saved; there is no screen to capture and no one to ask.
class XyzWriter : public ScanCompletion {
public:
    XyzWriter(const SonarState& state, std::string outDir) : state_(state), outDir_(std::move(outDir)) {}

    bool ConfirmSave() override { return true; }
    void WriteXyz(const std::vector<ProfileScanRecord>& records) override {
        const std::string path = ProfileCaptureName(outDir_, state_, ".XYZ");
        ScriptedPrompts prompts;
        if (WriteXyzFile(path, state_, records, prompts) == XyzWrite::Written) {
            std::printf("%s\n", path.c_str());
            std::fflush(stdout);
            ++written_;
        } else {
            std::fprintf(stderr, "tidemar-cli: cannot write %s\n", path.c_str());
            failed_ = true;
        }
    }

    int Written() const { return written_; }
    bool Failed() const { return failed_; }

private:
    const SonarState& state_;
    std::string outDir_;
    int written_ = 0;
    bool failed_ = false;
};

ScanGeometry GeometryOf(const SonarState& state) {
    const SectorDial dial = ComputeSectorDial(state);
    return {dial.ScanStartField, dial.StartPosition, dial.EndPosition};
}

// A recording starts in the middle of a sweep: the first scan begins where the head
// turns at a sector edge, or, on a full circle, where it comes round through zero.
bool SweepEdge(const SonarState& state, int lastPosition, int lastDirection) {
    if (state.SectorSize == 360)
        return lastPosition >= 0 && std::abs(state.HeadPosition - lastPosition) > HeadPositionCount / 2;
    return lastDirection >= 0 && state.StepDirection != lastDirection;
}

int XyzOne(const std::string& dataPath, const std::string& outDir, const std::string& settingsPath) {
    if (!PlayableFile(dataPath) || !OutputFolder(outDir)) return 2;

    SonarState state = LoadStateFor(settingsPath, DataSource::File);
    state.SsSide = state.SSTrain;
    EnterPlayback(state);
    state.AutoProfileActive = 1;
    state.AutoProfileXYZ = 1;
    state.AutoProfileBMP = 0;
    state.AutoProfileSaveConfirmation = 0;
    state.AutoProfilePromptForScan = 0;
    // Nothing is collected until the first sweep edge.
    state.AutoProfilePositioning = 1;
    state.AutoProfileStartPosition = HeadPositionCount + 1;

    ProfileScan scan;
    ScanCollector collector(state, scan);
    XyzWriter writer(state, outDir);

    ScriptedPrompts prompts;
    RecordedChrome chrome;
    SystemClock clock;
    Playback playback(prompts, chrome);
    PlaybackSource source(playback, SourceContext{state, clock, collector, {}});
    source.SetFileName(dataPath);
    if (!StartPlayedFile(source, prompts)) return 2;

    long long played = 0;
    int lastPosition = -1, lastDirection = -1;
    for (;;) {
        const SourceStep step = source.Step();
        if (step.Rewound) break;
        if (!step.Dispatched || state.GridMode == DisplayMode::SideScan) continue;
        ++played;
        if (state.AutoProfilePositioning) {
            if (SweepEdge(state, lastPosition, lastDirection)) {
                state.AutoProfilePositioning = 0;
                state.AutoProfileScanDirection = state.StepDirection;
            }
            lastPosition = state.HeadPosition;
            lastDirection = state.StepDirection;
            continue;
        }
        AutoProfileCycleStep(state, scan, GeometryOf(state), writer);
        if (writer.Failed()) return 1;
    }
    std::fprintf(stderr, "played %lld pings, wrote %d XYZ files into %s\n", played, writer.Written(), outDir.c_str());
    return 0;
}

}  // namespace

int RunXyz(const std::vector<std::string>& args) {
    std::vector<std::string> dataPaths;
    std::string outDir, settingsPath = "TIDEMAR.INI";
    int jobs = DefaultJobCount();
    const CommandOptions command{"xyz", XyzHelp, {"--out", "--settings", "--jobs"}, {}};
    const int optionsStatus = ReadOptions(
        args, command,
        [&](std::string_view option, const std::string& value) {
            if (option == "--out") outDir = value;
            if (option == "--settings") settingsPath = value;
            if (option == "--jobs" && !ParseJobCount(value, jobs))
                return std::string("--jobs needs a whole number above 0");
            return std::string();
        },
        dataPaths);
    if (optionsStatus >= 0) return optionsStatus;
    if (dataPaths.empty()) return UsageError("xyz needs a data file");
    if (outDir.empty()) return UsageError("xyz needs --out DIR");

    if (dataPaths.size() == 1) return XyzOne(dataPaths[0], outDir, settingsPath);
    // Several files: each into its own folder under DIR, side by side.
    const std::vector<std::string> folders = PerInputFolders(outDir, dataPaths);
    if (folders.empty()) return 2;
    return RunJobs(dataPaths.size(), jobs, [&](size_t i) { return XyzOne(dataPaths[i], folders[i], settingsPath); });
}

}  // namespace tidemar::cli
