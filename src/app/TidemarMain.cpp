// tidemar: the program window. Settings come from TIDEMAR.INI in the working folder.
//
//   tidemar [--screenshot FILE --quit-after SECONDS]
//   tidemar --help | --version
//
// --help and --version print and exit before any display is opened.
// --quit-after ends the run after that many seconds as the Exit command does (files
// closed, settings written); with --screenshot the window is saved to FILE (PNG) first.
// Such a run is unattended: a message box or file dialog that would open is written to
// stderr instead and taken as answered (OK, Cancel), so that the run never waits on one.
//
// SIGTERM, SIGINT and SIGHUP close the window the same way (exit status 0), a dialog open
// at the time cancelled first; a second one while it closes ends the program at once.
#include <csignal>
#include <cstdio>
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

// --help and --version, looked for before QApplication so they need no display. True
// when one was found and answered.
bool AnswerInformationOption(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("%s%s", UsageText, HelpText);
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tidemar %s\n", TIDEMAR_VERSION);
            return true;
        }
        // The value of an option is not an option itself.
        if (std::strcmp(argv[i], "--screenshot") == 0 || std::strcmp(argv[i], "--quit-after") == 0) ++i;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Past a file size limit a write fails and recording stops with a message, instead of
    // the program being killed in the middle of a record.
    std::signal(SIGXFSZ, SIG_IGN);
    if (AnswerInformationOption(argc, argv)) return 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tidemar"));

    QString screenshot;
    double quitAfter = 0.0;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QStringLiteral("--screenshot") || arg == QStringLiteral("--quit-after")) {
            if (i + 1 >= args.size()) return Usage("an option needs a value");
            const QString value = args[++i];
            if (arg == QStringLiteral("--screenshot")) {
                screenshot = value;
            } else {
                bool ok = false;
                quitAfter = value.toDouble(&ok);
                if (!ok || quitAfter <= 0.0) return Usage("--quit-after needs a number of seconds above 0");
            }
            continue;
        }
        return Usage(("unknown argument '" + arg.toStdString() + "'").c_str());
    }
    if (!screenshot.isEmpty() && quitAfter <= 0.0) return Usage("--screenshot needs --quit-after SECONDS");

    const bool unattended = quitAfter > 0.0;
    tidemar::QtPrompts asked(nullptr);
    tidemar::ReportingPrompts reported(stderr);
    tidemar::PromptsRelay prompts(unattended ? static_cast<tidemar::Prompts&>(reported) : asked);
    tidemar::MainWindowOptions options;
    options.Dialogs = &prompts;

    tidemar::MainWindow window(options);
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
