#pragma once
// What the window does for the auto-profile cycle. Its DispatchTarget forwards three
// hooks here: AddProfilePoint (each plotted ping of a scan), AutoProfileCycleStep (between
// two live pings, after a valid one) and RunAutoProfileDialog (the menu's request, served
// between two pings). Dialogs are modal, so the pings wait while one is open.
//
// Neither dialog wipes the picture: the one the menu opened redraws the dredge line (its
// depth may have changed), the one that follows a finished scan redraws nothing, so the
// scan just saved stays on screen under the next one.
//
// What the view shows from the state:
//   AutoProfileActive && AutoProfilePositioning  the status box under the image says
//       "Wait - Adjusting Transducer" (white on index 124, index 123 border) in place of
//       "No Connection"; EraseLinkStatus ends it.
//   BusyCursorOn                                 the hourglass replaces every pointer.
// Hooks.StatusChanged is called whenever either of these was set here.

#include <functional>
#include <string>

#include "image/SonarImage.h"
#include "core/AutoProfile.h"
#include "core/SonarState.h"
#include "core/Prompts.h"

class QWidget;

namespace tidemar {

inline constexpr const char* AdjustingTransducerText = "Wait - Adjusting Transducer";

struct AutoProfileHooks {
    // The screen capture of a saved scan, to the automatic name given (.BMP).
    std::function<void(const std::string& name)> CaptureScreen;
    // After the Auto-Profile dialog opened from the menu: the dredge line may have moved.
    std::function<void()> RedrawDredgeLine;
    // The status box or the busy cursor changed.
    std::function<void()> StatusChanged;
};

class AutoProfileController {
public:
    // `directory` is where the XYZ and BMP files of the scans go (empty: the working
    // directory). `parent` owns the dialogs.
    AutoProfileController(SonarState& state, ImageState& image, Prompts& prompts, QWidget* parent,
                          std::string directory, AutoProfileHooks hooks);

    void AddProfilePoint();
    void AutoProfileCycleStep();
    // The menu's dialog, then the dredge line.
    void RunAutoProfileDialog();

    // The data source changed: no scan is under way any more.
    void ResetCycle();

    const ProfileScan& Scan() const { return scan_; }
    // Names of the XYZ files written so far, oldest first.
    const std::vector<std::string>& XyzFilesWritten() const { return written_; }

private:
    class Completion;
    ScanGeometry Geometry() const;
    // The dialog and what its closing does to the scan and the status box.
    void ShowDialog();

    SonarState& state_;
    ImageState& image_;
    Prompts& prompts_;
    QWidget* parent_;
    std::string directory_;
    AutoProfileHooks hooks_;
    ProfileScan scan_;
    std::vector<std::string> written_;
};

}  // namespace tidemar
