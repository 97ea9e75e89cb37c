// The print command through Qt's PDF printer standing in for the chosen printer: the job,
// its page and text, the printer refused for bitmaps, Cancel in the print dialog and the
// Cancel button while the job runs.
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include "UiTestSupport.h"
#include "ui/capture/PrintScreen.h"

using namespace tidemar;
using namespace tidemar::uitest;

namespace {

const QString NoHead = QStringLiteral("IPAddress_Sonar1=127.0.0.64\n");

class PdfPrinterChoice : public PrinterChoice {
public:
    explicit PdfPrinterChoice(const QString& path) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(path);
    }
    bool Cancel = false;
    bool Bitmaps = true;
    int Asked = 0;
    QPrinter* ChoosePrinter(QWidget*) override {
        ++Asked;
        return Cancel ? nullptr : &printer_;
    }
    bool CanPrintBitmaps(QPrinter& printer) override { return Bitmaps && PrinterChoice::CanPrintBitmaps(printer); }

private:
    QPrinter printer_{QPrinter::HighResolution};
};

QString RunTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(20000)) return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QWidget* CancelDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String(CancelDialogName) && widget->isVisible()) return widget;
    return nullptr;
}

}  // namespace

class PrintTest : public QObject {
    Q_OBJECT
private slots:
    void printsOneTestPage() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        const QString pdf = folder.Path(QStringLiteral("page.pdf"));
        PdfPrinterChoice choice(pdf);

        // While the job runs: the main window takes no input, the cancel window is up.
        bool windowDisabled = false;
        QString dialogTitle, dialogTexts;
        QTimer::singleShot(0, [&] {
            windowDisabled = !window->isEnabled();
            if (QWidget* dialog = CancelDialog()) {
                dialogTitle = dialog->windowTitle();
                for (QLabel* label : dialog->findChildren<QLabel*>()) dialogTexts += label->text() + QLatin1Char('|');
                for (QPushButton* button : dialog->findChildren<QPushButton*>()) dialogTexts += button->text();
            }
        });
        QCOMPARE(PrintScreen(window.get(), prompts, choice), PrintResult::Printed);
        QVERIFY(prompts.Messages.empty());
        QVERIFY(windowDisabled);
        QCOMPARE(dialogTitle, QStringLiteral("Sample Printing App"));
        QCOMPARE(dialogTexts, QStringLiteral("Now Printing: ||Cancel"));
        QVERIFY(window->isEnabled());
        QVERIFY(!CancelDialog());

        const QString text = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY2(text.contains(QStringLiteral("Printer Test Page")), qPrintable(text));
        const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Title:\\s+Braxtel Screen Capture"))),
                 qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\b"))), qPrintable(info));
    }

    void cancelledDialogPrintsNothing() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        const QString pdf = folder.Path(QStringLiteral("page.pdf"));
        PdfPrinterChoice choice(pdf);
        choice.Cancel = true;
        QCOMPARE(PrintScreen(window.get(), prompts, choice), PrintResult::Cancelled);
        QCOMPARE(choice.Asked, 1);
        QVERIFY(prompts.Messages.empty());
        QVERIFY(window->isEnabled());
        QVERIFY(!QFile::exists(pdf));
    }

    void printerWithoutBitmapsIsRefused() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        const QString pdf = folder.Path(QStringLiteral("page.pdf"));
        PdfPrinterChoice choice(pdf);
        choice.Bitmaps = false;
        QCOMPARE(PrintScreen(window.get(), prompts, choice), PrintResult::NoBitmaps);
        QCOMPARE(prompts.Messages.size(), size_t(1));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Caption), QStringLiteral("Device Error"));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Text), QStringLiteral("Printer cannot display bitmaps."));
        QCOMPARE(prompts.Messages[0].Icon, MessageIcon::None);
        QVERIFY(window->isEnabled());
        QVERIFY(!CancelDialog());
        QVERIFY(!QFile::exists(pdf));
    }

    void cancelDuringTheJobEndsIt() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        const QString pdf = folder.Path(QStringLiteral("page.pdf"));
        PdfPrinterChoice choice(pdf);
        bool clicked = false;
        QTimer::singleShot(0, [&] {
            if (QWidget* dialog = CancelDialog()) {
                QPushButton* cancel = dialog->findChild<QPushButton*>();
                if (cancel) {
                    QTest::mouseClick(cancel, Qt::LeftButton);
                    clicked = true;
                }
            }
        });
        QCOMPARE(PrintScreen(window.get(), prompts, choice), PrintResult::Aborted);
        QVERIFY(clicked);
        QCOMPARE(prompts.Messages.size(), size_t(1));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Caption), QStringLiteral("WM_COMMAND"));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Text), QStringLiteral("Incoming"));
        QVERIFY(window->isEnabled());
        QVERIFY(!CancelDialog());
        // The page was never finished.
        if (QFile::exists(pdf)) {
            const QString text = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
            QVERIFY2(!text.contains(QStringLiteral("Printer Test Page")), qPrintable(text));
        }
    }
};

QTEST_MAIN(PrintTest)
#include "PrintTest.moc"
