#include <gtest/gtest.h>

#include "ui_core/MeasureTool.h"

namespace tidemar {
namespace {

SonarState AtRange(int index, int gridMode) {
    SonarState s;
    s.RunMode = DataSource::File;
    SetRange(s, index);
    s.GridMode = gridMode;
    return s;
}

MeasureInput Pointer(int x, int y) { return MeasureInput{x, y, true, false, 0, 0}; }

TEST(MeasureTool, SectorPointerOnTheHeadReadsTrain) {
    SonarState s = AtRange(9, DisplayMode::Sector);
    s.Train = 40;
    const MeasureReadout r = ComputeMeasure(s, Pointer(300, 508));
    EXPECT_EQ(r.Lines[1], "Tar: 000.00 M, 040.0 Deg");
    EXPECT_EQ(r.Lines[0], "Org: 000.00 M, 000.0 Deg");
}

TEST(MeasureTool, SectorStraightUpAndSoundVelocity) {
    SonarState s = AtRange(9, DisplayMode::Sector);  // 50 m, SampleSpacing 0.1
    EXPECT_EQ(ComputeMeasure(s, Pointer(300, 408)).Lines[1], "Tar: 010.00 M, 000.0 Deg");
    EXPECT_EQ(ComputeMeasure(s, Pointer(300, 408)).Lines[2], "Diff: 010.00 M, 000.0 Deg");
    s.SoundVelocityMeters = 1450.0f;
    EXPECT_EQ(ComputeMeasure(s, Pointer(300, 408)).Lines[1], "Tar: 009.67 M, 000.0 Deg");
}

TEST(MeasureTool, PolarDoublesAndDecimalsFollowTheRange) {
    SonarState s = AtRange(9, DisplayMode::Polar);
    // Polar origin row 255 for any y but 256: 100 pixels up is y 155.
    EXPECT_EQ(ComputeMeasure(s, Pointer(300, 155)).Lines[1], "Tar: 020.00 M, 000.0 Deg");
    SonarState four = AtRange(3, DisplayMode::Sector);  // 4 m
    EXPECT_EQ(ComputeMeasure(four, Pointer(300, 408)).Lines[1], "Tar: 00.800 M, 000.0 Deg");
    SonarState five = AtRange(4, DisplayMode::Sector);
    EXPECT_EQ(ComputeMeasure(five, Pointer(300, 408)).Lines[1], "Tar: 001.00 M, 000.0 Deg");
    EXPECT_EQ(ComputeMeasure(s, Pointer(400, 255)).Lines[1], "Tar: 020.00 M, 090.0 Deg");
}

TEST(MeasureTool, FeetAreLimited) {
    SonarState s = AtRange(14, DisplayMode::Polar);  // 200 m polar: 0.4 m a pixel doubled
    s.Units = 1;
    EXPECT_EQ(ComputeMeasure(s, Pointer(300, 5)).Lines[1], "Tar: 656.17 FT, 000.0 Deg");
    // The corner is 388 pixels out: 310 m, 1019 FT.
    EXPECT_EQ(ComputeMeasure(s, Pointer(3, 5)).Lines[1].substr(0, 16), "Tar: 999.99 FT, ");
    SonarState m = AtRange(9, DisplayMode::Sector);
    m.Units = 1;
    EXPECT_EQ(ComputeMeasure(m, Pointer(300, 408)).Lines[1], "Tar: 032.81 FT, 000.0 Deg");
}

TEST(MeasureTool, LockedOriginBearings) {
    SonarState s = AtRange(9, DisplayMode::Sector);
    s.Train = 30;
    MeasureInput in{0, 0, true, true, 200, 300};
    struct Case {
        int X, Y;
        const char* Diff;
    };
    const Case cases[] = {
        {250, 300, "Diff: 005.00 M, 120.0 Deg"},  // right: 90 + train
        {200, 350, "Diff: 005.00 M, 210.0 Deg"},  // below
        {150, 300, "Diff: 005.00 M, 300.0 Deg"},  // left
        {200, 250, "Diff: 005.00 M, 030.0 Deg"},  // above
    };
    for (const Case& c : cases) {
        in.X = c.X;
        in.Y = c.Y;
        EXPECT_EQ(ComputeMeasure(s, in).Lines[2], c.Diff);
    }
    s.GridMode = DisplayMode::Polar;
    in.X = 150;
    in.Y = 300;
    EXPECT_EQ(ComputeMeasure(s, in).Lines[2], "Diff: 010.00 M, 270.0 Deg");
    in.X = 200;
    EXPECT_EQ(ComputeMeasure(s, in).Lines[2], "Diff: 000.00 M, 000.0 Deg");  // on the origin
}

TEST(MeasureTool, CartesianReadout) {
    SonarState s = AtRange(9, DisplayMode::Sector);
    s.ProfileGrid = 1;
    s.ZeroDown = 1;  // origin row 507
    MeasureReadout r = ComputeMeasure(s, Pointer(330, 467));
    ASSERT_TRUE(r.Cartesian);
    EXPECT_EQ(r.Values[0], " 00.00 M,  00.00 M");
    EXPECT_EQ(r.Values[1], " 03.00 M,  04.00 M");
    EXPECT_EQ(r.Values[2], " 05.00 M");
    EXPECT_EQ(r.Labels[2], "Diff:");
    s.ProfileXOffset = 1.5f;
    s.ProfileElevation = -2.0f;
    r = ComputeMeasure(s, Pointer(270, 467));
    EXPECT_EQ(r.Values[0], " 01.50 M, -02.00 M");
    EXPECT_EQ(r.Values[1], "-01.50 M,  02.00 M");
    s.ZeroDown = 0;  // origin row 4
    EXPECT_EQ(MeasureOriginRow(s, 100), 4);
}

TEST(MeasureTool, SideScan) {
    EXPECT_EQ(SsSampleCount(98, 0), 500);
    EXPECT_EQ(SsSampleCount(598, 0), 0);
    EXPECT_EQ(SsSampleCount(3, 0), 500);
    EXPECT_EQ(SsSampleCount(98, 2), 0);
    EXPECT_EQ(SsSampleCount(598, 2), 500);
    EXPECT_EQ(SsSampleCount(50, 2), 0);
    EXPECT_FALSE(SsSampleCount(300, 1).has_value());

    SonarState s = AtRange(9, DisplayMode::SideScan);
    s.SsSide = SideScanSide::Port;
    MeasureReadout r = ComputeMeasure(s, Pointer(498, 100));
    EXPECT_EQ(r.Lines[0], "Org: 010.00 M, Port Side");
    EXPECT_EQ(r.Lines[1], "Tar: 010.00 M, Port Side");
    EXPECT_EQ(r.Lines[2], "Diff: 010.00 M                ");
    s.SsSide = SideScanSide::Starboard;
    s.Units = 1;
    MeasureInput in{298, 100, true, true, 198, 100};
    r = ComputeMeasure(s, in);
    EXPECT_EQ(r.Lines[0], "Org: 032.81 FT, Stbd Side");
    EXPECT_EQ(r.Lines[1], "Tar: 065.62 FT, Stbd Side");
    EXPECT_EQ(r.Lines[2], "Diff: 032.81 FT                 ");
    s.SsSide = SideScanSide::Both;
    EXPECT_TRUE(ComputeMeasure(s, in).Empty);
}

TEST(MeasureTool, EmptyOutsideTheImageAndPlacement) {
    SonarState s = AtRange(9, DisplayMode::Sector);
    MeasureInput in = Pointer(300, 408);
    in.CursorInImage = false;
    EXPECT_TRUE(ComputeMeasure(s, in).Empty);

    const PanelLayout l = ComputePanelLayout(PanelMetrics{});
    EXPECT_EQ(MeasureLineCentre(l), 535);
    EXPECT_EQ(MeasureLabelLeft(l), 477);
    EXPECT_EQ(MeasureValueLeft(l), 499);
    EXPECT_EQ(MeasureLineTop(l, 2), 544);
    EXPECT_EQ(MeasureRefreshArea(false, {100, 100}, {0, 0}), (Rect{85, 85, 105, 105}));
    EXPECT_EQ(MeasureRefreshArea(true, {10, 400}, {590, 505}), (Rect{0, 385, 596, 506}));
}

}  // namespace
}  // namespace tidemar
