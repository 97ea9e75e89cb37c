#pragma once
// The print command (20): one job named "Braxtel Screen Capture" of a single page, on a
// printer the operator chooses. The page holds the window's 800 x 600 capture (the same
// pixels "Save Screen As" writes), scaled to fit the printable area with its aspect kept,
// and under it a caption line with the date and time of printing and, in playback, the
// played file's name. A small window with a "Cancel" button stays up while the job
// runs; the main window takes no input meanwhile.
//
// Where the job goes is injected: the print dialog in the program, a PDF printer in the
// tests, through the same path.
//
// Main thread only.

#include <memory>
#include <string>

class QPrinter;
class QWidget;

namespace tidemar {

class Prompts;
struct CaptureScene;

inline constexpr const char* PrintJobName = "Braxtel Screen Capture";
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
// `playedFile` is named in the caption unless empty.
PrintResult PrintScreen(const CaptureScene& scene, Prompts& prompts, PrinterChoice& choice,
                        const std::string& playedFile);

// The caption printed under the picture at `when` ("yyyy-MM-dd hh:mm:ss"): the date and
// time, then "  File: NAME" when a file is played.
std::string PrintCaption(const std::string& when, const std::string& playedFile);

}  // namespace tidemar
