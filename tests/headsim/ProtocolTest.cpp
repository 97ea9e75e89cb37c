// Reading command blocks and laying out replies, byte for byte.
#include <gtest/gtest.h>

#include "HeadSimTestSupport.h"
#include "Protocol.h"

namespace tidemar::headsim {
namespace {

using test::DefaultBlock;

TEST(BlockParsing, DefaultBlockGivesEveryField) {
    const PingRequest r = ParseBlock(DefaultBlock());
    EXPECT_EQ(r.addressedId, 17);
    EXPECT_EQ(r.rangeMeters, 50);
    EXPECT_FALSE(r.reverse);
    EXPECT_FALSE(r.hold);
    EXPECT_EQ(r.gain, 6);
    EXPECT_EQ(r.absorption, 20);
    EXPECT_EQ(r.trainCode, 60);
    EXPECT_EQ(r.sectorCode, 120);
    EXPECT_EQ(r.stepCode, 3);
    EXPECT_EQ(r.pulseLength, 10);
    EXPECT_EQ(r.layout.points, 500);
    EXPECT_EQ(r.layout.bits, 8);
    EXPECT_EQ(r.layout.bytes, 500);
    EXPECT_FALSE(r.profileOnly);
    EXPECT_FALSE(r.calibrate);
    EXPECT_EQ(r.frequencyKHz, 675);
    EXPECT_EQ(r.newHeadId, -1);
    EXPECT_FALSE(r.programming);
}

TEST(BlockParsing, FlagBytesAndCodes) {
    RawBlock b = DefaultBlock();
    b[5] = 0x41;  // reverse and hold
    b[22] = 1;    // profile only
    b[23] = 1;    // calibrate
    b[25] = 21;   // 280 kHz
    b[15] = 250;  // 25 m profile minimum range
    const PingRequest r = ParseBlock(b);
    EXPECT_TRUE(r.reverse);
    EXPECT_TRUE(r.hold);
    EXPECT_TRUE(r.profileOnly);
    EXPECT_TRUE(r.calibrate);
    EXPECT_EQ(r.frequencyKHz, 280);
    EXPECT_EQ(r.profileMinimumDecimetres, 250);
    b[25] = 185;
    EXPECT_EQ(ParseBlock(b).frequencyKHz, 1100);
    b[22] = 2;  // only 1 asks for profile only
    EXPECT_FALSE(ParseBlock(b).profileOnly);
}

TEST(BlockParsing, DataLayoutFollowsBytes19And20) {
    struct Case {
        int pointsByte, bitsByte, points, bits, bytes;
        const char* legend;
    };
    const Case cases[] = {
        {50, 8, 500, 8, 500, "the program's live layout"},
        {50, 4, 500, 4, 250, "two samples a byte"},
        {25, 16, 250, 16, 500, "two bytes a sample"},
        {51, 4, 510, 4, 255, "odd sample count rounds the bytes up"},
        {0, 8, 500, 8, 500, "no points falls back to 500"},
        {101, 8, 500, 8, 500, "more than 1000 points falls back to 500"},
        {50, 7, 500, 8, 500, "an unknown width falls back to 8 bits"},
        {100, 16, 1000, 16, 2000, "largest layout"},
    };
    for (const Case& c : cases) {
        const DataLayout layout = LayoutFor(c.pointsByte, c.bitsByte);
        EXPECT_EQ(layout.points, c.points) << c.legend;
        EXPECT_EQ(layout.bits, c.bits) << c.legend;
        EXPECT_EQ(layout.bytes, c.bytes) << c.legend;
    }
}

TEST(BlockParsing, FramingNeedsStartTypeAndEnd) {
    RawBlock b = DefaultBlock();
    EXPECT_TRUE(IsFramed(b));
    b[0] = 0xFF;
    EXPECT_FALSE(IsFramed(b));
    b = DefaultBlock();
    b[1] = 'd';
    EXPECT_FALSE(IsFramed(b));
    b = DefaultBlock();
    b[26] = 0xFC;
    EXPECT_FALSE(IsFramed(b));
}

TEST(BlockParsing, HeadIdChangeInByte16) {
    RawBlock b = DefaultBlock();
    b[16] = 0x80 | 20;
    EXPECT_EQ(ParseBlock(b).newHeadId, 20);
    b[16] = 3;  // external trigger control, no change
    EXPECT_EQ(ParseBlock(b).newHeadId, -1);
}

TEST(BlockParsing, ProgrammingBlockCarriesSerialAndDepth) {
    RawBlock b = DefaultBlock();
    b[10] = 0x80;
    b[15] = 4321 & 0x7F;
    b[18] = (4321 >> 7) & 0x7F;
    b[21] = 1;
    const PingRequest r = ParseBlock(b);
    EXPECT_TRUE(r.programming);
    EXPECT_EQ(r.programSerialNumber, 4321);
    EXPECT_EQ(r.programDepthRating, 1);
}

TEST(BlockParsing, AbsorptionOf128IsNotProgrammingWhenTheOtherBytesCannotBe) {
    RawBlock b = DefaultBlock();
    b[10] = 0x80;
    b[15] = 200;  // 20 m profile minimum range: more than 7 bits
    EXPECT_FALSE(ParseBlock(b).programming);
    EXPECT_EQ(ParseBlock(b).absorption, 128);
    b[15] = 0;
    b[21] = 0x10;
    EXPECT_FALSE(ParseBlock(b).programming);
}

TEST(ReplyLayout, HeaderBytesForAnImagingReply) {
    ReplyHeader h;
    h.type = 'G';
    h.headId = 17;
    h.position = 600;
    h.steppingUp = true;
    h.rangeByte = 50;
    h.profileRange = 1234;
    std::vector<uint8_t> data(500, 0x33);
    std::vector<uint8_t> reply;
    BuildReply(h, data.data(), data.size(), reply);
    ASSERT_EQ(reply.size(), 513u);
    const std::vector<uint8_t> header = {'B',  'G', 'L',         0x11,      0x00,       0x58,
                                         0x44, 50,  1234 & 0x7F, 1234 >> 7, 500 & 0x7F, 500 >> 7};
    EXPECT_EQ(std::vector<uint8_t>(reply.begin(), reply.begin() + 12), header);
    EXPECT_EQ(reply[12], 0x33);
    EXPECT_EQ(reply[511], 0x33);
    EXPECT_EQ(reply[512], 0xFC);
}

TEST(ReplyLayout, PositionAndDirectionShareByte6) {
    ReplyHeader h;
    h.position = 1199;
    h.steppingUp = false;
    std::vector<uint8_t> reply;
    BuildReply(h, nullptr, 0, reply);
    ASSERT_EQ(reply.size(), 13u);
    EXPECT_EQ(reply[5], 1199 & 0x7F);
    EXPECT_EQ(reply[6], 1199 >> 7);
    EXPECT_EQ(test::HeadPositionOf(reply), 1199);
    EXPECT_FALSE(test::SteppingUp(reply));
    EXPECT_EQ(reply[10], 0);
    EXPECT_EQ(reply[11], 0);
    EXPECT_EQ(reply[12], 0xFC);
}

TEST(ReplyLayout, ProfileRangeUnitsAndLongRanges) {
    EXPECT_EQ(ProfileRangeCode(0.0, 50), 0);
    EXPECT_EQ(ProfileRangeCode(1.0, 4), 500);    // 2 mm units below 5 m
    EXPECT_EQ(ProfileRangeCode(1.0, 5), 100);    // 1 cm units from 5 m on
    EXPECT_EQ(ProfileRangeCode(0.0001, 50), 1);  // an echo is never reported as none
    EXPECT_EQ(ProfileRangeCode(180.0, 200), 18000);

    // 180 m does not fit 14 bits; byte 9 carries all the high bits.
    ReplyHeader h;
    h.profileRange = 18000;
    std::vector<uint8_t> reply;
    BuildReply(h, nullptr, 0, reply);
    EXPECT_EQ(test::ProfileRangeOf(reply), 18000);
    h.profileRange = 16383;
    BuildReply(h, nullptr, 0, reply);
    EXPECT_EQ(reply[8], 0x7F);
    EXPECT_EQ(reply[9], 0x7F);
}

}  // namespace
}  // namespace tidemar::headsim
