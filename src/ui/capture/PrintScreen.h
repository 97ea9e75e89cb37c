#pragma once
// The print command (20): one job named "Braxtel Screen Capture" of a
// single page with "Printer Test Page" at (50,50) in printer coordinates, on a printer
// the operator chooses. A small window with a "Cancel" button stays up while the job
// runs; the main window takes no input meanwhile.
//
// Where the job goes is injected: the print dialog in the program, a PDF printer in the
// tests, through the same path.
//
// Main thread only.

#include <memory>

class QPrinter;
class QWidget;

namespace tidemar {

class Prompts;

inline constexpr const char* PrintJobName = "Braxtel Screen Capture";
inline constexpr const char* PrintTestText = "Printer Test Page";
inline constexpr const char* CancelDialogName = "ABORTDLG";  // object name of the cancel window

class PrinterChoice {
public:
    virtual ~PrinterChoice() = default;
    // The print dialog: the chosen printer, kept by this object, or null on Cancel.
    virtual QPrinter* ChoosePrinter(QWidget* parent) = 0;
    // Whether the printer takes bitmaps; a printer that does not is refused.
    virtual bool CanPrintBitmaps(QPrinter& printer);
};

// Qt's print dialog, for one copy (copies and collation left to the printer).
class DialogPrinterChoice : public PrinterChoice {
public:
    DialogPrinterChoice();
    ~DialogPrinterChoice() override;
    QPrinter* ChoosePrinter(QWidget* parent) override;

private:
    std::unique_ptr<QPrinter> printer_;
};

enum class PrintResult { Cancelled, NoBitmaps, Printed, Aborted, Failed };

// Runs the job. Cancel in the print dialog: nothing happens. A printer without bitmaps:
// "Printer cannot display bitmaps." under "Device Error". "Cancel" during the job shows
// "Incoming" under "WM_COMMAND" and ends the job at its next check, before the page is
// finished. A printer that refuses the job is reported ("Device Error"). The main window
// is enabled again in every case.
PrintResult PrintScreen(QWidget* mainWindow, Prompts& prompts, PrinterChoice& choice);

}  // namespace tidemar
