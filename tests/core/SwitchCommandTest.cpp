// Command blocks byte for byte: the head acts on nothing else, so every byte counts.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/SonarState.h"
#include "core/SwitchCommand.h"

namespace tidemar {
namespace {

std::string Hex(const CommandBlock& block) {
    std::string text;
    char cell[4];
    for (uint8_t b : block) {
        std::snprintf(cell, sizeof cell, "%02X ", b);
        text += cell;
    }
    text.pop_back();
    return text;
}

// The state as the settings loader leaves it with an empty INI file and manual setup,
// so the block carries the plain defaults.
SonarState DefaultState() {
    SonarState state;
    state.ConfigType = 0;
    SetRange(state, 9);
    return state;
}

TEST(SwitchCommand, DefaultSettingsGiveTheKnownBlock) {
    SonarState state = DefaultState();
    EXPECT_EQ(Hex(PrepareSend(state)),
              "FE 44 11 32 00 00 00 00 06 01 14 3C 78 03 0A 00 00 00 00 32 08 00 00 00 00 64 FD");
    EXPECT_EQ(state.ReplyType, 'G');
    EXPECT_EQ(state.ExpectedReturnLength, 513);
}

TEST(SwitchCommand, EveryFieldLandsInItsByte) {
    SonarState state = DefaultState();
    state.MasterHeadID = 31;
    SetRange(state, 14);
    state.Gain = 40;
    state.Absorption = 255;
    state.Train = 270;
    state.GridMode = DisplayMode::Sector;
    state.SectorSize = 90;
    state.Speed = 4;
    state.PulseLength = 1000;
    state.ProfileMinimumRange = 2.5f;
    state.ExternalTriggerControl = 3;
    state.SwitchDelay = 301;
    state.Frequency = 1100;
    EXPECT_EQ(Hex(PrepareSend(state)),
              "FE 44 1F C8 00 00 00 00 28 01 FF 1E 1E 08 64 19 03 00 00 32 08 00 00 00 96 B9 FD");
}

TEST(SwitchCommand, TrainCodeFollowsTransducerOrientation) {
    // clang-format off
    struct Case { int train, xdcr, code; } cases[] = {
        {0, Transducer::Down, 60},   {90, Transducer::Down, 90},  {179, Transducer::Down, 119},
        {180, Transducer::Down, 0},  {270, Transducer::Down, 30}, {359, Transducer::Down, 59},
        {0, Transducer::Up, 60},     // 120 - 60
        {90, Transducer::Up, 30},    // 120 - 90
        {180, Transducer::Up, 0},    // 120 - 0 is out of range and wraps to 0
        {270, Transducer::Up, 90},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(TrainCode(c.train, c.xdcr), c.code) << "train " << c.train << " xdcr " << c.xdcr;
}

TEST(SwitchCommand, SectorAndStepCodes) {
    SonarState state = DefaultState();
    state.SectorSize = 360;
    BuildSwitchCommand(state);
    EXPECT_EQ(state.CommandTemplate[12], 120);

    // SS mode: no sector, so the head does not step whatever the speed.
    state.SectorSize = 0;
    state.Speed = 4;
    BuildSwitchCommand(state);
    EXPECT_EQ(state.CommandTemplate[12], 0);
    EXPECT_EQ(state.CommandTemplate[13], 0);

    const int stepCodes[] = {1, 2, 3, 4, 8};
    state.SectorSize = 120;
    for (int speed = 0; speed < 5; ++speed) {
        state.Speed = speed;
        BuildSwitchCommand(state);
        EXPECT_EQ(state.CommandTemplate[13], stepCodes[speed]) << "speed " << speed;
    }
}

TEST(SwitchCommand, AutoProfileWidensTheSectorByItsMargin) {
    SonarState state = DefaultState();
    state.AutoProfileActive = 1;
    state.AutoProfileMargin = 9;
    state.SectorSize = 90;
    BuildSwitchCommand(state);
    EXPECT_EQ(state.CommandTemplate[12], 33);  // (90 + 9) / 3

    state.AutoProfileMargin = 3;
    state.SectorSize = 357;  // 357 + 3 reaches 360: no margin
    BuildSwitchCommand(state);
    EXPECT_EQ(state.CommandTemplate[12], 119);

    state.SectorSize = 360;
    BuildSwitchCommand(state);
    EXPECT_EQ(state.CommandTemplate[12], 120);
}

TEST(SwitchCommand, ProfileMinimumRangeInDecimetres) {
    // clang-format off
    struct Case { float value; int units; int code; } cases[] = {
        {0.0f, 0, 0},   {2.5f, 0, 25},  {2.44f, 0, 24}, {2.46f, 0, 25},
        {25.0f, 0, 250}, {30.0f, 0, 250},  // clamped
        {82.0f, 1, 250},                  // 249.94 + 0.5, truncated
        {10.0f, 1, 30},                   // 30.48 + 0.5
        {-3.0f, 0, 0},
    };
    // clang-format on
    SonarState state = DefaultState();
    for (const auto& c : cases) {
        state.ProfileMinimumRange = c.value;
        state.Units = c.units;
        BuildSwitchCommand(state);
        EXPECT_EQ(state.CommandTemplate[15], c.code) << c.value << (c.units ? " ft" : " m");
    }
}

TEST(SwitchCommand, SwitchDelayAndFrequencyCodes) {
    SonarState state = DefaultState();
    struct Delay {
        int delay, range, code;
    } delays[] = {
        {500, 0, 250}, {499, 1, 249}, {0, 0, 1}, {3, 9, 1}, {10, 14, 5},
    };
    for (const auto& d : delays) {
        state.SwitchDelay = d.delay;
        SetRange(state, d.range);
        BuildSwitchCommand(state);
        EXPECT_EQ(state.CommandTemplate[24], d.code) << d.delay << " at range " << d.range;
    }
    struct Freq {
        int kHz, code;
    } freqs[] = {{675, 100}, {280, 21}, {1100, 185}, {700, 105}};
    for (const auto& f : freqs) {
        state.Frequency = f.kHz;
        BuildSwitchCommand(state);
        EXPECT_EQ(state.CommandTemplate[25], f.code) << f.kHz;
    }
}

TEST(SwitchCommand, OneShotRequestsRideOnExactlyOneBlock) {
    SonarState state = DefaultState();
    state.ReverseRequest = 1;
    state.CalibrateRequest = 1;
    state.HoldRequest = 1;
    CommandBlock first = PrepareSend(state);
    EXPECT_EQ(first[5], 0x41);
    EXPECT_EQ(first[23], 1);
    EXPECT_EQ(state.ReverseRequest, 0);
    EXPECT_EQ(state.CalibrateRequest, 0);

    CommandBlock second = PrepareSend(state);
    EXPECT_EQ(second[5], 0x01);  // hold stays until released
    EXPECT_EQ(second[23], 0);
}

TEST(SwitchCommand, ProfilePointsOnlyAsksForAShortReply) {
    SonarState state = DefaultState();
    state.Profile = 1;
    CommandBlock block = PrepareSend(state);
    EXPECT_EQ(block[22], 1);
    EXPECT_EQ(state.ReplyType, 'P');
    EXPECT_EQ(state.ExpectedReturnLength, 13);
    EXPECT_EQ(state.DataSizeCode, 0);
}

TEST(PrepareReply, ReplyKindFollowsModeAndSampleWidth) {
    struct Case {
        int profile, headScan, dataBits, gridMode;
        int type, length, sizeCode, plotCount;
        // clang-format off
    } cases[] = {
        {0, 0, 8, DisplayMode::Sector, 'G', 513, 3, 499},
        {0, 0, 8, DisplayMode::Polar, 'G', 513, 3, 250},  // Polar pairs samples
        {0, 0, 4, DisplayMode::Sector, 'G', 265, 2, 499},
        {0, 0, 4, DisplayMode::Polar, 'G', 265, 2, 250},
        {0, 0, 16, DisplayMode::Sector, 'G', 513, 3, 250},
        {3, 0, 8, DisplayMode::SideScan, 'G', 513, 3, 499},
        {1, 0, 8, DisplayMode::Sector, 'P', 13, 0, 77},   // plot count left as it was
        {1, 1, 8, DisplayMode::Sector, 'T', 77, 1, 77},   // head scan wins over profile
        {0, 1, 8, DisplayMode::Polar, 'T', 77, 1, 77},
    };
    // clang-format on
    for (const auto& c : cases) {
        SonarState state;
        state.Profile = c.profile;
        state.HeadScanMode = c.headScan;
        state.DataBits = c.dataBits;
        state.GridMode = c.gridMode;
        state.PlotSampleCount = 77;
        PrepareReply(state);
        EXPECT_EQ(state.ReplyType, c.type);
        EXPECT_EQ(state.ExpectedReturnLength, c.length);
        EXPECT_EQ(state.DataSizeCode, c.sizeCode);
        EXPECT_EQ(state.PlotSampleCount, c.plotCount)
            << "profile " << c.profile << " bits " << c.dataBits << " mode " << c.gridMode;
    }
}

TEST(PositionHead, SendsThePreviousBlockWithTheTargetOnce) {
    SonarState state = DefaultState();
    CommandBlock normal = PrepareSend(state);

    state.ReverseRequest = 1;  // must wait for the next built block
    PositionHead(state, 45);
    CommandBlock positioning = PrepareSend(state);
    CommandBlock expected = normal;
    expected[11] = 45;
    expected[12] = 0;
    expected[13] = 1;
    EXPECT_EQ(Hex(positioning), Hex(expected));
    EXPECT_EQ(state.AutoProfilePositioning, 1);

    CommandBlock next = PrepareSend(state);
    EXPECT_EQ(next[11], normal[11]);
    EXPECT_EQ(next[12], normal[12]);
    EXPECT_EQ(next[5], 0x40);
}

TEST(SwitchCommand, HeadScanBlocksNeverCarryTheProgrammingMark) {
    struct Case {
        int headScan, absorption, byte10;
    };
    const Case cases[] = {
        {1, 128, 0x7F},  // 0x80 would read as a programming request
        {0, 128, 0x80},  // ordinary pings send the absorption as set
        {1, 127, 0x7F},
        {1, 129, 0x81},
    };
    for (const Case& c : cases) {
        SonarState state = DefaultState();
        state.HeadScanMode = c.headScan;
        state.Absorption = c.absorption;
        EXPECT_EQ(PrepareSend(state)[10], c.byte10) << "scan " << c.headScan << " absorption " << c.absorption;
        EXPECT_EQ(state.CommandTemplate[10], c.absorption) << "the template keeps the setting";
    }
}

TEST(HeadProgramming, IdChangeGoesToTheScannedHeadAndMovesTheMasterId) {
    SonarState state = DefaultState();
    state.ScanHeadID = 16;
    state.HeadIdChangeRequest = 1;
    state.NewHeadID = 20;
    ASSERT_TRUE(HeadProgrammingPending(state));
    CommandBlock block = BuildHeadProgrammingCommand(state);
    EXPECT_EQ(Hex(block), "FE 44 10 32 00 00 00 00 06 01 00 3C 78 03 0A 00 94 00 00 32 08 00 00 00 00 64 FD");
    EXPECT_EQ(state.MasterHeadID, 20);
    EXPECT_EQ(state.ScanHeadID, 20);
    EXPECT_FALSE(HeadProgrammingPending(state));

    // The next ordinary block addresses the new ID.
    EXPECT_EQ(PrepareSend(state)[2], 20);
}

TEST(HeadProgramming, ProgrammingCarriesSerialNumberAndDepthRating) {
    SonarState state = DefaultState();
    state.ScanHeadID = 17;
    state.HeadProgramRequest = 1;
    state.ProgramSerialNumber = 9999;  // 0x270F: low 7 bits 0x0F, next 7 bits 0x4E
    state.ProgramDepthRating = 1;
    CommandBlock block = BuildHeadProgrammingCommand(state);
    EXPECT_EQ(Hex(block), "FE 44 11 32 00 00 00 00 06 01 80 3C 78 03 0A 0F 00 00 4E 32 08 01 00 00 00 64 FD");
    EXPECT_EQ(state.HeadProgramRequest, 0);
    EXPECT_EQ(state.MasterHeadID, 17);
}

}  // namespace
}  // namespace tidemar
