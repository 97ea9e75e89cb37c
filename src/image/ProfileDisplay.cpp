#include "image/ProfileDisplay.h"

#include <cmath>

#include "image/ImageGrid.h"
#include "image/StepTable.h"
#include "core/Modes.h"
#include "core/SonarTables.h"

namespace tidemar {

namespace {

constexpr int SurfaceSource = 1;
constexpr uint8_t MarkerColour = 106;
constexpr uint8_t DredgeColour = 88;
constexpr int ErasedPositions = 9;  // the head's own position and eight ahead
constexpr int TopDredgeRow = 1;
constexpr int BottomDredgeRow = 504;

// Where markers start from and which way "up the head angle" goes down the picture.
struct MarkerFrame {
    int CentreRow;
    double YPerCos;  // y = centre row + r * YPerCos * cos(theta)
};

MarkerFrame MarkerFrameOf(const SonarState& state) {
    const bool apexUp = ApexUp(state);
    const int row = state.GridMode == DisplayMode::Polar ? PolarCentreRow : apexUp ? 1 : SectorApexRow;
    return {row, apexUp ? 1.0 : -1.0};
}

// Truncates toward zero like the rest of the drawing; values that are not numbers or lie
// outside the picture give no pixel.
bool PixelOf(double x, double y, int& column, int& row) {
    if (!(x > -1.0 && x < ImageWidth && y > -1.0 && y < ImageHeight)) return false;
    column = static_cast<int>(x);
    row = static_cast<int>(y);
    return true;
}

int WrappedPosition(int position) { return ((position % ProfilePointCount) + ProfilePointCount) % ProfilePointCount; }

bool Stored(const ImagePoint& point) { return SonarImage::Inside(point.X, point.Y); }

void PaintMarker(SonarImage& image, int x, int y, bool gridOn) {
    uint8_t& pixel = image.At(x, y);
    pixel = OverGridPixel(pixel, MarkerColour, gridOn);
}

void PaintRow(SonarImage& image, int row, int value, bool gridOn) {
    for (int x = 0; x < ImageWidth; ++x) {
        uint8_t& pixel = image.At(x, row);
        pixel = OverGridPixel(pixel, value, gridOn);
    }
}

}  // namespace

bool PlotProfilePointOnly(const SonarState& state, ImageState& image) {
    auto& table = image.Profile.ProfilePointTable;
    const bool gridOn = state.Grid != 0;
    const int position = WrappedPosition(state.HeadPosition);
    const int direction = state.DrawDirection == 1 ? 1 : -1;

    bool changed = false;
    for (int k = 0; k < ErasedPositions; ++k) {
        const ImagePoint& point = table[WrappedPosition(position + k * direction)];
        if (point.Empty() || !Stored(point)) continue;
        uint8_t& pixel = image.Image.At(point.X, point.Y);
        pixel = OverGridPixel(pixel, 0, gridOn);
        changed = true;
    }

    const MarkerFrame frame = MarkerFrameOf(state);
    const double theta = state.HeadAngleRad;
    const double r = state.ProfileSample;
    int x = 0, y = 0;
    if (!PixelOf(ImageCentreColumn + r * std::sin(theta), frame.CentreRow + r * frame.YPerCos * std::cos(theta), x, y))
        return changed;
    if (r > 0) PaintMarker(image.Image, x, y, gridOn);
    table[position] = {static_cast<int16_t>(x), static_cast<int16_t>(y)};
    return true;
}

bool PlotMixProfilePoint(const SonarState& state, ImageState& image) {
    if (state.ProfileSample <= 0) return false;
    auto& marks = image.Profile;
    const bool gridOn = state.Grid != 0;

    bool changed = false;
    for (const ImagePoint& point : marks.RecentProfilePoints) {
        if (point.X == 0 || point.Y == 0 || !Stored(point)) continue;
        PaintMarker(image.Image, point.X, point.Y, gridOn);
        changed = true;
    }

    double r = state.ProfileSample;
    if (state.GridMode == DisplayMode::Polar && state.ProfileDigitizationSource == SurfaceSource) r *= 0.5;
    const MarkerFrame frame = MarkerFrameOf(state);
    const double theta = state.HeadAngleRad;
    int x = 0, y = 0;
    if (!PixelOf(ImageCentreColumn + r * std::sin(theta) + 0.5,
                 frame.CentreRow + r * frame.YPerCos * std::cos(theta) + 0.5, x, y))
        return changed;
    PaintMarker(image.Image, x, y, gridOn);

    int slot = marks.NextRecentSlot;
    if (slot < 0 || slot >= RecentProfilePointCount) slot = 0;
    marks.RecentProfilePoints[slot] = {static_cast<int16_t>(x), static_cast<int16_t>(y)};
    marks.NextRecentSlot = (slot + 1) % RecentProfilePointCount;
    return true;
}

int DredgeLineRow(const SonarState& state) {
    const double depth = state.ProfileDredgeDepth;
    if (!(depth > 0.0) || state.Range < 0 || state.Range >= RangeCount) return -1;
    double range = RangeTable[state.Range].Meters;
    if (state.Units == FeetUnits) range *= FeetPerMeter;
    const double effectiveRange = range * state.SoundVelocityMeters / 1500.0;
    if (!(effectiveRange > 0.0)) return -1;

    double row = 0.0;
    if (state.GridMode == DisplayMode::Polar) {
        const double t = 250.0 * depth / effectiveRange;
        row = state.ZeroDown == 0 ? (256.0 + t) - 3.0 : (256.0 - t) - 3.0;
    } else {
        const double t = 500.0 * depth / effectiveRange;
        row = state.ZeroDown == 0 ? 1.0 + t : 504.0 - t;
    }
    if (!(row >= TopDredgeRow && row < BottomDredgeRow + 1)) return -1;
    return static_cast<int>(row);
}

bool DrawDredgeLine(const SonarState& state, ImageState& image) {
    if (state.ProfileGrid != 1 || state.GridMode == DisplayMode::SideScan) return false;
    auto& marks = image.Profile;
    const float depth = state.ProfileDredgeDepth;
    if (depth <= 0.0f && depth == marks.LastDredgeDepth) return false;
    marks.LastDredgeDepth = depth;

    const bool gridOn = state.Grid != 0;
    bool changed = false;
    if (marks.LastDredgeRow >= TopDredgeRow && marks.LastDredgeRow <= BottomDredgeRow) {
        PaintRow(image.Image, marks.LastDredgeRow, 0, gridOn);
        changed = true;
    }
    marks.LastDredgeRow = 0;

    const int row = DredgeLineRow(state);
    if (row < 0) return changed;
    PaintRow(image.Image, row, DredgeColour, gridOn);
    marks.LastDredgeRow = row;
    return true;
}

}  // namespace tidemar
