#include "image/PingTables.h"

#include <algorithm>

namespace tidemar {

namespace {

static_assert(SampleLineSize >= PingHistoryLength);

int HistoryCount(const SonarState& state) { return std::clamp(state.PlotSampleCount, 0, PingHistoryLength); }

}  // namespace

void AdvancePingHistory(PingHistory& history, const SonarState& state) {
    const int count = HistoryCount(state);
    const auto first = state.SampleLine.begin();
    if (history.Reset) {
        history.Reset = false;
        std::copy(first, first + count, history.Oldest.begin());
        std::copy(first, first + count, history.Middle.begin());
        std::copy(first, first + count, history.Newest.begin());
        return;
    }
    std::copy(history.Middle.begin(), history.Middle.begin() + count, history.Oldest.begin());
    std::copy(history.Newest.begin(), history.Newest.begin() + count, history.Middle.begin());
    std::copy(first, first + count, history.Newest.begin());
}

void ClearPingTables(SonarState& state, ImageState& image, bool playbackOpen) {
    std::fill(state.SampleLine.begin(), state.SampleLine.begin() + PingHistoryLength, 0);
    image.History.Oldest.fill(0);
    image.History.Middle.fill(0);
    image.History.Newest.fill(0);
    image.Profile.RecentProfilePoints.fill(ImagePoint{});
    image.Profile.NextRecentSlot = 0;
    if (!playbackOpen) image.Profile.ProfilePointTable.fill(ImagePoint{});
}

}  // namespace tidemar
