// The "Scan For Connected Heads" window against tidemar-headsim answering head scans on
// loopback (127.0.0.66 and .67): the head's information arrives and is decoded, a new
// head ID and new memory values are programmed through the dialogs, and the head answers
// with them.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "UiTestSupport.h"
#include "core/HeadInfo.h"
#include "link/PingCycle.h"
#include "ui/toolwindows/DiagnosticsWindow.h"
#include "ui/toolwindows/HeadIdDialog.h"
#include "ui/window/MainMenu.h"
#include "ui/toolwindows/ProgramHeadDialog.h"
#include "ui/toolwindows/ScanWindow.h"
#include "ui_core/DiagnosticsTexts.h"

using namespace tidemar;
using namespace tidemar::uitest;

namespace {

class ScanTarget : public DispatchTarget {
public:
    ScanWindow* Window = nullptr;
    int HeadScans = 0;
    void RefreshHeadScan() override {
        ++HeadScans;
        if (Window && Window->isVisible()) Window->Refresh();
    }
};

template <typename Dialog>
bool Answer(const std::function<void()>& open, const std::function<void(Dialog&)>& answer) {
    auto seen = std::make_shared<bool>(false);
    QTimer::singleShot(0, [seen, answer] {
        auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        *seen = true;
        answer(*dialog);
    });
    open();
    return *seen;
}

QString Information(const ScanWindow& window, int row) {
    return QString::fromStdString(window.Values().Information[static_cast<size_t>(row)]);
}

QString MemoryByte(const ScanWindow& window, int index) {
    return QString::fromStdString(window.Values().Memory[static_cast<size_t>(index)]);
}

// Programs head ID 20, then serial number 4321 with a 3000 m rating, through the window's
// buttons, and waits for the head to answer with them.
void ProgramTheHead(ScanWindow& scan, const SonarState& state) {
    QTRY_VERIFY_WITH_TIMEOUT(scan.Values().ShowsInformation, 10000);
    QCOMPARE(Information(scan, 1), QStringLiteral("1234"));
    QCOMPARE(Information(scan, 2), QStringLiteral("Scanning Sonar"));
    QCOMPARE(Information(scan, 4), QStringLiteral("1000 Meters"));
    QCOMPARE(MemoryByte(scan, 11), QStringLiteral("0x11"));
    QCOMPARE(state.ReturnHeadID, 17);
    QCOMPARE(state.ScanHeadID, 17);

    const Rect change = scan.Geometry().ChangeHeadIdButton();
    QVERIFY(Answer<HeadIdDialog>(
        [&] { QTest::mouseClick(&scan, Qt::LeftButton, {}, QPoint(change.Left + 20, change.Top + 4)); },
        [](HeadIdDialog& dialog) {
            dialog.IdList()->setCurrentRow(4);  // "5": address 20
            dialog.OkButton()->click();
        }));
    QTRY_COMPARE_WITH_TIMEOUT(state.ReturnHeadID, 20, 10000);
    QCOMPARE(state.MasterHeadID, 20);
    QCOMPARE(state.ScanHeadID, 20);
    QCOMPARE(state.HeadIdChangeRequest, 0);
    QTRY_COMPARE_WITH_TIMEOUT(MemoryByte(scan, 11), QStringLiteral("0x14"), 5000);
    QCOMPARE(scan.Marks().Look(4).Brush, 119);
    QCOMPARE(scan.Marks().Look(1).Brush, 122);

    QVERIFY(Answer<ProgramHeadDialog>([&] { scan.ProgramHead(); },
                                      [](ProgramHeadDialog& dialog) {
                                          QCOMPARE(dialog.IdList()->currentRow(), 4);
                                          dialog.SerialNumberBox()->setText(QStringLiteral("4321"));
                                          dialog.DepthRatingList()->setCurrentRow(1);
                                          dialog.OkButton()->click();
                                      }));
    QTRY_COMPARE_WITH_TIMEOUT(Information(scan, 1), QStringLiteral("4321"), 10000);
    QCOMPARE(Information(scan, 4), QStringLiteral("3000 Meters"));
    QCOMPARE(state.HeadProgramRequest, 0);
    QCOMPARE(state.ReturnHeadID, 20);
}

}  // namespace

class ScanWindowLiveTest : public QObject {
    Q_OBJECT
private slots:
    // The window on a ping cycle of its own.
    void scanWindowProgramsTheHead() {
        HeadSim head;
        QVERIFY(head.Start(QStringLiteral("127.0.0.66"), {QStringLiteral("--head-scan")}));
        SonarState state;
        state.IPAddress_Sonar1 = "127.0.0.66";
        state.HeadScanMode = 1;
        ScriptedPrompts prompts;
        QWidget owner;
        ScanWindow scan(state, prompts, &owner);
        scan.show();
        ScanTarget target;
        target.Window = &scan;
        SystemClock clock;
        QObject context;
        PingCycle* cycleOf = nullptr;
        PingCycle cycle(state, clock, target, [&context, &cycleOf] {
            QMetaObject::invokeMethod(
                &context,
                [&cycleOf] {
                    if (cycleOf) cycleOf->Poll();
                },
                Qt::QueuedConnection);
        });
        cycleOf = &cycle;
        cycle.Start();
        ProgramTheHead(scan, state);
        QVERIFY(target.HeadScans > 2);
        QVERIFY(prompts.Messages.empty());
        cycleOf = nullptr;
        cycle.Stop();
    }

    // The same through the main window's command 655.
    void headScanCommandOpensTheWindow() {
        HeadSim head;
        QVERIFY(head.Start(QStringLiteral("127.0.0.67"), {QStringLiteral("--head-scan")}));
        TestFolder folder(QStringLiteral("IPAddress_Sonar1=127.0.0.67\n"));
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        window->RunCommand(Command::Diagnostics);
        DiagnosticsWindow* diagnostics = window->Diagnostics();
        QVERIFY(diagnostics->isVisible());
        window->RunCommand(Command::HeadScan);
        ScanWindow* scan = window->HeadScanWindow();
        QVERIFY(scan->isVisible());
        QCOMPARE(window->State().HeadScanMode, 1);
        QVERIFY(window->CommandAction(Command::HeadScan)->isChecked());
        ProgramTheHead(*scan, window->State());

        // The diagnostics follow every reply, the new ID included.
        const int refreshes = diagnostics->Refreshes();
        QTRY_VERIFY_WITH_TIMEOUT(diagnostics->Refreshes() > refreshes + 2, 5000);
        QCOMPARE(QString::fromStdString(DiagnosticsRows(window->State())[1].Value), QStringLiteral("0x14 (0x14)"));
        QCOMPARE(QString::fromStdString(DiagnosticsRows(window->State())[0].Value), QStringLiteral("BTL"));

        // The command again, and the window's own close, end the scan.
        window->RunCommand(Command::HeadScan);
        QVERIFY(!scan->isVisible());
        QCOMPARE(window->State().HeadScanMode, 0);
        QCOMPARE(window->State().ScanHeadID, 16);
        QVERIFY(!window->CommandAction(Command::HeadScan)->isChecked());
        window->RunCommand(Command::HeadScan);
        QVERIFY(scan->isVisible() && window->CommandAction(Command::HeadScan)->isChecked());
        scan->close();
        QCOMPARE(window->State().HeadScanMode, 0);
        QVERIFY(!window->CommandAction(Command::HeadScan)->isChecked());
    }
};

QTEST_MAIN(ScanWindowLiveTest)
#include "ScanWindowLiveTest.moc"
