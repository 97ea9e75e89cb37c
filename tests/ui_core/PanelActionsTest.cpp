#include <gtest/gtest.h>

#include "ui_core/PanelActions.h"

namespace tidemar {
namespace {

SonarState HeadState() {
    SonarState s;
    s.RunMode = DataSource::Head;
    s.ConfigType = 0;  // keep the transmit settings out of range steps unless a test wants them
    return s;
}

struct StepCase {
    const char* Legend;
    PanelElement Button;
    int GridMode;
    int Start;     // value of the stepped field before
    int Expected;  // after
};

int& SteppedField(SonarState& s, PanelElement b) {
    switch (b) {
    case PanelElement::RangeUp:
    case PanelElement::RangeDown: return s.Range;
    case PanelElement::GainUp:
    case PanelElement::GainDown: return s.Gain;
    case PanelElement::SpeedUp:
    case PanelElement::SpeedDown: return s.Speed;
    case PanelElement::SectorUp:
    case PanelElement::SectorDown: return s.SectorSize;
    case PanelElement::PlotSpeedLeft:
    case PanelElement::PlotSpeedRight: return s.PlotSpeed;
    default: return s.GridMode == DisplayMode::SideScan ? s.SSTrain : s.Train;
    }
}

class ButtonStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(ButtonStep, AppliesLimitsAndWraps) {
    const StepCase& c = GetParam();
    SonarState s = HeadState();
    s.GridMode = c.GridMode;
    if (c.Button == PanelElement::PlotSpeedLeft || c.Button == PanelElement::PlotSpeedRight)
        s.RunMode = DataSource::File;
    if (c.Button == PanelElement::TrainUp || c.Button == PanelElement::TrainDown) s.SectorSize = 90;
    SteppedField(s, c.Button) = c.Start;
    PressButton(s, c.Button);
    EXPECT_EQ(SteppedField(s, c.Button), c.Expected) << c.Legend;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ButtonStep,
    ::testing::Values(StepCase{"range up", PanelElement::RangeUp, DisplayMode::Polar, 9, 10},
                      StepCase{"range up at 14", PanelElement::RangeUp, DisplayMode::Polar, 14, 14},
                      StepCase{"range down at 0", PanelElement::RangeDown, DisplayMode::Polar, 0, 0},
                      StepCase{"gain up at 40", PanelElement::GainUp, DisplayMode::Polar, 40, 40},
                      StepCase{"gain up 38", PanelElement::GainUp, DisplayMode::Polar, 38, 39},
                      StepCase{"gain down at 0", PanelElement::GainDown, DisplayMode::Polar, 0, 0},
                      StepCase{"speed up at 4", PanelElement::SpeedUp, DisplayMode::Polar, 4, 4},
                      StepCase{"speed down", PanelElement::SpeedDown, DisplayMode::Polar, 3, 2},
                      StepCase{"speed down at 0", PanelElement::SpeedDown, DisplayMode::Polar, 0, 0},
                      StepCase{"sector up at 180 wraps", PanelElement::SectorUp, DisplayMode::Sector, 180, 0},
                      StepCase{"sector up 177 sector", PanelElement::SectorUp, DisplayMode::Sector, 177, 180},
                      StepCase{"sector down at 0 sector", PanelElement::SectorDown, DisplayMode::Sector, 0, 180},
                      StepCase{"sector up at 360 polar", PanelElement::SectorUp, DisplayMode::Polar, 360, 0},
                      StepCase{"sector up 180 polar", PanelElement::SectorUp, DisplayMode::Polar, 180, 183},
                      StepCase{"sector down at 0 polar", PanelElement::SectorDown, DisplayMode::Polar, 0, 360},
                      StepCase{"sector in SS does nothing", PanelElement::SectorUp, DisplayMode::SideScan, 0, 0},
                      StepCase{"speed in SS does nothing", PanelElement::SpeedUp, DisplayMode::SideScan, 2, 2},
                      StepCase{"train up 358", PanelElement::TrainUp, DisplayMode::Polar, 358, 1},
                      StepCase{"train down 1", PanelElement::TrainDown, DisplayMode::Polar, 1, 358},
                      StepCase{"train up 0", PanelElement::TrainUp, DisplayMode::Sector, 0, 3},
                      StepCase{"SS port up", PanelElement::TrainUp, DisplayMode::SideScan, 0, 2},
                      StepCase{"SS stbd up stays", PanelElement::TrainUp, DisplayMode::SideScan, 2, 2},
                      StepCase{"SS stbd down", PanelElement::TrainDown, DisplayMode::SideScan, 2, 0},
                      StepCase{"SS port down stays", PanelElement::TrainDown, DisplayMode::SideScan, 0, 0},
                      StepCase{"plot speed right 90", PanelElement::PlotSpeedRight, DisplayMode::Polar, 90, 100},
                      StepCase{"plot speed right 91", PanelElement::PlotSpeedRight, DisplayMode::Polar, 91, 91},
                      StepCase{"plot speed right 100", PanelElement::PlotSpeedRight, DisplayMode::Polar, 100, 100},
                      StepCase{"plot speed left 10", PanelElement::PlotSpeedLeft, DisplayMode::Polar, 10, 0},
                      StepCase{"plot speed left 9", PanelElement::PlotSpeedLeft, DisplayMode::Polar, 9, 9}));

TEST(PanelActions, RangeStepUpdatesDerivedValuesAndAsksForRedraw) {
    SonarState s = HeadState();
    s.Range = 4;
    s.Grid = 1;
    const PanelUpdate u = PressButton(s, PanelElement::RangeUp);
    EXPECT_EQ(s.RangeMeters, 10);
    EXPECT_FLOAT_EQ(s.SampleSpacing, 0.02f);
    EXPECT_EQ(s.RangeChangedPending, 1);
    EXPECT_TRUE(u.ResetEchoHistory && u.RedrawImage && u.GridLabel && u.RangeReadout && u.SpeedReadout);

    SonarState ss = HeadState();
    ss.GridMode = DisplayMode::SideScan;
    ss.Grid = 0;
    const PanelUpdate v = PressButton(ss, PanelElement::RangeDown);
    EXPECT_FALSE(v.RedrawImage);  // the SS picture scrolls on; it is not redrawn
    EXPECT_FALSE(v.GridLabel);
    EXPECT_TRUE(v.ResetEchoHistory);

    SonarState top = HeadState();
    top.Range = 14;
    EXPECT_FALSE(PressButton(top, PanelElement::RangeUp).Any());
    EXPECT_EQ(top.RangeChangedPending, 0);
}

TEST(PanelActions, RangeStepAppliesTheTableRowAndReportsAFrequencyChange) {
    SonarState s = HeadState();
    s.ConfigType = 1;
    s.UserConfig.Active[10].Frequency = 1100;
    s.Frequency = 675;
    s.Range = 9;
    EXPECT_TRUE(PressButton(s, PanelElement::RangeUp).FrequencyReadout);
    EXPECT_EQ(s.Frequency, 1100);
}

TEST(PanelActions, SectorStepsRememberAndRaiseTheirFlags) {
    SonarState s = HeadState();
    s.GridMode = DisplayMode::Polar;
    s.SectorSize = 90;
    s.Train = 45;
    PanelUpdate u = PressButton(s, PanelElement::SectorDown);
    EXPECT_EQ(s.PreviousSectorSize, 90);
    EXPECT_EQ(s.PolarSectorSize, 87);
    EXPECT_EQ(s.DisplayCheckPending, 1);
    EXPECT_TRUE(u.SectorReadout && u.TrainReadout && u.HeadIndicator);

    s.DisplayCheckPending = 0;
    s.SectorSize = 357;
    PressButton(s, PanelElement::SectorUp);
    EXPECT_EQ(s.SectorSize, 360);
    EXPECT_EQ(s.Train, 0);  // a full circle has no train
    EXPECT_EQ(s.PolarTrain, 0);
    EXPECT_EQ(s.DisplayCheckPending, 0);
}

TEST(PanelActions, TrainStepsStoreTheModesTrain) {
    SonarState s = HeadState();
    s.GridMode = DisplayMode::Sector;
    s.SectorSize = 90;
    s.Train = 10;
    const PanelUpdate u = PressButton(s, PanelElement::TrainUp);
    EXPECT_EQ(s.SectorTrain, 13);
    EXPECT_EQ(s.RangeChangedPending, 1);
    EXPECT_TRUE(u.TrainReadout && u.MeasureTool);

    SonarState full = HeadState();
    full.GridMode = DisplayMode::Polar;
    full.SectorSize = 360;
    full.Train = 0;
    PressButton(full, PanelElement::TrainUp);
    EXPECT_EQ(full.Train, 0);
}

TEST(PanelActions, SsTrainSwitchesSideAndTrain) {
    SonarState s = HeadState();
    s.GridMode = DisplayMode::SideScan;
    s.SSTrain = SideScanSide::Port;
    s.SsSide = SideScanSide::Port;
    s.Grid = 1;
    s.SectorTrain = 33;
    s.PolarTrain = 44;
    PanelUpdate u = PressButton(s, PanelElement::TrainUp);
    EXPECT_EQ(s.SSTrain, 2);
    EXPECT_EQ(s.SsSide, 2);
    EXPECT_EQ(s.Train, 90);
    EXPECT_EQ(s.SectorSize, 0);
    EXPECT_TRUE(u.GridRedraw);
    EXPECT_EQ(u.PreviousSsSide, 0);
    EXPECT_EQ(s.SectorTrain, 33);  // SS trains are never remembered as a mode's train
    EXPECT_EQ(s.PolarTrain, 44);
    PressButton(s, PanelElement::TrainDown);
    EXPECT_EQ(s.Train, 270);
    EXPECT_EQ(s.SsSide, 0);
}

TEST(PanelActions, ModeChangesInAndOutOfSsRestoreSectorsAndTrains) {
    SonarState s = HeadState();
    s.GridMode = DisplayMode::Polar;
    s.SectorSize = 120;
    s.Train = 30;
    s.PolarTrain = 30;
    s.SectorSectorSize = 90;
    s.SectorTrain = 15;
    s.SSTrain = SideScanSide::Starboard;
    s.ProfileGrid = 1;
    s.Grid = 1;

    PanelUpdate u = PressButton(s, PanelElement::ModeDown);  // Polar -> Sector
    EXPECT_EQ(s.GridMode, 0);
    EXPECT_EQ(s.PolarSectorSize, 120);
    EXPECT_EQ(s.SectorSize, 90);
    EXPECT_EQ(s.PreviousSectorSize, 120);
    EXPECT_EQ(s.Train, 15);
    EXPECT_EQ(s.RangeChangedPending, 1);
    EXPECT_FALSE(u.PanelRowsInvalidated);
    EXPECT_TRUE(u.RedrawImage && u.GridLabel && u.ModeReadout && u.SpeedReadout && u.RangeReadout);

    u = PressButton(s, PanelElement::ModeUp);  // Sector -> Polar
    EXPECT_EQ(s.SectorSize, 120);
    EXPECT_EQ(s.Train, 30);
    u = PressButton(s, PanelElement::ModeUp);  // Polar -> SS
    EXPECT_EQ(s.GridMode, 2);
    EXPECT_EQ(s.SectorSize, 0);
    EXPECT_EQ(s.Train, 90);
    EXPECT_EQ(s.ProfileGrid, 0);
    EXPECT_TRUE(u.ProfileGridTurnedOff && u.ClearMeasureLock && u.PanelRowsInvalidated);
    EXPECT_EQ(s.PolarSectorSize, 120);

    EXPECT_FALSE(PressButton(s, PanelElement::ModeUp).Any());  // 2 is the top
    u = PressButton(s, PanelElement::ModeDown);                // SS -> Polar
    EXPECT_EQ(s.GridMode, 1);
    EXPECT_EQ(s.SectorSize, 120);
    EXPECT_EQ(s.Train, 30);
    EXPECT_TRUE(u.PanelRowsInvalidated);
    EXPECT_FALSE(u.ClearMeasureLock);
}

TEST(PanelActions, SectorModeTakesAtMost180) {
    SonarState s = HeadState();
    s.GridMode = DisplayMode::Polar;
    s.SectorSectorSize = 360;  // from a damaged settings file
    s.SectorSize = 360;
    PressButton(s, PanelElement::ModeDown);
    EXPECT_EQ(s.SectorSize, 180);
    EXPECT_EQ(s.SectorSectorSize, 180);
}

TEST(PanelActions, ModeChangeRecomputesThePulseLengthOfTheNewMode) {
    SonarState s = HeadState();
    s.ConfigType = 1;
    s.GridMode = DisplayMode::Sector;
    s.Range = 9;
    s.UserConfig.Active[9] = {50, 675, 20, 300};
    PressButton(s, PanelElement::ModeUp);
    EXPECT_EQ(s.PulseLength, 600);
}

TEST(PanelActions, InactiveButtonsChangeNothing) {
    SonarState file = HeadState();
    file.RunMode = DataSource::File;
    file.Gain = 6;
    EXPECT_FALSE(PressButton(file, PanelElement::GainUp).Any());
    EXPECT_EQ(file.Gain, 6);

    SonarState held = HeadState();
    held.HoldActive = 1;
    EXPECT_FALSE(PressButton(held, PanelElement::RangeUp).Any());
    EXPECT_EQ(held.Range, 9);

    SonarState head = HeadState();
    head.PlotSpeed = 50;
    EXPECT_FALSE(PressButton(head, PanelElement::PlotSpeedRight).Any());
    EXPECT_EQ(head.PlotSpeed, 50);
}

TEST(PanelActions, RepeatLimits) {
    SonarState s = HeadState();
    s.Gain = 40;
    EXPECT_TRUE(ButtonAtLimit(PanelElement::GainUp, s));
    s.Gain = 39;
    EXPECT_FALSE(ButtonAtLimit(PanelElement::GainUp, s));
    s.Range = 0;
    EXPECT_TRUE(ButtonAtLimit(PanelElement::RangeDown, s));
    s.PlotSpeed = 100;
    EXPECT_TRUE(ButtonAtLimit(PanelElement::PlotSpeedRight, s));
    EXPECT_FALSE(ButtonRepeats(PanelElement::ModeUp));
    EXPECT_TRUE(ButtonRepeats(PanelElement::TrainDown));
    EXPECT_TRUE(ButtonRepeats(PanelElement::PlotSpeedLeft));
}

TEST(PanelActions, HoldAndReverse) {
    SonarState s = HeadState();
    PanelUpdate u = HoldToggle(s);
    EXPECT_EQ(s.HoldActive, 1);
    EXPECT_EQ(s.HoldRequest, 1);
    EXPECT_TRUE(u.HoldBox && u.HoldMenuItems);
    s.RunMode = DataSource::File;  // released during playback: the head must not stay held
    HoldToggle(s);
    EXPECT_EQ(s.HoldActive, 0);
    EXPECT_EQ(s.HoldRequest, 0);
    HoldToggle(s);
    EXPECT_EQ(s.HoldActive, 1);
    EXPECT_EQ(s.HoldRequest, 0);

    SonarState live = HeadState();
    EXPECT_TRUE(ReversePulse(live).RevFlash);
    EXPECT_EQ(live.ReverseRequest, 1);

    SonarState file = HeadState();
    file.RunMode = DataSource::File;
    EXPECT_FALSE(ReversePulse(file).Any());
    EXPECT_FALSE(PlaybackReverseToggle(file, false).Any());
    EXPECT_EQ(file.PlaybackReverse, 0);
    EXPECT_TRUE(PlaybackReverseToggle(file, true).PlaybackReverseBox);
    EXPECT_EQ(file.PlaybackReverse, 1);
    PlaybackReverseToggle(file, true);
    EXPECT_EQ(file.PlaybackReverse, 0);
}

// ---- keyboard entry ----------------------------------------------------------------------------

KeyResult Type(KeyEntry& e, SonarState& s, const std::string& keys) {
    KeyResult last;
    for (char k : keys) last = HandleTypedKey(e, s, k);
    return last;
}

struct RangeEntryCase {
    const char* Keys;  // after "r", before Enter
    int Units;
    int ExpectedRange;
    bool Refused;
};

class KeyboardRange : public ::testing::TestWithParam<RangeEntryCase> {};

TEST_P(KeyboardRange, LooksUpTheListOfTheUnits) {
    const RangeEntryCase& c = GetParam();
    SonarState s = HeadState();
    s.Units = c.Units;
    s.Range = 9;
    KeyEntry e;
    Type(e, s, std::string("r") + c.Keys);
    const KeyResult r = HandleTypedKey(e, s, 13);
    EXPECT_EQ(s.Range, c.ExpectedRange) << c.Keys;
    EXPECT_EQ(e.Mode, KeyEntryKind::None);
    EXPECT_TRUE(r.Update.KeyEntryErase && r.Update.FrequencyReadout && r.Update.RangeReadout);
    EXPECT_EQ(s.RangeChangedPending, 1);
    ASSERT_EQ(r.Message.has_value(), c.Refused) << c.Keys;
    if (c.Refused) {
        EXPECT_EQ(r.Message->Caption, "Keyboard Range");
        EXPECT_EQ(r.Message->Text, c.Units == 1 ? "Please use one of the following ranges:\n 3, 6, 9, 12, 15, 30, 60, "
                                                  "90, 120, 150, 180, 240, 300, 450, or 600 Feet    "
                                                : "Please use one of the following ranges:\n 1, 2, 3, 4, 5, 10, 20, "
                                                  "30, 40, 50, 60, 80, 100, 150, or 200 Meters    ");
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, KeyboardRange,
                         ::testing::Values(RangeEntryCase{"10", 0, 5, false}, RangeEntryCase{"7", 0, 9, true},
                                           RangeEntryCase{"1234", 0, 9, true},  // "123": the fourth digit is dropped
                                           RangeEntryCase{"200", 0, 14, false}, RangeEntryCase{"1", 0, 0, false},
                                           RangeEntryCase{"0", 0, 9, true}, RangeEntryCase{".", 0, 9, true},
                                           RangeEntryCase{"5.9", 0, 4, false},  // truncated to 5
                                           RangeEntryCase{"600", 1, 14, false}, RangeEntryCase{"3", 1, 0, false},
                                           RangeEntryCase{"10", 1, 9, true}, RangeEntryCase{"45", 1, 9, true}));

TEST(KeyboardEntry, GainLimitsAndMessages) {
    SonarState s = HeadState();
    KeyEntry e;
    Type(e, s, "g41");
    KeyResult r = HandleTypedKey(e, s, 13);
    ASSERT_TRUE(r.Message.has_value());
    EXPECT_EQ(r.Message->Caption, "Keyboard Gain");
    EXPECT_EQ(r.Message->Text, "Entered Gain is out of range!\nUse 0 to 40 dB");
    EXPECT_EQ(s.Gain, 6);

    Type(e, s, "G40");
    r = HandleTypedKey(e, s, 13);
    EXPECT_FALSE(r.Message.has_value());
    EXPECT_EQ(s.Gain, 40);
    EXPECT_TRUE(r.Update.GainReadout);

    Type(e, s, "g.");
    HandleTypedKey(e, s, 13);
    EXPECT_EQ(s.Gain, 0);  // "." reads as 0, a valid gain

    s.Gain = 12;
    Type(e, s, "g");
    r = HandleTypedKey(e, s, 13);  // nothing typed: the entry just closes
    EXPECT_FALSE(r.Message.has_value());
    EXPECT_FALSE(r.Update.GainReadout);
    EXPECT_TRUE(r.Update.KeyEntryErase);
    EXPECT_EQ(s.Gain, 12);
    EXPECT_EQ(e.Mode, KeyEntryKind::None);
}

struct EntryEditCase {
    const char* Keys;  // 8 is Backspace, 27 Escape
    const char* Text;  // what the open entry holds afterwards ("" when closed)
    bool Open;
    int Gain;  // after a final Enter (6 before)
    const char* Legend;
};

class KeyboardEntryEdit : public ::testing::TestWithParam<EntryEditCase> {};

TEST_P(KeyboardEntryEdit, BackspaceAndEscape) {
    const EntryEditCase& c = GetParam();
    SonarState s = HeadState();
    KeyEntry e;
    const KeyResult last = Type(e, s, c.Keys);
    EXPECT_EQ(e.Text, c.Text) << c.Legend;
    EXPECT_EQ(e.Mode != KeyEntryKind::None, c.Open) << c.Legend;
    EXPECT_FALSE(last.Update.ClearScreen || last.Update.RedrawImage) << c.Legend;
    HandleTypedKey(e, s, 13);
    EXPECT_EQ(s.Gain, c.Gain) << c.Legend;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyboardEntryEdit,
    ::testing::Values(EntryEditCase{"g35\b4", "34", true, 34, "the last digit taken back and retyped"},
                      EntryEditCase{"g1234\b\b", "1", true, 1, "the dropped fourth digit is not what goes"},
                      EntryEditCase{"g\b\b", "", true, 6, "nothing to take back: the entry stays open"},
                      EntryEditCase{"g40\x1b", "", false, 6, "Escape: nothing changes"},
                      EntryEditCase{"\b", "", false, 6, "no entry: Backspace means nothing"}));

TEST(KeyboardEntry, KeyTable) {
    SonarState s = HeadState();
    KeyEntry e;
    EXPECT_FALSE(HandleTypedKey(e, s, '5').Handled);  // no entry open
    Type(e, s, "r12");
    KeyResult r = HandleTypedKey(e, s, 'g');  // restarts as a gain entry
    EXPECT_EQ(e.Mode, KeyEntryKind::Gain);
    EXPECT_EQ(e.Text, "");
    EXPECT_TRUE(r.Update.KeyEntryErase && r.Update.KeyEntryBox);
    Type(e, s, "3x");
    EXPECT_EQ(e.Text, "3");
    r = HandleTypedKey(e, s, 27);
    EXPECT_EQ(e.Mode, KeyEntryKind::None);
    EXPECT_EQ(s.Gain, 6);
    EXPECT_TRUE(r.Update.KeyEntryErase);

    EXPECT_TRUE(HandleTypedKey(e, s, 'c').Update.ClearScreen);
    HandleTypedKey(e, s, ' ');
    EXPECT_EQ(s.ReverseRequest, 1);
    HandleTypedKey(e, s, 'H');
    EXPECT_EQ(s.HoldActive, 1);

    SonarState file = HeadState();
    file.RunMode = DataSource::File;
    KeyEntry fe;
    EXPECT_FALSE(HandleTypedKey(fe, file, 'r').Handled);
    EXPECT_EQ(fe.Mode, KeyEntryKind::None);
    HandleTypedKey(fe, file, ' ', true);
    EXPECT_EQ(file.PlaybackReverse, 1);
    EXPECT_TRUE(HandleTypedKey(fe, file, 'h').Update.HoldBox);
}

}  // namespace
}  // namespace tidemar
