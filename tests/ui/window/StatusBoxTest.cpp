// The status box and the clock under the picture as time passes: "No Reply" for a head
// that keeps quiet, the clock running while no ping renews it, "End of File" at a rewind.
#include <QRegularExpression>
#include <QtTest>

#include "ScriptedSource.h"
#include "UiTestSupport.h"
#include "ui/window/MainMenu.h"

using namespace tidemar;
using namespace tidemar::uitest;
using tidemar::sourcetest::ScriptedSource;

class StatusBoxTest : public QObject {
    Q_OBJECT
private slots:
    void silentHeadIsReportedUntilItAnswers() {
        TestFolder folder(QStringLiteral("IPAddress_Sonar1=127.0.0.1\nRunMode=0\nGridMode=1\n"));
        ScriptedPrompts prompts;
        ScriptedSource* head = nullptr;
        auto window = MakeWindow(folder, prompts, sourcetest::ScriptedSourceFactory(head));
        window->Start();
        SonarView& view = *window->View();

        head->Deliver(3, 90);
        QTRY_COMPARE_WITH_TIMEOUT(head->Dispatched, 3, 2000);
        QVERIFY(view.StatusText().isEmpty());
        // Quiet from now on: reported within two seconds, in the status box's colours.
        QTRY_COMPARE_WITH_TIMEOUT(view.StatusText(), QString::fromLatin1(NoReplyText), 2000);
        QVERIFY(view.StatusShown());
        // A reply ends it.
        head->Deliver(1, 90);
        QTRY_VERIFY_WITH_TIMEOUT(view.StatusText().isEmpty(), 1000);
        QTRY_COMPARE_WITH_TIMEOUT(view.StatusText(), QString::fromLatin1(NoReplyText), 2000);
        // A held head is asked for nothing, so its silence is no fault.
        window->ToggleHold();
        QTRY_VERIFY_WITH_TIMEOUT(view.StatusText().isEmpty(), 1000);
        QTest::qWait(1300);
        QVERIFY(view.StatusText().isEmpty());
    }

    void silentLiveHeadIsReported() {
        HeadSim sim;
        QVERIFY(sim.Start(QStringLiteral("127.0.0.115"), {QStringLiteral("--silent-after"), QStringLiteral("20")}));
        TestFolder folder(QStringLiteral("IPAddress_Sonar1=127.0.0.115\nGridMode=0\nRange=6\nSpeed=4\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QTRY_VERIFY_WITH_TIMEOUT(window->Cycle().Exchanges() >= 20, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(window->View()->StatusText(), QString::fromLatin1(NoReplyText), 2500);
    }

    void recordMarkOnlyWhileRecording() {
        TestFolder folder(QStringLiteral("IPAddress_Sonar1=127.0.0.1\nRunMode=0\nGridMode=1\n"));
        ScriptedPrompts prompts;
        ScriptedSource* head = nullptr;
        auto window = MakeWindow(folder, prompts, sourcetest::ScriptedSourceFactory(head));
        window->Start();
        SonarView& view = *window->View();
        QTest::qWait(300);
        QVERIFY(view.RecordMark().isEmpty());
        prompts.FileAnswers.push_back(folder.Path(QStringLiteral("Survey.K7T")).toStdString());
        window->RunCommand(Command::RecordStart);
        QVERIFY(window->RecordFile().Recording());
        head->Deliver(40, 90);
        QTRY_VERIFY_WITH_TIMEOUT(view.RecordMark().contains(QStringLiteral("Survey.K7T"), Qt::CaseInsensitive), 1000);
        // The size follows the file once a second.
        const QString kb = QStringLiteral(" %1 KB").arg(window->RecordFile().RecordedBytes() / 1024);
        QTRY_VERIFY_WITH_TIMEOUT(view.RecordMark().endsWith(kb), 1500);
        QVERIFY(window->RecordFile().RecordedBytes() >= 1024);
        window->RunCommand(Command::RecordStart);
        QVERIFY(!window->RecordFile().Recording());
        QTRY_VERIFY_WITH_TIMEOUT(view.RecordMark().isEmpty(), 1000);
    }

    void clockRunsWhileNoPingRenewsIt() {
        TestFolder folder(QStringLiteral("IPAddress_Sonar1=127.0.0.1\nRunMode=0\nGridMode=1\n"));
        ScriptedPrompts prompts;
        ScriptedSource* head = nullptr;
        auto window = MakeWindow(folder, prompts, sourcetest::ScriptedSourceFactory(head));
        window->Start();
        window->ToggleHold();
        QTRY_VERIFY_WITH_TIMEOUT(!window->State().DateTimeText.empty(), 1500);
        const std::string first = window->State().DateTimeText;
        QTRY_VERIFY_WITH_TIMEOUT(window->State().DateTimeText != first, 2500);
    }

    void endOfFileShownAtTheRewind() {
        TestFolder folder(
            QStringLiteral("IPAddress_Sonar1=127.0.0.62\nRunMode=1\nPlotSpeed=80\n"));  // 240 pings, 10 ms apart
        ScriptedPrompts prompts;
        prompts.FileAnswers.push_back(SectorRecording().toStdString());
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QVERIFY(window->PlaybackFile().PlaybackOpen());
        SonarView& view = *window->View();
        QTRY_COMPARE_WITH_TIMEOUT(view.StatusText(), QString::fromLatin1(EndOfFileText), 20000);
        // The played time stays in the date and time box: the clock does not take it over.
        const std::string played = window->State().DateTimeText;
        QTest::qWait(600);
        QCOMPARE(window->State().DateTimeText, played);
        QTRY_VERIFY_WITH_TIMEOUT(view.StatusText().isEmpty(), 1500);
    }

    void plotSpeedAndPlayedRateShownInFileMode() {
        TestFolder folder(QStringLiteral("IPAddress_Sonar1=127.0.0.62\nRunMode=1\nPlotSpeed=80\n"));
        ScriptedPrompts prompts;
        prompts.FileAnswers.push_back(SectorRecording().toStdString());
        auto window = MakeWindow(folder, prompts);
        window->Start();
        SonarView& view = *window->View();
        // The value at once; a rate above nothing once a second has been counted.
        QTRY_VERIFY_WITH_TIMEOUT(view.PlaybackRateText().startsWith(QStringLiteral("80  ")), 1000);
        const QRegularExpression rate(QStringLiteral("^80  [1-9][0-9]*/s$"));
        QTRY_VERIFY_WITH_TIMEOUT(rate.match(view.PlaybackRateText()).hasMatch(), 3000);
        window->SelectDataSource(DataSource::Head);
        QTRY_VERIFY_WITH_TIMEOUT(view.PlaybackRateText().isEmpty(), 1000);
    }
};

QTEST_MAIN(StatusBoxTest)
#include "StatusBoxTest.moc"
