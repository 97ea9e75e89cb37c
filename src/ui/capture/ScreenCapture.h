#pragma once
// Screen captures: what the main window shows, its menu bar included, saved as an 8-bit
// BMP of 800 x 600 palette indexes (see image/BmpFile.h for the layout). Three ways in:
// "&Save Screen..." asks for the name; the auto-profile cycle names the file after the
// date of the scan; auto frame capture during playback writes one file per sweep, named
// after the played file.
//
// The window manager's frame and caption are not the program's to read, so the captured
// area starts at the top-left corner of the window's own pixels: the menu bar, then the
// client area down to row 599. Pixels of that area the window does not cover are black.
//
// Main thread only.

#include <optional>
#include <string>
#include <vector>

#include "image/BmpFile.h"
#include "image/DisplayPalette.h"
#include "image/ImageColorTable.h"
#include "core/SonarState.h"
#include "core/Prompts.h"

class QWidget;

namespace tidemar {

class SonarView;

// What a capture reads: the window whose pixels are taken, the picture the capture names
// are shown over, the colour table the pixels are matched against, and the run's state.
struct CaptureScene {
    QWidget* Window = nullptr;
    SonarView* View = nullptr;
    const ImageColorTable* Colors = nullptr;
    SonarState* State = nullptr;
};

inline constexpr int CaptureWidth = 800;
inline constexpr int CaptureHeight = 600;
inline constexpr const char* SaveScreenTitle = "Save Screen As";
inline constexpr const char* BmpExtensionMessage = "File extension must be .BMP";
inline constexpr int CaptureNameIndex = 126;  // fill of the strip that shows a capture's name

// The save dialog of command 207: "BITMAP File    (*.BMP)", default extension BMP, and
// beside it "PNG File    (*.PNG)" (the same pixels and palette as an 8-bit PNG); an
// existing folder, a question before a file is replaced.
FileDialogRequest SaveScreenDialog();

// Settles the capture's name and creates the file. With `autoName` the name is the next
// auto-profile capture of the date of the current ping in the working folder, without a
// dialog; otherwise the dialog asks (Cancel: false, nothing said). A name that does not
// end in .BMP gives "File extension must be .BMP" and false; a file that cannot be
// created says why and gives false. The name is kept as chosen.
bool SaveScreenAs(BmpOutputFile& file, const SonarState& state, Prompts& prompts, bool autoName);

// Reads the window into the file created by SaveScreenAs (as PNG when it is named so) and closes it. False, with a
// message saying why, when the file could not be written (it is then removed).
bool WriteScreenBmp(const CaptureScene& scene, BmpOutputFile& file, Prompts& prompts);

// Both in turn: command 207 (autoName false) and the capture of an auto-profile scan
// (autoName true). True when a capture was written.
bool SaveScreen(const CaptureScene& scene, Prompts& prompts, bool autoName);

// Auto frame capture of the sweep just played: the next name of `playedFile` (see
// FrameCaptureName) is shown under the image and the window written to it. A file that
// cannot be written turns auto frame capture off with a message saying why, rather than
// fail silently at every sweep. True when a capture was written.
bool FrameCapture(const CaptureScene& scene, const std::string& playedFile, Prompts& prompts, WindowChrome& chrome);

// Command 208, in playback only: turns auto frame capture on ("Capture Started...") or
// off ("Capture Stopped!") and swaps the menu text between start and stop.
void ToggleAutoFrameCapture(SonarState& state, Prompts& prompts, WindowChrome& chrome);

// Shows `name` in white on a strip over the bottom of the image, (3,492)-(598,508), for
// FrameCapturePauseMilliseconds; the window stays live meanwhile, and the image is
// repainted when the strip goes. A new name replaces the one shown and starts the time
// again. Nothing is written for an empty name.
void ShowCaptureName(SonarView* view, const std::string& name);
// The name on the strip while it is shown.
std::optional<std::string> ShownCaptureName(const SonarView* view);

// The top-left CaptureWidth x CaptureHeight pixels of `window` (children included, the
// capture-name strip left out) as indexes of their nearest `palette` entries, top row first.
// They are the pixels of the window at 100% zoom in the day colours, whatever it shows.
std::vector<uint8_t> CaptureWindowIndexes(QWidget* window, const DisplayPalette& palette);

}  // namespace tidemar
