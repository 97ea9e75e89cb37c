// The head-position indicator's markers and labels, and which read-outs a ping refreshes.
#include <gtest/gtest.h>

#include "ui_core/HeadIndicator.h"

namespace tidemar {
namespace {

TEST(HeadIndicator, MarkersSitOnTheCircleOfRadius42) {
    const Point c{669, 293};
    EXPECT_EQ(DialMarkerPoint(c, 0.0, false), (Point{669, 251}));
    EXPECT_EQ(DialMarkerPoint(c, 90.0, false), (Point{711, 293}));
    EXPECT_EQ(DialMarkerPoint(c, 180.0, false), (Point{669, 335}));
    EXPECT_EQ(DialMarkerPoint(c, -90.0, false), (Point{627, 293}));
    // 45 degrees: 42 * 0.7071 = 29.7, rounded half up.
    EXPECT_EQ(DialMarkerPoint(c, 45.0, false), (Point{699, 263}));
    // Apex at the top: y mirrored.
    EXPECT_EQ(DialMarkerPoint(c, 0.0, true), (Point{669, 335}));
    EXPECT_EQ(DialMarkerPoint(c, 45.0, true), (Point{699, 323}));
}

TEST(HeadIndicator, MarkersFollowHeadAngleAndRotation) {
    const PanelLayout layout = ComputePanelLayout(PanelMetrics{});
    SonarState s;
    s.HeadAngleDeg = 90.0f;
    s.ImageRotation = 270.0f;  // shown as -90
    EXPECT_EQ(HeadMarkerPoint(layout, s), (Point{layout.DialCentre.X + 42, layout.DialCentre.Y}));
    EXPECT_EQ(RotationMarkerPoint(layout, s), (Point{layout.DialCentre.X - 42, layout.DialCentre.Y}));
    EXPECT_DOUBLE_EQ(RotationMarkerDegrees(-200.0f), 160.0);
    EXPECT_DOUBLE_EQ(RotationMarkerDegrees(540.0f), 180.0);
    // Upside down only with the profile grid and zero up, never in SS.
    s.ProfileGrid = 1;
    s.ZeroDown = 0;
    s.GridMode = DisplayMode::Sector;
    EXPECT_TRUE(DialUpsideDown(s));
    s.GridMode = DisplayMode::SideScan;
    EXPECT_FALSE(DialUpsideDown(s));
    s.GridMode = DisplayMode::Sector;
    s.ZeroDown = 1;
    EXPECT_FALSE(DialUpsideDown(s));
}

TEST(HeadIndicator, TransducerLabels) {
    SonarState s;
    EXPECT_STREQ(XdcrLabel(s), "Xdcr Down");
    EXPECT_EQ(ZeroLabel(s), nullptr);
    s.Xdcr = Transducer::Up;
    EXPECT_STREQ(XdcrLabel(s), "Xdcr Up");
    s.ProfileGrid = 1;
    EXPECT_STREQ(XdcrLabel(s), "Xdcr Aft");
    s.Xdcr = Transducer::Down;
    EXPECT_STREQ(XdcrLabel(s), "Xdcr Fwd");
    s.ZeroDown = 0;
    EXPECT_STREQ(ZeroLabel(s), "Zero Down");
    s.ZeroDown = 1;
    EXPECT_STREQ(ZeroLabel(s), "Zero Up");
}

TEST(ShownReadouts, PlaybackRedrawsOnlyWhatChanged) {
    SonarState s;
    s.RunMode = DataSource::File;
    s.ReturnRange = 50;
    ShownReadouts shown;
    ChangedReadouts c = TakeChangedReadouts(shown, s);  // never shown: everything
    EXPECT_TRUE(c.Range && c.ModeAndSpeed && c.Speed && c.Train && c.Sector && c.Gain && c.Xdcr);
    EXPECT_FALSE(TakeChangedReadouts(shown, s).Any());
    s.Gain = 12;
    c = TakeChangedReadouts(shown, s);
    EXPECT_TRUE(c.Gain);
    EXPECT_FALSE(c.Range || c.ModeAndSpeed || c.Speed || c.Train || c.Sector || c.Xdcr);
    s.ReturnRange = 20;  // a range change redraws mode and speed too
    c = TakeChangedReadouts(shown, s);
    EXPECT_TRUE(c.Range && c.ModeAndSpeed);
    EXPECT_FALSE(c.Speed);
    s.GridMode = DisplayMode::Sector;
    c = TakeChangedReadouts(shown, s);
    EXPECT_TRUE(c.ModeAndSpeed);
    EXPECT_FALSE(c.Range);
}

TEST(ShownReadouts, LivePingsOnlyTouchTheTransducer) {
    SonarState s;
    ShownReadouts shown;
    ChangedReadouts c = TakeChangedReadouts(shown, s);
    EXPECT_TRUE(c.Xdcr);
    EXPECT_FALSE(c.Range || c.ModeAndSpeed || c.Speed || c.Train || c.Sector || c.Gain);
    s.Gain = 30;
    EXPECT_FALSE(TakeChangedReadouts(shown, s).Any());
    s.Xdcr = Transducer::Up;
    EXPECT_TRUE(TakeChangedReadouts(shown, s).Xdcr);
}

}  // namespace
}  // namespace tidemar
