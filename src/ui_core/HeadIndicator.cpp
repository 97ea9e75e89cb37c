#include "ui_core/HeadIndicator.h"

#include <cmath>

#include "core/Modes.h"

namespace tidemar {

namespace {
constexpr double RadiansPerDegree = 3.141592654 / 180.0;
}

bool DialUpsideDown(const SonarState& state) {
    return state.ProfileGrid == 1 && state.ZeroDown == 0 && state.GridMode != DisplayMode::SideScan;
}

Point DialMarkerPoint(Point centre, double degrees, bool upsideDown) {
    const double a = degrees * RadiansPerDegree;
    const double dy = MarkerCircleRadius * std::cos(a);
    const double x = centre.X + MarkerCircleRadius * std::sin(a) + 0.5;
    const double y = (upsideDown ? centre.Y + dy : centre.Y - dy) + 0.5;
    return {static_cast<int>(x), static_cast<int>(y)};
}

double RotationMarkerDegrees(float imageRotation) {
    double a = std::fmod(static_cast<double>(imageRotation), 360.0);
    if (a > 180.0) a -= 360.0;
    if (a < -180.0) a += 360.0;
    return a;
}

Point HeadMarkerPoint(const PanelLayout& layout, const SonarState& state) {
    return DialMarkerPoint(layout.DialCentre, state.HeadAngleDeg, DialUpsideDown(state));
}

Point RotationMarkerPoint(const PanelLayout& layout, const SonarState& state) {
    return DialMarkerPoint(layout.DialCentre, RotationMarkerDegrees(state.ImageRotation), DialUpsideDown(state));
}

const char* XdcrLabel(const SonarState& state) {
    if (state.Xdcr == Transducer::Up) return state.ProfileGrid == 1 ? "Xdcr Aft" : "Xdcr Up";
    return state.ProfileGrid == 1 ? "Xdcr Fwd" : "Xdcr Down";
}

const char* ZeroLabel(const SonarState& state) {
    if (state.ProfileGrid != 1) return nullptr;
    return state.ZeroDown == 0 ? "Zero Down" : "Zero Up";
}

ChangedReadouts TakeChangedReadouts(ShownReadouts& shown, const SonarState& state) {
    ChangedReadouts c;
    if (state.RunMode == DataSource::File) {
        c.Range = state.ReturnRange != shown.Range;
        c.ModeAndSpeed = c.Range || state.GridMode != shown.Mode;
        c.Speed = state.DisplaySpeed != shown.Speed;
        c.Train = state.Train != shown.Train;
        c.Sector = state.SectorSize != shown.Sector;
        c.Gain = state.Gain != shown.Gain;
    }
    c.Xdcr = state.Xdcr != shown.Xdcr;
    shown = {state.ReturnRange, state.GridMode,   state.Xdcr, state.DisplaySpeed,
             state.Train,       state.SectorSize, state.Gain};
    return c;
}

}  // namespace tidemar
