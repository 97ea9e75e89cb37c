#pragma once
// The drawing steps of the ping dispatch, done in SonarImage: the scan conversion, the
// profile marks, the dredge line, the grid and the SS waterfall. Every change of the
// picture ends in BlitSonarImage, which the window overrides to show the image; headless
// users (tidemar-cli render, tests) leave it empty and read the image.

#include "image/SonarImage.h"
#include "core/DispatchPing.h"
#include "core/SonarState.h"

namespace tidemar {

class ImageDispatchTarget : public DispatchTarget {
public:
    ImageDispatchTarget(SonarState& state, ImageState& image) : state_(state), image_(image) {}

    // While a playback file is open the profile point table survives a display reset.
    void SetPlaybackOpen(bool open) { playbackOpen_ = open; }

    virtual void BlitSonarImage() {}

    void ResetEchoHistory() override;
    void RedrawSonarImage() override;
    void RemoveGrid() override;
    void DrawGrid() override;
    void PlotWaterfallPing(bool backwards) override;
    void PlotProfilePointOnly() override;
    void AdvancePingHistory() override;
    void PlotSectorPing() override;
    void PlotMixProfilePoint() override;
    void DrawDredgeLine() override;

protected:
    SonarState& state_;
    ImageState& image_;

private:
    bool playbackOpen_ = false;
};

}  // namespace tidemar
