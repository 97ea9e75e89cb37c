#pragma once
// The one road every ping takes, live or played back: validation and decoding, recording,
// read-outs, drawing in the current display mode, overlays and pacing. The order of the
// steps is fixed here; what each step draws or writes belongs to the rest of the program,
// reached through DispatchTarget. The window implements it by drawing; the command-line
// tool and the tests implement it headless.
//
// Runs on the main thread for live and played pings alike.

#include "core/Clock.h"
#include "core/SonarState.h"

namespace tidemar {

class DispatchTarget {
public:
    virtual ~DispatchTarget() = default;

    // Diagnostics window.
    virtual bool DiagnosticsShown() const { return false; }
    virtual void RefreshDiagnostics() {}
    // A head-scan ('T') reply came back, valid or not: the scan window redraws its values.
    virtual void RefreshHeadScan() {}

    // The blinking asterisk left of the status box: erased, then drawn when on.
    virtual void DrawPingIndicator(bool /*on*/) {}

    // Recording of live pings (the recorder writes one record and updates the title).
    virtual bool Recording() const { return false; }
    virtual void WriteRecord(const SonarState& /*state*/) {}

    // Redraws of the whole picture.
    virtual void ResetEchoHistory() {}
    virtual void RedrawSonarImage() {}

    // Read-outs that playback refreshes from the record.
    virtual void DrawDateTime() {}
    virtual void DrawFrequencyReadout() {}
    virtual void DrawGpsPosition(bool /*available*/) {}
    virtual void RemoveGrid() {}  // grid and its label, drawn with the old sound velocity
    virtual void DrawGrid() {}
    virtual void RefreshMeasurementReadout() {}
    virtual void DrawUserTextBox() {}

    // Read-outs after every ping, then the head position overlay.
    virtual void RefreshChangedReadouts() {}
    virtual void DrawHeadPosition() {}

    // Plotting of the ping in the current display mode.
    virtual void PlotWaterfallPing(bool /*backwards*/) {}
    virtual void PlotProfilePointOnly() {}
    virtual void AdvancePingHistory() {}
    virtual void PlotSectorPing() {}
    virtual void PlotMixProfilePoint() {}
    virtual void DrawDredgeLine() {}

    // Auto-profile: the status box is erased when the head reached the scan's start, and
    // each plotted ping of a scan adds a profile point.
    virtual void EraseLinkStatus() {}
    virtual void AddProfilePoint(const SonarState& /*state*/) {}

    // The measurement line (when its origin is fixed) and the pixel zoom window.
    virtual void RedrawMeasureLine() {}
    virtual void UpdatePixelZoom() {}

    // A new second began on the clock: the date and time read-out and the once-a-second
    // GPS step.
    virtual void OnNewSecond() {}

    // The link: the blinking "No Connection" box under the image (toggle 0 erases it).
    virtual void BlinkNoConnection(bool /*toggle*/) {}

    // Between two live pings: one step of the auto-profile cycle after a valid ping, and
    // the auto-profile dialog when the menu asked for it.
    virtual void AutoProfileCycleStep() {}
    virtual void RunAutoProfileDialog() {}

    // Playback: the position slider, the Reverse box, and auto frame capture.
    virtual void SetPlaybackSlider(int /*percent*/) {}
    virtual void DrawReverseControl() {}
    virtual void FrameCapture() {}
};

struct DispatchResult {
    // Milliseconds to wait before the next ping: 100 after an invalid or head-scan reply
    // from the head, the playback pacing of PlotSpeed in playback.
    int PauseMilliseconds = 0;
    bool SecondChanged = false;  // the time stamp started a new second (live pings)
};

DispatchResult DispatchPing(SonarState& state, const Clock& clock, DispatchTarget& target);

// Playback pacing for d = 100 - PlotSpeed, in milliseconds.
int PlotDelayMilliseconds(int d);

}  // namespace tidemar
