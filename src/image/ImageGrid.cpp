#include "image/ImageGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

#include "image/Waterfall.h"
#include "core/Modes.h"
#include "core/SonarTables.h"

namespace tidemar {

namespace {

constexpr float AngleStep = 0.0008726645f;  // 0.05 degrees
constexpr int GridCentreColumn = 297;       // one left of the scan conversion's centre
constexpr int SectorBaselineRow = 504;
constexpr int SectorRingRow = 505;
constexpr int PolarLineRow = 253;
constexpr int PolarRingRow = 252;
constexpr int DashRowBit = 8;
constexpr double MinimumSpacing = 1.0;

// What the grid pixels depend on; fields that do not matter for the mode are 0.
struct GridLayout {
    int Mode = DisplayMode::Sector;  // Sector, Polar or SideScan: other modes draw the Sector grid
    int ProfileGrid = 0;
    int ZeroDown = 0;
    int SsSide = SideScanSide::Port;
    double Spacing = 0.0;
    bool operator==(const GridLayout&) const = default;
};

GridLayout LayoutOf(const SonarState& state) {
    GridLayout layout;
    const bool ownGrid = state.GridMode == DisplayMode::Polar || state.GridMode == DisplayMode::SideScan;
    layout.Mode = ownGrid ? state.GridMode : DisplayMode::Sector;
    layout.Spacing = GridSpacing(state);
    if (layout.Mode == DisplayMode::SideScan) {
        layout.SsSide = SsRowLayoutOf(state.SsSide).Step > 0 ? SideScanSide::Starboard : SideScanSide::Port;
    } else {
        layout.ProfileGrid = state.ProfileGrid == 1;
        layout.ZeroDown = layout.Mode == DisplayMode::Sector && layout.ProfileGrid && state.ZeroDown == 0 ? 0 : 1;
    }
    return layout;
}

bool UsableSpacing(double g) { return g >= MinimumSpacing && std::isfinite(g); }

using PixelList = std::vector<uint32_t>;

void Add(PixelList& pixels, int x, int y) {
    if (SonarImage::Inside(x, y)) pixels.push_back(static_cast<uint32_t>(y * ImageWidth + x));
}

// Rounds half up and truncates toward zero, as the grid was always drawn; only values
// that can land inside the picture are converted.
bool PixelOf(double x, double y, int& column, int& row) {
    if (!(x > -1.0 && x < ImageWidth && y > -1.0 && y < ImageHeight)) return false;
    column = static_cast<int>(x);
    row = static_cast<int>(y);
    return true;
}

void AddRow(PixelList& pixels, int row, int firstColumn, int columnStep) {
    for (int x = firstColumn; x < ImageWidth; x += columnStep) Add(pixels, x, row);
}

void AddColumn(PixelList& pixels, int column, int rowStep) {
    for (int y = 0; y < ImageHeight; y += rowStep) Add(pixels, column, y);
}

struct Direction {
    double Sin;
    double Cos;
};

// Ring angles from start, stepped by 0.05 degrees in single precision as the rings always
// were, so the pixels stay the same ones.
std::vector<Direction> RingDirections(float start, int count) {
    std::vector<Direction> directions;
    directions.reserve(static_cast<size_t>(count));
    float phi = start;
    for (int n = 1; n <= count; ++n) {
        phi += AngleStep;
        directions.push_back({std::sin(static_cast<double>(phi)), std::cos(static_cast<double>(phi))});
    }
    return directions;
}

// Radii g, 2g, ... while the previous radius is at most limit - g.
void AddRings(PixelList& pixels, const std::vector<Direction>& directions, int centreRow, double g, double limit) {
    for (int k = 1; (k - 1) * g <= limit - g; ++k) {
        const double r = k * g;
        for (const Direction& d : directions) {
            int x = 0, y = 0;
            if (PixelOf(GridCentreColumn + r * d.Sin + 0.5, centreRow + r * d.Cos + 0.5, x, y)) Add(pixels, x, y);
        }
    }
}

void AddSectorGrid(PixelList& pixels, const GridLayout& layout) {
    const bool apexUp = layout.ProfileGrid && layout.ZeroDown == 0;
    AddRow(pixels, apexUp ? 1 : SectorBaselineRow, 0, 1);
    AddColumn(pixels, GridCentreColumn, 1);
    const double g = layout.Spacing;
    if (!UsableSpacing(g)) return;
    if (!layout.ProfileGrid) {
        static const std::vector<Direction> halfTurn = RingDirections(static_cast<float>(Pi / 2), 3600);
        AddRings(pixels, halfTurn, SectorRingRow, g, 510.0);
        return;
    }
    for (int k = 1; k * g < ImageHeight; ++k) {
        const double row = apexUp ? k * g + 1 : SectorBaselineRow - k * g;
        AddRow(pixels, static_cast<int>(row), 0, 2);
    }
    for (int j = 1; j <= 6; ++j) {
        const int left = static_cast<int>(GridCentreColumn - j * g);
        const int right = static_cast<int>(GridCentreColumn + j * g);
        if (left >= 0) AddColumn(pixels, left, 2);
        if (right < ImageWidth) AddColumn(pixels, right, 2);
    }
}

void AddPolarGrid(PixelList& pixels, const GridLayout& layout) {
    AddRow(pixels, PolarLineRow, 0, 1);
    AddColumn(pixels, GridCentreColumn, 1);
    const double g = layout.Spacing;
    if (!UsableSpacing(g)) return;
    if (!layout.ProfileGrid) {
        static const std::vector<Direction> fullTurn = RingDirections(0.0f, 7200);
        AddRings(pixels, fullTurn, PolarRingRow, g, 260.0);
        return;
    }
    for (int k = 1; k * g < PolarLineRow; ++k) {
        AddRow(pixels, static_cast<int>(PolarLineRow - k * g), 0, 2);
        AddRow(pixels, static_cast<int>(PolarLineRow + k * g), 0, 2);
    }
    for (int k = 1; k * g < ImageCentreColumn; ++k) {
        AddColumn(pixels, static_cast<int>(GridCentreColumn - k * g), 2);
        AddColumn(pixels, static_cast<int>(GridCentreColumn + k * g), 2);
    }
}

// The range lines only; the range-zero column is dashed separately, since turning the
// grid off clears all of it.
void AddSsGrid(PixelList& pixels, const GridLayout& layout) {
    const double g = layout.Spacing;
    if (!UsableSpacing(g)) return;
    const SsRowLayout row = SsRowLayoutOf(layout.SsSide);
    for (int j = 1;; ++j) {
        const int column = static_cast<int>(row.FirstColumn + row.Step * j * g);
        if (row.Step < 0 ? column < 95 : column > 595) break;
        AddColumn(pixels, column, 1);
    }
}

PixelList ComputeGridPixels(const GridLayout& layout) {
    PixelList pixels;
    if (layout.Mode == DisplayMode::SideScan)
        AddSsGrid(pixels, layout);
    else if (layout.Mode == DisplayMode::Polar)
        AddPolarGrid(pixels, layout);
    else
        AddSectorGrid(pixels, layout);
    std::sort(pixels.begin(), pixels.end());
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
    return pixels;
}

// The last few layouts: removing the grid with one sound velocity and drawing it with the
// next, or toggling it, then costs no trigonometry.
std::shared_ptr<const PixelList> GridPixelsOf(const GridLayout& layout) {
    struct Entry {
        GridLayout Layout;
        std::shared_ptr<const PixelList> Pixels;
    };
    static std::mutex mutex;
    static std::vector<Entry> cache;
    constexpr size_t CacheSize = 4;

    std::lock_guard<std::mutex> lock(mutex);
    for (const Entry& entry : cache)
        if (entry.Layout == layout) return entry.Pixels;
    auto pixels = std::make_shared<const PixelList>(ComputeGridPixels(layout));
    if (cache.size() == CacheSize) cache.erase(cache.begin());
    cache.push_back({layout, pixels});
    return pixels;
}

double IntoHalfTurn(double degrees) {
    double a = std::fmod(degrees, 360.0);
    if (a > 180.0) a -= 360.0;
    if (a < -180.0) a += 360.0;
    return a;
}

// Head positions count 0.3 degree steps from -180 degrees.
int HeadPositionOf(double edgeDegrees) { return static_cast<int>((edgeDegrees + 180.0) * 10.0 / 3.0); }

int Mirrored(int position) {
    const int p = 1200 - position;
    return p >= 1200 ? 0 : p;
}

int ScanStartFieldOf(double edgeDegrees, int xdcr) {
    double a = edgeDegrees;
    if (a < 0.0) a += 360.0;
    int field = a < 180.0 ? static_cast<int>(a / 3.0 + 60.0) : std::abs(static_cast<int>((180.0 - a) / 3.0));
    if (xdcr == Transducer::Up) field = 120 - field;
    return field < 0 || field > 119 ? 0 : field;
}

}  // namespace

double GridSpacing(const SonarState& state) {
    const bool feet = state.Units == FeetUnits;
    double base = feet ? 91.44 : 100.0;
    if (state.GridMode == DisplayMode::Polar) base = feet ? 45.72 : 50.0;
    return base * 1500.0 / state.SoundVelocityMeters;
}

void DrawImageGrid(const SonarState& state, SonarImage& image) {
    const bool on = state.Grid != 0;
    const GridLayout layout = LayoutOf(state);
    const auto pixels = GridPixelsOf(layout);
    for (uint32_t offset : *pixels) {
        uint8_t& pixel = image.Pixels[offset];
        pixel = on ? WithGridBit(pixel) : WithoutGridBit(pixel);
    }
    if (layout.Mode != DisplayMode::SideScan) return;
    const int column = SsRowLayoutOf(layout.SsSide).FirstColumn;
    for (int row = 0; row < ImageHeight; ++row) {
        uint8_t& pixel = image.At(column, row);
        if (!on)
            pixel = WithoutGridBit(pixel);
        else if ((row & DashRowBit) == 0)
            pixel = WithGridBit(pixel);
    }
}

SectorDial ComputeSectorDial(const SonarState& state) {
    SectorDial dial;
    if (state.SectorSize == 360) {
        dial.Shape = DialShape::FullCircle;
        dial.StartEdgeDegrees = -180.0;
        dial.EndEdgeDegrees = 180.0;
    } else {
        dial.Shape = state.SectorSize != 0 ? DialShape::Pie : DialShape::Line;
        dial.StartEdgeDegrees = IntoHalfTurn(state.Train - state.SectorSize / 2.0);
        dial.EndEdgeDegrees = IntoHalfTurn(state.Train + state.SectorSize / 2.0);
    }

    const bool apexUp = state.ProfileGrid == 1 && state.ZeroDown == 0;
    const int start = HeadPositionOf(dial.StartEdgeDegrees);
    const int end = HeadPositionOf(dial.EndEdgeDegrees);
    dial.StartPosition = apexUp ? Mirrored(end) : start;
    dial.EndPosition = apexUp ? Mirrored(start) : end;
    dial.ScanStartField = ScanStartFieldOf(apexUp ? dial.EndEdgeDegrees : dial.StartEdgeDegrees, state.Xdcr);
    return dial;
}

}  // namespace tidemar
