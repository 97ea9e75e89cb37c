// Profile markers and the dredge line: where a point lands in each display and
// orientation, the Points Only table and its erase-ahead, the ring of five in the mix
// modes, marker colours on grid pixels, and the dredge line's rows and its clearing.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "image/ProfileDisplay.h"

namespace tidemar {
namespace {

constexpr uint8_t Echo = 30;
constexpr uint8_t Marker = 106;
constexpr uint8_t GridMarker = 234;

struct Scene {
    SonarState state;
    std::unique_ptr<ImageState> image = std::make_unique<ImageState>();

    // A Sector picture full of echo level 30, the head at position 600 drawing forwards.
    Scene() {
        state.GridMode = DisplayMode::Sector;
        state.Grid = 1;
        state.Range = 9;  // 50 m
        state.HeadPosition = 600;
        state.DrawDirection = 1;
        state.HeadAngleRad = 0.5f;  // sin 0.479, cos 0.878: no pixel edge near
        image->Image.Pixels.fill(Echo);
    }
    uint8_t At(int x, int y) const { return image->Image.At(x, y); }
    ImagePoint Stored(int position) const { return image->Profile.ProfilePointTable[position]; }
    void Store(int position, int x, int y, uint8_t pixel) {
        image->Profile.ProfilePointTable[position] = {static_cast<int16_t>(x), static_cast<int16_t>(y)};
        image->Image.At(x, y) = pixel;
    }
};

// ---- where a marker lands ---------------------------------------------------------------

struct Placement {
    const char* legend;
    int gridMode, profileGrid, zeroDown;
    int x, y;        // Points Only: truncated
    int mixX, mixY;  // mix modes: rounded
};

const Placement placements[] = {
    {"Sector: up from the apex", DisplayMode::Sector, 0, 1, 345, 417, 346, 417},
    {"Sector, profile grid zero down", DisplayMode::Sector, 1, 1, 345, 417, 346, 417},
    {"Sector, apex at the top: down from row 1", DisplayMode::Sector, 1, 0, 345, 88, 346, 89},
    {"Polar: up from row 253", DisplayMode::Polar, 0, 1, 345, 165, 346, 165},
    {"Polar, profile grid zero up: turned over", DisplayMode::Polar, 1, 0, 345, 340, 346, 341},
};

TEST(ProfileMarkerPlace, PointsOnlyTruncatesAlongTheHeadAngle) {
    for (const auto& p : placements) {
        SCOPED_TRACE(p.legend);
        Scene scene;
        scene.state.GridMode = p.gridMode;
        scene.state.ProfileGrid = p.profileGrid;
        scene.state.ZeroDown = p.zeroDown;
        scene.state.ProfileSample = 100;
        EXPECT_TRUE(PlotProfilePointOnly(scene.state, *scene.image));
        EXPECT_EQ(scene.At(p.x, p.y), Marker);
        EXPECT_EQ(scene.Stored(600).X, p.x);
        EXPECT_EQ(scene.Stored(600).Y, p.y);
    }
}

TEST(ProfileMarkerPlace, MixModesRoundHalfUp) {
    for (const auto& p : placements) {
        SCOPED_TRACE(p.legend);
        Scene scene;
        scene.state.GridMode = p.gridMode;
        scene.state.ProfileGrid = p.profileGrid;
        scene.state.ZeroDown = p.zeroDown;
        scene.state.ProfileSample = 100;
        EXPECT_TRUE(PlotMixProfilePoint(scene.state, *scene.image));
        EXPECT_EQ(scene.At(p.mixX, p.mixY), Marker);
        EXPECT_EQ(scene.image->Profile.RecentProfilePoints[0].X, p.mixX);
        EXPECT_EQ(scene.image->Profile.RecentProfilePoints[0].Y, p.mixY);
        EXPECT_EQ(scene.image->Profile.NextRecentSlot, 1);
    }
}

TEST(ProfileMarkerPlace, GridPixelsShowTheMarkerInTheGridColour) {
    struct Case {
        const char* legend;
        int grid;
        uint8_t before, after;
    } cases[] = {
        {"grid pixel, grid on", 1, 128 + Echo, GridMarker},
        {"plain pixel, grid on", 1, Echo, Marker},
        {"grid bit left over, grid off", 0, 128 + Echo, Marker},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        Scene points;
        points.state.Grid = c.grid;
        points.state.ProfileSample = 100;
        points.image->Image.At(345, 417) = c.before;
        PlotProfilePointOnly(points.state, *points.image);
        EXPECT_EQ(points.At(345, 417), c.after);

        Scene mix;
        mix.state.Grid = c.grid;
        mix.state.ProfileSample = 100;
        mix.image->Image.At(346, 417) = c.before;
        PlotMixProfilePoint(mix.state, *mix.image);
        EXPECT_EQ(mix.At(346, 417), c.after);
    }
}

// ---- Points Only ------------------------------------------------------------------------

TEST(PointsOnly, ErasesTheNinePositionsAheadInTheDrawingDirection) {
    struct Case {
        const char* legend;
        int head, direction;
        int firstErased, lastErased;  // positions, walking from the head
        int keptBehind, keptAhead;
    } cases[] = {
        {"forwards", 600, 1, 600, 608, 599, 609},
        {"backwards", 600, 0, 600, 592, 601, 591},
        {"forwards across the wrap", 1195, 1, 1195, 3, 1194, 4},
        {"backwards across the wrap", 4, 0, 4, 1196, 5, 1195},
        {"position 1200 is position 0", 1200, 1, 0, 8, 1199, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        Scene scene;
        scene.state.HeadPosition = c.head;
        scene.state.DrawDirection = c.direction;
        scene.state.ProfileSample = 100;
        scene.state.HeadAngleRad = 3.0f;  // the new point lands far from the stored ones
        // One stored point per position, each at its own pixel: column = 10 + position / 4,
        // row = 10 + position % 4, the odd positions on grid pixels.
        for (int p = 0; p < ProfilePointCount; ++p) scene.Store(p, 10 + p / 4, 10 + p % 4, p % 2 ? GridMarker : Marker);

        const int step = c.direction == 1 ? 1 : -1;
        for (int k = 0; k < 9; ++k) {
            const int p = ((c.firstErased + k * step) % 1200 + 1200) % 1200;
            ASSERT_EQ(scene.At(10 + p / 4, 10 + p % 4), p % 2 ? GridMarker : Marker) << "position " << p;
        }
        EXPECT_TRUE(PlotProfilePointOnly(scene.state, *scene.image));
        for (int k = 0; k < 9; ++k) {
            const int p = ((c.firstErased + k * step) % 1200 + 1200) % 1200;
            EXPECT_EQ(scene.At(10 + p / 4, 10 + p % 4), p % 2 ? 128 : 0) << "position " << p;
        }
        EXPECT_EQ(((c.firstErased + 8 * step) % 1200 + 1200) % 1200, c.lastErased);
        for (int p : {c.keptBehind, c.keptAhead})
            EXPECT_EQ(scene.At(10 + p / 4, 10 + p % 4), p % 2 ? GridMarker : Marker) << "position " << p;
    }
}

TEST(PointsOnly, ErasedGridPixelsLoseTheirBitWithTheGridOff) {
    Scene scene;
    scene.state.Grid = 0;
    scene.state.ProfileSample = 100;
    scene.Store(603, 50, 50, 128 + Marker);
    PlotProfilePointOnly(scene.state, *scene.image);
    EXPECT_EQ(scene.At(50, 50), 0);
}

TEST(PointsOnly, ASweepLeavesALineWipedJustAheadOfTheHead) {
    Scene scene;
    scene.state.ProfileSample = 200;
    for (int p = 500; p <= 700; ++p) {  // first sweep, forwards
        scene.state.HeadPosition = p;
        scene.state.HeadAngleRad = static_cast<float>((p - 600) * 3.141592654 / 600);
        PlotProfilePointOnly(scene.state, *scene.image);
    }
    const ImagePoint at650 = scene.Stored(650);
    const ImagePoint at700 = scene.Stored(700);
    EXPECT_EQ(scene.At(at650.X, at650.Y), Marker);

    scene.state.DrawDirection = 0;  // coming back
    scene.state.ProfileSample = 100;
    scene.state.HeadPosition = 658;
    scene.state.HeadAngleRad = static_cast<float>(58 * 3.141592654 / 600);
    PlotProfilePointOnly(scene.state, *scene.image);
    EXPECT_EQ(scene.At(at650.X, at650.Y), 0);  // eight positions ahead
    EXPECT_EQ(scene.At(at700.X, at700.Y), Marker);
}

TEST(PointsOnly, AZeroPointRecordsTheCentreAndWipesItNextTime) {
    Scene scene;
    scene.state.ProfileSample = 0;
    scene.state.HeadPosition = 600;
    EXPECT_TRUE(PlotProfilePointOnly(scene.state, *scene.image));
    EXPECT_EQ(scene.At(298, 505), Echo);  // nothing is drawn at the centre
    EXPECT_EQ(scene.Stored(600).X, 298);
    EXPECT_EQ(scene.Stored(600).Y, 505);

    scene.state.HeadPosition = 595;  // the head comes by again: 595..603 are wiped
    scene.state.ProfileSample = 50;
    PlotProfilePointOnly(scene.state, *scene.image);
    EXPECT_EQ(scene.At(298, 505), 0);
}

TEST(PointsOnly, APointOutsideThePictureKeepsTheOldEntry) {
    Scene scene;
    scene.state.GridMode = DisplayMode::Polar;  // Polar: 300 samples straight up is above the picture
    scene.state.HeadAngleRad = 0.0f;
    scene.state.ProfileSample = 300;
    scene.Store(600, 40, 40, Marker);
    scene.Store(601, 41, 41, Marker);
    EXPECT_TRUE(PlotProfilePointOnly(scene.state, *scene.image));  // the erasing changed pixels
    EXPECT_EQ(scene.At(40, 40), 0);
    EXPECT_EQ(scene.Stored(600).X, 40);
    for (int x = 0; x < ImageWidth; ++x) EXPECT_NE(scene.At(x, 0), Marker);

    Scene empty;
    empty.state.GridMode = DisplayMode::Polar;
    empty.state.HeadAngleRad = 0.0f;
    empty.state.ProfileSample = 300;
    EXPECT_FALSE(PlotProfilePointOnly(empty.state, *empty.image));
}

// ---- mix modes --------------------------------------------------------------------------

TEST(MixMarker, NoPointDrawsNothing) {
    Scene scene;
    scene.state.ProfileSample = 0;
    scene.image->Profile.RecentProfilePoints[0] = {100, 100};
    EXPECT_FALSE(PlotMixProfilePoint(scene.state, *scene.image));
    EXPECT_EQ(scene.At(100, 100), Echo);
    EXPECT_EQ(scene.image->Profile.NextRecentSlot, 0);
}

TEST(MixMarker, TheLastFivePointsAreDrawnAgainOverTheWedge) {
    Scene scene;
    const float angles[] = {-0.6f, -0.3f, 0.0f, 0.3f, 0.6f, 0.9f};
    ImagePoint drawn[6];
    scene.state.ProfileSample = 200;
    for (int i = 0; i < 6; ++i) {
        scene.state.HeadAngleRad = angles[i];
        PlotMixProfilePoint(scene.state, *scene.image);
        drawn[i] = scene.image->Profile.RecentProfilePoints[i % 5];
    }
    EXPECT_EQ(scene.image->Profile.NextRecentSlot, 1);

    scene.image->Image.Pixels.fill(Echo);  // the next wedge covers everything
    scene.state.HeadAngleRad = 1.2f;
    PlotMixProfilePoint(scene.state, *scene.image);
    EXPECT_EQ(scene.At(drawn[0].X, drawn[0].Y), Echo);  // the sixth point took its slot
    for (int i = 1; i < 6; ++i) EXPECT_EQ(scene.At(drawn[i].X, drawn[i].Y), Marker) << "point " << i;
    EXPECT_EQ(scene.image->Profile.NextRecentSlot, 2);
}

TEST(MixMarker, PointsWithAZeroCoordinateAreNotRedrawn) {
    Scene scene;
    scene.state.ProfileSample = 100;
    scene.image->Profile.RecentProfilePoints[1] = {60, 0};
    scene.image->Profile.RecentProfilePoints[2] = {0, 60};
    scene.image->Profile.RecentProfilePoints[3] = {60, 60};
    PlotMixProfilePoint(scene.state, *scene.image);
    EXPECT_EQ(scene.At(60, 0), Echo);
    EXPECT_EQ(scene.At(0, 60), Echo);
    EXPECT_EQ(scene.At(60, 60), Marker);
}

TEST(MixMarker, PolarHalvesTheProgramsOwnPoint) {
    struct Case {
        const char* legend;
        int gridMode, source;
        int y;
    } cases[] = {
        {"Polar, surface: raw bytes are half samples", DisplayMode::Polar, 1, 203},
        {"Polar, head", DisplayMode::Polar, 0, 153},
        {"Sector, surface", DisplayMode::Sector, 1, 405},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        Scene scene;
        scene.state.GridMode = c.gridMode;
        scene.state.ProfileDigitizationSource = c.source;
        scene.state.HeadAngleRad = 0.0f;
        scene.state.ProfileSample = 100;
        PlotMixProfilePoint(scene.state, *scene.image);
        EXPECT_EQ(scene.At(298, c.y), Marker);
    }
}

TEST(MixMarker, OutsideThePictureTheRingDoesNotMove) {
    Scene scene;
    scene.state.GridMode = DisplayMode::Polar;
    scene.state.HeadAngleRad = 0.0f;
    scene.state.ProfileSample = 300;
    scene.image->Profile.NextRecentSlot = 4;
    EXPECT_FALSE(PlotMixProfilePoint(scene.state, *scene.image));
    EXPECT_EQ(scene.image->Profile.NextRecentSlot, 4);
    EXPECT_TRUE(scene.image->Profile.RecentProfilePoints[4].Empty());
}

// ---- dredge line ------------------------------------------------------------------------

TEST(DredgeLine, RowByModeOrientationUnitsAndSoundVelocity) {
    struct Case {
        const char* legend;
        int gridMode, zeroDown, units, rangeIndex;
        float soundVelocity, depth;
        int row;  // -1: not drawn
    } cases[] = {
        {"Sector, zero down: up from 504", DisplayMode::Sector, 1, 0, 9, 1500, 10.0f, 404},
        {"Sector, zero up: down from 1", DisplayMode::Sector, 0, 0, 9, 1500, 10.0f, 101},
        {"Polar, zero down", DisplayMode::Polar, 1, 0, 9, 1500, 10.0f, 203},
        {"Polar, zero up", DisplayMode::Polar, 0, 0, 9, 1500, 10.0f, 303},
        {"10 m range", DisplayMode::Sector, 1, 0, 5, 1500, 2.5f, 379},
        {"slower sound: the range shrinks", DisplayMode::Sector, 1, 0, 9, 1250, 10.1f, 382},
        {"feet: 50 ft of 164 ft", DisplayMode::Sector, 1, 1, 9, 1500, 50.0f, 351},
        {"beyond the range", DisplayMode::Sector, 1, 0, 9, 1500, 60.0f, -1},
        {"Polar, zero up, near the bottom", DisplayMode::Polar, 0, 0, 9, 1500, 50.0f, 503},
        {"a depth of 0", DisplayMode::Sector, 1, 0, 9, 1500, 0.0f, -1},
        {"a negative depth", DisplayMode::Sector, 1, 0, 9, 1500, -3.0f, -1},
        {"a range index no table has", DisplayMode::Sector, 1, 0, 15, 1500, 10.0f, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        Scene scene;
        scene.state.ProfileGrid = 1;
        scene.state.GridMode = c.gridMode;
        scene.state.ZeroDown = c.zeroDown;
        scene.state.Units = c.units;
        scene.state.Range = c.rangeIndex;
        scene.state.SoundVelocityMeters = c.soundVelocity;
        scene.state.ProfileDredgeDepth = c.depth;
        EXPECT_EQ(DredgeLineRow(scene.state), c.row);
        EXPECT_EQ(DrawDredgeLine(scene.state, *scene.image), c.row >= 0);
        EXPECT_EQ(scene.image->Profile.LastDredgeRow, c.row >= 0 ? c.row : 0);
        for (int y = 0; y < ImageHeight; ++y) ASSERT_EQ(scene.At(300, y), y == c.row ? 88 : Echo) << "row " << y;
    }
}

TEST(DredgeLine, NeverWithoutTheProfileGridOrInSS) {
    for (int profileGrid : {0, 1}) {
        for (int mode : {DisplayMode::Sector, DisplayMode::Polar, DisplayMode::SideScan}) {
            if (profileGrid == 1 && mode != DisplayMode::SideScan) continue;
            SCOPED_TRACE("ProfileGrid " + std::to_string(profileGrid) + ", mode " + std::to_string(mode));
            Scene scene;
            scene.state.ProfileGrid = profileGrid;
            scene.state.GridMode = mode;
            scene.state.ProfileDredgeDepth = 10.0f;
            scene.image->Profile.LastDredgeRow = 300;
            EXPECT_FALSE(DrawDredgeLine(scene.state, *scene.image));
            for (uint8_t pixel : scene.image->Image.Pixels) ASSERT_EQ(pixel, Echo);
        }
    }
}

TEST(DredgeLine, GridPixelsKeepTheirBit) {
    Scene scene;
    scene.state.ProfileGrid = 1;
    scene.state.ProfileDredgeDepth = 10.0f;
    scene.image->Image.At(297, 404) = 128 + Echo;
    DrawDredgeLine(scene.state, *scene.image);
    EXPECT_EQ(scene.At(297, 404), 216);
    EXPECT_EQ(scene.At(296, 404), 88);

    scene.state.ProfileDredgeDepth = 20.0f;  // moving on clears the old row, grid kept
    DrawDredgeLine(scene.state, *scene.image);
    EXPECT_EQ(scene.At(297, 404), 128);
    EXPECT_EQ(scene.At(296, 404), 0);
    EXPECT_EQ(scene.At(296, 304), 88);
}

TEST(DredgeLine, RedrawnEveryPingOverTheEchoes) {
    Scene scene;
    scene.state.ProfileGrid = 1;
    scene.state.ProfileDredgeDepth = 10.0f;
    DrawDredgeLine(scene.state, *scene.image);
    scene.image->Image.At(300, 404) = 77;  // a wedge drawn over the line
    EXPECT_TRUE(DrawDredgeLine(scene.state, *scene.image));
    EXPECT_EQ(scene.At(300, 404), 88);
}

TEST(DredgeLine, ALineTakenAwayIsClearedOnceAndLaterEchoesStay) {
    struct Case {
        const char* legend;
        float newDepth;
    } cases[] = {{"depth set to 0", 0.0f}, {"depth beyond the range", 80.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        Scene scene;
        scene.state.ProfileGrid = 1;
        scene.state.ProfileDredgeDepth = 10.0f;
        DrawDredgeLine(scene.state, *scene.image);
        scene.state.ProfileDredgeDepth = c.newDepth;
        EXPECT_TRUE(DrawDredgeLine(scene.state, *scene.image));
        EXPECT_EQ(scene.At(300, 404), 0);

        scene.image->Image.At(300, 404) = 77;  // echoes drawn after the line went
        EXPECT_FALSE(DrawDredgeLine(scene.state, *scene.image));
        EXPECT_EQ(scene.At(300, 404), 77);
    }
}

}  // namespace
}  // namespace tidemar
