#include "ui_core/MeasureTool.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/Modes.h"
#include "image/SonarImage.h"

namespace tidemar {

namespace {

constexpr double DegreesPerRadian = 57.29577951;
constexpr double FeetPerMeter = 3.280839895;
constexpr double FeetLimit = 999.99;
constexpr double TinyDistance = 0.000001;
constexpr int CentreColumn = 301;      // sonar centre column of the window
constexpr int CentreColumnLeft = 300;  // the column distances are measured from
constexpr int PolarCentreWindowRow = 256;

struct Pair {
    double First = 0.0;
    double Second = 0.0;
};

double PixelScale(const SonarState& state) {
    const double spacing = state.SampleSpacing;
    return state.GridMode == DisplayMode::Polar ? 2.0 * spacing : spacing;
}

// Compass angle (clockwise from screen-up) and distance of a point from the origin row.
Pair PointToPolar(const SonarState& state, int px, int py, int originRow) {
    const double a = std::abs(CentreColumnLeft - px);
    const double b = std::abs(originRow - py);
    double s = std::sqrt(a * a + b * b);
    if (!(s > 0.0)) s = TinyDistance;
    double angle = std::asin(a / s) * DegreesPerRadian;
    if (px > CentreColumn && originRow < py)
        angle = 180.0 - angle;
    else if (px <= CentreColumn && originRow < py)
        angle = angle + 180.0;
    else if (px < CentreColumn && originRow >= py)
        angle = 360.0 - angle;
    if (state.GridMode == DisplayMode::Sector) angle += state.Train;
    if (angle >= 360.0) angle -= 360.0;
    return {s * PixelScale(state), angle};
}

// Right of the centre and above the origin row are positive.
Pair PointToCartesian(const SonarState& state, int px, int py, int originRow) {
    return {(px - CentreColumnLeft) * PixelScale(state), (originRow - py) * PixelScale(state)};
}

// Distance and bearing from the locked origin to the pointer.
Pair OriginToPointer(const SonarState& state, const MeasureInput& in) {
    const double dx = in.OriginX - in.X;
    const double dy = in.OriginY - in.Y;
    double s = std::sqrt(dx * dx + dy * dy);
    if (!(s > 0.0)) s = TinyDistance;
    double angle = std::asin(dx / s) * DegreesPerRadian;
    if (dy < 0)
        angle = 180.0 - angle;
    else if (dx < 0)
        angle += 360.0;
    angle = std::fabs(angle - 360.0);
    if (state.GridMode == DisplayMode::Sector) angle += state.Train;
    if (angle >= 360.0) angle -= 360.0;
    if (angle > 359.999999) angle = 0.0;
    return {s * PixelScale(state), angle};
}

// Sound velocity, then feet (held to 999.99).
double Corrected(const SonarState& state, double meters) {
    double value = meters * (state.SoundVelocityMeters * (1.0 / 1500.0));
    if (state.Units == 1) {
        value *= FeetPerMeter;
        if (value > FeetLimit) value = FeetLimit;
    }
    return value;
}

std::string Format(const char* format, double a) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, format, a);
    return buffer;
}

std::string Format(const char* format, double a, double b) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, a, b);
    return buffer;
}

// Formats by [feet][three decimals].
constexpr const char* PolarFormats[2][2][3] = {
    {{"Org: %#06.2f M, %#05.1f Deg", "Tar: %#06.2f M, %#05.1f Deg", "Diff: %#06.2f M, %#05.1f Deg"},
     {"Org: %#06.3f M, %#05.1f Deg", "Tar: %#06.3f M, %#05.1f Deg", "Diff: %#06.3f M, %#05.1f Deg"}},
    {{"Org: %#06.2f FT, %#05.1f Deg", "Tar: %#06.2f FT, %#05.1f Deg", "Diff: %#06.2f FT, %#05.1f Deg"},
     {"Org: %#06.3f FT, %#05.1f Deg", "Tar: %#06.3f FT, %#05.1f Deg", "Diff: %#06.3f FT, %#05.1f Deg"}},
};

// [feet][three decimals]: the pair format of Org and Tar, and Diff's.
constexpr const char* CartesianPairFormats[2][2] = {
    {"% #06.2f M, % #06.2f M", "% #06.3f M, % #06.3f M"},
    {"% #06.2f FT, % #06.2f FT", "% #06.3f FT, % #06.3f FT"},
};
constexpr const char* CartesianDiffFormats[2][2] = {
    {"% #06.2f M", "% #06.3f M"},
    {"% #06.2f FT", "% #06.3f FT"},
};

// [stbd][feet][three decimals][line]. The Diff lines end in spaces that blank whatever a
// longer Org or Tar line of the previous read-out left in the box.
constexpr const char* SsFormats[2][2][2][3] = {
    {{{"Org: %#06.2f M, Port Side", "Tar: %#06.2f M, Port Side", "Diff: %#06.2f M                "},
      {"Org: %#06.3f M, Port Side", "Tar: %#06.3f M, Port Side", "Diff: %#06.3f M                "}},
     {{"Org: %#06.2f FT, Port Side", "Tar: %#06.2f FT, Port Side", "Diff: %#06.2f FT                "},
      {"Org: %#06.3f FT, Port Side", "Tar: %#06.3f FT, Port Side", "Diff: %#06.3f FT                "}}},
    {{{"Org: %#06.2f M, Stbd Side", "Tar: %#06.2f M, Stbd Side", "Diff: %#06.2f M                 "},
      {"Org: %#06.3f M, Stbd Side", "Tar: %#06.3f M, Stbd Side", "Diff: %#06.3f M                 "}},
     {{"Org: %#06.2f FT, Stbd Side", "Tar: %#06.2f FT, Stbd Side", "Diff: %#06.2f FT                 "},
      {"Org: %#06.3f FT, Stbd Side", "Tar: %#06.3f FT, Stbd Side", "Diff: %#06.3f FT                 "}}},
};

constexpr const char* LineLabels[3] = {"Org:", "Tar:", "Diff:"};

MeasureReadout SideScanReadout(const SonarState& state, const MeasureInput& in) {
    MeasureReadout r;
    const std::optional<int> pointer = SsSampleCount(in.X, state.SsSide);
    if (!pointer) return r;
    const double spacing = state.SampleSpacing;
    const double pointerDistance = *pointer * spacing;
    double org = pointerDistance, tar = pointerDistance, diff = pointerDistance;
    if (in.Lock) {
        org = SsSampleCount(in.OriginX, state.SsSide).value_or(0) * spacing;
        diff = std::fabs(org - tar);
    }
    r.First = {Corrected(state, org), Corrected(state, tar), Corrected(state, diff)};
    const int stbd = state.SsSide == SideScanSide::Starboard ? 1 : 0;
    const int feet = state.Units == 1 ? 1 : 0;
    const int three = state.RangeMeters < 5 ? 1 : 0;
    for (int i = 0; i < 3; ++i) r.Lines[i] = Format(SsFormats[stbd][feet][three][i], r.First[i]);
    r.Empty = false;
    return r;
}

}  // namespace

int MeasureOriginRow(const SonarState& state, int pointerY) {
    switch (state.GridMode) {
    case DisplayMode::Polar:
        if (state.ProfileGrid) return PolarCentreWindowRow;
        return pointerY == PolarCentreWindowRow ? PolarCentreWindowRow : PolarCentreWindowRow - 1;
    case DisplayMode::Profile: return 3;
    default:
        if (state.ProfileGrid) return state.ZeroDown == 1 ? 507 : 4;
        return 508;
    }
}

std::optional<int> SsSampleCount(int px, int ssSide) {
    int n = 0;
    if (ssSide == SideScanSide::Port)
        n = (ImageWidth - 1) - px + 3;
    else if (ssSide == SideScanSide::Starboard)
        n = px - (ImageWidth - 500) - 2;
    else
        return std::nullopt;
    return std::clamp(n, 0, 500);
}

MeasureReadout ComputeMeasure(const SonarState& state, const MeasureInput& in) {
    if (!in.CursorInImage) return {};
    if (state.GridMode == DisplayMode::SideScan) return SideScanReadout(state, in);

    MeasureReadout r;
    r.Empty = false;
    const int row = MeasureOriginRow(state, in.Y);
    const int feet = state.Units == 1 ? 1 : 0;
    const int three = state.RangeMeters < 5 ? 1 : 0;

    if (!state.ProfileGrid) {
        const Pair tar = PointToPolar(state, in.X, in.Y, row);
        Pair org;
        Pair diff = tar;
        if (in.Lock) {
            org = PointToPolar(state, in.OriginX, in.OriginY, row);
            diff = OriginToPointer(state, in);
        }
        const Pair pairs[3] = {org, tar, diff};
        for (int i = 0; i < 3; ++i) {
            r.First[i] = Corrected(state, pairs[i].First);
            r.Second[i] = pairs[i].Second;
            r.Lines[i] = Format(PolarFormats[feet][three][i], r.First[i], r.Second[i]);
        }
        return r;
    }

    r.Cartesian = true;
    const Pair tar = PointToCartesian(state, in.X, in.Y, row);
    Pair org;
    Pair diff;
    if (in.Lock) {
        org = PointToCartesian(state, in.OriginX, in.OriginY, row);
        diff = OriginToPointer(state, in);
    } else {
        const double h = in.X - CentreColumnLeft;
        const double v = row - in.Y;
        double s = std::sqrt(h * h + v * v);
        if (!(s > 0.0)) s = TinyDistance;
        diff = {s * PixelScale(state), tar.Second};
    }
    const Pair pairs[3] = {org, tar, diff};
    for (int i = 0; i < 3; ++i) {
        r.First[i] = Corrected(state, pairs[i].First);
        r.Second[i] = Corrected(state, pairs[i].Second);  // Diff's slot is not shown
    }
    // The offsets are in the units shown, so they go on after the conversion.
    for (int i = 0; i < 2; ++i) {
        r.First[i] += state.ProfileXOffset;
        r.Second[i] += state.ProfileElevation;
    }
    for (int i = 0; i < 2; ++i) r.Values[i] = Format(CartesianPairFormats[feet][three], r.First[i], r.Second[i]);
    r.Values[2] = Format(CartesianDiffFormats[feet][three], r.First[2]);
    for (int i = 0; i < 3; ++i) {
        r.Labels[i] = LineLabels[i];
        r.Lines[i] = r.Labels[i] + " " + r.Values[i];
    }
    return r;
}

int MeasureLineCentre(const PanelLayout& layout) { return 599 - 8 * layout.Metrics.CharWidth; }
int MeasureLineLeft(const PanelLayout& layout, int textWidth) {
    return CentredLeft(MeasureLineCentre(layout), textWidth);
}
int MeasureLabelLeft(const PanelLayout& layout) { return 605 - 16 * layout.Metrics.CharWidth; }
int MeasureValueLeft(const PanelLayout& layout) { return 627 - 16 * layout.Metrics.CharWidth; }
int MeasureLineTop(const PanelLayout& layout, int line) { return 512 + line * layout.Metrics.CharHeight; }

Rect MeasureRefreshArea(bool lineArmed, Point origin, Point lastDrawn) {
    Rect r;
    if (!lineArmed) {
        r = {origin.X - 12, origin.Y - 12, origin.X + 8, origin.Y + 8};
    } else {
        r = {std::min(origin.X, lastDrawn.X) - 12, std::min(origin.Y, lastDrawn.Y) - 12,
             std::max(origin.X, lastDrawn.X) + 12, std::max(origin.Y, lastDrawn.Y) + 12};
    }
    // Window points to image pixels, held to the picture.
    r.Left = std::clamp(r.Left - ImageOffset, 0, ImageWidth);
    r.Right = std::clamp(r.Right - ImageOffset, 0, ImageWidth);
    r.Top = std::clamp(r.Top - ImageOffset, 0, ImageHeight);
    r.Bottom = std::clamp(r.Bottom - ImageOffset, 0, ImageHeight);
    return r;
}

}  // namespace tidemar
