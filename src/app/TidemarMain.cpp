// tidemar: the program window. Settings come from TIDEMAR.INI in the working folder.
//
//   tidemar [--screenshot FILE --quit-after SECONDS]
//   tidemar --help | --version
//
// --help, --version and a usage error are answered before any display is opened; Qt's own
// options (-platform, -style, ...) pass through to it.
// --quit-after ends the run after that many seconds as the Exit command does (files
// closed, settings written); with --screenshot the window is saved to FILE (PNG) first.
// Such a run is unattended: a message box or file dialog that would open is written to
// stderr instead and taken as answered (OK, Cancel), so that the run never waits on one.
//
// SIGTERM, SIGINT and SIGHUP close the window the same way (exit status 0), a dialog open
// at the time cancelled first; a second one while it closes ends the program at once.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <QApplication>
#include <QTimer>

#include "platform/QtPrompts.h"
#include "platform/ReportingPrompts.h"
#include "platform/SignalQuit.h"
#include "ui/window/MainWindow.h"
#include "ui/window/Splash.h"

namespace {

constexpr const char* UsageText = "Usage: tidemar [--screenshot FILE.png] [--quit-after SECONDS]\n";

int Usage(const char* problem) {
    std::fprintf(stderr, "tidemar: %s\n%s", problem, UsageText);
    return 2;
}

constexpr const char* HelpText =
    "The Tidemar Digital Sonar window. Settings come from TIDEMAR.INI in the working folder;\n"
    "the head is reached at its IPAddress_Sonar1.\n"
    "\n"
    "  --screenshot FILE.png  save the window to FILE.png when --quit-after ends the run\n"
    "  --quit-after SECONDS   close as the Exit command does after SECONDS; dialogs that would\n"
    "                         open are written to stderr and taken as answered\n"
    "  --help                 print this text and exit\n"
    "  --version              print the version and exit\n";

// Qt's own options, which QApplication takes out of the arguments: with one dash or two,
// those that take a value also as -name=value.
constexpr const char* QtValueOptions[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry", "geometry",   "qwindowicon",
    "icon",     "qwindowtitle",       "title",         "session", "style",           "stylesheet", "display",
    "name",     "qmljsdebugger"};
constexpr const char* QtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// How many arguments a Qt option at argv[i] spans, or 0 when it is none of Qt's.
int QtOptionLength(int argc, char** argv, int i) {
    std::string name = argv[i];
    if (name.rfind("--", 0) == 0) name.erase(0, 1);
    if (name.size() < 2 || name[0] != '-') return 0;
    name.erase(0, 1);
    const size_t equals = name.find('=');
    for (const char* option : QtValueOptions) {
        if (equals != std::string::npos && name.compare(0, equals, option) == 0 && std::strlen(option) == equals)
            return 1;
        if (name == option) return i + 1 < argc ? 2 : 1;
    }
    for (const char* option : QtFlagOptions)
        if (name == option) return 1;
    return 0;
}

struct WindowArguments {
    bool Information = false;  // --help or --version answered
    std::string Problem;       // a usage error, said before any display is opened
    std::string Screenshot;
    double QuitAfter = 0.0;
};

// The whole command line, read before QApplication so that --help, --version and a
// usage error need no display.
WindowArguments ReadArguments(int argc, char** argv) {
    WindowArguments read;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::printf("%s%s", UsageText, HelpText);
            read.Information = true;
            return read;
        }
        if (arg == "--version") {
            std::printf("tidemar %s\n", TIDEMAR_VERSION);
            read.Information = true;
            return read;
        }
        // The value of an option is not an option itself.
        if (arg == "--screenshot" || arg == "--quit-after") ++i;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--screenshot" || arg == "--quit-after") {
            if (i + 1 >= argc) {
                read.Problem = "an option needs a value";
                return read;
            }
            const std::string value = argv[++i];
            if (arg == "--screenshot") {
                read.Screenshot = value;
                continue;
            }
            char* end = nullptr;
            read.QuitAfter = std::strtod(value.c_str(), &end);
            if (value.empty() || *end != '\0' || !(read.QuitAfter > 0.0) || read.QuitAfter > 1e6) {
                read.Problem = "--quit-after needs a number of seconds above 0";
                return read;
            }
            continue;
        }
        if (const int length = QtOptionLength(argc, argv, i); length > 0) {
            i += length - 1;
            continue;
        }
        read.Problem = "unknown argument '" + arg + "'";
        return read;
    }
    if (!read.Screenshot.empty() && read.QuitAfter <= 0.0) read.Problem = "--screenshot needs --quit-after SECONDS";
    return read;
}

}  // namespace

int main(int argc, char** argv) {
    // Past a file size limit a write fails and recording stops with a message, instead of
    // the program being killed in the middle of a record.
    std::signal(SIGXFSZ, SIG_IGN);
    const WindowArguments arguments = ReadArguments(argc, argv);
    if (arguments.Information) return 0;
    if (!arguments.Problem.empty()) return Usage(arguments.Problem.c_str());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tidemar"));
    const QString screenshot = QString::fromLocal8Bit(arguments.Screenshot.c_str());
    const double quitAfter = arguments.QuitAfter;

    const bool unattended = quitAfter > 0.0;
    tidemar::QtPrompts asked(nullptr);
    tidemar::ReportingPrompts reported(stderr);
    tidemar::PromptsRelay prompts(unattended ? static_cast<tidemar::Prompts&>(reported) : asked);
    tidemar::MainWindowOptions options;
    options.Dialogs = &prompts;

    tidemar::MainWindow window(options);
    for (const std::string& refused : window.RefusedSettings())
        std::fprintf(stderr, "tidemar: warning: %s\n", refused.c_str());
    // After the settings are read: at night the logo must not light up a dark bridge.
    const QPointer<QWidget> splash = tidemar::ShowSplash(window.State().NightColors == 1);
    asked.SetParent(&window);

    int status = 0;
    // Set once the window has closed; a close inside start-up (a dialog's event loop) comes
    // before the application's loop, which then must not run.
    bool closed = false;
    const auto quit = [&] {
        tidemar::CloseWindowPastDialogs(&window, [&] {
            closed = true;
            QCoreApplication::exit(0);
        });
    };
    tidemar::SignalQuit quitSignals([&](int signalNumber) {
        std::fprintf(stderr, "tidemar: %s, closing\n", strsignal(signalNumber));
        // Nobody may be left to answer a message box (the session ended, or a kill).
        prompts.Use(reported);
        quit();
    });
    // Armed before start-up, which in FILE mode asks for a file.
    if (quitAfter > 0.0) {
        QTimer::singleShot(static_cast<int>(quitAfter * 1000.0), &window, [&] {
            if (!screenshot.isEmpty()) {
                if (window.grab().save(screenshot)) {
                    std::printf("%s\n", screenshot.toLocal8Bit().constData());
                } else {
                    std::fprintf(stderr, "tidemar: cannot write %s\n", screenshot.toLocal8Bit().constData());
                    status = 1;
                }
                std::fflush(stdout);
            }
            quit();
        });
    }
    window.Start();
    const int loop = closed ? 0 : app.exec();
    delete splash.data();  // still shown when the run ended within its time
    return status != 0 ? status : loop;
}
