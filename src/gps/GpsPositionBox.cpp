#include "gps/GpsPositionBox.h"

#include <algorithm>

#include "core/Modes.h"
#include "gps/GpsPositionText.h"

namespace tidemar {

namespace {

constexpr int StaleAfterSeconds = 5;

// Characters [from, from + count) of the text, up to the first zero byte.
std::string HalfUpToZero(const std::string& text, size_t from, size_t count) {
    if (from >= text.size()) return {};
    const std::string half = text.substr(from, std::min(count, text.size() - from));
    return half.substr(0, half.find('\0'));
}

}  // namespace

bool GpsBoxShown(const SonarState& state) {
    return state.RunMode == DataSource::Head ? state.UseGPS != 0 : state.FileHasGps != 0;
}

GpsBox DecideGpsBox(const SonarState& state, bool fresh, bool& blink) {
    GpsBox box;
    box.Shown = GpsBoxShown(state);
    if (!box.Shown) return box;
    if (!fresh && state.GpsSilenceCount >= StaleAfterSeconds) {
        box.NotAvailable = true;
        return box;
    }
    blink = !blink;
    box.LatitudeText = HalfUpToZero(state.GpsPositionText, 0, GpsLatitudeHalfLength) + ",";
    box.LongitudeText =
        HalfUpToZero(state.GpsPositionText, GpsLatitudeHalfLength, GpsPositionTextLength - GpsLatitudeHalfLength);
    box.Star = blink;
    return box;
}

}  // namespace tidemar
