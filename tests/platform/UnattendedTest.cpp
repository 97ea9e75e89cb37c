// What keeps an unattended or signalled window from waiting on nobody: prompts reported
// instead of shown, the quit signals turned into one call on the event loop, and the close
// that cancels an open dialog first.
#include <csignal>
#include <cstdio>

#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "platform/ReportingPrompts.h"
#include "platform/ScriptedPrompts.h"
#include "platform/SignalQuit.h"

using namespace tidemar;

namespace {

using Handler = void (*)(int);

Handler CurrentHandler(int signalNumber) {
    struct sigaction action = {};
    sigaction(signalNumber, nullptr, &action);
    return action.sa_handler;
}

QString ReadBack(std::FILE* file) {
    std::rewind(file);
    QByteArray text;
    char buffer[256];
    while (size_t got = std::fread(buffer, 1, sizeof buffer, file)) text.append(buffer, static_cast<qsizetype>(got));
    return QString::fromUtf8(text);
}

}  // namespace

class UnattendedTest : public QObject {
    Q_OBJECT
private slots:
    void promptsAreReportedOneLineEachAndCancelled() {
        std::FILE* out = std::tmpfile();
        QVERIFY(out);
        ReportingPrompts reported(out);
        ScriptedPrompts asked;
        asked.FileAnswers.push_back("/tmp/asked.K7T");
        PromptsRelay relay(asked);
        FileDialogRequest open;
        open.Title = "Open a Sonar File For Playback";
        FileDialogRequest save;
        save.Title = "Open a Sonar File For Recording";

        // Asking until told otherwise: the answers come from the operator's side.
        QCOMPARE(relay.OpenFileName(open).value_or(""), std::string("/tmp/asked.K7T"));
        relay.Use(reported);
        QVERIFY(!relay.OpenFileName(open));
        QVERIFY(!relay.SaveFileName(save));
        relay.Message("Record Error", "Cannot write to /tmp/a.K7T:\nNo space left on device\n",
                      MessageIcon::Exclamation);
        relay.Message("Close Record File", "/tmp/a.K7T", MessageIcon::None);
        QCOMPARE(asked.FileDialogs.size(), size_t(1));
        QVERIFY(asked.Messages.empty());
        QCOMPARE(ReadBack(out),
                 QStringLiteral("tidemar: file dialog \"Open a Sonar File For Playback\" not shown: cancelled\n"
                                "tidemar: file dialog \"Open a Sonar File For Recording\" not shown: cancelled\n"
                                "tidemar: message \"Record Error\" not shown: Cannot write to /tmp/a.K7T: / No "
                                "space left on device\n"
                                "tidemar: message \"Close Record File\" not shown: /tmp/a.K7T\n"));
        std::fclose(out);
    }

    void firstSignalIsCalledBackOnceAndTheNextOneKills_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("kill") << SIGTERM;
        QTest::newRow("Ctrl+C") << SIGINT;
        QTest::newRow("end of session") << SIGHUP;
    }
    void firstSignalIsCalledBackOnceAndTheNextOneKills() {
        QFETCH(int, signalNumber);
        const Handler before = CurrentHandler(signalNumber);
        QList<int> received;
        {
            SignalQuit quit([&](int number) { received << number; });
            QVERIFY(quit.Installed());
            for (int other : {SIGTERM, SIGINT, SIGHUP}) QVERIFY(CurrentHandler(other) != SIG_DFL);
            std::raise(signalNumber);
            QTRY_COMPARE(received, QList<int>{signalNumber});
            // A second signal of any of the three while the program closes ends it.
            for (int other : {SIGTERM, SIGINT, SIGHUP}) QVERIFY(CurrentHandler(other) == SIG_DFL);
            QTest::qWait(50);
            QCOMPARE(received.size(), 1);
        }
        QVERIFY(CurrentHandler(signalNumber) == before);
    }

    void signalIgnoredAtStartStaysIgnored() {
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        struct sigaction found = {};
        sigaction(SIGHUP, &ignore, &found);
        bool called = false;
        {
            SignalQuit quit([&](int) { called = true; });
            QVERIFY(CurrentHandler(SIGHUP) == SIG_IGN);
            std::raise(SIGHUP);
            QTest::qWait(50);
        }
        sigaction(SIGHUP, &found, nullptr);
        QVERIFY(!called);
    }

    void closeCancelsTheOpenDialogFirst() {
        QWidget window;
        window.show();
        QStringList order;
        QTimer::singleShot(50, &window, [&] {
            CloseWindowPastDialogs(&window, [&] { order << (window.isVisible() ? "called, open" : "called, closed"); });
        });
        QDialog dialog(&window);
        const int result = dialog.exec();
        order << "dialog returned";
        QTRY_COMPARE(order, (QStringList{"dialog returned", "called, closed"}));
        QCOMPARE(result, int(QDialog::Rejected));
    }
};

QTEST_MAIN(UnattendedTest)
#include "UnattendedTest.moc"
