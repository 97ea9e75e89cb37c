#include "image/ImageDispatch.h"

#include "image/ImageBuffer.h"
#include "image/ImageGrid.h"
#include "image/PingTables.h"
#include "image/ProfileDisplay.h"
#include "image/ScanConversion.h"
#include "image/Waterfall.h"

namespace tidemar {

void ImageDispatchTarget::ResetEchoHistory() { ClearPingTables(state_, image_, playbackOpen_); }

void ImageDispatchTarget::RedrawSonarImage() {
    tidemar::RedrawSonarImage(image_, [this](SonarImage& image) { DrawImageGrid(state_, image); });
    tidemar::DrawDredgeLine(state_, image_);
    BlitSonarImage();
}

void ImageDispatchTarget::RemoveGrid() {
    const int grid = state_.Grid;
    image_.ImageBusy = true;
    state_.Grid = 0;
    DrawImageGrid(state_, image_.Image);
    state_.Grid = grid;
    image_.ImageBusy = false;
    BlitSonarImage();
}

void ImageDispatchTarget::DrawGrid() {
    image_.ImageBusy = true;
    DrawImageGrid(state_, image_.Image);
    image_.ImageBusy = false;
    tidemar::DrawDredgeLine(state_, image_);
    BlitSonarImage();
}

void ImageDispatchTarget::PlotWaterfallPing(bool backwards) {
    tidemar::PlotWaterfallPing(state_, image_.Image, backwards);
    BlitSonarImage();
}

void ImageDispatchTarget::PlotProfilePointOnly() {
    if (tidemar::PlotProfilePointOnly(state_, image_)) BlitSonarImage();
}

void ImageDispatchTarget::AdvancePingHistory() { tidemar::AdvancePingHistory(image_.History, state_); }

void ImageDispatchTarget::PlotSectorPing() {
    tidemar::PlotSectorPing(state_, image_);
    BlitSonarImage();
}

void ImageDispatchTarget::PlotMixProfilePoint() {
    if (tidemar::PlotMixProfilePoint(state_, image_)) BlitSonarImage();
}

void ImageDispatchTarget::DrawDredgeLine() {
    if (tidemar::DrawDredgeLine(state_, image_)) BlitSonarImage();
}

}  // namespace tidemar
