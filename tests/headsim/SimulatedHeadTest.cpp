// The whole head without a socket: reply type and length per block, head information,
// programming and addressing.
#include <gtest/gtest.h>

#include <vector>

#include "HeadSimTestSupport.h"
#include "SimulatedHead.h"

namespace tidemar::headsim {
namespace {

using test::DefaultBlock;

std::vector<uint8_t> Answer(SimulatedHead& head, const RawBlock& block) {
    std::vector<uint8_t> reply;
    EXPECT_TRUE(head.Answer(block, reply));
    return reply;
}

HeadConfig ScanConfig() {
    HeadConfig c;
    c.headScan = true;
    return c;
}

// Head information as the program decodes it.
struct Decoded {
    int serial, depth, headId, sensor;
    long shots;
};
Decoded Decode(const std::vector<uint8_t>& reply) {
    const uint8_t* nv = reply.data() + 12;
    Decoded d;
    d.serial = (nv[6] & 0x7F) + nv[7] * 128;
    d.depth = nv[10];
    d.headId = nv[11];
    d.sensor = nv[5];
    d.shots = (nv[13] | (nv[14] << 7) | (nv[15] << 14) | (static_cast<long>(nv[16]) << 21)) * 100L;
    return d;
}

TEST(SimulatedHead, ImagingReplyIsFramedWith500Samples) {
    SimulatedHead head(HeadConfig{});
    const auto reply = Answer(head, DefaultBlock());
    ASSERT_EQ(reply.size(), 513u);
    EXPECT_EQ(reply[0], 'B');
    EXPECT_EQ(reply[1], 'G');
    EXPECT_EQ(reply[2], 'L');
    EXPECT_EQ(reply[3], 17);
    EXPECT_EQ(reply[4], 0);
    EXPECT_EQ(reply[7], 50);
    EXPECT_EQ(test::DataByteCountOf(reply), 500);
    EXPECT_EQ(reply[512], 0xFC);
    EXPECT_EQ(test::HeadPositionOf(reply), 603);
    EXPECT_TRUE(test::SteppingUp(reply));
}

TEST(SimulatedHead, ProfileOnlyReplyCarriesTheRangeToTheQuay) {
    SimulatedHead head(HeadConfig{});
    RawBlock b = test::SectorBlock(60, 0, 0);  // straight ahead, held there
    b[22] = 1;
    const auto reply = Answer(head, b);
    ASSERT_EQ(reply.size(), 13u);
    EXPECT_EQ(reply[1], 'P');
    EXPECT_EQ(test::DataByteCountOf(reply), 0);
    EXPECT_EQ(reply[12], 0xFC);
    EXPECT_EQ(test::HeadPositionOf(reply), 600);
    // The quay wall crosses straight ahead 37.71 m out; 1 cm units at 50 m.
    EXPECT_NEAR(test::ProfileRangeOf(reply), 3771, 20);

    // The same ping as an imaging reply reports the same profile range.
    b[22] = 0;
    EXPECT_EQ(test::ProfileRangeOf(Answer(head, b)), test::ProfileRangeOf(reply));
}

TEST(SimulatedHead, ShortRangesReportProfileInTwoMillimetreUnits) {
    SimulatedHead head(HeadConfig{});
    // The nearest object sits 1.79 m out at about 26.6 degrees to starboard, its near
    // face 1.69 m out.
    RawBlock b = test::SectorBlock(60, 0, 0);
    b[3] = 3;
    b[11] = 69;  // 27 degrees
    b[22] = 1;
    for (int i = 0; i < 3; ++i) Answer(head, b);  // slew there
    const auto reply = Answer(head, b);
    ASSERT_EQ(test::HeadPositionOf(reply), 690);
    EXPECT_NEAR(test::ProfileRangeOf(reply), 1.689 / 0.002, 5);
}

TEST(SimulatedHead, HeadInformationReplyHas64Bytes) {
    HeadConfig config = ScanConfig();
    config.headId = 20;
    config.serialNumber = 4321;
    SimulatedHead head(config);
    const auto reply = Answer(head, DefaultBlock());
    ASSERT_EQ(reply.size(), 77u);
    EXPECT_EQ(reply[1], 'T');
    EXPECT_EQ(reply[3], 20);
    EXPECT_EQ(test::DataByteCountOf(reply), 64);
    EXPECT_EQ(reply[76], 0xFC);
    // EPROM 2.07 of 14 JUN 23, scanning sonar, fan beam, 3 : 1, 1000 m, rate code 0.
    const std::vector<uint8_t> first = {2, 7, 23, 6, 14, 0, 4321 & 0x7F, 4321 >> 7, 0, 0, 0, 20, 0};
    EXPECT_EQ(std::vector<uint8_t>(reply.begin() + 12, reply.begin() + 25), first);
    EXPECT_EQ(Decode(reply).shots, 250000);
    for (std::size_t i = 12 + 17; i < 76; ++i) EXPECT_EQ(reply[i], 0) << "memory byte " << i - 12;
}

TEST(SimulatedHead, HeadInformationIsNoPing) {
    SimulatedHead head(ScanConfig());
    const auto first = Answer(head, DefaultBlock());
    const auto second = Answer(head, DefaultBlock());
    EXPECT_EQ(test::HeadPositionOf(second), 600);
    EXPECT_EQ(Decode(second).shots, Decode(first).shots);

    head.SetHeadScan(false);
    for (int i = 0; i < 100; ++i) Answer(head, DefaultBlock());
    head.SetHeadScan(true);
    EXPECT_EQ(Decode(Answer(head, DefaultBlock())).shots, 250100) << "each ping is a shot";
}

TEST(SimulatedHead, IdChangeAndProgrammingShowInTheNextReply) {
    SimulatedHead head(ScanConfig());
    RawBlock change = DefaultBlock();
    change[2] = 16;  // addressed as the program's scan does
    change[16] = 0x80 | 25;
    EXPECT_EQ(Answer(head, change)[3], 25);

    RawBlock program = DefaultBlock();
    program[2] = 25;
    program[10] = 0x80;
    program[15] = 9999 & 0x7F;
    program[18] = (9999 >> 7) & 0x7F;
    program[21] = 1;
    Answer(head, program);
    const Decoded d = Decode(Answer(head, DefaultBlock()));
    EXPECT_EQ(d.serial, 9999);
    EXPECT_EQ(d.depth, 1);
    EXPECT_EQ(d.headId, 25);
}

TEST(SimulatedHead, ProgrammingNeedsHeadScanModeButIdChangeDoesNot) {
    SimulatedHead head(HeadConfig{});
    RawBlock b = DefaultBlock();
    b[10] = 0x80;  // an absorption of 1.28 dB/m to an imaging head
    b[15] = 5;
    const auto reply = Answer(head, b);
    EXPECT_EQ(reply[1], 'G');
    EXPECT_EQ(head.Info().serialNumber, DefaultSerialNumber);
    EXPECT_EQ(head.Info().depthRating, 0);

    b = DefaultBlock();
    b[16] = 0x80 | 31;
    EXPECT_EQ(Answer(head, b)[3], 31);
    b[16] = 0x80 | 15;  // not a head ID: ignored
    EXPECT_EQ(Answer(head, b)[3], 31);
}

TEST(SimulatedHead, AnswersAnyAddressUnlessStrict) {
    SimulatedHead lenient(HeadConfig{});
    RawBlock other = DefaultBlock();
    other[2] = 23;
    EXPECT_EQ(Answer(lenient, other)[3], 17) << "reports its own ID";

    HeadConfig strictConfig;
    strictConfig.strictId = true;
    SimulatedHead strict(strictConfig);
    std::vector<uint8_t> reply;
    EXPECT_FALSE(strict.Accepts(other));
    EXPECT_FALSE(strict.Answer(other, reply));
    // Silent blocks change nothing, not even the ID.
    other[16] = 0x80 | 20;
    EXPECT_FALSE(strict.Answer(other, reply));
    EXPECT_EQ(strict.Info().headId, 17);
    EXPECT_EQ(strict.Motion().position, 600);
    EXPECT_TRUE(strict.Answer(DefaultBlock(), reply));
}

TEST(SimulatedHead, PackedSamplesMatchTheEightBitLine) {
    HeadConfig config;
    config.seed = 11;
    SimulatedHead eight(config), four(config), sixteen(config);
    RawBlock b = DefaultBlock();
    const auto line = Answer(eight, b);
    b[20] = 4;
    const auto nibbles = Answer(four, b);
    b[19] = 50;
    b[20] = 16;
    const auto words = Answer(sixteen, b);
    ASSERT_EQ(nibbles.size(), 13u + 250);
    ASSERT_EQ(words.size(), 13u + 1000);
    EXPECT_EQ(test::DataByteCountOf(words), 1000);
    for (int i = 0; i < 500; ++i) {
        const uint8_t s = line[12 + i];
        const uint8_t packed = nibbles[12 + i / 2];
        // As the program unpacks: first sample from the low nibble, second from the high.
        const int unpacked4 = i % 2 == 0 ? (packed & 0x0F) << 4 : packed & 0xF0;
        ASSERT_EQ(unpacked4, s & 0xF0) << i;
        const unsigned word = words[12 + 2 * i] | (words[13 + 2 * i] << 8);
        ASSERT_EQ((word >> 6) & 0xFF, s) << i;
    }
}

TEST(SimulatedHead, StepsThroughTheSectorFromReplyToReply) {
    SimulatedHead head(HeadConfig{});
    const RawBlock b = test::SectorBlock(60, 2, 4);  // 6 degrees: 590..610, step 1.2 degrees
    std::vector<int> positions;
    std::vector<bool> up;
    for (int i = 0; i < 8; ++i) {
        const auto reply = Answer(head, b);
        positions.push_back(test::HeadPositionOf(reply));
        up.push_back(test::SteppingUp(reply));
    }
    EXPECT_EQ(positions, (std::vector<int>{604, 608, 610, 606, 602, 598, 594, 590}));
    EXPECT_EQ(up, (std::vector<bool>{true, true, true, false, false, false, false, false}));

    RawBlock reverse = b;
    reverse[5] = 0x40;
    EXPECT_EQ(test::HeadPositionOf(Answer(head, reverse)), 594);
    RawBlock hold = b;
    hold[5] = 0x01;
    EXPECT_EQ(test::HeadPositionOf(Answer(head, hold)), 594);
}

TEST(SimulatedHead, RealHeadTimeFollowsTheRange) {
    SimulatedHead head(HeadConfig{});
    Answer(head, test::RangeBlock(150));
    EXPECT_GE(head.LastAnswerSeconds(), 0.2);
    EXPECT_LT(head.LastAnswerSeconds(), 0.21);
    Answer(head, test::RangeBlock(1));
    EXPECT_LT(head.LastAnswerSeconds(), 0.01);
    head.SetHeadScan(true);
    Answer(head, DefaultBlock());
    EXPECT_LT(head.LastAnswerSeconds(), 0.01);
}

}  // namespace
}  // namespace tidemar::headsim
