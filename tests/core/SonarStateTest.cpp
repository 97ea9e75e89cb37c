// Range derivation, the table-driven transmit settings and the playback save/restore.
#include <gtest/gtest.h>

#include "core/SonarState.h"
#include "core/SonarTables.h"

namespace tidemar {
namespace {

TEST(SetRange, DerivesMetresScaleAndSampleSpacing) {
    SonarState state;
    state.ConfigType = 0;
    SetRange(state, 9);
    EXPECT_EQ(state.RangeMeters, 50);
    EXPECT_FLOAT_EQ(state.RangeScale, 1.0f);
    EXPECT_FLOAT_EQ(state.SampleSpacing, 0.1f);

    SetRange(state, 0);
    EXPECT_EQ(state.RangeMeters, 1);
    EXPECT_FLOAT_EQ(state.RangeScale, 0.02f);
    SetRange(state, 14);
    EXPECT_EQ(state.RangeMeters, 200);
    EXPECT_FLOAT_EQ(state.SampleSpacing, 0.4f);
}

TEST(SetRange, AutoSetupTakesTheTableRowOfTheRange) {
    SonarState state;
    ResetUserConfig(state.UserConfig);
    state.ConfigType = 1;
    state.GridMode = DisplayMode::Sector;
    EXPECT_FALSE(SetRange(state, 9));  // 675 kHz before and after
    EXPECT_EQ(state.Absorption, 20);
    EXPECT_EQ(state.PulseLength, 130);

    EXPECT_TRUE(SetRange(state, 13));  // frequency changes to 310
    EXPECT_EQ(state.Frequency, 310);
    EXPECT_EQ(state.Absorption, 10);
    EXPECT_EQ(state.PulseLength, 400);

    state.GridMode = DisplayMode::Polar;  // Polar doubles the pulse, at most 1000
    SetRange(state, 13);
    EXPECT_EQ(state.PulseLength, 800);
    SetRange(state, 14);
    EXPECT_EQ(state.PulseLength, 1000);
}

TEST(SetRange, ManualSetupAndPlaybackKeepTheTransmitSettings) {
    SonarState state;
    ResetUserConfig(state.UserConfig);
    state.Frequency = 500;
    state.ConfigType = 0;
    EXPECT_FALSE(SetRange(state, 0));
    EXPECT_EQ(state.Frequency, 500);

    state.ConfigType = 1;
    state.RunMode = DataSource::File;
    EXPECT_FALSE(SetRange(state, 0));
    EXPECT_EQ(state.Frequency, 500);
}

TEST(Playback, LeavingRestoresTheLiveSettingsExactly) {
    SonarState state;
    state.Xdcr = Transducer::Up;
    SetRange(state, 7);
    state.Speed = 4;
    state.Gain = 33;
    state.SectorSize = 120;
    state.Train = 45;
    state.Absorption = 77;
    state.PulseLength = 250;
    state.GridMode = DisplayMode::Sector;
    state.SoundVelocityMeters = 1480.5f;
    state.UserText = "Harbour wall survey";
    state.ProfileDredgeDepth = 7.25f;
    state.Profile = 3;
    const SonarState live = state;

    EnterPlayback(state);
    // A played file overwrites all of these.
    state.Xdcr = Transducer::Down;
    state.Range = 2;
    state.RangeMeters = 3;
    state.Speed = 0;
    state.Gain = 1;
    state.SectorSize = 360;
    state.Train = 0;
    state.Absorption = 5;
    state.DataBits = 16;
    state.PulseLength = 10;
    state.GridMode = DisplayMode::SideScan;
    state.SoundVelocityMeters = 1400.0f;
    state.UserText = "someone else's file";
    state.ProfileDredgeDepth = 0.0f;
    state.Profile = 2;
    LeavePlayback(state);

    EXPECT_EQ(state.Xdcr, live.Xdcr);
    EXPECT_EQ(state.Range, live.Range);
    EXPECT_EQ(state.RangeMeters, live.RangeMeters);
    EXPECT_EQ(state.Speed, live.Speed);
    EXPECT_EQ(state.Gain, live.Gain);
    EXPECT_EQ(state.SectorSize, live.SectorSize);
    EXPECT_EQ(state.Train, live.Train);
    EXPECT_EQ(state.Absorption, live.Absorption);
    EXPECT_EQ(state.DataBits, 8);
    EXPECT_EQ(state.PulseLength, live.PulseLength);
    EXPECT_EQ(state.GridMode, live.GridMode);
    EXPECT_EQ(state.SoundVelocityMeters, live.SoundVelocityMeters);
    EXPECT_EQ(state.UserText, live.UserText);
    EXPECT_EQ(state.ProfileDredgeDepth, live.ProfileDredgeDepth);
    // The profile mode is not saved; the menu request follows what is in force.
    EXPECT_EQ(state.RequestedProfile, 2);
}

TEST(Tables, RangeLookupOfReportedMetres) {
    EXPECT_EQ(RangeIndexOfMeters(1), 0);
    EXPECT_EQ(RangeIndexOfMeters(50), 9);
    EXPECT_EQ(RangeIndexOfMeters(200), 14);
    EXPECT_EQ(RangeIndexOfMeters(7), -1);
    EXPECT_EQ(RangeIndexOfMeters(0), -1);
}

}  // namespace
}  // namespace tidemar
