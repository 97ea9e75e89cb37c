#include <gtest/gtest.h>

#include "ui_core/PanelTexts.h"

namespace tidemar {
namespace {

TEST(PanelTexts, ReadoutsByMode) {
    SonarState s;
    s.Range = 14;
    s.Gain = 40;
    s.Speed = 4;
    s.SectorSize = 180;
    s.Train = 358;
    s.GridMode = DisplayMode::Sector;
    EXPECT_EQ(RangeText(s), "200 M");
    EXPECT_EQ(GainText(s), "40 dB");
    EXPECT_EQ(SpeedText(s), "Fastest");
    EXPECT_EQ(SectorText(s), "180 Dg");
    EXPECT_EQ(TrainText(s), "358 Dg");
    EXPECT_EQ(ModeText(s), "Sector");
    s.Units = 1;
    EXPECT_EQ(RangeText(s), "600 FT");
    s.GridMode = DisplayMode::SideScan;
    s.SSTrain = SideScanSide::Starboard;
    EXPECT_EQ(ModeText(s), "SS");
    EXPECT_EQ(SpeedText(s), "N / A");
    EXPECT_EQ(SectorText(s), "N / A");
    EXPECT_EQ(TrainText(s), "Stbd");
    s.SSTrain = SideScanSide::Port;
    EXPECT_EQ(ReadoutText(s, PanelParameter::Train), "Port");
    s.GridMode = 99;  // never shown past the table
    s.Range = -4;
    EXPECT_EQ(ModeText(s), "Profile");
    EXPECT_EQ(RangeText(s), "3 FT");
}

TEST(PanelTexts, Frequency) {
    SonarState s;
    s.Frequency = 675;
    EXPECT_EQ(FrequencyText(s), "675 kHz");
    s.Frequency = 1100;
    EXPECT_EQ(FrequencyText(s), "1.100 MHz");
    s.Frequency = 1000;
    EXPECT_EQ(FrequencyText(s), "1.000 MHz");
    s.ConfigType = 1;
    EXPECT_TRUE(FrequencyShowsAuto(s));
    s.RunMode = DataSource::File;
    s.FileFrequency = 280;
    EXPECT_EQ(FrequencyText(s), "280 kHz");
    EXPECT_FALSE(FrequencyShowsAuto(s));
}

TEST(PanelTexts, GridLabels) {
    SonarState s;
    s.Grid = 1;
    s.Range = 14;
    EXPECT_EQ(GridLabelText(s), "40 M/DIV");
    s.Range = 0;
    EXPECT_EQ(GridLabelText(s), " 0.2 M/DIV");
    s.Units = 1;
    s.Range = 14;
    EXPECT_EQ(GridLabelText(s), "120 FT/DIV");
    s.GridMode = DisplayMode::SideScan;
    s.SsSide = SideScanSide::Both;
    EXPECT_EQ(GridLabelText(s), "240 FT/DIV");
    s.Units = 0;
    s.Range = 2;
    EXPECT_EQ(GridLabelText(s), " 1.2 M/DIV");
    s.SsSide = SideScanSide::Port;
    EXPECT_EQ(GridLabelText(s), " 0.6 M/DIV");
    s.Grid = 0;
    EXPECT_EQ(GridLabelText(s), "Grid Off");
    EXPECT_TRUE(GridLabelShown(s));
    s.AutoProfileActive = 1;
    EXPECT_FALSE(GridLabelShown(s));
}

TEST(PanelTexts, PlotSpeedBarAndEntryBox) {
    EXPECT_EQ(PlotSpeedBarWidth(100), 68);
    EXPECT_EQ(PlotSpeedBarWidth(50), 34);
    EXPECT_EQ(PlotSpeedBarWidth(0), 0);
    EXPECT_EQ(PlotSpeedBarWidth(250), 68);
    EXPECT_EQ(PlotSpeedBarWidth(-5), 0);

    SonarState s;
    KeyEntry e;
    e.Mode = KeyEntryKind::Range;
    EXPECT_EQ(KeyEntryDisplayText(e, s), "Range: ? M");
    e.Text = "10";
    s.Units = 1;
    EXPECT_EQ(KeyEntryDisplayText(e, s), "Range: 10 FT");
    e.Mode = KeyEntryKind::Gain;
    EXPECT_EQ(KeyEntryDisplayText(e, s), "Gain: 10 dB");
    s.UserText = std::string(100, 'a');
    EXPECT_EQ(UserTextBoxText(s).size(), 79u);
}

}  // namespace
}  // namespace tidemar
