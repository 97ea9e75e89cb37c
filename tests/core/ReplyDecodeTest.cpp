// Decoding of a good reply into the reply fields: header copies, head position and its
// glitch rule, mirroring, head angles, pulse blanking, the profile sample, the playback
// range and the Rep Rate read-out.
#include <gtest/gtest.h>

#include <string>

#include "ReplyTestSupport.h"
#include "core/Reply.h"

namespace tidemar {
namespace {

using replytest::FramedReply;
using replytest::Receive;
using replytest::StateAt;

constexpr double Pi = 3.141592654;

// Validates and decodes one reply; the test fails if the reply is rejected.
void Decode(SonarState& state, const std::vector<uint8_t>& reply, const Clock& clock) {
    Receive(state, reply);
    ASSERT_EQ(ValidateReply(state, clock), 1);
}

std::vector<uint8_t> ReplyAt(uint8_t b5, uint8_t b6, uint8_t type = 'G', int dataBytes = 500) {
    auto reply = FramedReply(type, dataBytes);
    reply[5] = b5;
    reply[6] = b6;
    return reply;
}

TEST(ReplyHeader, CopiedAndDecodedFieldByField) {
    ManualClock clock;
    SonarState state = StateAt(9, DisplayMode::Sector);
    state.Speed = 4;
    auto reply = FramedReply('G', 500);
    const uint8_t header[12] = {'B', 'G', 'L', 0x13, 0x81, 0x58, 0x44, 40, 0x85, 0x03, 0x74, 0x03};
    std::copy(header, header + 12, reply.begin());
    Decode(state, reply, clock);

    for (int i = 0; i < 12; ++i) EXPECT_EQ(state.LastHeader[i], header[i]) << "byte " << i;
    EXPECT_EQ(state.LastTermByte, 0xFC);
    EXPECT_EQ(state.ReturnHeadID, 0x13);
    EXPECT_EQ(state.SerialStatus, 0x81);
    EXPECT_EQ(state.HeadPosition, 600);
    EXPECT_EQ(state.StepDirection, 1);
    EXPECT_EQ(state.ReturnRange, 40);
    EXPECT_EQ(state.ProfileRange, 0x05 | (0x03 << 7));  // 389: bit 7 of byte 8 dropped
    EXPECT_EQ(state.DataByteCount, 500);
    EXPECT_EQ(state.DisplaySpeed, 4);
}

TEST(ReplyHeader, HighBitsOfTheSevenBitFields) {
    ManualClock clock;
    SonarState state = StateAt(9, DisplayMode::Sector);
    auto reply = FramedReply('G', 500);
    reply[8] = 0xFF;
    reply[9] = 0xFF;  // the high byte of the profile range is taken whole
    reply[10] = 0xFF;
    reply[11] = 0xFF;  // the byte count keeps 7 bits of each
    Decode(state, reply, clock);
    EXPECT_EQ(state.ProfileRange, 0x7F | (0xFF << 7));
    EXPECT_EQ(state.DataByteCount, 0x3FFF);
}

TEST(ReplyHeadPosition, DecodedMaskedAndGlitchesReplaced) {
    struct Case {
        const char* legend;
        uint8_t b5, b6;
        int position, stepDirection;
        float angleDeg;
    } cases[] = {
        {"straight ahead", 0x58, 0x04, 600, 0, 0.0f},
        {"position 0", 0x00, 0x00, 0, 0, 180.0f},  // -180 brought into 0..360
        {"position 1200", 0x30, 0x09, 1200, 0, 180.0f},
        {"step direction bit", 0x58, 0x44, 600, 1, 0.0f},
        {"bit 7 of both bytes ignored", 0xD8, 0x84, 600, 0, 0.0f},
        {"1201 is a glitch", 0x31, 0x09, 700, 0, 30.0f},
        {"8191 is a glitch", 0x7F, 0x3F, 700, 0, 30.0f},
        {"8191 with the direction bit", 0x7F, 0x7F, 700, 1, 30.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        ManualClock clock;
        SonarState state = StateAt(9, DisplayMode::Polar);
        Decode(state, ReplyAt(0x3C, 0x05), clock);  // 700, the last good position
        Decode(state, ReplyAt(c.b5, c.b6), clock);
        EXPECT_EQ(state.HeadPosition, c.position);
        EXPECT_EQ(state.LastHeadPosition, c.position);
        EXPECT_EQ(state.StepDirection, c.stepDirection);
        EXPECT_NEAR(state.HeadAngleDeg, c.angleDeg, 1e-4);
    }
}

TEST(ReplyHeadPosition, GlitchBeforeAnyGoodPositionGivesStraightAhead) {
    ManualClock clock;
    SonarState state = StateAt(9, DisplayMode::Polar);
    Decode(state, ReplyAt(0x7F, 0x3F), clock);
    EXPECT_EQ(state.HeadPosition, 600);
    EXPECT_FLOAT_EQ(state.HeadAngleRad, 0.0f);
}

TEST(ReplyMirroring, ThreeMountingsDrawTheOtherWayRound) {
    struct Case {
        int profileGrid, xdcr, zeroDown;
        bool mirrored;
    } cases[] = {
        {0, 0, 0, false}, {0, 0, 1, false}, {0, 1, 0, true},  {0, 1, 1, true},
        {1, 0, 0, true},  {1, 0, 1, false}, {1, 1, 0, false}, {1, 1, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("ProfileGrid " + std::to_string(c.profileGrid) + " Xdcr " + std::to_string(c.xdcr) + " ZeroDown " +
                     std::to_string(c.zeroDown));
        ManualClock clock;
        SonarState state = StateAt(9, DisplayMode::Polar);
        state.ProfileGrid = c.profileGrid;
        state.Xdcr = c.xdcr;
        state.ZeroDown = c.zeroDown;
        Decode(state, ReplyAt(0x3C, 0x45), clock);  // 700, stepping direction 1
        EXPECT_EQ(state.StepDirection, 1);
        EXPECT_EQ(state.DrawDirection, c.mirrored ? 0 : 1);
        EXPECT_EQ(state.HeadPosition, c.mirrored ? 500 : 700);
        EXPECT_NEAR(state.HeadAngleDeg, c.mirrored ? 330.0f : 30.0f, 1e-4);
        EXPECT_EQ(state.LastHeadPosition, 700);  // the head's own position is remembered
    }
}

TEST(ReplyMirroring, PositionZeroMirrorsToZero) {
    ManualClock clock;
    SonarState state = StateAt(9, DisplayMode::Polar);
    state.Xdcr = Transducer::Up;
    Decode(state, ReplyAt(0x00, 0x00), clock);
    EXPECT_EQ(state.HeadPosition, 0);  // 1200 - 0 = 1200, which becomes 0
    Decode(state, ReplyAt(0x30, 0x09), clock);
    EXPECT_EQ(state.HeadPosition, 0);  // 1200 - 1200
}

TEST(ReplyHeadAngle, ByDisplayModeTrainAndRotation) {
    struct Case {
        const char* legend;
        int gridMode, profileGrid, train;
        float rotation;
        uint8_t b5, b6;
        double rad, deg;
    } cases[] = {
        {"polar ahead", DisplayMode::Polar, 0, 0, 0.0f, 0x58, 0x04, 0.0, 0.0},
        {"polar starboard", DisplayMode::Polar, 0, 45, 0.0f, 0x04, 0x07, Pi / 2, 90.0},  // 900
        {"polar port", DisplayMode::Polar, 0, 0, 0.0f, 0x2C, 0x02, -Pi / 2, 270.0},      // 300
        {"sector relative to the train", DisplayMode::Sector, 0, 30, 0.0f, 0x3C, 0x05, 0.0, 30.0},
        {"sector profile grid ignores the train", DisplayMode::Sector, 1, 30, 0.0f, 0x3C, 0x05, Pi / 6, 30.0},
        {"SS ignores the train", DisplayMode::SideScan, 0, 90, 0.0f, 0x58, 0x04, 0.0, 0.0},
        {"Profile turns half a circle", DisplayMode::Profile, 0, 30, 0.0f, 0x58, 0x04, Pi, 180.0},
        {"rotation negative", DisplayMode::Polar, 0, 0, -45.0f, 0x58, 0x04, -Pi / 4, 315.0},
        {"sector with rotation", DisplayMode::Sector, 0, 0, 10.0f, 0x74, 0x03, -Pi / 6 + Pi / 18, 340.0},  // 500
        {"rotation adds to both", DisplayMode::Polar, 0, 0, 180.0f, 0x04, 0x07, 1.5 * Pi, 270.0},
        {"above 360 is left as it is", DisplayMode::Polar, 0, 0, 300.0f, 0x04, 0x07, 13 * Pi / 6, 390.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        ManualClock clock;
        SonarState state = StateAt(9, c.gridMode);
        state.ProfileGrid = c.profileGrid;
        state.ZeroDown = 1;  // with Xdcr 0 and the profile grid: not mirrored
        state.Train = c.train;
        state.ImageRotation = c.rotation;
        Decode(state, ReplyAt(c.b5, c.b6), clock);
        EXPECT_NEAR(state.HeadAngleRad, c.rad, 1e-5);
        EXPECT_NEAR(state.HeadAngleDeg, c.deg, 1e-4);
    }
}

TEST(ReplyPulseBlanking, ShortRangesHideThePulse) {
    struct Case {
        int rangeIndex, gridMode, pulseLength, blank;
        // clang-format off
    } cases[] = {
        {2, DisplayMode::Sector, 100, 13},    // 3 m: 100 x 0.0075 / 0.06 = 12.5, + 0.5
        {2, DisplayMode::Polar, 100, 6},      // Polar halves: 6.25 + 0.5
        {2, DisplayMode::SideScan, 100, 13},  // SS counts like Sector
        {0, DisplayMode::Sector, 100, 38},    // 1 m: 37.5 + 0.5
        {0, DisplayMode::Sector, 265, 99},    // 99.375 + 0.5
        {0, DisplayMode::Sector, 266, 0},     // 100.25: 100 or more is none
        {0, DisplayMode::Sector, 300, 0},
        {0, DisplayMode::Polar, 300, 56},     // Polar brings it back under 100
        {3, DisplayMode::Sector, 1000, 94},   // 4 m: 93.75 + 0.5
        {4, DisplayMode::Sector, 1000, 0},    // 5 m and beyond: none
        {9, DisplayMode::Sector, 100, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE("range " + std::to_string(RangeTable[c.rangeIndex].Meters) + " m, mode " +
                     std::to_string(c.gridMode) + ", pulse " + std::to_string(c.pulseLength));
        ManualClock clock;
        SonarState state = StateAt(c.rangeIndex, c.gridMode);
        state.PulseLength = c.pulseLength;
        state.SampleLine.fill(77);
        Decode(state, FramedReply('G', 500, 20), clock);
        EXPECT_EQ(state.PulseBlankSamples, c.blank);
        for (int i = 0; i < c.blank; ++i) ASSERT_EQ(state.SampleLine[i], 0) << "sample " << i;
        EXPECT_EQ(state.SampleLine[c.blank], 20);
    }
}

TEST(ReplyPulseBlanking, ZeroRangeScaleFromAFileBlanksNothing) {
    ManualClock clock;
    SonarState state = StateAt(0, DisplayMode::Sector);
    state.RangeScale = 0.0f;
    Decode(state, FramedReply('G', 500), clock);
    EXPECT_EQ(state.PulseBlankSamples, 0);
}

TEST(ReplyProfileSample, FromTheHeadsProfileRange) {
    struct Case {
        const char* legend;
        int rangeIndex, gridMode, profile, profileRange;
        int blank, sample;
    } cases[] = {
        {"50 m: centimetres", 9, DisplayMode::Sector, 0, 1234, 0, 123},  // 12.34 m / 0.1 m
        {"50 m Polar: half as many samples", 9, DisplayMode::Polar, 0, 1234, 0, 61},
        {"3 m: millimetres after the blanking", 2, DisplayMode::Sector, 0, 500, 13, 179},  // 13 + 166.7
        {"3 m Polar", 2, DisplayMode::Polar, 0, 500, 6, 89},                               // 6 + 83.3
        {"no profile range, no point", 2, DisplayMode::Sector, 0, 0, 13, 0},
        {"points only keeps the blanking with a point", 2, DisplayMode::Sector, 1, 500, 13, 179},
        {"points only without a point drops the blanking", 2, DisplayMode::Sector, 1, 0, 0, 0},
        {"points only, point nearer than a sample", 9, DisplayMode::Sector, 1, 5, 0, 0},
        {"mix mode keeps the blanking without a point", 2, DisplayMode::Sector, 2, 0, 13, 0},
        {"largest profile range", 14, DisplayMode::Sector, 0, 0x7F | (0xFF << 7), 0, 819},  // 327.67 m / 0.4 m
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        ManualClock clock;
        SonarState state = StateAt(c.rangeIndex, c.gridMode);
        state.Profile = c.profile;
        state.PulseLength = 100;
        auto reply = FramedReply(c.profile == 1 ? 'P' : 'G', c.profile == 1 ? 0 : 500);
        reply[8] = static_cast<uint8_t>(c.profileRange & 0x7F);
        reply[9] = static_cast<uint8_t>(c.profileRange >> 7);
        Decode(state, reply, clock);
        EXPECT_EQ(state.ProfileRange, c.profileRange);
        EXPECT_EQ(state.PulseBlankSamples, c.blank);
        EXPECT_EQ(state.ProfileSample, c.sample);
    }
}

TEST(ReplyProfileSample, ZeroSampleSpacingFromAFileGivesNoPoint) {
    ManualClock clock;
    SonarState state = StateAt(9, DisplayMode::Sector);
    state.SampleSpacing = 0.0f;
    auto reply = FramedReply('G', 500);
    reply[8] = 0x10;
    Decode(state, reply, clock);
    EXPECT_EQ(state.ProfileSample, 0);
}

TEST(ReplyUnpacking, PointsOnlyAndHeadScanKeepTheSamples) {
    ManualClock clock;
    SonarState state = StateAt(9, DisplayMode::Sector);
    state.SampleLine.fill(33);
    state.Profile = 1;
    Decode(state, FramedReply('P', 0), clock);
    EXPECT_EQ(state.SampleLine[0], 33);
    EXPECT_EQ(state.SampleLine[499], 33);

    state.Profile = 0;
    state.HeadScanMode = 1;
    Decode(state, FramedReply('T', 64, 90), clock);
    EXPECT_EQ(state.SampleLine[0], 33);

    state.HeadScanMode = 0;
    Decode(state, FramedReply('G', 500, 90), clock);
    EXPECT_EQ(state.SampleLine[0], 90);
}

TEST(ReplyPlaybackRange, RecordsRangeSetsTheRangeIndexOnly) {
    struct Case {
        int runMode, returnRange, range;
    } cases[] = {
        {1, 30, 7}, {1, 1, 0}, {1, 200, 14}, {1, 7, 9}, {1, 0, 9}, {1, 255, 9}, {0, 30, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("RunMode " + std::to_string(c.runMode) + ", " + std::to_string(c.returnRange) + " m");
        ManualClock clock;
        SonarState state = StateAt(9, DisplayMode::Sector);
        state.RunMode = c.runMode;
        auto reply = FramedReply('G', 500);
        reply[7] = static_cast<uint8_t>(c.returnRange);
        Decode(state, reply, clock);
        EXPECT_EQ(state.ReturnRange, c.returnRange);
        EXPECT_EQ(state.Range, c.range);
        EXPECT_EQ(state.RangeMeters, 50);  // the range read-out derives the rest
    }
}

class ReplyRepRate : public ::testing::Test {
protected:
    ManualClock clock;
    SonarState state = StateAt(9, DisplayMode::Sector);

    void Reply() { Decode(state, FramedReply('P', 0), clock); }
    void RepliesEvery(int milliseconds, int count) {
        for (int i = 0; i < count; ++i) {
            clock.Advance(milliseconds);
            Reply();
        }
    }
    void SetUp() override {
        state.Profile = 1;
        state.RepRateText = "unset";
    }
};

TEST_F(ReplyRepRate, MeanOfTenIntervalsAfterTheFirstReply) {
    clock.Tick = 123456;
    Reply();  // starts the measurement only
    RepliesEvery(50, 9);
    EXPECT_EQ(state.RepRateText, "unset");
    RepliesEvery(50, 1);
    EXPECT_EQ(state.RepRateText, "50 ms");

    // The sum restarts: the next ten say 100, not the mean of twenty.
    RepliesEvery(100, 10);
    EXPECT_EQ(state.RepRateText, "100 ms");

    // Integer mean of uneven intervals: 9 x 33 + 40 = 337 -> 33.
    RepliesEvery(33, 9);
    RepliesEvery(40, 1);
    EXPECT_EQ(state.RepRateText, "33 ms");
}

TEST_F(ReplyRepRate, MeanAboveTenSecondsShowsZero) {
    Reply();
    RepliesEvery(10000, 10);
    EXPECT_EQ(state.RepRateText, "10000 ms");
    RepliesEvery(9, 9);
    RepliesEvery(10 * 10001 - 81, 1);  // sum 100010, mean 10001
    EXPECT_EQ(state.RepRateText, "0 ms");
}

TEST_F(ReplyRepRate, RejectedRepliesAreNotCounted) {
    Reply();
    for (int i = 0; i < 10; ++i) {
        clock.Advance(30);
        Receive(state, FramedReply('P', 0));
        state.ReceiveBuffer[12] = 0;  // bad end byte
        ASSERT_EQ(ValidateReply(state, clock), 0);
        clock.Advance(30);
        Reply();
    }
    EXPECT_EQ(state.RepRateText, "60 ms");
}

}  // namespace
}  // namespace tidemar
