// The program's own profile point in 8-bit echo data: threshold, minimum range, the first
// crossing and the pulse end, Start and Center of Pulse, the rewritten profile range in
// the reply header, replies too short for the settings, and where decoding runs it.
#include <gtest/gtest.h>

#include <string>

#include "ReplyTestSupport.h"
#include "core/ProfileDetection.h"
#include "core/Reply.h"

namespace tidemar {
namespace {

using replytest::FramedReply;
using replytest::Receive;
using replytest::StateAt;

// A 50 m Sector ping in Low Mix with the program detecting, its 500 data bytes quiet
// except where echoes are put, and the head's own point in the header.
struct Ping {
    SonarState state = StateAt(9, DisplayMode::Sector);

    explicit Ping(int dataBytes = 500, uint8_t type = 'G') {
        auto reply = FramedReply(type, dataBytes);
        reply[8] = 0x10;  // head's profile range 0x190 = 400
        reply[9] = 0x03;
        Receive(state, reply);
        state.ReturnRange = 50;
        state.ProfileRange = 400;
        state.ProfileSample = 40;
        state.Profile = 2;
        state.ProfileDigitizationSource = 1;
        state.ProfileMinimumLevel = 70;
        state.ProfileMinimumRange = 0.0f;
    }
    void Echo(int rawIndex, uint8_t level) { state.ReceiveBuffer[12 + rawIndex] = level; }
    int Detect() {
        DetectProfilePoint(state);
        return state.ProfileSample;
    }
    int HeaderProfileRange() const { return (state.ReceiveBuffer[8] & 0x7F) | (state.ReceiveBuffer[9] << 7); }
};

TEST(DetectionThreshold, LevelPercentScaledAndRoundedHalfUp) {
    struct Case {
        int level;
        uint8_t threshold;
    } cases[] = {{10, 9}, {70, 65}, {90, 84}};
    for (const auto& c : cases) {
        SCOPED_TRACE("level " + std::to_string(c.level));
        Ping below;
        below.state.ProfileMinimumLevel = c.level;
        below.Echo(120, c.threshold - 1);
        EXPECT_EQ(below.Detect(), 0);

        Ping at;
        at.state.ProfileMinimumLevel = c.level;
        at.Echo(120, c.threshold);
        EXPECT_EQ(at.Detect(), 120);
    }
}

TEST(DetectionMinimumRange, SamplesNearerThanTheMinimumAreNotSearched) {
    struct Case {
        const char* legend;
        int units;
        float minimumRange;
        int blank;
        int ignoredAt, foundAt;  // raw indices
    } cases[] = {
        {"10 m of 50 m is sample 100", 0, 10.0f, 0, 99, 100},
        {"the search starts blank samples early", 0, 10.0f, 3, 96, 97},
        {"82.02 ft of 164.04 ft is sample 250", 1, 82.02f, 0, 249, 250},
        {"a negative minimum searches from the start", 0, -5.0f, 0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        Ping ping;
        ping.state.Units = c.units;
        ping.state.ProfileMinimumRange = c.minimumRange;
        ping.state.PulseBlankSamples = c.blank;
        ping.Echo(c.ignoredAt, 100);
        ping.Echo(c.foundAt, 100);
        EXPECT_EQ(ping.Detect(), c.foundAt + c.blank);
    }
}

TEST(DetectionMinimumRange, TheDisplayRangeLeavesOnlyBlankedSamplesThatCannotCount) {
    // m = 500: with 3 blank samples raw 497 and 498 are searched, but they are samples
    // 500 and 501, beyond the last possible point.
    Ping ping;
    ping.state.ProfileMinimumRange = 50.0f;
    ping.state.PulseBlankSamples = 3;
    ping.Echo(200, 100);
    ping.Echo(497, 100);
    EXPECT_EQ(ping.Detect(), 0);
    EXPECT_EQ(ping.state.ProfileRange, 0);
    EXPECT_EQ(ping.HeaderProfileRange(), 0);

    Ping noBlank;
    noBlank.state.ProfileMinimumRange = 50.0f;
    noBlank.Echo(200, 100);
    EXPECT_EQ(noBlank.Detect(), 0);
}

TEST(DetectionMinimumRange, OutsideTheMixModesOnlyDropsTheHeadsPoint) {
    struct Case {
        int profile;
        uint8_t type;
    } cases[] = {{0, 'G'}, {1, 'G'}, {2, 'P'}, {4, 'P'}};
    for (const auto& c : cases) {
        SCOPED_TRACE("Profile " + std::to_string(c.profile) + " type " + std::string(1, c.type));
        Ping far(c.type == 'P' ? 0 : 500, c.type);
        far.state.Profile = c.profile;
        far.state.ProfileMinimumRange = 60.0f;
        far.Echo(100, 100);
        EXPECT_EQ(far.Detect(), 0);
        EXPECT_EQ(far.state.ProfileRange, 400);  // the header is not rewritten
        EXPECT_EQ(far.HeaderProfileRange(), 400);

        Ping near(c.type == 'P' ? 0 : 500, c.type);
        near.state.Profile = c.profile;
        near.Echo(100, 100);
        EXPECT_EQ(near.Detect(), 40);  // the head's point stands
        EXPECT_EQ(near.state.ProfileRange, 400);
    }
}

TEST(DetectionCrossing, FirstCrossingAfterIndexZero) {
    struct Case {
        const char* legend;
        std::vector<int> echoes;
        int type;  // ProfileDetectionType
        int blank;
        int sample;
    } cases[] = {
        {"only index 0: no point", {0}, 0, 0, 0},
        {"index 0 is passed over", {0, 5}, 0, 0, 5},
        {"start of pulse adds the blank", {100, 101, 102}, 0, 3, 103},
        {"center of 100..107 with blank 3", {100, 107}, 1, 3, 107},
        {"center: the pulse end need not be contiguous", {100, 120}, 1, 0, 110},
        {"center: 21 samples on is another echo", {100, 121}, 1, 0, 100},
        {"center: half rounds up", {100, 101}, 1, 0, 101},
        {"raw 499 is never searched", {499}, 0, 0, 0},
        {"raw 498 is the last", {498}, 0, 0, 498},
        {"the pulse end stops before raw 499", {490, 499}, 1, 0, 490},
        {"a point beyond 499 is none", {490}, 0, 10, 0},
        {"499 itself is a point", {490}, 0, 9, 499},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        Ping ping;
        ping.state.ProfileDetectionType = c.type;
        ping.state.PulseBlankSamples = c.blank;
        for (int k : c.echoes) ping.Echo(k, 200);
        EXPECT_EQ(ping.Detect(), c.sample);
    }
}

TEST(DetectionProfileRange, HeaderBytesCarryTheProgramsPoint) {
    struct Case {
        const char* legend;
        int gridMode, returnRange, plotSampleCount, blank, echoAt;
        int profileRange;
        uint8_t byte8, byte9;
    } cases[] = {
        {"50 m, sample 100: 50 x 100 / 499 m in cm", DisplayMode::Sector, 50, 499, 0, 100, 1002, 0x6A, 0x07},
        {"the blank is not range", DisplayMode::Sector, 50, 499, 3, 97, 972, 0x4C, 0x07},
        {"below 5 m in 2 mm steps", DisplayMode::Sector, 3, 499, 0, 100, 301, 0x2D, 0x02},
        {"Polar counts half samples", DisplayMode::Polar, 50, 250, 0, 100, 1000, 0x68, 0x07},
        {"beyond 163.83 m the high byte takes bit 14", DisplayMode::Sector, 200, 499, 0, 450, 18036, 0x74, 0x8C},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        Ping ping;
        ping.state.GridMode = c.gridMode;
        ping.state.ReturnRange = c.returnRange;
        ping.state.PlotSampleCount = c.plotSampleCount;
        ping.state.PulseBlankSamples = c.blank;
        ping.Echo(c.echoAt, 200);
        ping.Detect();
        EXPECT_EQ(ping.state.ProfileRange, c.profileRange);
        EXPECT_EQ(ping.state.ReceiveBuffer[8], c.byte8);
        EXPECT_EQ(ping.state.ReceiveBuffer[9], c.byte9);
        EXPECT_EQ(ping.HeaderProfileRange(), c.profileRange);  // what playback decodes
    }
}

TEST(DetectionProfileRange, NoPointClearsTheHeadsRange) {
    Ping ping;
    EXPECT_EQ(ping.Detect(), 0);
    EXPECT_EQ(ping.state.ProfileRange, 0);
    EXPECT_EQ(ping.state.ReceiveBuffer[8], 0);
    EXPECT_EQ(ping.state.ReceiveBuffer[9], 0);
    EXPECT_EQ(ping.state.ReceiveBuffer[7], 50);  // the rest of the header is untouched
    EXPECT_EQ(ping.state.ReceiveBuffer[10], 500 & 0x7F);
}

TEST(DetectionBounds, OnlyTheRepliesOwnDataBytesAreRead) {
    struct Case {
        const char* legend;
        int dataBytes;
        int expectedLength;  // as the state says
    } cases[] = {
        {"64 data bytes", 64, 77},
        {"252 data bytes", 252, 265},
        {"no data", 0, 13},
        {"a length no reply can have", 0, 9999},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        Ping ping(c.dataBytes);
        ping.state.ExpectedReturnLength = c.expectedLength;
        ping.Echo(c.dataBytes, 200);  // the end byte 0xFC
        ping.Echo(300, 200);          // stale bytes of an earlier, longer reply
        EXPECT_EQ(ping.Detect(), 0);
    }
    Ping ping(64);
    ping.Echo(63, 200);
    EXPECT_EQ(ping.Detect(), 63);
}

TEST(DetectionInDecoding, RunsAfterThe8BitUnpackOnlyForSurface) {
    struct Case {
        const char* legend;
        int source, dataBits;
        int sample;
    } cases[] = {
        {"Surface, 8-bit: the program's point", 1, 8, 150},
        {"Sonar Head: the head's point", 0, 8, 40},
        {"Surface, 4-bit: the head's point stands", 1, 4, 40},
        {"Surface, 16-bit: the head's point stands", 1, 16, 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        ManualClock clock;
        SonarState state = StateAt(9, DisplayMode::Sector);
        state.Profile = 2;
        state.DataBits = c.dataBits;
        state.ProfileDigitizationSource = c.source;
        const int dataBytes = c.dataBits == 4 ? 252 : 500;
        auto reply = FramedReply('G', dataBytes);
        reply[8] = 0x15;  // head's range 405 cm: sample 40
        reply[9] = 0x03;
        reply[12 + 150] = 0x7F;
        Receive(state, reply);
        ASSERT_EQ(ValidateReply(state, clock), 1);
        EXPECT_EQ(state.ProfileSample, c.sample);
    }
}

TEST(DetectionInDecoding, TheRecordedHeaderCarriesTheProgramsPoint) {
    ManualClock clock;
    SonarState state = StateAt(9, DisplayMode::Sector);
    state.Profile = 3;
    state.ProfileDigitizationSource = 1;
    auto reply = FramedReply('G', 500);
    reply[12 + 100] = 0x7F;
    Receive(state, reply);
    ASSERT_EQ(ValidateReply(state, clock), 1);
    EXPECT_EQ(state.ProfileSample, 100);
    EXPECT_EQ(state.ProfileRange, 1002);
    EXPECT_EQ(state.ReceiveBuffer[8], 0x6A);
    EXPECT_EQ(state.ReceiveBuffer[9], 0x07);
    EXPECT_EQ(state.LastHeader[8], 0);            // the diagnostics show what the head sent
    EXPECT_EQ(state.SampleLine[100], 0x7F >> 1);  // Med Mix dims the echo, not the search
}

}  // namespace
}  // namespace tidemar
