#include "image/ScanConversion.h"

#include <algorithm>
#include <cmath>

#include "image/StepTable.h"

namespace tidemar {

namespace {

constexpr int GridTopLimit = 245;

// Sub-lines drawn at sample i: a quarter of them at the centre, one more every two
// samples, up to all of them.
int SubLinesAt(int subLines, int sample) { return std::min(subLines, subLines / 4 + sample / 2); }

}  // namespace

void PlotSectorPing(const SonarState& state, ImageState& image) {
    if (!std::isfinite(state.HeadAngleRad)) return;
    const bool polar = PolarDisplay(state);
    const StepSetting setting = SelectStepSetting(state.DisplaySpeed, polar);
    const SubLineVectors vectors = BuildSubLineVectors(state, setting);

    const int n = setting.SubLines;
    std::array<float, MaxSubLines> vx{};
    std::array<float, MaxSubLines> vy{};
    std::array<int, MaxSubLines> wOld{};
    std::array<int, MaxSubLines> wMid{};
    std::array<int, MaxSubLines> wNew{};
    for (int j = 0; j < n; ++j) {
        vx[j] = vectors.X[setting.FirstVector + j];
        vy[j] = vectors.Y[setting.FirstVector + j];
        wOld[j] = setting.Weights[j].Oldest;
        wMid[j] = setting.Weights[j].Middle;
        wNew[j] = setting.Weights[j].Newest;
    }

    const float cx = static_cast<float>(ImageCentreColumn);
    const float cy = static_cast<float>(polar ? PolarCentreRow : ApexUp(state) ? 1 : SectorApexRow);
    const bool keepGrid = state.Grid == 1;
    const int count = std::clamp(state.PlotSampleCount, 0, PingHistoryLength);
    const PingHistory& h = image.History;
    uint8_t* const pixels = image.Image.Pixels.data();

    // Per sample: positions and blends of all its sub-lines first (a straight loop the
    // compiler turns into vector code), then the writes in sub-line order.
    std::array<int, MaxSubLines> xs{};
    std::array<int, MaxSubLines> ys{};
    std::array<int, MaxSubLines> values{};
    for (int i = 0; i < count; ++i) {
        const int m = SubLinesAt(n, i);
        const float r = static_cast<float>(i);
        const int oldest = h.Oldest[i];
        const int middle = h.Middle[i];
        const int newest = h.Newest[i];
        for (int j = 0; j < m; ++j) {
            // Truncation toward zero, as the casts do: -0.5 lands in column 0.
            xs[j] = static_cast<int>(cx + r * vx[j]);
            ys[j] = static_cast<int>(cy + r * vy[j]);
            const int sum = wOld[j] * oldest + wMid[j] * middle + wNew[j] * newest;
            values[j] = std::min(TruncatedBlend(sum), MaxEchoLevel);
        }
        for (int j = 0; j < m; ++j) {
            const int x = xs[j];
            const int y = ys[j];
            if (static_cast<unsigned>(x) >= static_cast<unsigned>(ImageWidth) ||
                static_cast<unsigned>(y) >= static_cast<unsigned>(ImageHeight))
                continue;
            int value = values[j];
            uint8_t& pixel = pixels[y * ImageWidth + x];
            if (keepGrid && pixel >= GridBit) value = std::min(value + GridBit, GridTopLimit);
            pixel = static_cast<uint8_t>(value);
        }
    }
}

}  // namespace tidemar
