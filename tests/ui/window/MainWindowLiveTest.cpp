// The main window against tidemar-headsim on loopback (127.0.0.60, .61 and .110; .63 has
// no head): live pings painted, the "No Connection" blink, recording from the window and
// playing that recording back, and the close on SIGTERM.
#include <csignal>

#include <QAction>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include "UiTestSupport.h"
#include "files/DataFileCheck.h"
#include "platform/SignalQuit.h"
#include "settings/Settings.h"
#include "ui/window/MainMenu.h"

using namespace tidemar;
using namespace tidemar::uitest;

class MainWindowLiveTest : public QObject {
    Q_OBJECT
private slots:
    void livePingsPaintWedges() {
        HeadSim head;
        QVERIFY(head.Start(QStringLiteral("127.0.0.60")));
        TestFolder folder(QStringLiteral("IPAddress_Sonar1=127.0.0.60\nGridMode=0\nRange=6\nSpeed=4\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QTRY_VERIFY_WITH_TIMEOUT(window->Cycle().Connected(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(EchoPixels(window->Image().Image) > 2000, 10000);
        QVERIFY(!window->View()->NoConnectionShown());
        // Many pings, far fewer repaints: one per display frame at most.
        QTRY_VERIFY_WITH_TIMEOUT(window->Target().Blits() > 100, 10000);
        QVERIFY(window->View()->ImageRepaintsScheduled() < window->Target().Blits());
        QVERIFY(prompts.Messages.empty());

        // Hold: the head commands gray and the pings stop until it is released.
        window->ToggleHold();
        QVERIFY(!window->CommandAction(Command::XdcrUp)->isEnabled());
        QVERIFY(!window->CommandAction(Command::XdcrDown)->isEnabled());
        QTest::qWait(200);
        const uint64_t held = window->Cycle().Exchanges();
        QTest::qWait(300);
        QCOMPARE(window->Cycle().Exchanges(), held);
        window->ToggleHold();
        QVERIFY(window->CommandAction(Command::XdcrUp)->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(window->Cycle().Exchanges() > held + 5, 5000);
    }

    void unreachableHeadBlinks() {
        TestFolder folder(QStringLiteral("IPAddress_Sonar1=127.0.0.63\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QTRY_VERIFY_WITH_TIMEOUT(window->View()->NoConnectionShown(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!window->View()->NoConnectionShown(), 5000);  // every other second
        // Switching to a file erases it.
        window->SelectDataSource(DataSource::File);
        QVERIFY(!window->View()->NoConnectionShown());
        QCOMPARE(window->windowTitle(), QStringLiteral("Tidemar Digital Sonar - [No File]"));
    }

    void recordThenPlayBack() {
        HeadSim head;
        QVERIFY(head.Start(QStringLiteral("127.0.0.61")));
        TestFolder folder(QStringLiteral("IPAddress_Sonar1=127.0.0.61\nGridMode=0\nRange=6\nSpeed=4\nGain=12\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        const QString recording = folder.Path(QStringLiteral("Survey.K7T"));
        prompts.FileAnswers.push_back(recording.toStdString());
        window->RunCommand(Command::RecordStart);
        QVERIFY(window->RecordFile().Recording());
        QCOMPARE(window->CommandAction(15)->text(), QStringLiteral("&Record Stop..."));
        QCOMPARE(QString::fromStdString(prompts.FileDialogs.back().Title),
                 QStringLiteral("Open a Sonar File For Recording"));
        QTRY_VERIFY_WITH_TIMEOUT(window->RecordFile().RecordedBytes() > 40 * 600, 15000);
        QVERIFY(window->windowTitle().startsWith(QStringLiteral("Tidemar Digital Sonar - Recording to ")));

        window->RunCommand(Command::RecordStart);
        QVERIFY(!window->RecordFile().Recording());
        QCOMPARE(window->CommandAction(15)->text(), QStringLiteral("&Record Start..."));
        QCOMPARE(QString::fromStdString(prompts.Messages.back().Caption), QStringLiteral("Close Record File"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Tidemar Digital Sonar"));
        const qint64 size = QFileInfo(recording).size();
        QVERIFY(size > 40 * 600);

        // The recording plays back into a cleared picture.
        prompts.FileAnswers.push_back(recording.toStdString());
        window->SelectDataSource(DataSource::File);
        QVERIFY(window->PlaybackFile().PlaybackOpen());
        QTRY_VERIFY_WITH_TIMEOUT(window->PlaybackSteps() > 20, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(EchoPixels(window->Image().Image) > 2000, 10000);
        QCOMPARE(window->State().Gain, 12);
    }

    void closingWhileRecordingClosesTheFileFirst() {
        HeadSim head;
        QVERIFY(head.Start(QStringLiteral("127.0.0.60")));
        TestFolder folder(QStringLiteral("IPAddress_Sonar1=127.0.0.60\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        const QString recording = folder.Path(QStringLiteral("last.K7T"));
        prompts.FileAnswers.push_back(recording.toStdString());
        window->RunCommand(Command::RecordStart);
        QTRY_VERIFY_WITH_TIMEOUT(window->RecordFile().RecordedBytes() > 0, 10000);
        // Cancel keeps the program and the recording going.
        prompts.QuestionAnswers = {false};
        QVERIFY(!window->close());
        QCOMPARE(prompts.Questions.size(), size_t(1));
        QCOMPARE(QString::fromStdString(prompts.Questions[0].Text),
                 QStringLiteral("Recording to %1 is open. Stop recording and exit?").arg(recording));
        QVERIFY(window->isVisible() && window->RecordFile().Recording());
        const int64_t recorded = window->RecordFile().RecordedBytes();
        QTRY_VERIFY_WITH_TIMEOUT(window->RecordFile().RecordedBytes() > recorded, 10000);
        // Yes closes the file, then the window.
        prompts.QuestionAnswers = {true};
        QVERIFY(window->close());
        QCOMPARE(prompts.Questions.size(), size_t(2));
        QVERIFY(!window->RecordFile().Recording());
        QCOMPARE(QString::fromStdString(prompts.Messages.back().Caption), QStringLiteral("Close Record File"));
        QVERIFY(QFileInfo(recording).size() > 0);
        QVERIFY(folder.IniText().contains(QStringLiteral("IPAddress_Sonar1=127.0.0.60")));
    }

    // Wired as the program wires it: the close runs on the event loop, not in the handler.
    void sigtermWhileRecordingClosesAsTheWindowDoes() {
        HeadSim head;
        QVERIFY(head.Start(QStringLiteral("127.0.0.110")));
        TestFolder folder(QStringLiteral("IPAddress_Sonar1=127.0.0.110\nGain=21\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        const QString recording = folder.Path(QStringLiteral("signalled.K7T"));
        prompts.FileAnswers.push_back(recording.toStdString());
        window->RunCommand(Command::RecordStart);
        QTRY_VERIFY_WITH_TIMEOUT(window->RecordFile().RecordedBytes() > 20 * 600, 15000);

        bool closed = false;
        SignalQuit quit([&](int) { CloseWindowPastDialogs(window.get(), [&] { closed = true; }); });
        std::raise(SIGTERM);
        QTRY_VERIFY_WITH_TIMEOUT(closed, 5000);
        QVERIFY(!window->isVisible());
        QVERIFY(!window->RecordFile().Recording());
        QCOMPARE(QString::fromStdString(prompts.Messages.back().Caption), QStringLiteral("Close Record File"));

        DataFileReader reader;
        std::string reason;
        QVERIFY(reader.Open(recording.toStdString(), &reason));
        QVERIFY(VerifyDataFile(reader).empty());
        // Every key written, the operator's value among them.
        const QRegularExpression key(QStringLiteral("^(\\w+)="), QRegularExpression::MultilineOption);
        const auto keysOf = [&](const QString& text) {
            QSet<QString> keys;
            for (auto it = key.globalMatch(text); it.hasNext();) keys << it.next().captured(1);
            return keys;
        };
        const QSet<QString> all = keysOf(QString::fromStdString(SaveSettingsToText(SonarState{}, "")));
        QVERIFY(all.size() > 40);
        QCOMPARE(keysOf(folder.IniText()), all);
        QVERIFY(folder.IniText().contains(QStringLiteral("\nGain=21")));
    }
};

QTEST_MAIN(MainWindowLiveTest)
#include "MainWindowLiveTest.moc"
