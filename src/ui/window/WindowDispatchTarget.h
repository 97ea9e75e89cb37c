#pragma once
// The window's side of the ping dispatch: the picture is drawn into SonarImage by the
// image code, and every blit becomes a repaint of the image area with the next display
// frame. Recording goes to the recorder, the status marks to the view.

#include <cstdint>
#include <functional>

#include "files/Recorder.h"
#include "image/ImageDispatch.h"
#include "ui/view/SonarView.h"
#include "ui_core/HeadIndicator.h"

namespace tidemar {

// What the other windows and tools of the program do for a ping; each may be left empty.
struct WindowHooks {
    std::function<void()> FrameCapture;          // playback with auto frame capture
    std::function<void()> AddProfilePoint;       // a plotted ping of an auto-profile scan
    std::function<void()> AutoProfileCycleStep;  // between live pings while auto-profile runs
    std::function<void()> RunAutoProfileDialog;  // the menu's request, between live pings
    std::function<bool()> DiagnosticsShown;
    std::function<void()> RefreshDiagnostics;
    std::function<void()> RefreshHeadScan;  // a head-scan reply came back
};

class WindowDispatchTarget : public ImageDispatchTarget {
public:
    WindowDispatchTarget(SonarState& state, ImageState& image, Recorder& recorder)
        : ImageDispatchTarget(state, image), recorder_(recorder) {}

    void SetView(SonarView* view) { view_ = view; }
    void SetHooks(WindowHooks hooks) { hooks_ = std::move(hooks); }

    void FrameCapture() override { Call(hooks_.FrameCapture); }
    void AddProfilePoint(const SonarState&) override { Call(hooks_.AddProfilePoint); }
    void AutoProfileCycleStep() override { Call(hooks_.AutoProfileCycleStep); }
    void RunAutoProfileDialog() override { Call(hooks_.RunAutoProfileDialog); }
    bool DiagnosticsShown() const override { return hooks_.DiagnosticsShown && hooks_.DiagnosticsShown(); }
    void RefreshDiagnostics() override { Call(hooks_.RefreshDiagnostics); }
    void RefreshHeadScan() override { Call(hooks_.RefreshHeadScan); }

    void BlitSonarImage() override;
    void DrawPingIndicator(bool on) override;
    void BlinkNoConnection(bool toggle) override;
    void EraseLinkStatus() override;
    bool Recording() const override { return recorder_.Recording(); }
    void WriteRecord(const SonarState& state) override { recorder_.WriteRecord(state); }
    void OnNewSecond() override;
    // Read-outs taken from the clock or from a played record.
    void DrawDateTime() override;
    void DrawFrequencyReadout() override;
    void DrawUserTextBox() override;
    // Playback: the read-outs whose played values changed since they were last shown, with
    // what showing them does to the state (the range's sample spacing, the mode's sector
    // and train, the SS side's grid); live and played: the transducer pictogram.
    void RefreshChangedReadouts() override;
    // The next ping redraws every read-out (a new file or data source).
    void ForgetShownReadouts() { shown_ = {}; }
    const ShownReadouts& Shown() const { return shown_; }
    // Overlays after each ping: head markers, the measurement line and read-out, the zoom.
    void DrawHeadPosition() override;
    void RedrawMeasureLine() override;
    void RefreshMeasurementReadout() override;
    void UpdatePixelZoom() override;
    // The position box: a fresh position toggles the blink; the box is repainted.
    void DrawGpsPosition(bool fresh) override;
    bool GpsBlink() const { return gpsBlink_; }

    int Blits() const { return blits_; }
    // Every dispatched reply, valid or not, and every reset of the ping mark counts: the
    // window watches this to see whether the head still answers.
    uint64_t PingsHeard() const { return pingsHeard_; }

private:
    static void Call(const std::function<void()>& hook) {
        if (hook) hook();
    }

    WindowHooks hooks_;
    Recorder& recorder_;
    SonarView* view_ = nullptr;
    bool blink_ = false;
    bool gpsBlink_ = false;
    int blits_ = 0;
    uint64_t pingsHeard_ = 0;
    ShownReadouts shown_;
    int shownRunMode_ = -1;
};

}  // namespace tidemar
