// The menu commands reach what they name: each is run through the window as the menu runs
// it, and the effect is looked for in the state, the files and the messages.
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include "DialogTestSupport.h"
#include "UiTestSupport.h"
#include "ui/toolwindows/DiagnosticsWindow.h"
#include "ui/window/MainMenu.h"
#include "ui/toolwindows/ScanWindow.h"
#include "ui/dialogs/OffsetAngleDialog.h"
#include "ui/capture/PrintScreen.h"
#include "ui/dialogs/UserTextDialog.h"

using namespace tidemar;
using namespace tidemar::uitest;

namespace {

// Nothing listens here: the link is refused at once.
const QString NoHead = QStringLiteral("IPAddress_Sonar1=127.0.0.61\n");

class PdfChoice : public PrinterChoice {
public:
    explicit PdfChoice(const QString& path) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(path);
    }
    int Asked = 0;
    QPrinter* ChoosePrinter(QWidget*) override {
        ++Asked;
        return &printer_;
    }

private:
    QPrinter printer_;
};

std::unique_ptr<MainWindow> MakeWindowWith(const TestFolder& folder, ScriptedPrompts& prompts, PrinterChoice* printer) {
    MainWindowOptions options;
    options.SettingsDirectory = folder.Dir.path().toStdString();
    options.DeviceDirectory = folder.Path(QStringLiteral("dev")).toStdString();
    options.Dialogs = &prompts;
    options.Printer = printer;
    return std::make_unique<MainWindow>(options);
}

}  // namespace

class WindowCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void userTextAndRotationDialogsChangeTheWindow() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QVERIFY(AnswerDialog<UserTextDialog>([&] { window->RunCommand(Command::UserText); },
                                             [](UserTextDialog& dialog) {
                                                 dialog.TextBox()->setText(QStringLiteral("Pier 4 survey"));
                                                 dialog.OkButton()->click();
                                             }));
        QCOMPARE(window->State().UserText, std::string("Pier 4 survey"));

        QVERIFY(AnswerDialog<OffsetAngleDialog>([&] { window->RunCommand(Command::OffsetAngle); },
                                                [](OffsetAngleDialog& dialog) {
                                                    dialog.ValueBox()->clear();
                                                    QTest::keyClicks(dialog.ValueBox(), QStringLiteral("45"));
                                                    dialog.OkButton()->click();
                                                }));
        QCOMPARE(window->State().ImageRotation, 45.0f);
        window->close();
        QVERIFY(folder.IniText().contains(QStringLiteral("Pier 4 survey")));
    }

    void saveScreenWritesTheChosenBitmap() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        const QString name = folder.Path(QStringLiteral("Harbour.BMP"));
        prompts.FileAnswers.push_back(name.toStdString());
        window->RunCommand(Command::SaveScreen);
        QCOMPARE(QFile(name).size(), qint64(481078));
        QVERIFY(prompts.Messages.empty());
    }

    void autoFrameCaptureOnlyInPlayback() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QVERIFY(!window->CommandAction(Command::AutoFrameCapture)->isEnabled());
        window->RunCommand(Command::AutoFrameCapture);  // HEAD: nothing
        QCOMPARE(window->State().AutoFrameCaptureOn, 0);
        QVERIFY(prompts.Messages.empty());

        prompts.FileAnswers.push_back(SectorRecording().toStdString());
        window->SelectDataSource(DataSource::File);
        window->ToggleHold();
        QVERIFY(window->CommandAction(Command::AutoFrameCapture)->isEnabled());
        window->RunCommand(Command::AutoFrameCapture);
        QCOMPARE(window->State().AutoFrameCaptureOn, 1);
        QCOMPARE(window->CommandAction(Command::AutoFrameCapture)->text(),
                 QStringLiteral("&Auto Frame Capture Stop..."));
        window->RunCommand(Command::AutoFrameCapture);
        QCOMPARE(window->State().AutoFrameCaptureOn, 0);
        QCOMPARE(window->CommandAction(Command::AutoFrameCapture)->text(),
                 QStringLiteral("&Auto Frame Capture Start..."));
        QCOMPARE(prompts.Messages.size(), size_t(2));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Text), QStringLiteral("Capture Started..."));
        QCOMPARE(QString::fromStdString(prompts.Messages[1].Text), QStringLiteral("Capture Stopped!"));
        QCOMPARE(QString::fromStdString(prompts.Messages[1].Caption), QStringLiteral("Auto Frame Capture"));
    }

    void autoProfileIsAskedOnlyLive() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        window->RunCommand(Command::AutoProfile);
        QCOMPARE(window->State().AutoProfileRequest, 1);  // the ping cycle opens the dialog
        window->State().AutoProfileRequest = 0;
        prompts.FileAnswers.push_back(SectorRecording().toStdString());
        window->SelectDataSource(DataSource::File);
        window->RunCommand(Command::AutoProfile);
        QCOMPARE(window->State().AutoProfileRequest, 0);
        QVERIFY(!window->CommandAction(Command::AutoProfile)->isEnabled());
    }

    void diagnosticsAndHeadScanWindows() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        QVERIFY(!window->Diagnostics()->isVisible());
        QVERIFY(!window->Target().DiagnosticsShown());
        window->RunCommand(Command::Diagnostics);
        QVERIFY(window->Diagnostics()->isVisible());
        QVERIFY(window->Target().DiagnosticsShown());

        window->RunCommand(Command::HeadScan);
        QCOMPARE(window->State().HeadScanMode, 1);
        QVERIFY(window->HeadScanWindow()->isVisible());
        QVERIFY(window->CommandAction(Command::HeadScan)->isChecked());
        // Closed by the operator: the scan ends and the menu follows.
        window->HeadScanWindow()->close();
        QCOMPARE(window->State().HeadScanMode, 0);
        QVERIFY(!window->CommandAction(Command::HeadScan)->isChecked());
        window->RunCommand(Command::HeadScan);
        window->RunCommand(Command::HeadScan);
        QCOMPARE(window->State().HeadScanMode, 0);
        QVERIFY(!window->HeadScanWindow()->isVisible());
    }

    void printScreenPrintsThroughTheChosenPrinter() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        const QString pdf = folder.Path(QStringLiteral("page.pdf"));
        PdfChoice printer(pdf);
        auto window = MakeWindowWith(folder, prompts, &printer);
        window->Start();
        window->RunCommand(Command::PrintScreen);
        QCOMPARE(printer.Asked, 1);
        QTRY_VERIFY_WITH_TIMEOUT(QFile(pdf).size() > 0, 10000);
        QVERIFY(window->isEnabled());
    }
};

QTEST_MAIN(WindowCommandsTest)
#include "WindowCommandsTest.moc"
