// The grid in the picture: spacing by mode, units and sound velocity; Sector and Polar
// rings and the dotted profile grids, checked on actual pixels; SS range lines and the
// range-zero dashes; the grid bit rules (echo kept, off then on restores); and the
// sector dial's head positions and scan start field.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <set>
#include <string>

#include "image/ImageGrid.h"

namespace tidemar {
namespace {

struct GridCase {
    const char* legend;
    int gridMode = DisplayMode::Sector;
    int profileGrid = 0;
    int zeroDown = 1;
    int units = 0;
    float soundVelocity = 1500.0f;
    int ssSide = SideScanSide::Port;
};

SonarState StateFor(const GridCase& c, int grid = 1) {
    SonarState state;
    state.Grid = grid;
    state.GridMode = c.gridMode;
    state.ProfileGrid = c.profileGrid;
    state.ZeroDown = c.zeroDown;
    state.Units = c.units;
    state.SoundVelocityMeters = c.soundVelocity;
    state.SsSide = c.ssSide;
    return state;
}

std::unique_ptr<SonarImage> GridOnly(const GridCase& c) {
    auto image = std::make_unique<SonarImage>();
    DrawImageGrid(StateFor(c), *image);
    return image;
}

std::set<int> GridRowsOfColumn(const SonarImage& image, int x) {
    std::set<int> rows;
    for (int y = 0; y < ImageHeight; ++y)
        if (image.At(x, y) >= GridBit) rows.insert(y);
    return rows;
}

std::set<int> GridColumnsOfRow(const SonarImage& image, int y) {
    std::set<int> columns;
    for (int x = 0; x < ImageWidth; ++x)
        if (image.At(x, y) >= GridBit) columns.insert(x);
    return columns;
}

bool GridNear(const SonarImage& image, double x, double y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int px = static_cast<int>(std::lround(x)) + dx, py = static_cast<int>(std::lround(y)) + dy;
            if (SonarImage::Inside(px, py) && image.At(px, py) >= GridBit) return true;
        }
    return false;
}

std::set<int> EvenRows() {
    std::set<int> rows;
    for (int y = 0; y < ImageHeight; y += 2) rows.insert(y);
    return rows;
}

TEST(GridBitRules, SetClearAndDrawOver) {
    EXPECT_EQ(WithGridBit(0), 128);
    EXPECT_EQ(WithGridBit(107), 235);
    EXPECT_EQ(WithGridBit(120), 245);  // the limit
    EXPECT_EQ(WithGridBit(200), 200);
    EXPECT_EQ(WithoutGridBit(200), 72);
    EXPECT_EQ(WithoutGridBit(72), 72);
    EXPECT_EQ(OverGridPixel(200, 40, true), 168);
    EXPECT_EQ(OverGridPixel(200, 40, false), 40);
    EXPECT_EQ(OverGridPixel(100, 40, true), 40);
    EXPECT_EQ(OverGridPixel(130, 120, true), 245);
}

TEST(GridSpacing, BaseByModeAndUnitsScaledBySoundVelocity) {
    struct Case {
        GridCase grid;
        double spacing;
    } cases[] = {
        {{"Sector, metres", DisplayMode::Sector, 0, 1, 0, 1500.0f}, 100.0},
        {{"Sector, 1250 m/s", DisplayMode::Sector, 0, 1, 0, 1250.0f}, 120.0},
        {{"Sector, feet", DisplayMode::Sector, 0, 1, 1, 1500.0f}, 91.44},
        {{"Polar, metres", DisplayMode::Polar, 0, 1, 0, 1500.0f}, 50.0},
        {{"Polar, feet, 2000 m/s", DisplayMode::Polar, 0, 1, 1, 2000.0f}, 34.29},
        {{"SS, metres", DisplayMode::SideScan, 0, 1, 0, 1500.0f}, 100.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.grid.legend);
        EXPECT_NEAR(GridSpacing(StateFor(c.grid)), c.spacing, 1e-9);
    }
}

TEST(SectorRings, CrossTheCentreLineOneSpacingApart) {
    struct Case {
        GridCase grid;
        std::set<int> rows;  // grid rows of the columns either side of the centre line
    } cases[] = {
        {{"1500 m/s: radii 100..500", DisplayMode::Sector, 0, 1, 0, 1500.0f}, {5, 105, 205, 305, 405, 504}},
        {{"1250 m/s: radii 120..480", DisplayMode::Sector, 0, 1, 0, 1250.0f}, {25, 145, 265, 385, 504}},
        {{"feet: radii 91.44..457.2", DisplayMode::Sector, 0, 1, 1, 1500.0f}, {48, 139, 231, 322, 414, 504}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.grid.legend);
        const auto image = GridOnly(c.grid);
        EXPECT_EQ(GridRowsOfColumn(*image, 298), c.rows);
        EXPECT_EQ(GridRowsOfColumn(*image, 296), c.rows);
        EXPECT_EQ(GridRowsOfColumn(*image, 297).size(), static_cast<size_t>(ImageHeight));
        EXPECT_EQ(GridColumnsOfRow(*image, 504).size(), static_cast<size_t>(ImageWidth));
    }
}

TEST(SectorRings, MeetTheApexRowAndTheDiagonals) {
    const auto image = GridOnly({"1500 m/s"});
    EXPECT_EQ(GridColumnsOfRow(*image, 505), (std::set<int>{97, 197, 297, 397, 497}));
    for (double r : {100.0, 200.0, 300.0, 400.0}) {
        const double d = r / std::sqrt(2.0);
        EXPECT_TRUE(GridNear(*image, 297.5 + d, 505.5 - d)) << "right, radius " << r;
        EXPECT_TRUE(GridNear(*image, 297.5 - d, 505.5 - d)) << "left, radius " << r;
    }
    for (double r : {50.0, 150.0, 250.0, 350.0, 450.0}) {
        const double d = r / std::sqrt(2.0);
        EXPECT_FALSE(GridNear(*image, 297.5 + d, 505.5 - d)) << "between rings, radius " << r;
    }
    EXPECT_EQ(image->At(368, 434), GridBit);  // 45 degrees right at radius 100

    const auto slow = GridOnly({"1250 m/s", DisplayMode::Sector, 0, 1, 0, 1250.0f});
    for (double r : {120.0, 240.0, 360.0}) {
        const double d = r / std::sqrt(2.0);
        EXPECT_TRUE(GridNear(*slow, 297.5 + d, 505.5 - d)) << "radius " << r;
    }
    for (double r : {100.0, 200.0, 300.0, 420.0}) {
        const double d = r / std::sqrt(2.0);
        EXPECT_FALSE(GridNear(*slow, 297.5 + d, 505.5 - d)) << "radius " << r;
    }
}

TEST(PolarRings, AroundRow252EveryFiftyPixels) {
    const auto image = GridOnly({"Polar", DisplayMode::Polar});
    EXPECT_EQ(GridRowsOfColumn(*image, 298), (std::set<int>{2, 52, 102, 152, 202, 253, 302, 352, 402, 452, 502}));
    EXPECT_EQ(GridColumnsOfRow(*image, 253).size(), static_cast<size_t>(ImageWidth));
    EXPECT_EQ(GridRowsOfColumn(*image, 297).size(), static_cast<size_t>(ImageHeight));
    for (double r : {50.0, 150.0, 250.0}) {
        const double d = r / std::sqrt(2.0);
        EXPECT_TRUE(GridNear(*image, 297.5 - d, 252.5 + d)) << "down-left, radius " << r;
    }
    EXPECT_FALSE(GridNear(*image, 297.5 + 300 / std::sqrt(2.0), 252.5 - 300 / std::sqrt(2.0)));
}

TEST(ProfileGrids, DottedRowsAndColumns) {
    struct Case {
        GridCase grid;
        std::set<int> rowsOfColumn0;  // the dotted rows and the full-width lines
        int lineColumn;               // a dotted column, on every even row
        int firstColumn;              // a dotted row starts at column 0: no column 1
    } cases[] = {
        {{"Sector, zero down", DisplayMode::Sector, 1, 1}, {4, 104, 204, 304, 404, 504}, 97, 1},
        {{"Sector, zero up: baseline row 1", DisplayMode::Sector, 1, 0}, {1, 101, 201, 301, 401, 501}, 497, 1},
        {{"Polar", DisplayMode::Polar, 1, 1}, {3, 53, 103, 153, 203, 253, 303, 353, 403, 453, 503}, 47, 1},
        {{"Polar ignores zero down", DisplayMode::Polar, 1, 0},
         {3, 53, 103, 153, 203, 253, 303, 353, 403, 453, 503},
         547,
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.grid.legend);
        const auto image = GridOnly(c.grid);
        EXPECT_EQ(GridRowsOfColumn(*image, 0), c.rowsOfColumn0);
        std::set<int> lineRows = EvenRows();
        for (int row : c.rowsOfColumn0)
            if (GridColumnsOfRow(*image, row).size() == static_cast<size_t>(ImageWidth)) lineRows.insert(row);
        EXPECT_EQ(GridRowsOfColumn(*image, c.lineColumn), lineRows);
        EXPECT_TRUE(GridRowsOfColumn(*image, c.firstColumn).size() <= 1);
    }
    const auto sector = GridOnly({"Sector", DisplayMode::Sector, 1, 1});
    EXPECT_EQ(GridColumnsOfRow(*sector, 405), (std::set<int>{297}));
    std::set<int> row404;
    for (int x = 0; x < ImageWidth; x += 2) row404.insert(x);
    for (int x : {97, 197, 297, 397, 497}) row404.insert(x);
    EXPECT_EQ(GridColumnsOfRow(*sector, 404), row404);
}

TEST(SsGrid, RangeLinesAndDashedRangeZero) {
    struct Case {
        GridCase grid;
        int zeroColumn;
        std::set<int> lines;
    } cases[] = {
        {{"Port", DisplayMode::SideScan, 0, 1, 0, 1500.0f, SideScanSide::Port}, 595, {95, 195, 295, 395, 495}},
        {{"Both is drawn as Port", DisplayMode::SideScan, 0, 1, 0, 1500.0f, SideScanSide::Both},
         595,
         {95, 195, 295, 395, 495}},
        {{"Stbd", DisplayMode::SideScan, 0, 1, 0, 1500.0f, SideScanSide::Starboard}, 95, {195, 295, 395, 495, 595}},
        {{"Stbd, 1250 m/s", DisplayMode::SideScan, 0, 1, 0, 1250.0f, SideScanSide::Starboard},
         95,
         {215, 335, 455, 575}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.grid.legend);
        const auto image = GridOnly(c.grid);
        for (int y : {0, 7, 8, 15, 16, 505}) {
            std::set<int> expected = c.lines;
            if ((y & 8) == 0) expected.insert(c.zeroColumn);
            EXPECT_EQ(GridColumnsOfRow(*image, y), expected) << "row " << y;
        }
    }
}

TEST(SsGrid, GridOffClearsTheWholeRangeZeroColumn) {
    GridCase port{"Port", DisplayMode::SideScan};
    auto image = std::make_unique<SonarImage>();
    for (int y = 0; y < ImageHeight; ++y) image->At(595, y) = 128 + 40;  // dashes scrolled along
    DrawImageGrid(StateFor(port, 0), *image);
    for (int y = 0; y < ImageHeight; ++y) ASSERT_EQ(image->At(595, y), 40) << "row " << y;
}

const GridCase everyLayout[] = {
    {"Sector rings", DisplayMode::Sector},
    {"Sector rings, feet, 1400 m/s", DisplayMode::Sector, 0, 1, 1, 1400.0f},
    {"Sector grid, zero down", DisplayMode::Sector, 1, 1},
    {"Sector grid, zero up", DisplayMode::Sector, 1, 0},
    {"Polar rings", DisplayMode::Polar},
    {"Polar rings, 1250 m/s", DisplayMode::Polar, 0, 1, 0, 1250.0f},
    {"Polar grid", DisplayMode::Polar, 1, 1},
    {"SS Port", DisplayMode::SideScan, 0, 1, 0, 1500.0f, SideScanSide::Port},
    {"SS Stbd, feet", DisplayMode::SideScan, 0, 1, 1, 1500.0f, SideScanSide::Starboard},
};

TEST(GridOnOff, EchoesKeptAndOffThenOnRestoresTheSameGrid) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> level(0, 107);
    auto echoes = std::make_unique<SonarImage>();
    for (auto& pixel : echoes->Pixels) pixel = static_cast<uint8_t>(level(random));

    for (const auto& c : everyLayout) {
        SCOPED_TRACE(c.legend);
        auto image = std::make_unique<SonarImage>(*echoes);
        DrawImageGrid(StateFor(c, 1), *image);
        const auto on = std::make_unique<SonarImage>(*image);
        size_t gridPixels = 0;
        for (size_t i = 0; i < image->Pixels.size(); ++i) {
            ASSERT_EQ(image->Pixels[i] & 0x7F, echoes->Pixels[i]) << "pixel " << i;
            gridPixels += image->Pixels[i] >= GridBit;
        }
        EXPECT_GT(gridPixels, 1000u);

        DrawImageGrid(StateFor(c, 0), *image);
        EXPECT_TRUE(image->Pixels == echoes->Pixels);
        DrawImageGrid(StateFor(c, 1), *image);
        EXPECT_TRUE(image->Pixels == on->Pixels);
        DrawImageGrid(StateFor(c, 1), *image);  // drawing twice changes nothing
        EXPECT_TRUE(image->Pixels == on->Pixels);
    }
}

TEST(GridOnOff, ALayoutDrawnAgainAfterOthersIsTheSame) {
    const auto first = GridOnly(everyLayout[0]);
    for (const auto& c : everyLayout) GridOnly(c);
    const auto again = GridOnly(everyLayout[0]);
    EXPECT_TRUE(first->Pixels == again->Pixels);
}

TEST(GridOnOff, ASoundVelocityWithoutUsableSpacingDrawsOnlyTheFixedLines) {
    for (float velocity : {0.0f, -1500.0f, std::nanf(""), 1e9f}) {
        SCOPED_TRACE("sound velocity " + std::to_string(velocity));
        const auto image = GridOnly({"Sector", DisplayMode::Sector, 0, 1, 0, velocity});
        size_t gridPixels = 0;
        for (uint8_t pixel : image->Pixels) gridPixels += pixel >= GridBit;
        EXPECT_EQ(gridPixels, static_cast<size_t>(ImageWidth + ImageHeight - 1));
    }
}

TEST(SectorDialPositions, EdgesPositionsAndScanStart) {
    struct Case {
        const char* legend;
        int train, sectorSize, profileGrid, zeroDown, xdcr;
        DialShape shape;
        double startEdge, endEdge;
        int startPosition, endPosition, field;
    } cases[] = {
        {"ahead, 180 degrees", 0, 180, 0, 1, 0, DialShape::Pie, -90, 90, 300, 900, 30},
        {"full circle", 0, 360, 0, 1, 0, DialShape::FullCircle, -180, 180, 0, 1200, 0},
        {"full circle, trained", 45, 360, 0, 1, 0, DialShape::FullCircle, -180, 180, 0, 1200, 0},
        {"across the back", 170, 90, 0, 1, 0, DialShape::Pie, 125, -145, 1016, 116, 101},
        {"not stepping: a line", 30, 0, 0, 1, 0, DialShape::Line, 30, 30, 700, 700, 70},
        {"odd size: half degrees", 0, 45, 0, 1, 0, DialShape::Pie, -22.5, 22.5, 525, 675, 52},
        {"apex up: mirrored and swapped", 0, 180, 1, 0, 0, DialShape::Pie, -90, 90, 300, 900, 90},
        {"apex up, trained", 30, 60, 1, 0, 0, DialShape::Pie, 0, 60, 400, 600, 80},
        {"apex up, full circle: 1200 becomes 0", 0, 360, 1, 0, 0, DialShape::FullCircle, -180, 180, 0, 0, 0},
        {"zero down is not mirrored", 30, 60, 1, 1, 0, DialShape::Pie, 0, 60, 600, 800, 60},
        {"transducer up", 0, 180, 0, 1, 1, DialShape::Pie, -90, 90, 300, 900, 90},
        {"transducer up at 180: 120 is out of range", 180, 0, 0, 1, 1, DialShape::Line, 180, 180, 1200, 1200, 0},
        {"start edge 179 degrees", 179, 0, 0, 1, 0, DialShape::Line, 179, 179, 1196, 1196, 119},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        SonarState state;
        state.Train = c.train;
        state.SectorSize = c.sectorSize;
        state.ProfileGrid = c.profileGrid;
        state.ZeroDown = c.zeroDown;
        state.Xdcr = c.xdcr;
        const SectorDial dial = ComputeSectorDial(state);
        EXPECT_EQ(dial.Shape, c.shape);
        EXPECT_DOUBLE_EQ(dial.StartEdgeDegrees, c.startEdge);
        EXPECT_DOUBLE_EQ(dial.EndEdgeDegrees, c.endEdge);
        EXPECT_EQ(dial.StartPosition, c.startPosition);
        EXPECT_EQ(dial.EndPosition, c.endPosition);
        EXPECT_EQ(dial.ScanStartField, c.field);
    }
}

}  // namespace
}  // namespace tidemar
