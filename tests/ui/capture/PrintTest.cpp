// The print command through Qt's PDF printer standing in for the chosen printer: the job,
// its page (the window's capture and the caption under it), the printer refused for bitmaps, Cancel in the print dialog
// and the Cancel button while the job runs.
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <set>

#include "UiTestSupport.h"
#include "image/DisplayPalette.h"
#include "ui/capture/PrintScreen.h"
#include "ui/capture/ScreenCapture.h"

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
    QPrinter& Printer() { return printer_; }

private:
    QPrinter printer_{QPrinter::HighResolution};
};

QString RunTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(20000)) return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Where the picture lands on a page rendered at `dpi`: the printable area less two caption
// lines, the picture scaled into it with its aspect kept and centred across.
QRectF PictureOnPage(QPrinter& printer, double dpi) {
    const QPageLayout layout = printer.pageLayout();
    const QRectF paint = layout.paintRect(QPageLayout::Point);
    const double pixelsPerPoint = printer.resolution() / 72.0;
    const QFontMetrics metrics(QFont(), &printer);
    const double available = paint.height() - 2.0 * metrics.height() / pixelsPerPoint;
    const QSizeF size =
        QSizeF(CaptureWidth, CaptureHeight).scaled(QSizeF(paint.width(), available), Qt::KeepAspectRatio);
    const double scale = dpi / 72.0;
    return QRectF((paint.left() + (paint.width() - size.width()) / 2) * scale, paint.top() * scale,
                  size.width() * scale, size.height() * scale);
}

// Capture pixels lying in a patch of one colour, spread over the whole capture.
std::vector<QPoint> UniformPoints(const std::vector<uint8_t>& indexes) {
    std::vector<QPoint> points;
    const auto at = [&](int x, int y) { return indexes[static_cast<size_t>(y) * CaptureWidth + x]; };
    for (int y = 8; y < CaptureHeight - 8; y += 23)
        for (int x = 8; x < CaptureWidth - 8; x += 29) {
            bool uniform = true;
            for (int dy = -5; dy <= 5 && uniform; ++dy)
                for (int dx = -5; dx <= 5 && uniform; ++dx) uniform = at(x + dx, y + dy) == at(x, y);
            if (uniform) points.emplace_back(x, y);
        }
    return points;
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
        QCOMPARE(PrintScreen(window->CaptureTarget(), prompts, choice, ""), PrintResult::Printed);
        QVERIFY(prompts.Messages.empty());
        QVERIFY(windowDisabled);
        QCOMPARE(dialogTitle, QStringLiteral("Sample Printing App"));
        QCOMPARE(dialogTexts, QStringLiteral("Now Printing: ||Cancel"));
        QVERIFY(window->isEnabled());
        QVERIFY(!CancelDialog());

        // The caption, and the capture's pixels found at their scaled places on the page.
        const QString text = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d"))),
                 qPrintable(text));
        QVERIFY2(!text.contains(QStringLiteral("File:")), qPrintable(text));
        const DisplayPalette palette = BuildDisplayPalette(window->Colors());
        const std::vector<uint8_t> indexes = CaptureWindowIndexes(window.get(), palette);
        const double dpi = 100;
        const QString pagePrefix = folder.Path(QStringLiteral("page"));
        RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                                             QStringLiteral("-singlefile"), pdf, pagePrefix});
        const QImage page(pagePrefix + QStringLiteral(".png"));
        QVERIFY(!page.isNull());
        const QRectF target = PictureOnPage(choice.Printer(), dpi);
        const std::vector<QPoint> points = UniformPoints(indexes);
        QVERIFY(points.size() > 50);
        std::set<uint8_t> colours;
        for (const QPoint& point : points) {
            const uint8_t index = indexes[static_cast<size_t>(point.y()) * CaptureWidth + point.x()];
            colours.insert(index);
            const PaletteEntry& want = palette.Entries[index];
            const QPoint onPage((target.left() + (point.x() + 0.5) * target.width() / CaptureWidth),
                                (target.top() + (point.y() + 0.5) * target.height() / CaptureHeight));
            const QColor got = page.pixelColor(onPage);
            const int diff =
                std::abs(got.red() - want.Red) + std::abs(got.green() - want.Green) + std::abs(got.blue() - want.Blue);
            QVERIFY2(diff <= 24, qPrintable(QStringLiteral("capture (%1,%2) at page (%3,%4): %5 for %6,%7,%8")
                                                .arg(point.x())
                                                .arg(point.y())
                                                .arg(onPage.x())
                                                .arg(onPage.y())
                                                .arg(got.name())
                                                .arg(want.Red)
                                                .arg(want.Green)
                                                .arg(want.Blue)));
        }
        QVERIFY(colours.size() >= 3);
        const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Title:\\s+Braxtel Screen Capture"))),
                 qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\b"))), qPrintable(info));
    }

    void captionNamesThePlayedFile() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        const QString pdf = folder.Path(QStringLiteral("page.pdf"));
        PdfPrinterChoice choice(pdf);
        QCOMPARE(PrintScreen(window->CaptureTarget(), prompts, choice, "SURVEY01.K7T"), PrintResult::Printed);
        const QString text = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY2(text.contains(QStringLiteral("File: SURVEY01.K7T")), qPrintable(text));
    }

    void cancelledDialogPrintsNothing() {
        TestFolder folder(NoHead);
        ScriptedPrompts prompts;
        auto window = MakeWindow(folder, prompts);
        window->Start();
        const QString pdf = folder.Path(QStringLiteral("page.pdf"));
        PdfPrinterChoice choice(pdf);
        choice.Cancel = true;
        QCOMPARE(PrintScreen(window->CaptureTarget(), prompts, choice, ""), PrintResult::Cancelled);
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
        QCOMPARE(PrintScreen(window->CaptureTarget(), prompts, choice, ""), PrintResult::NoBitmaps);
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
        QCOMPARE(PrintScreen(window->CaptureTarget(), prompts, choice, ""), PrintResult::Aborted);
        QVERIFY(clicked);
        QCOMPARE(prompts.Messages.size(), size_t(1));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Caption), QStringLiteral("WM_COMMAND"));
        QCOMPARE(QString::fromStdString(prompts.Messages[0].Text), QStringLiteral("Incoming"));
        QVERIFY(window->isEnabled());
        QVERIFY(!CancelDialog());
        // The page was never finished.
        if (QFile::exists(pdf)) {
            const QString text = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
            QVERIFY2(!text.contains(QStringLiteral(":")), qPrintable(text));
        }
    }
};

QTEST_MAIN(PrintTest)
#include "PrintTest.moc"
