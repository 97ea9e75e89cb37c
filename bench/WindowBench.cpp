// Figures of the window itself (offscreen), one per run so each starts from a fresh process:
//   tidemar-bench-window startup ADDRESS          ms from exec to the first painted window
//   tidemar-bench-window live ADDRESS SECONDS     pings/s with display and recording on
//   tidemar-bench-window playback FILE SECONDS    played pings/s
//   tidemar-bench-window cpu MODE ADDRESS SECONDS share of one core used, MODE one of
//       paced (the head at ADDRESS, SendDelay=19 ms: about 50 pings/s), disconnected
//       (no head at ADDRESS), hold (the head at ADDRESS, Hold on), nofile (FILE mode,
//       no file chosen)
//   tidemar-bench-window latency ADDRESS PINGS ZOOM day|night
//       for PINGS pings of the head at ADDRESS at about 50 pings/s (SendDelay=20), the time
//       from the last byte of a reply read from the socket to the end of the paint that
//       shows its picture: p50, p95, p99 and max, and how many paints showed no new ping
//       or more than one; ZOOM is 100, 150 or 200
// Every line printed also gives the peak resident memory of the process.
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/LatencyProbe.h"

#include "platform/ScriptedPrompts.h"
#include "ui/window/MainMenu.h"
#include "ui/window/MainWindow.h"
#include "ui/view/SonarView.h"

using namespace tidemar;

namespace {

// Seconds since the kernel started this process.
double SecondsSinceExec() {
    std::ifstream stat("/proc/self/stat");
    std::string field;
    // Field 22 is the start time in clock ticks since boot; the name (field 2) has no blanks here.
    for (int i = 1; i <= 22 && stat >> field; ++i) {
    }
    const double started = std::atof(field.c_str()) / static_cast<double>(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9 - started;
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A fresh folder with TIDEMAR.INI and an empty device folder, so no serial port is probed.
struct Folder {
    QTemporaryDir Dir;
    explicit Folder(const QString& keys) {
        QFile ini(Dir.filePath(QStringLiteral("TIDEMAR.INI")));
        if (ini.open(QIODevice::WriteOnly)) ini.write(("[Settings]\n" + keys + "\n").toLatin1());
        QDir(Dir.path()).mkdir(QStringLiteral("dev"));
    }
};

std::unique_ptr<MainWindow> MakeWindow(const Folder& folder, ScriptedPrompts& prompts) {
    MainWindowOptions options;
    options.SettingsDirectory = folder.Dir.path().toStdString();
    options.DeviceDirectory = folder.Dir.filePath(QStringLiteral("dev")).toStdString();
    options.Dialogs = &prompts;
    return std::make_unique<MainWindow>(options);
}

// The heaviest display: Polar, 50 m, Fastest, grid on. TIDEMAR_BENCH_KEYS adds or
// overrides keys ("Key=Value" lines), to compare other settings.
QString HeadKeys(const QString& address) {
    return QStringLiteral("IPAddress_Sonar1=%1\nGridMode=1\nRange=9\nSpeed=4\nGrid=1\n").arg(address) +
           QString::fromLocal8Bit(qgetenv("TIDEMAR_BENCH_KEYS")).replace(QLatin1String("\\n"), QLatin1String("\n")) +
           QLatin1Char('\n');
}

// Runs the event loop for ms as the program's own loop runs it. (QTest::qWait sleeps up
// to 10 ms whenever the queue is empty, which would pace the ping cycle.)
void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool WaitConnected(MainWindow& window) {
    QElapsedTimer waited;
    waited.start();
    while (!window.Cycle().Connected() && waited.elapsed() < 10000) Wait(10);
    return window.Cycle().Connected();
}

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && seconds < 0) seconds = SecondsSinceExec();
        return QObject::eventFilter(watched, event);
    }
    double seconds = -1;
};

int Startup(const QString& address) {
    Folder folder(HeadKeys(address));
    ScriptedPrompts prompts;
    auto window = MakeWindow(folder, prompts);
    FirstPaint paint;
    window->View()->installEventFilter(&paint);
    window->Start();
    QElapsedTimer waited;
    waited.start();
    while (paint.seconds < 0 && waited.elapsed() < 10000) Wait(1);
    if (paint.seconds < 0) return std::fprintf(stderr, "no paint within 10 s\n"), 1;
    std::printf("window start-up: %.0f ms from exec to the first painted window (peak %ld kB)\n", paint.seconds * 1000,
                PeakKilobytes());
    return 0;
}

int Live(const QString& address, double seconds) {
    Folder folder(HeadKeys(address));
    ScriptedPrompts prompts;
    auto window = MakeWindow(folder, prompts);
    window->Start();
    if (!WaitConnected(*window)) return std::fprintf(stderr, "no head at %s\n", qPrintable(address)), 1;
    // TIDEMAR_BENCH_NORECORD=1 leaves recording off, to see what it costs.
    const bool record = qgetenv("TIDEMAR_BENCH_NORECORD") != "1";
    if (record) {
        prompts.FileAnswers.push_back(folder.Dir.filePath(QStringLiteral("bench.K7T")).toStdString());
        window->RunCommand(Command::RecordStart);
        if (!window->RecordFile().Recording()) return std::fprintf(stderr, "recording did not start\n"), 1;
    }
    Wait(500);
    const uint64_t pings = window->Cycle().Exchanges();
    const int64_t bytes = window->RecordFile().RecordedBytes();
    const int blits = window->Target().Blits();
    const double cpu = CpuSeconds();
    QElapsedTimer clock;
    clock.start();
    Wait(static_cast<int>(seconds * 1000));
    const double wall = clock.elapsed() / 1000.0;
    std::printf(
        "window live: %.0f pings/s, display on, recording %s (%.0f kB/s recorded, %.0f pictures/s "
        "drawn, %.0f%% of a core; peak %ld kB)\n",
        (window->Cycle().Exchanges() - pings) / wall, record ? "on" : "off",
        (window->RecordFile().RecordedBytes() - bytes) / 1024.0 / wall, (window->Target().Blits() - blits) / wall,
        100 * (CpuSeconds() - cpu) / wall, PeakKilobytes());
    return 0;
}

int Play(const QString& file, double seconds) {
    Folder folder(QStringLiteral("RunMode=1\nGrid=1\n"));
    ScriptedPrompts prompts;
    prompts.FileAnswers.push_back(file.toStdString());
    auto window = MakeWindow(folder, prompts);
    window->Start();
    if (!window->PlaybackFile().PlaybackOpen()) {
        prompts.FileAnswers.push_back(file.toStdString());
        window->SelectDataSource(DataSource::File);
    }
    if (!window->PlaybackFile().PlaybackOpen()) return std::fprintf(stderr, "cannot play %s\n", qPrintable(file)), 1;
    Wait(200);
    const int steps = window->PlaybackSteps();
    QElapsedTimer clock;
    clock.start();
    Wait(static_cast<int>(seconds * 1000));
    const double wall = clock.elapsed() / 1000.0;
    std::printf("window playback: %.0f pings/s played and drawn (peak %ld kB)\n",
                (window->PlaybackSteps() - steps) / wall, PeakKilobytes());
    return 0;
}

int Cpu(const QString& mode, const QString& address, double seconds) {
    QString keys = HeadKeys(address);
    if (mode == QLatin1String("paced")) keys += QStringLiteral("SendDelay=19\n");
    if (mode == QLatin1String("nofile")) keys = QStringLiteral("RunMode=1\n");
    Folder folder(keys);
    ScriptedPrompts prompts;  // no answers: the playback dialog is cancelled
    auto window = MakeWindow(folder, prompts);
    window->Start();
    if (mode == QLatin1String("paced") || mode == QLatin1String("hold")) {
        if (!WaitConnected(*window)) return std::fprintf(stderr, "no head at %s\n", qPrintable(address)), 1;
    }
    if (mode == QLatin1String("hold")) window->ToggleHold();
    Wait(1000);  // past start-up and the first connection attempts
    const uint64_t pings = window->Cycle().Exchanges();
    const double cpu = CpuSeconds();
    QElapsedTimer clock;
    clock.start();
    Wait(static_cast<int>(seconds * 1000));
    const double wall = clock.elapsed() / 1000.0;
    std::printf("window CPU, %s: %.2f%% of one core at %.1f pings/s (peak %ld kB)\n", qPrintable(mode),
                100 * (CpuSeconds() - cpu) / wall, (window->Cycle().Exchanges() - pings) / wall, PeakKilobytes());
    return 0;
}

// Matches each reply to the paint that first shows it. At 50 pings/s the main thread has
// dispatched a reply long before the next arrives, so a picture change belongs to the
// latest reply read; a reply that changed nothing (none is expected) is passed over.
class PaintLatency : public LatencyProbe {
public:
    void Mark(LatencyMark mark) override {
        const int64_t now = Nanoseconds();
        std::lock_guard<std::mutex> lock(mutex_);
        switch (mark) {
        case LatencyMark::ReplyArrived: arrived_ = now; break;
        case LatencyMark::ImageChanged:
            if (arrived_ >= 0) waiting_.push_back(arrived_);
            arrived_ = -1;
            break;
        case LatencyMark::ImageShown:
            if (!counting_) {
                waiting_.clear();
                break;
            }
            ++paints_;
            if (waiting_.empty()) ++paintsWithoutPing_;
            if (waiting_.size() > 1) ++paintsWithSeveral_;
            for (const int64_t at : waiting_) latencies_.push_back((now - at) / 1e6);
            waiting_.clear();
            break;
        }
    }
    void Count() {
        std::lock_guard<std::mutex> lock(mutex_);
        counting_ = true;
    }
    size_t Shown() {
        std::lock_guard<std::mutex> lock(mutex_);
        return latencies_.size();
    }
    void Report(const char* what) {
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<double> sorted = latencies_;
        std::sort(sorted.begin(), sorted.end());
        const auto at = [&sorted](double q) {
            return sorted.empty() ? 0.0 : sorted[std::min(sorted.size() - 1, static_cast<size_t>(q * sorted.size()))];
        };
        std::printf(
            "window latency, %s: reply to painted picture p50 %.2f ms, p95 %.2f ms, p99 %.2f ms, max %.2f ms "
            "over %zu pings; %d paints, %d without a new ping, %d with more than one\n",
            what, at(0.50), at(0.95), at(0.99), sorted.empty() ? 0.0 : sorted.back(), sorted.size(), paints_,
            paintsWithoutPing_, paintsWithSeveral_);
    }

private:
    static int64_t Nanoseconds() {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    std::mutex mutex_;
    int64_t arrived_ = -1;
    std::vector<int64_t> waiting_;
    std::vector<double> latencies_;
    bool counting_ = false;
    int paints_ = 0;
    int paintsWithoutPing_ = 0;
    int paintsWithSeveral_ = 0;
};

int Latency(const QString& address, int pings, int zoom, bool night) {
    Folder folder(HeadKeys(address) +
                  QStringLiteral("SendDelay=20\nWindowZoom=%1\nNightColors=%2\n").arg(zoom).arg(night ? 1 : 0));
    ScriptedPrompts prompts;
    auto window = MakeWindow(folder, prompts);
    PaintLatency probe;
    InstallLatencyProbe(&probe);
    window->Start();
    if (!WaitConnected(*window)) return std::fprintf(stderr, "no head at %s\n", qPrintable(address)), 1;
    Wait(1000);  // past the first pings
    probe.Count();
    const uint64_t first = window->Cycle().Exchanges();
    const double cpu = CpuSeconds();
    QElapsedTimer clock;
    clock.start();
    while (probe.Shown() < static_cast<size_t>(pings) && clock.elapsed() < pings * 100) Wait(100);
    const double wall = clock.elapsed() / 1000.0;
    const QString what = QStringLiteral("%1%, %2, %3 pings/s, %4% of a core")
                             .arg(zoom)
                             .arg(night ? QStringLiteral("night") : QStringLiteral("day"))
                             .arg((window->Cycle().Exchanges() - first) / wall, 0, 'f', 1)
                             .arg(100 * (CpuSeconds() - cpu) / wall, 0, 'f', 1);
    probe.Report(qPrintable(what));
    window.reset();
    InstallLatencyProbe(nullptr);
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: tidemar-bench-window startup ADDRESS | live ADDRESS SECONDS | playback FILE SECONDS |\n"
                 "       cpu paced|disconnected|hold|nofile ADDRESS SECONDS |\n"
                 "       latency ADDRESS PINGS 100|150|200 day|night\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("startup")) return Startup(args[1]);
    if (args.size() == 3 && args[0] == QLatin1String("live")) return Live(args[1], args[2].toDouble());
    if (args.size() == 3 && args[0] == QLatin1String("playback")) return Play(args[1], args[2].toDouble());
    if (args.size() == 4 && args[0] == QLatin1String("cpu")) return Cpu(args[1], args[2], args[3].toDouble());
    if (args.size() == 5 && args[0] == QLatin1String("latency"))
        return Latency(args[1], args[2].toInt(), args[3].toInt(), args[4] == QLatin1String("night"));
    return Usage();
}
