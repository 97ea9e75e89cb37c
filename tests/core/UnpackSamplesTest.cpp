// Echo data into SampleLine: the three sample widths, the mix shifts, the cap at 107,
// Polar pairing, the 'M' record tail, and lengths that a damaged file can carry.
#include <gtest/gtest.h>

#include <string>

#include "ReplyTestSupport.h"
#include "core/Reply.h"

namespace tidemar {
namespace {

using replytest::FramedReply;
using replytest::Receive;
using replytest::StateAt;

// A state holding a reply of the given data, ready for UnpackSamples, with SampleLine
// filled with a marker so untouched entries show.
constexpr uint8_t Untouched = 0xEE;

SonarState Holding(const std::vector<uint8_t>& data, int dataBits, int profile = 0, int gridMode = DisplayMode::Sector,
                   int blank = 0) {
    SonarState state = StateAt(9, gridMode);
    auto reply = FramedReply('G', static_cast<int>(data.size()));
    std::copy(data.begin(), data.end(), reply.begin() + 12);
    Receive(state, reply);
    state.DataBits = dataBits;
    state.Profile = profile;
    state.PulseBlankSamples = blank;
    state.SampleLine.fill(Untouched);
    return state;
}

TEST(Unpack4Bits, TwoSamplesPerByteLowNibbleFirst) {
    struct Case {
        uint8_t byte;
        int profile;
        uint8_t first, second;
    } cases[] = {
        {0x3A, 0, 107, 48},  // 0xA0 = 160 is capped
        {0x3A, 2, 40, 12},   // Low Mix dims by two bits
        {0x3A, 3, 107, 48},  // Med Mix has no shift at 4 bits
        {0x3A, 4, 107, 48}, {0x06, 0, 96, 0}, {0x60, 0, 0, 96}, {0xFF, 2, 60, 60},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("byte " + std::to_string(c.byte) + ", Profile " + std::to_string(c.profile));
        SonarState state = Holding({c.byte, 0x00}, 4, c.profile, DisplayMode::Sector, 5);
        UnpackSamples(state);
        EXPECT_EQ(state.SampleLine[4], Untouched);
        EXPECT_EQ(state.SampleLine[5], c.first);
        EXPECT_EQ(state.SampleLine[6], c.second);
        EXPECT_EQ(state.SampleLine[7], 0);
        EXPECT_EQ(state.SampleLine[9], Untouched);
    }
}

TEST(Unpack4Bits, FullReplyGives504Samples) {
    std::vector<uint8_t> data(252, 0x21);
    SonarState state = Holding(data, 4, 0, DisplayMode::Polar, 10);  // Polar does not pair 4-bit data
    UnpackSamples(state);
    for (int i = 10; i < 10 + 504; ++i) ASSERT_EQ(state.SampleLine[i], i % 2 == 0 ? 16 : 32) << "sample " << i;
    EXPECT_EQ(state.SampleLine[514], Untouched);
}

TEST(Unpack8Bits, MixShiftsByProfile) {
    struct Case {
        int profile;
        uint8_t sample;
    } cases[] = {{0, 100}, {1, 100}, {2, 25}, {3, 50}, {4, 100}};
    for (const auto& c : cases) {
        SCOPED_TRACE("Profile " + std::to_string(c.profile));
        SonarState state = Holding({100, 200, 0}, 8, c.profile);
        UnpackSamples(state);
        EXPECT_EQ(state.SampleLine[0], c.sample);
        EXPECT_EQ(state.SampleLine[1], c.profile == 2 ? 50 : c.profile == 3 ? 100 : 107);  // 200 >> s
        EXPECT_EQ(state.SampleLine[2], 0);
        EXPECT_EQ(state.SampleLine[3], Untouched);
    }
}

TEST(Unpack8Bits, OneSamplePerByteAfterTheBlanking) {
    std::vector<uint8_t> data(500);
    for (int i = 0; i < 500; ++i) data[i] = static_cast<uint8_t>(i % 251);
    SonarState state = Holding(data, 8, 0, DisplayMode::Sector, 13);
    UnpackSamples(state);
    EXPECT_EQ(state.SampleLine[12], Untouched);
    for (int i = 0; i < 500; ++i) ASSERT_EQ(state.SampleLine[13 + i], std::min(i % 251, 107)) << "sample " << i;
    EXPECT_EQ(state.SampleLine[513], Untouched);
}

TEST(Unpack8Bits, PolarTakesTheStrongerOfEachPair) {
    std::vector<uint8_t> data(500, 0);
    const uint8_t head[] = {10, 30, 50, 20, 200, 0, 9, 9};
    std::copy(std::begin(head), std::end(head), data.begin());
    SonarState state = Holding(data, 8, 0, DisplayMode::Polar, 0);
    UnpackSamples(state);
    EXPECT_EQ(state.SampleLine[0], 30);
    EXPECT_EQ(state.SampleLine[1], 50);
    EXPECT_EQ(state.SampleLine[2], 107);
    EXPECT_EQ(state.SampleLine[3], 9);
    EXPECT_EQ(state.SampleLine[250], Untouched);

    state = Holding(data, 8, 2, DisplayMode::Polar, 0);  // the shift applies before the comparison
    UnpackSamples(state);
    EXPECT_EQ(state.SampleLine[0], 7);
    EXPECT_EQ(state.SampleLine[2], 50);
}

TEST(Unpack8Bits, PolarCutsPastThePlotSampleCount) {
    std::vector<uint8_t> data(500, 60);
    SonarState state = Holding(data, 8, 0, DisplayMode::Polar, 6);
    ASSERT_EQ(state.PlotSampleCount, 250);
    UnpackSamples(state);
    EXPECT_EQ(state.SampleLine[5], Untouched);
    EXPECT_EQ(state.SampleLine[6], 60);
    EXPECT_EQ(state.SampleLine[250], 60);  // index 250 does not exceed the count
    for (int i = 251; i < 256; ++i) EXPECT_EQ(state.SampleLine[i], 0) << "sample " << i;
    EXPECT_EQ(state.SampleLine[256], Untouched);
}

TEST(Unpack8Bits, MRecordsLoseTheirLastFourDataBytes) {
    for (const int gridMode : {DisplayMode::Sector, DisplayMode::Polar}) {
        SCOPED_TRACE("GridMode " + std::to_string(gridMode));
        SonarState state = Holding(std::vector<uint8_t>(500, 60), 8, 0, gridMode, 0);
        state.ReceiveBuffer[1] = 'M';
        UnpackSamples(state);
        for (int offset = 508; offset <= 511; ++offset) EXPECT_EQ(state.ReceiveBuffer[offset], 0);
        EXPECT_EQ(state.ReceiveBuffer[507], 60);
        EXPECT_EQ(state.ReceiveBuffer[512], 0xFC);
        if (gridMode == DisplayMode::Sector) {
            EXPECT_EQ(state.SampleLine[495], 60);
            for (int i = 496; i < 500; ++i) EXPECT_EQ(state.SampleLine[i], 0);
        } else {
            EXPECT_EQ(state.SampleLine[247], 60);
            EXPECT_EQ(state.SampleLine[248], 0);
            EXPECT_EQ(state.SampleLine[249], 0);
        }
    }

    // 'G' replies keep them.
    SonarState state = Holding(std::vector<uint8_t>(500, 60), 8);
    UnpackSamples(state);
    EXPECT_EQ(state.SampleLine[499], 60);
}

TEST(Unpack8Bits, ShortMRecordZeroesOnlyItsData) {
    SonarState state = Holding({70, 80}, 8);
    state.ReceiveBuffer[1] = 'M';
    UnpackSamples(state);
    EXPECT_EQ(state.ReceiveBuffer[10], 2);  // the header's byte count is not data
    EXPECT_EQ(state.ReceiveBuffer[12], 0);
    EXPECT_EQ(state.ReceiveBuffer[13], 0);
    EXPECT_EQ(state.ReceiveBuffer[14], 0xFC);
    EXPECT_EQ(state.SampleLine[0], 0);
    EXPECT_EQ(state.SampleLine[1], 0);
}

TEST(Unpack16Bits, LittleEndianWordsTopBits) {
    struct Case {
        const char* legend;
        uint8_t low, high;
        int profile;
        uint8_t sample;
    } cases[] = {
        {"one level", 0x40, 0x00, 0, 1},
        {"low six bits dropped", 0x3F, 0x00, 0, 0},
        {"level 64", 0x00, 0x10, 0, 64},
        {"level 107", 0xC0, 0x1A, 0, 107},
        {"level 128 capped", 0x00, 0x20, 0, 107},
        {"level 256 keeps its low byte", 0x00, 0x40, 0, 0},
        {"level 257 keeps its low byte", 0x40, 0x40, 0, 1},
        {"full scale", 0xFF, 0xFF, 0, 107},
        {"Low Mix", 0x00, 0x10, 2, 16},
        {"Low Mix full scale", 0xFF, 0xFF, 2, 107},
        {"Med Mix has no shift", 0x00, 0x10, 3, 64},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        SonarState state = Holding({c.low, c.high, 0x00, 0x08}, 16, c.profile, DisplayMode::Sector, 3);
        UnpackSamples(state);
        EXPECT_EQ(state.SampleLine[2], Untouched);
        EXPECT_EQ(state.SampleLine[3], c.sample);
        EXPECT_EQ(state.SampleLine[4], c.profile == 2 ? 8 : 32);
        EXPECT_EQ(state.SampleLine[5], Untouched);
    }
}

TEST(Unpack16Bits, FullReplyGives250Samples) {
    SonarState state = Holding(std::vector<uint8_t>(500, 0x05), 16, 0, DisplayMode::Polar, 0);
    UnpackSamples(state);
    EXPECT_EQ(state.SampleLine[249], 20);  // 0x0505 >> 6
    EXPECT_EQ(state.SampleLine[250], Untouched);
}

TEST(UnpackSamplesLength, DataRunsToTheEndByteWhateverTheHeadClaims) {
    for (const int claimed : {0, 100, 0x3FFF}) {
        SCOPED_TRACE("claimed " + std::to_string(claimed));
        SonarState state = Holding(std::vector<uint8_t>(252, 0x11), 4);
        state.ReceiveBuffer[10] = claimed & 0x7F;
        state.ReceiveBuffer[11] = (claimed >> 7) & 0x7F;
        UnpackSamples(state);
        EXPECT_EQ(state.SampleLine[503], 16);
        EXPECT_EQ(state.SampleLine[504], Untouched);
    }
}

TEST(UnpackSamplesLength, FourBitFileDataStopsAtTheEndOfTheLine) {
    // A damaged file can announce 4-bit samples in a 513-byte record: 1000 samples.
    SonarState state = Holding(std::vector<uint8_t>(500, 0x22), 4, 0, DisplayMode::Sector, 99);
    UnpackSamples(state);
    EXPECT_EQ(state.SampleLine[98], Untouched);
    EXPECT_EQ(state.SampleLine[99], 32);
    EXPECT_EQ(state.SampleLine[SampleLineSize - 1], 32);
}

TEST(UnpackSamplesLength, UnusableLengthsAndWidthsUnpackNothing) {
    struct Case {
        const char* legend;
        int length, dataBits;
    } cases[] = {
        {"length below the frame", 12, 8}, {"negative length", -1, 8}, {"length past the buffer", MaxReplyBytes + 1, 8},
        {"12-bit samples", 513, 12},       {"no width", 513, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        SonarState state = Holding(std::vector<uint8_t>(500, 50), c.dataBits);
        state.ExpectedReturnLength = c.length;
        UnpackSamples(state);
        EXPECT_EQ(state.SampleLine[0], Untouched);
    }
}

}  // namespace
}  // namespace tidemar
