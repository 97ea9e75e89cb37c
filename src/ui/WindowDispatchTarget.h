#pragma once
// The window's side of the ping dispatch: the picture is drawn into SonarImage by the
// image code, and every blit becomes a repaint of the image area with the next display
// frame. Recording goes to the recorder, the status marks to the view.

#include "files/Recorder.h"
#include "image/ImageDispatch.h"
#include "ui/SonarView.h"

namespace tidemar {

class WindowDispatchTarget : public ImageDispatchTarget {
public:
    WindowDispatchTarget(SonarState& state, ImageState& image, Recorder& recorder)
        : ImageDispatchTarget(state, image), recorder_(recorder) {}

    void SetView(SonarView* view) { view_ = view; }

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
    void RefreshChangedReadouts() override;
    // The position box: a fresh position toggles the blink; the box is repainted.
    void DrawGpsPosition(bool fresh) override;
    bool GpsBlink() const { return gpsBlink_; }

    int Blits() const { return blits_; }

private:
    Recorder& recorder_;
    SonarView* view_ = nullptr;
    bool blink_ = false;
    bool gpsBlink_ = false;
    int blits_ = 0;
};

}  // namespace tidemar
