#include "ui/capture/PrintScreen.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QImage>
#include <QDialog>
#include <QLabel>
#include <QPainter>
#include <QPaintEngine>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>

#include "core/Prompts.h"
#include "image/DisplayPalette.h"
#include "ui/capture/ScreenCapture.h"

namespace tidemar {

namespace {

constexpr int CancelButtonId = 2;

// The window shown while the job runs. It has no parent: the main window is disabled for
// the length of the job, and this one must still take its click.
std::unique_ptr<QDialog> MakeCancelDialog(QWidget* mainWindow, Prompts& prompts, bool& carryOn) {
    auto dialog = std::make_unique<QDialog>();
    dialog->setObjectName(QString::fromLatin1(CancelDialogName));
    dialog->setWindowTitle(QStringLiteral("Sample Printing App"));
    auto* layout = new QVBoxLayout(dialog.get());
    layout->addWidget(new QLabel(QStringLiteral("Now Printing: "), dialog.get()));
    layout->addWidget(new QLabel(QString(), dialog.get()));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), dialog.get());
    cancel->setProperty("controlId", CancelButtonId);
    cancel->setDefault(true);
    layout->addWidget(cancel);
    auto cancelJob = [&prompts, &carryOn] {
        prompts.Message("WM_COMMAND", "Incoming", MessageIcon::None);
        carryOn = false;
    };
    QObject::connect(cancel, &QPushButton::clicked, dialog.get(), cancelJob);
    // Escape and the window's close box cancel the job as well.
    QObject::connect(dialog.get(), &QDialog::rejected, dialog.get(), cancelJob);
    if (mainWindow) {
        dialog->adjustSize();
        dialog->move(mainWindow->geometry().center() - dialog->rect().center());
    }
    dialog->show();
    return dialog;
}

// The spooler's check between the steps of the job: what waits in the event queue runs
// (the cancel window's click among it), then the job goes on unless it was cancelled.
bool ContinuePrinting(const bool& carryOn) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return carryOn;
}

// The capture as an image of the palette's colours, so the page shows what a saved
// capture would hold.
QImage CaptureImage(const CaptureScene& scene) {
    const DisplayPalette palette = BuildDisplayPalette(*scene.Colors);
    const std::vector<uint8_t> indexes = CaptureWindowIndexes(scene.Window, palette);
    QImage image(CaptureWidth, CaptureHeight, QImage::Format_Indexed8);
    QList<QRgb> colors;
    for (const PaletteEntry& entry : palette.Entries) colors.append(qRgb(entry.Red, entry.Green, entry.Blue));
    image.setColorTable(colors);
    for (int y = 0; y < CaptureHeight; ++y)
        std::copy_n(indexes.data() + static_cast<size_t>(y) * CaptureWidth, CaptureWidth, image.scanLine(y));
    return image;
}

// The picture as large as the page allows with its aspect kept, the caption line under it.
void DrawPage(QPainter& painter, QPrinter& printer, const QImage& picture, const QString& caption) {
    const QRect page(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    const QFontMetrics metrics(painter.font());
    const int captionHeight = metrics.height() * 2;
    QSize size =
        picture.size().scaled(QSize(page.width(), std::max(1, page.height() - captionHeight)), Qt::KeepAspectRatio);
    const QRect target(QPoint((page.width() - size.width()) / 2, 0), size);
    painter.drawImage(target, picture);
    painter.drawText(QPoint(target.left(), target.bottom() + 1 + metrics.height() / 2 + metrics.ascent()), caption);
}

}  // namespace

std::string PrintCaption(const std::string& when, const std::string& playedFile) {
    std::string caption = when;
    if (!playedFile.empty()) caption += "  File: " + playedFile;
    return caption;
}

bool PrinterChoice::CanPrintBitmaps(QPrinter& printer) {
    QPaintEngine* engine = printer.paintEngine();
    return engine && engine->hasFeature(QPaintEngine::PixmapTransform);
}

DialogPrinterChoice::DialogPrinterChoice() = default;
DialogPrinterChoice::~DialogPrinterChoice() = default;

QPrinter* DialogPrinterChoice::ChoosePrinter(QWidget* parent) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setCopyCount(1);
    QPrintDialog dialog(printer_.get(), parent);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    return printer_.get();
}

PrintResult PrintScreen(const CaptureScene& scene, Prompts& prompts, PrinterChoice& choice,
                        const std::string& playedFile) {
    QWidget* mainWindow = scene.Window;
    // Taken before any dialog covers the window.
    const QImage picture = CaptureImage(scene);
    const QString caption = QString::fromStdString(PrintCaption(
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toStdString(), playedFile));
    QPrinter* printer = choice.ChoosePrinter(mainWindow);
    if (!printer) return PrintResult::Cancelled;
    if (!choice.CanPrintBitmaps(*printer)) {
        prompts.Message("Device Error", "Printer cannot display bitmaps.", MessageIcon::None);
        return PrintResult::NoBitmaps;
    }

    bool carryOn = true;
    std::unique_ptr<QDialog> cancel = MakeCancelDialog(mainWindow, prompts, carryOn);
    if (mainWindow) mainWindow->setEnabled(false);

    printer->setDocName(QString::fromLatin1(PrintJobName));
    bool printed = false;
    QPainter painter;
    if (ContinuePrinting(carryOn) && painter.begin(printer)) {
        if (ContinuePrinting(carryOn)) DrawPage(painter, *printer, picture, caption);
        // The page is finished only when the job was not cancelled meanwhile.
        if (ContinuePrinting(carryOn)) {
            printed = painter.end();
        } else {
            printer->abort();
            painter.end();
        }
    }

    if (mainWindow) mainWindow->setEnabled(true);
    cancel.reset();
    if (printed) return PrintResult::Printed;
    if (!carryOn) return PrintResult::Aborted;
    // The printer refused the job: said, rather than taken for a printed page.
    prompts.Message(
        "Device Error",
        std::string("The page could not be sent to the printer ") + printer->printerName().toStdString() + ".",
        MessageIcon::Exclamation);
    return PrintResult::Failed;
}

}  // namespace tidemar
