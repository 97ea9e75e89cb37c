#include "image/Waterfall.h"

#include <algorithm>
#include <cstring>

#include "image/ImageGrid.h"
#include "core/Modes.h"

namespace tidemar {

namespace {

constexpr int DashRowBit = 8;  // rows with this bit clear carry the range-zero dash

void Scroll(SonarImage& image, bool reverse) {
    uint8_t* pixels = image.Pixels.data();
    const size_t rowBytes = ImageWidth;
    const size_t movedBytes = rowBytes * (ImageHeight - 1);
    if (reverse)
        std::memmove(pixels, pixels + rowBytes, movedBytes);
    else
        std::memmove(pixels + rowBytes, pixels, movedBytes);
}

// Fixed on the screen: the scroll moved the old dashes by a row.
void DashRangeZero(SonarImage& image, int column) {
    for (int row = 0; row < ImageHeight; ++row) {
        uint8_t& pixel = image.At(column, row);
        pixel = WithoutGridBit(pixel);
        if ((row & DashRowBit) == 0) pixel = WithGridBit(pixel);
    }
}

}  // namespace

SsRowLayout SsRowLayoutOf(int ssSide) {
    if (ssSide == SideScanSide::Starboard) return {95, +1, 94};
    return {595, -1, 95};
}

void PlotWaterfallPing(const SonarState& state, SonarImage& image, bool reverse) {
    Scroll(image, reverse);
    const SsRowLayout layout = SsRowLayoutOf(state.SsSide);
    const bool gridOn = state.Grid != 0;
    if (gridOn) DashRangeZero(image, layout.FirstColumn);

    uint8_t* row = &image.At(0, reverse ? ImageHeight - 1 : 0);
    const int count = std::clamp(state.PlotSampleCount, 0, SampleLineSize);
    for (int i = 0; i < count; ++i) {
        const int column = layout.FirstColumn + i * layout.Step;
        if (column < 0 || column >= ImageWidth) break;
        const int sample = std::min<int>(state.SampleLine[i], MaxEchoLevel);
        row[column] = OverGridPixel(row[column], sample, gridOn);
    }
    for (int column = 0; column <= layout.LastClearedColumn; ++column)
        row[column] = OverGridPixel(row[column], 0, gridOn);
}

}  // namespace tidemar
