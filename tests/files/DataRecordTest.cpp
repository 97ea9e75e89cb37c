// Records byte for byte, and the decoding rules playback applies to what it reads.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "FilesTestSupport.h"
#include "files/DataRecord.h"

namespace tidemar {
namespace {

using filestest::Bytes;
using filestest::HeadReply;

void Put(Bytes& b, size_t at, const std::string& text) { std::memcpy(b.data() + at, text.data(), text.size()); }

// A profile-only ping with every setting away from its default.
SonarState ProfilePing() {
    SonarState s;
    const Bytes reply = {'B', 'P', 'L', 17, 0, 0x58, 0x04, 50, 0x12, 0x09, 0, 0, 0xFC};
    std::copy(reply.begin(), reply.end(), s.ReceiveBuffer.begin());
    s.ExpectedReturnLength = 13;
    s.DataSizeCode = 0;
    s.DateText = "05-MAR-2024";
    s.TimeText = "10:15:07";
    s.Hundredths = 25;
    s.StepDirection = 1;
    s.Xdcr = Transducer::Up;
    s.GridMode = DisplayMode::SideScan;
    s.Speed = 3;
    s.Gain = 12;
    s.SectorSize = 90;
    s.Train = 270;
    s.Absorption = 20;
    s.ProfileGrid = 1;
    s.ZeroDown = 0;
    s.DataBits = 16;
    s.PulseLength = 150;
    s.Profile = 1;
    s.SoundVelocityMeters = 1500.0f;
    s.UserText = "Harbour survey";
    s.Frequency = 675;
    return s;
}

TEST(DataRecord, ProfilePingGivesTheKnownRecord) {
    Bytes want(128, 0);
    Put(want, 0, "K7T");
    want[3] = 0;                     // DataSizeCode
    want[4] = 0x00, want[5] = 0x80;  // S = 128
    want[6] = 0x00, want[7] = 0x0D;  // 13-byte reply
    Put(want, 8, "05-MAR-2024");
    Put(want, 20, "10:15:07");
    Put(want, 29, ".25");
    want[37] = 0x80 | 0x40 | (2 << 3) | 3;  // step direction, Xdcr up, SS, speed 3
    want[38] = 12;
    want[39] = 30;  // 90 / 3
    want[40] = 90;  // 270 / 3
    want[42] = 20;
    want[43] = 0x80 | 0x40 | (2 << 3) | 1;  // profile grid, zero up, 16 bits, format 1
    want[44] = 15;
    want[45] = 1;
    want[46] = 0xBA, want[47] = 0x98;  // 0x8000 | 15000
    Put(want, 48, "Harbour survey");
    want[80] = 0x02, want[81] = 0xA3;  // 675 kHz
    const Bytes reply = {'B', 'P', 'L', 17, 0, 0x58, 0x04, 50, 0x12, 0x09, 0, 0, 0xFC};
    std::copy(reply.begin(), reply.end(), want.begin() + 100);
    want[126] = 0x00, want[127] = 0x80;  // first record: its own size

    EXPECT_EQ(BuildDataRecord(ProfilePing(), 0), want);
}

TEST(DataRecord, ImagePingWithGpsCarriesBothHalvesAndTheBackLink) {
    SonarState s = ProfilePing();
    const Bytes reply = HeadReply('G', 500, 600);
    std::copy(reply.begin(), reply.end(), s.ReceiveBuffer.begin());
    s.ExpectedReturnLength = 513;
    s.DataSizeCode = 3;
    s.UseGPS = 1;
    s.GpsPositionText = " 49.16.451 N123.11.123 W";

    const Bytes r = BuildDataRecord(s, 640);
    ASSERT_EQ(r.size(), 768u);
    EXPECT_EQ(r[4], 0x03);
    EXPECT_EQ(r[5], 0x00);
    EXPECT_EQ(r[34], 1);
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), r.begin() + 100));
    EXPECT_EQ(std::string(r.begin() + 640, r.begin() + 651), "49.16.451 N");
    EXPECT_EQ(r[651], 0);
    EXPECT_EQ(std::string(r.begin() + 652, r.begin() + 664), "123.11.123 W");
    EXPECT_EQ(r[664], 0);
    EXPECT_EQ(r[766], 0x05);  // 640 + 768 = 1408
    EXPECT_EQ(r[767], 0x80);

    s.UseGPS = 0;
    EXPECT_EQ(BuildDataRecord(s, 0).size(), 640u);
}

TEST(DataRecord, TextsAreCutToTheirFields) {
    SonarState s = ProfilePing();
    s.DateText = "05-MAR-20240";        // a five-digit year
    s.Hundredths = 123;                 // ".123" cut to ".12"
    s.UserText = std::string(40, 'x');  // 32 bytes kept, 31 read back
    s.SoundVelocityMeters = 1500.1f;    // 15001 tenths, not 15000
    const Bytes r = BuildDataRecord(s, 0);
    EXPECT_EQ(std::string(r.begin() + 8, r.begin() + 20), std::string("05-MAR-2024\0", 12));
    EXPECT_EQ(std::string(r.begin() + 29, r.begin() + 33), std::string(".12\0", 4));
    EXPECT_EQ(r[79], 'x');
    EXPECT_EQ(r[80], 0x02);
    EXPECT_EQ(((r[46] & 0x7F) << 8) | r[47], 15001);
    EXPECT_EQ(DecodeRecordHeader(r.data()).UserText, std::string(31, 'x'));
}

TEST(DataRecord, StatesThatMakeNoRecordGiveNothing) {
    SonarState s = ProfilePing();
    s.DataSizeCode = 11;
    EXPECT_TRUE(BuildDataRecord(s, 0).empty()) << "size code outside the table";
    s.DataSizeCode = 0;
    s.ExpectedReturnLength = 27;
    EXPECT_TRUE(BuildDataRecord(s, 0).empty()) << "reply longer than a 128-byte record holds";
    s.DataSizeCode = 10;
    s.ExpectedReturnLength = 514;
    EXPECT_TRUE(BuildDataRecord(s, 0).empty()) << "reply longer than the receive buffer";
}

TEST(DataRecord, RecordSizesFollowTheTable) {
    EXPECT_EQ(RecordSizeFor(0, false), 128);
    EXPECT_EQ(RecordSizeFor(3, false), 640);
    EXPECT_EQ(RecordSizeFor(3, true), 768);
    EXPECT_EQ(RecordSizeFor(10, false), 8192);
    EXPECT_EQ(RecordSizeFor(-1, false), 0);
    EXPECT_EQ(RecordSizeFor(11, true), 0);
}

TEST(DataRecord, HeaderDecodesWhatWasWritten) {
    const Bytes r = BuildDataRecord(ProfilePing(), 0);
    const RecordHeader h = DecodeRecordHeader(r.data());
    EXPECT_EQ(h.Size, 128);
    EXPECT_EQ(h.ReplyLength, 13);
    EXPECT_EQ(h.DateText, "05-MAR-2024");
    EXPECT_EQ(h.TimeText, "10:15:07");
    EXPECT_EQ(h.PlayedSecond, 7);
    EXPECT_EQ(h.Hundredths, 25);
    EXPECT_EQ(h.HasGps, 0);
    EXPECT_EQ(h.StepDirection, 1);
    EXPECT_EQ(h.Xdcr, 1);
    EXPECT_EQ(h.GridMode, 2);
    EXPECT_EQ(h.Speed, 3);
    EXPECT_EQ(h.Gain, 12);
    EXPECT_EQ(h.SectorSize, 90);
    EXPECT_EQ(h.Train, 270);
    EXPECT_EQ(h.Absorption, 20);
    EXPECT_EQ(h.DataBits, 16);
    EXPECT_EQ(h.PulseLength, 150);
    EXPECT_EQ(h.Profile, 1);
    EXPECT_TRUE(h.HasSoundVelocity);
    EXPECT_FLOAT_EQ(h.SoundVelocity, 1500.0f);
    EXPECT_EQ(h.UserText, "Harbour survey");
    EXPECT_EQ(h.Frequency, 675);
    EXPECT_EQ(RecordBackLink(r.data(), 128), 128);
    EXPECT_FALSE(RecordGpsText(r.data(), 128, false));
}

TEST(DataRecord, OldRecordersThreeDigitYearIsRead) {
    struct Case {
        const char* legend;
        std::string field;  // bytes 8..19
        const char* date;
    } cases[] = {
        {"four-digit year", std::string("05-MAR-2024\0", 12), "05-MAR-2024"},
        {"century 19 and year 100", "05-MAR-19100", "05-MAR-2000"},
        {"century 19 and year 099", "31-DEC-19099", "31-DEC-1999"},
        {"century 20 and year 005", "01-JAN-20005", "01-JAN-2005"},
    };
    for (const Case& c : cases) {
        Bytes r = BuildDataRecord(ProfilePing(), 0);
        Put(r, 8, c.field);
        EXPECT_EQ(DecodeRecordHeader(r.data()).DateText, c.date) << c.legend;
    }
}

TEST(DataRecord, PlaybackRulesForOddFields) {
    Bytes r = BuildDataRecord(ProfilePing(), 0);
    r[29] = 0;
    r[80] = r[81] = 0;
    r[43] = (5 << 3) | 1;
    r[46] = 0x3A;  // velocity present bit clear
    r[48] = 0;
    const RecordHeader h = DecodeRecordHeader(r.data());
    EXPECT_EQ(h.Hundredths, 0) << "byte 29 = 0";
    EXPECT_EQ(h.Frequency, 675) << "frequency 0";
    EXPECT_EQ(h.DataBits, 0) << "unknown sample width";
    EXPECT_FALSE(h.HasSoundVelocity);
    EXPECT_EQ(h.UserText, "") << "byte 48 = 0";
}

TEST(DataRecord, DamagedHeadersAreRecognised) {
    struct Case {
        const char* legend;
        int size;
        int gps;
        int replyLength;
        RecordDamage damage;
    } cases[] = {
        {"intact", 128, 0, 13, RecordDamage::None},
        {"size not in the table", 129, 0, 13, RecordDamage::BadSize},
        {"GPS size without the GPS bit", 768, 0, 13, RecordDamage::BadSize},
        {"GPS bit on a 128-byte record", 128, 1, 13, RecordDamage::BadSize},
        {"384 bytes without GPS", 384, 0, 13, RecordDamage::None},
        {"384 bytes as 256 plus GPS", 384, 1, 13, RecordDamage::None},
        {"reply fills up to the back-link", 128, 0, 26, RecordDamage::None},
        {"reply runs into the back-link", 128, 0, 27, RecordDamage::BadReplyLength},
        {"longest reply in the largest record", 8192, 0, 513, RecordDamage::None},
        {"reply runs into the GPS text", 384, 1, 157, RecordDamage::BadReplyLength},
        {"reply longer than the receive buffer", 8192, 0, 514, RecordDamage::BadReplyLength},
        {"empty reply", 128, 0, 0, RecordDamage::None},
    };
    for (const Case& c : cases) {
        Bytes r = BuildDataRecord(ProfilePing(), 0);
        r[4] = static_cast<uint8_t>(c.size >> 8), r[5] = static_cast<uint8_t>(c.size);
        r[6] = static_cast<uint8_t>(c.replyLength >> 8), r[7] = static_cast<uint8_t>(c.replyLength);
        r[34] = static_cast<uint8_t>(c.gps);
        EXPECT_EQ(CheckRecordHeader(r.data()), c.damage) << c.legend;
    }
    Bytes r = BuildDataRecord(ProfilePing(), 0);
    r[1] = '8';
    EXPECT_EQ(CheckRecordHeader(r.data()), RecordDamage::NoMarker);
}

TEST(DataRecord, ReplyFieldsAreReadRaw) {
    const Bytes r = BuildDataRecord(ProfilePing(), 0);
    const RecordReply reply = DecodeRecordReply(r.data(), 13);
    EXPECT_EQ(reply.ReplyType, 'P');
    EXPECT_EQ(reply.ReturnHeadID, 17);
    EXPECT_EQ(reply.HeadPosition, 600);
    EXPECT_EQ(reply.ReturnRange, 50);
    EXPECT_EQ(reply.ProfileRange, 0x12 | (0x09 << 7));
    EXPECT_EQ(reply.DataByteCount, 0);
    const RecordReply cut = DecodeRecordReply(r.data(), 6);
    EXPECT_TRUE(cut.SerialStatus);
    EXPECT_FALSE(cut.HeadPosition) << "byte 6 is outside a 6-byte reply";
}

}  // namespace
}  // namespace tidemar
