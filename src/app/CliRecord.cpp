// tidemar-cli record: the live ping cycle without a window, recording every valid ping.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "CliOptions.h"
#include "files/Recorder.h"
#include "gps/GpsInput.h"
#include "gps/GpsPositionBox.h"
#include "link/LiveSource.h"
#include "platform/ScriptedPrompts.h"

namespace tidemar::cli {

namespace {

const char* const RecordHelp =
    "Usage: tidemar-cli record --settings FILE --pings N --out DATA.K7T [--timeout SECONDS]\n"
    "\n"
    "Loads FILE as the program loads TIDEMAR.INI, runs the ping cycle against the head at\n"
    "IPAddress_Sonar1, port 4040, and records every valid ping into DATA.K7T exactly as the\n"
    "program records; stops after N recorded pings. Progress goes to stderr.\n"
    "\n"
    "With UseGPS=1 the GPS receiver on serial port ComPortGPS (GPSType 0 GLL, 1 GGA,\n"
    "4800 baud; SerialPortPaths adds devices such as a pseudo-terminal) is read while\n"
    "recording, and every record carries the position known at its ping. A port that\n"
    "cannot be opened gives a warning and records without positions.\n"
    "\n"
    "Options:\n"
    "  --settings FILE     the settings file (TIDEMAR.INI format)\n"
    "  --pings N           pings to record (at least 1)\n"
    "  --out DATA.K7T      the file to write (replaced if it exists)\n"
    "  --timeout SECONDS   give up when no ping was recorded for this long (default 10)\n"
    "\n"
    "Exit status: 0 done, 1 the file could not be written, 2 usage error or head not reached.\n";

std::atomic<bool> interrupted{false};

extern "C" void OnInterrupt(int) { interrupted = true; }

// The dispatch without a display: only the recording side and the GPS watchdog do
// anything.
class RecordingTarget : public DispatchTarget {
public:
    RecordingTarget(Recorder& recorder, SonarState& state) : recorder_(recorder), state_(state) {}
    bool Recording() const override { return recorder_.Recording(); }
    // Only records that reached the file count: a failed write stops the recording.
    void WriteRecord(const SonarState& state) override {
        if (recorder_.WriteRecord(state)) ++Recorded;
    }
    void OnNewSecond() override { GpsSecondTick(state_, *this); }
    int64_t Recorded = 0;

private:
    Recorder& recorder_;
    SonarState& state_;
};

// Opens the GPS port as the program does when live mode starts. The program stays
// silent about a port it cannot use; a tool run from a script says so once.
void StartGps(SonarState& state, GpsInput& gps) {
    const int stored = state.ComPortGPS;
    gps.ProbeComPorts(state);
    if (!StartLiveGps(state, gps)) {
        std::fprintf(stderr, "tidemar-cli: warning: GPS: %s; recording without positions\n", gps.PortError().c_str());
        return;
    }
    if (state.ComPortGPS != stored) {
        const std::string storedPath = gps.Ports().PathOf(stored);
        const std::string storedName = ComPortName(stored) + (storedPath.empty() ? "" : " (" + storedPath + ")");
        std::fprintf(stderr, "tidemar-cli: warning: GPS: %s is not available; reading %s (%s) instead\n",
                     storedName.c_str(), ComPortName(state.ComPortGPS).c_str(),
                     gps.Ports().PathOf(state.ComPortGPS).c_str());
    }
}

// ", GPS 49.16.451 N,123.11.123 W" for the progress line.
std::string GpsProgress(const SonarState& state) {
    if (!state.UseGPS) return "";
    bool blink = false;
    const GpsBox box = DecideGpsBox(state, false, blink);
    return box.NotAvailable ? ", GPS not available" : ", GPS " + box.LatitudeText + box.LongitudeText;
}

void PrintMessages(const ScriptedPrompts& prompts, size_t from, size_t to) {
    for (size_t i = from; i < to && i < prompts.Messages.size(); ++i)
        std::fprintf(stderr, "tidemar-cli: %s: %s\n", prompts.Messages[i].Caption.c_str(),
                     prompts.Messages[i].Text.c_str());
}

}  // namespace

int RunRecord(const std::vector<std::string>& args) {
    std::string settingsPath, outPath;
    long long pings = 0, timeoutSeconds = 10;
    std::vector<std::string> inputs;
    const CommandOptions command{"record", RecordHelp, {"--settings", "--pings", "--out", "--timeout"}, {}, false};
    const int optionsStatus = ReadOptions(
        args, command,
        [&](std::string_view option, const std::string& value) {
            if (option == "--settings") settingsPath = value;
            if (option == "--out") outPath = value;
            if (option == "--pings" && !ParsePositive(value, pings))
                return std::string("--pings needs a whole number above 0");
            if (option == "--timeout" && !ParsePositive(value, timeoutSeconds))
                return std::string("--timeout needs a whole number of seconds above 0");
            return std::string();
        },
        inputs);
    if (optionsStatus >= 0) return optionsStatus;
    if (settingsPath.empty()) return UsageError("record needs --settings FILE");
    if (outPath.empty()) return UsageError("record needs --out DATA.K7T");
    if (pings == 0) return UsageError("record needs --pings N");

    SonarState state = LoadStateFor(settingsPath, DataSource::Head);

    ScriptedPrompts prompts;
    RecordedChrome chrome;
    prompts.FileAnswers.push_back(outPath);
    Recorder recorder(prompts, chrome);
    if (recorder.StartRecording() != 1) {
        PrintMessages(prompts, 0, prompts.Messages.size());
        if (prompts.Messages.empty()) std::fprintf(stderr, "tidemar-cli: cannot create %s\n", outPath.c_str());
        return 2;
    }

    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);

    std::mutex mutex;
    std::condition_variable woken;
    bool pending = false;
    SystemClock clock;
    RecordingTarget target(recorder, state);
    const auto wake = [&] {
        std::lock_guard lock(mutex);
        pending = true;
        woken.notify_all();
    };
    GpsInput gps(wake);
    if (state.UseGPS) StartGps(state, gps);
    SourceContext context{state, clock, target, wake};
    context.Message = [](const std::string& caption, const std::string& text) {
        std::fprintf(stderr, "tidemar-cli: %s: %s\n", caption.c_str(), text.c_str());
    };
    LiveSource source(context);
    if (!source.Start()) {  // the link thread could not be started; it has said so
        gps.CloseGpsPort();
        recorder.StopRecording();
        return 2;
    }

    using Steady = std::chrono::steady_clock;
    const auto patience = std::chrono::seconds(timeoutSeconds);
    auto lastProgress = Steady::now();
    auto lastReport = Steady::now();
    int64_t recordedBefore = 0;
    const size_t messagesBefore = prompts.Messages.size();
    int status = 0;
    std::string failure;

    while (target.Recorded < pings) {
        {
            std::unique_lock lock(mutex);
            woken.wait_for(lock, std::chrono::milliseconds(100), [&] { return pending; });
            pending = false;
        }
        gps.Poll(state, target);  // first, so the next ping records the newest position
        source.Step();
        const auto now = Steady::now();
        if (target.Recorded != recordedBefore) {
            recordedBefore = target.Recorded;
            lastProgress = now;
        }
        if (!recorder.Recording()) {  // a write failed; the recorder has said why
            status = 1;
            break;
        }
        if (interrupted) {
            failure = "interrupted";
            status = 1;
            break;
        }
        if (now - lastProgress > patience) {
            failure = "head at " + state.IPAddress_Sonar1.substr(0, IpAddressCapacity) + ":4040 " +
                      (source.Cycle().Connected() || target.Recorded > 0 ? "stopped answering" : "not reached") +
                      " within " + std::to_string(timeoutSeconds) + " s";
            status = 2;
            break;
        }
        if (now - lastReport >= std::chrono::seconds(1)) {
            lastReport = now;
            std::fprintf(stderr, "recorded %lld of %lld pings (%lld kB)%s\n", static_cast<long long>(target.Recorded),
                         pings, static_cast<long long>(recorder.RecordedBytes() / 1024), GpsProgress(state).c_str());
        }
    }
    source.Stop();
    gps.CloseGpsPort();
    const int64_t bytes = recorder.RecordedBytes();
    PrintMessages(prompts, messagesBefore, prompts.Messages.size());  // a write error, if any
    if (recorder.Recording()) recorder.StopRecording();
    if (!failure.empty()) std::fprintf(stderr, "tidemar-cli: %s\n", failure.c_str());
    std::fprintf(stderr, "recorded %lld pings (%lld bytes) to %s\n", static_cast<long long>(target.Recorded),
                 static_cast<long long>(bytes), outPath.c_str());
    return status;
}

}  // namespace tidemar::cli
