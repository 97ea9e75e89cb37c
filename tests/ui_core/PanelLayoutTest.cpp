#include <gtest/gtest.h>

#include "ui_core/PanelLayout.h"

namespace tidemar {
namespace {

// A cell of 8 x 16, arrows of 16 x 16: P = 51, rows 83, 134, 185, 236.
PanelLayout DefaultLayout() { return ComputePanelLayout(PanelMetrics{}); }

TEST(PanelLayout, ComputesReadoutGridFromTheCharacterCell) {
    const PanelLayout l = DefaultLayout();
    EXPECT_EQ(l.ReadoutWidth, 52);
    EXPECT_EQ(l.Column2, 631 + 48 + 16);
    EXPECT_EQ(l.RowPitch, 51);
    EXPECT_EQ(l.Rows, (std::array<int, 4>{83, 134, 185, 236}));

    const ParameterWidget& train = l.Widget(PanelParameter::Train);
    EXPECT_STREQ(train.Label, "Train");
    EXPECT_EQ(train.Origin, (Point{695, 185}));
    EXPECT_EQ(train.Box, (Rect{695, 184, 747, 217}));
    EXPECT_EQ(train.UpArrow, (Rect{747, 185, 763, 201}));
    EXPECT_EQ(train.DownArrow, (Rect{747, 201, 763, 217}));
    EXPECT_EQ(train.LabelShadow, (Point{698, 168}));
    EXPECT_EQ(train.LabelText, (Point{697, 167}));
    EXPECT_EQ(l.Widget(PanelParameter::Gain).Origin, (Point{619, 134}));
}

TEST(PanelLayout, FollowsOtherCellSizes) {
    PanelMetrics m;
    m.CharWidth = 7;
    m.CharHeight = 13;
    m.ArrowWidth = 17;
    m.ArrowHeight = 17;
    const PanelLayout l = ComputePanelLayout(m);
    EXPECT_EQ(l.ReadoutWidth, 46);
    EXPECT_EQ(l.Column2, 631 + 42 + 17);
    EXPECT_EQ(l.RowPitch, 50);
    EXPECT_EQ(l.HeadButton, (Rect{619, 15, 654, 33}));
    EXPECT_EQ(l.FileButton, (Rect{654, 15, 689, 33}));
    EXPECT_EQ(l.KeyEntryOrigin, (Point{619, 39}));
    // Y3 = 233, lower base 267.
    EXPECT_EQ(l.DialCentre, (Point{(46 + 17) / 2 + 635, 292}));
    EXPECT_EQ(l.UserTextBox, (Rect{619, 221, 777, 239}));
    EXPECT_EQ(l.ZoomArea, (Rect{620, 352, 776, 508}));
    EXPECT_EQ(l.ZoomFrame, (Rect{619, 351, 777, 509}));
}

TEST(PanelLayout, PlacesTheStripUnderTheImage) {
    const PanelLayout l = DefaultLayout();
    EXPECT_EQ(l.DateTimeBox, (Rect{2, 512, 146, 531}));
    EXPECT_EQ(l.GridLabelBox, (Rect{266, 513, 336, 530}));
    EXPECT_EQ(l.GpsBox, (Rect{2, 532, 200, 549}));
    EXPECT_EQ(l.PingMarkBox, (Rect{448, 511, 464, 530}));
    EXPECT_EQ(l.MeasureBox, (Rect{473, 511, 600, 562}));
    EXPECT_EQ(l.PlotSpeedLeft, (Rect{251, 534, 267, 550}));
    EXPECT_EQ(l.PlotSpeedRight, (Rect{336, 534, 352, 550}));
    EXPECT_EQ(l.DialFrame, (Rect{619, 239, 777, 347}));
    EXPECT_EQ(LinkStatusBox(l, 100), (Rect{246, 512, 357, 531}));
    EXPECT_EQ(LinkStatusText(101), (Point{251, 513}));
    EXPECT_EQ(DataSourcePanelArea(l, 800), (Rect{611, 1, 800, 293 - 34 - 39}));
    EXPECT_EQ(PanelRowsArea(l, 790), (Rect{619, 116, 790, 217}));
    EXPECT_EQ(FrequencyErase(l, 0), (Rect{619, 42, 733, 62}));
    EXPECT_EQ(FrequencyErase(l, 1), (Rect{717, 20, 791, 40}));
    EXPECT_EQ(KeyEntryBox(l, 60), (Rect{619, 45, 684, 61}));
    EXPECT_EQ(KeyEntryTextPosition(l), (Point{621, 46}));
    EXPECT_EQ(KeyEntryErase(l), (Rect{619, 45, 719, 61}));
    // Centred value in the Range box (top 82): (619 + 671) / 2 - 25 / 2 + 2, 82 + 16 - 7 + 1.
    EXPECT_EQ(ReadoutValueShadow(l, l.Widget(PanelParameter::Range).Box, 25, 15), (Point{635, 92}));
}

struct HitCase {
    const char* Legend;
    int X, Y;
    int RunMode, GridMode, Hold;
    bool ReverseAvailable;
    PanelElement Element;
    bool Active;
};

class PanelHitTest : public ::testing::TestWithParam<HitCase> {};

TEST_P(PanelHitTest, NamesTheElementAndWhetherItReacts) {
    const HitCase& c = GetParam();
    SonarState s;
    s.RunMode = c.RunMode;
    s.GridMode = c.GridMode;
    s.HoldActive = c.Hold;
    const PanelHit hit = HitTest(DefaultLayout(), c.X, c.Y, s, c.ReverseAvailable);
    EXPECT_EQ(hit.Element, c.Element) << c.Legend;
    EXPECT_EQ(hit.Active, c.Active) << c.Legend;
}

// Range arrows at x 671..686; up y 83..98, down 99..114.
INSTANTIATE_TEST_SUITE_P(
    Corners, PanelHitTest,
    ::testing::Values(HitCase{"range up top-left", 671, 83, 0, 1, 0, false, PanelElement::RangeUp, true},
                      HitCase{"range up bottom-right", 686, 98, 0, 1, 0, false, PanelElement::RangeUp, true},
                      HitCase{"range down top-left", 671, 99, 0, 1, 0, false, PanelElement::RangeDown, true},
                      HitCase{"range down bottom-right", 686, 114, 0, 1, 0, false, PanelElement::RangeDown, true},
                      HitCase{"right of range arrows", 687, 90, 0, 1, 0, false, PanelElement::None, false},
                      HitCase{"below range down", 680, 115, 0, 1, 0, false, PanelElement::None, false},
                      HitCase{"range read-out box", 670, 90, 0, 1, 0, false, PanelElement::None, false},
                      HitCase{"train down corner", 762, 216, 0, 1, 0, false, PanelElement::TrainDown, true},
                      HitCase{"mode up", 747, 83, 0, 1, 0, false, PanelElement::ModeUp, true},
                      HitCase{"speed up in SS", 750, 140, 0, 2, 0, false, PanelElement::SpeedUp, false},
                      HitCase{"sector down in SS", 680, 210, 0, 2, 0, false, PanelElement::SectorDown, false},
                      HitCase{"gain up in SS", 680, 134, 0, 2, 0, false, PanelElement::GainUp, true},
                      HitCase{"train up in SS", 750, 190, 0, 2, 0, false, PanelElement::TrainUp, true},
                      HitCase{"gain up in FILE", 680, 134, 1, 1, 0, false, PanelElement::GainUp, false},
                      HitCase{"range up under hold", 671, 83, 0, 1, 1, false, PanelElement::RangeUp, false},
                      HitCase{"image top-left", 3, 3, 0, 1, 0, false, PanelElement::Image, true},
                      HitCase{"image bottom-right", 598, 508, 0, 1, 0, false, PanelElement::Image, true},
                      HitCase{"right of image", 599, 200, 0, 1, 0, false, PanelElement::None, false},
                      HitCase{"below image", 300, 509, 0, 1, 0, false, PanelElement::None, false},
                      HitCase{"hold box", 735, 5, 0, 1, 1, false, PanelElement::HoldBox, true},
                      HitCase{"hold box far corner", 779, 14, 1, 1, 0, false, PanelElement::HoldBox, true},
                      HitCase{"above hold box", 740, 4, 0, 1, 0, false, PanelElement::None, false},
                      HitCase{"rev box HEAD", 735, 23, 0, 1, 0, false, PanelElement::RevBox, true},
                      HitCase{"rev box under hold", 779, 32, 0, 1, 1, false, PanelElement::RevBox, true},
                      HitCase{"no rev box in FILE", 735, 23, 1, 1, 0, false, PanelElement::None, false},
                      HitCase{"head button inside", 620, 19, 1, 1, 0, false, PanelElement::HeadButton, true},
                      HitCase{"head button outline", 619, 25, 1, 1, 0, false, PanelElement::None, false},
                      HitCase{"head button bottom edge", 630, 39, 1, 1, 0, false, PanelElement::None, false},
                      HitCase{"file button inside", 698, 38, 0, 1, 0, false, PanelElement::FileButton, true},
                      HitCase{"file button under hold", 670, 25, 0, 1, 1, false, PanelElement::FileButton, false},
                      HitCase{"plot speed right FILE", 351, 549, 1, 1, 0, false, PanelElement::PlotSpeedRight, true},
                      HitCase{"plot speed left FILE", 251, 534, 1, 1, 0, false, PanelElement::PlotSpeedLeft, true},
                      HitCase{"left of plot speed", 250, 540, 1, 1, 0, false, PanelElement::None, false},
                      HitCase{"plot speed in HEAD", 340, 540, 0, 1, 0, false, PanelElement::None, false},
                      HitCase{"plot speed under hold", 340, 540, 1, 1, 1, false, PanelElement::PlotSpeedRight, false},
                      HitCase{"reverse box", 362, 535, 1, 1, 0, true, PanelElement::PlaybackReverseBox, true},
                      HitCase{"reverse box far corner", 431, 544, 1, 1, 1, true, PanelElement::PlaybackReverseBox,
                              true},
                      HitCase{"reverse box not available", 362, 535, 1, 1, 0, false, PanelElement::None, false},
                      HitCase{"right of reverse box", 432, 540, 1, 1, 0, true, PanelElement::None, false}));

TEST(PanelLayout, ArrowLooks) {
    SonarState s;
    EXPECT_FALSE(ArrowDrawnInactive(PanelParameter::Speed, s));
    s.GridMode = DisplayMode::SideScan;
    EXPECT_TRUE(ArrowDrawnInactive(PanelParameter::Speed, s));
    EXPECT_TRUE(ArrowDrawnInactive(PanelParameter::Sector, s));
    EXPECT_FALSE(ArrowDrawnInactive(PanelParameter::Train, s));
    s.GridMode = DisplayMode::Polar;
    s.RunMode = DataSource::File;
    for (int p = 0; p < PanelParameterCount; ++p) EXPECT_TRUE(ArrowDrawnInactive(static_cast<PanelParameter>(p), s));
    EXPECT_TRUE(IsUpArrow(PanelElement::TrainUp));
    EXPECT_FALSE(IsUpArrow(PanelElement::TrainDown));
    EXPECT_EQ(ArrowParameter(PanelElement::SectorDown), PanelParameter::Sector);
}

}  // namespace
}  // namespace tidemar
