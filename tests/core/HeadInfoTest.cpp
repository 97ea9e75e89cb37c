// Head-scan replies: the 64 bytes of head memory decoded into the shown texts, taken
// from valid replies only, the scanned head following the head that answers, and the
// blocks sent while the head answers head scans.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ReplyTestSupport.h"
#include "core/DispatchPing.h"
#include "core/HeadInfo.h"
#include "core/Reply.h"
#include "core/SwitchCommand.h"

namespace tidemar {
namespace {

using replytest::FramedReply;
using replytest::Receive;
using replytest::StateAt;

// Memory as a scanning sonar reports it: EPROM 1.04 of 19 Jan 2009, serial 1234,
// imaging, 3:1, 1000 m, sample rate 0, shot count 0x10 hundreds.
HeadNvRamBytesArray TypicalMemory() {
    HeadNvRamBytesArray nv{};
    const uint8_t head[17] = {1, 4, 9, 1, 19, 0, 1234 & 0x7F, 1234 >> 7, 0, 0, 0, 17, 0, 0x10, 0, 0, 0};
    std::copy(head, head + 17, nv.begin());
    return nv;
}

HeadInformationTexts TextsOf(const HeadNvRamBytesArray& nv) {
    return HeadInformationTextsOf(DecodeHeadInformation(nv));
}

TEST(HeadInformation, TypicalHeadReadsAsTheWindowShowsIt) {
    const HeadInformationTexts t = TextsOf(TypicalMemory());
    EXPECT_EQ(t.EpromRevision, "1.04 - 19JAN09");
    EXPECT_EQ(t.SerialNumber, "1234");
    EXPECT_EQ(t.SensorType, "Scanning Sonar");
    EXPECT_EQ(t.XdcrType, "Imaging - (Fan Beam)");
    EXPECT_EQ(t.DepthRating, "1000 Meters");
    EXPECT_EQ(t.GearRatio, "3 : 1");
    EXPECT_EQ(t.SampleRate, "2.666us , 13.333us");
    EXPECT_EQ(t.ShotCount, "1,600");
}

TEST(HeadInformation, MonthOutsideTheYearReadsAsJanuary) {
    HeadNvRamBytesArray nv = TypicalMemory();
    const struct {
        uint8_t month;
        const char* text;
    } cases[] = {{0, "1.04 - 19JAN09"},
                 {13, "1.04 - 19JAN09"},
                 {255, "1.04 - 19JAN09"},
                 {12, "1.04 - 19DEC09"},
                 {6, "1.04 - 19JUN09"}};
    for (const auto& c : cases) {
        nv[3] = c.month;
        EXPECT_EQ(TextsOf(nv).EpromRevision, c.text) << "month byte " << int(c.month);
    }
    nv[0] = 12;
    nv[1] = 0;
    nv[2] = 0;
    nv[3] = 3;
    nv[4] = 7;
    EXPECT_EQ(TextsOf(nv).EpromRevision, "12.00 - 07MAR00");
}

TEST(HeadInformation, SerialNumberTakesSevenBitsOfTheLowByte) {
    HeadNvRamBytesArray nv = TypicalMemory();
    nv[6] = 0x85;
    nv[7] = 0;  // the top bit of the low byte is not part of the number
    EXPECT_EQ(TextsOf(nv).SerialNumber, "0005");
    nv[6] = 0x0F;
    nv[7] = 0x4E;  // 9999
    EXPECT_EQ(TextsOf(nv).SerialNumber, "9999");
    nv[6] = 0x7F;
    nv[7] = 0xFF;  // the high byte counts whole
    EXPECT_EQ(TextsOf(nv).SerialNumber, "32767");
}

TEST(HeadInformation, SensorTypeDecidesWhatApplies) {
    HeadNvRamBytesArray nv = TypicalMemory();
    nv[5] = 1;  // azimuth drive: no transducer, sample rate or shot count, but a gear
    nv[9] = 2;
    HeadInformationTexts t = TextsOf(nv);
    EXPECT_EQ(t.SensorType, "Azimuth Drive");
    EXPECT_EQ(t.XdcrType, "n/a");
    EXPECT_EQ(t.SampleRate, "n/a");
    EXPECT_EQ(t.ShotCount, "n/a");
    EXPECT_EQ(t.GearRatio, "15 : 1");

    nv[5] = 2;  // echo sounder: no gear
    nv[8] = 1;
    t = TextsOf(nv);
    EXPECT_EQ(t.SensorType, "Echo Sounder");
    EXPECT_EQ(t.GearRatio, "n/a");
    EXPECT_EQ(t.XdcrType, "Profiling - (Pencil Beam)");
    EXPECT_EQ(t.ShotCount, "1,600");

    nv[5] = 3;
    nv[8] = 2;
    nv[9] = 1;
    t = TextsOf(nv);
    EXPECT_EQ(t.SensorType, "n/a");
    EXPECT_EQ(t.XdcrType, "Conical Beam");
    EXPECT_EQ(t.GearRatio, "6 : 1");
}

TEST(HeadInformation, CodesPastTheirTablesAreNotAvailable) {
    HeadNvRamBytesArray nv = TypicalMemory();
    nv[8] = 3;
    nv[9] = 3;
    nv[10] = 2;
    nv[12] = 1;
    const HeadInformationTexts t = TextsOf(nv);
    EXPECT_EQ(t.XdcrType, "n/a");
    EXPECT_EQ(t.GearRatio, "n/a");
    EXPECT_EQ(t.DepthRating, "n/a");
    EXPECT_EQ(t.SampleRate, "n/a");
    nv[10] = 1;
    EXPECT_EQ(TextsOf(nv).DepthRating, "3000 Meters");
}

TEST(HeadInformation, ShotCountIsHundredsLimitedToOneBillion) {
    HeadNvRamBytesArray nv = TypicalMemory();
    const struct {
        uint8_t b[4];
        uint64_t shots;
        const char* text;
    } cases[] = {
        {{0x10, 0, 0, 0}, 1600, "1,600"},
        {{0, 0, 0, 0}, 0, "0"},
        {{1, 0, 0, 0}, 100, "100"},
        {{0x2D, 0x60, 0x02, 0}, (0x2D | (0x60 << 7) | (0x02 << 14)) * 100ULL, "4,510,100"},
        {{0x7F, 0x7F, 0x7F, 0x7F}, MaxShotCount, "1,000,000,000"},
        {{0xFF, 0xFF, 0xFF, 0xFF}, MaxShotCount, "1,000,000,000"},  // whole bytes, no overflow
        {{0x00, 0x01, 0x31, 0x00}, ((0x01 << 7) | (0x31 << 14)) * 100ULL, "80,294,400"},
    };
    for (const auto& c : cases) {
        std::copy(c.b, c.b + 4, nv.begin() + 13);
        EXPECT_EQ(DecodeHeadInformation(nv).ShotCount, c.shots);
        EXPECT_EQ(TextsOf(nv).ShotCount, c.text);
    }
}

TEST(HeadInformation, GroupsOfThreeFromTheRight) {
    EXPECT_EQ(GroupedDecimal(0), "0");
    EXPECT_EQ(GroupedDecimal(123), "123");
    EXPECT_EQ(GroupedDecimal(1234), "1,234");
    EXPECT_EQ(GroupedDecimal(123456), "123,456");
    EXPECT_EQ(GroupedDecimal(1234500), "1,234,500");
    EXPECT_EQ(GroupedDecimal(1000000000), "1,000,000,000");
}

TEST(HeadInformation, AnyMemoryGivesTextsOfTheirShape) {
    // Whatever the head sends: a month name from the table, two-digit fields, a count
    // within the limit and no empty text.
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<uint8_t>(seed >> 24);
    };
    for (int round = 0; round < 5000; ++round) {
        HeadNvRamBytesArray nv{};
        for (uint8_t& b : nv) b = next();
        if (round % 3 == 0) nv[5] = next() % 3;
        const HeadInformation info = DecodeHeadInformation(nv);
        ASSERT_GE(info.EpromMonth, 1);
        ASSERT_LE(info.EpromMonth, 12);
        ASSERT_LE(info.ShotCount, MaxShotCount);
        const HeadInformationTexts t = HeadInformationTextsOf(info);
        for (const std::string* text : {&t.EpromRevision, &t.SerialNumber, &t.SensorType, &t.XdcrType, &t.DepthRating,
                                        &t.GearRatio, &t.SampleRate, &t.ShotCount})
            ASSERT_FALSE(text->empty());
        ASSERT_LE(t.ShotCount.size(), std::string("1,000,000,000").size());
        ASSERT_NE(t.EpromRevision.find(" - "), std::string::npos);
    }
}

// ---- replies ----------------------------------------------------------------------

std::vector<uint8_t> HeadScanReply(int headId, const HeadNvRamBytesArray& nv) {
    std::vector<uint8_t> reply = FramedReply('T', HeadNvRamBytes);
    reply[3] = static_cast<uint8_t>(headId);
    std::copy(nv.begin(), nv.end(), reply.begin() + ReplyHeaderBytes);
    return reply;
}

SonarState ScanningState() {
    SonarState state = StateAt(9, DisplayMode::Polar);
    state.HeadScanMode = 1;
    return state;
}

TEST(HeadScanReply, ValidReplyKeepsMemoryAndMarksTheAnsweringHead) {
    SonarState state = ScanningState();
    ManualClock clock;
    Receive(state, HeadScanReply(23, TypicalMemory()));
    ASSERT_EQ(ValidateReply(state, clock), 1);
    EXPECT_EQ(state.HeadNvRam, TypicalMemory());
    EXPECT_EQ(state.ReturnHeadID, 23);
    EXPECT_EQ(state.ScanHeadID, 23);
    EXPECT_EQ(state.LastHeader[1], 'T');
}

TEST(HeadScanReply, DamagedReplyLeavesTheLastMemory) {
    SonarState state = ScanningState();
    ManualClock clock;
    Receive(state, HeadScanReply(17, TypicalMemory()));
    ASSERT_EQ(ValidateReply(state, clock), 1);

    HeadNvRamBytesArray other{};
    other.fill(0x55);
    std::vector<uint8_t> damaged = HeadScanReply(20, other);
    damaged.back() = 0xFB;  // wrong end byte
    Receive(state, damaged);
    EXPECT_EQ(ValidateReply(state, clock), 0);
    EXPECT_EQ(state.HeadNvRam, TypicalMemory());
    EXPECT_EQ(state.ScanHeadID, 17);
}

TEST(HeadScanReply, AddressOutsideTheBusOrNoScanLeavesTheScannedHead) {
    SonarState state = ScanningState();
    ManualClock clock;
    Receive(state, HeadScanReply(40, TypicalMemory()));
    ASSERT_EQ(ValidateReply(state, clock), 1);
    EXPECT_EQ(state.ScanHeadID, 16);

    state.HeadScanMode = 0;  // a 'T' record met outside a scan
    Receive(state, HeadScanReply(20, TypicalMemory()));
    ASSERT_EQ(ValidateReply(state, clock), 1);
    EXPECT_EQ(state.ScanHeadID, 16);
    EXPECT_EQ(state.HeadNvRam, TypicalMemory());
}

class HeadScanLog : public DispatchTarget {
public:
    std::vector<std::string> Calls;
    void RefreshHeadScan() override { Calls.push_back("scan"); }
    void DrawPingIndicator(bool on) override { Calls.push_back(on ? "indicator*" : "indicator"); }
    void RefreshChangedReadouts() override { Calls.push_back("readouts"); }
    bool Recording() const override { return true; }
    void WriteRecord(const SonarState&) override { Calls.push_back("record"); }
};

TEST(HeadScanReply, DispatchRefreshesTheScanWindowAndStops) {
    SonarState state = ScanningState();
    ManualClock clock;
    HeadScanLog log;
    Receive(state, HeadScanReply(17, TypicalMemory()));
    EXPECT_EQ(DispatchPing(state, clock, log).PauseMilliseconds, 100);
    EXPECT_EQ(log.Calls, (std::vector<std::string>{"indicator*", "scan"}));

    // An ordinary image reply does not touch the scan window.
    log.Calls.clear();
    state.HeadScanMode = 0;
    Receive(state, FramedReply('G', 500));
    DispatchPing(state, clock, log);
    EXPECT_EQ(std::count(log.Calls.begin(), log.Calls.end(), "scan"), 0);
}

// ---- blocks sent during a scan -------------------------------------------------------

TEST(HeadScanBlocks, OrdinaryBlockNeverLooksLikeProgramming) {
    SonarState state = ScanningState();
    state.ConfigType = 0;
    state.Absorption = 0x80;
    EXPECT_EQ(PrepareSend(state)[10], 0x7F);
    EXPECT_EQ(state.ExpectedReturnLength, HeadScanReplyLength);
    // Outside the scan the absorption goes out as set.
    state.HeadScanMode = 0;
    EXPECT_EQ(PrepareSend(state)[10], 0x80);
    // And a real programming block keeps its mark.
    state.HeadScanMode = 1;
    state.HeadProgramRequest = 1;
    state.Absorption = 20;
    EXPECT_EQ(BuildHeadProgrammingCommand(state)[10], 0x80);
}

TEST(HeadScanBlocks, ProgrammingGoesToTheHeadThatAnswered) {
    SonarState state = ScanningState();
    ManualClock clock;
    state.MasterHeadID = 17;
    Receive(state, HeadScanReply(22, TypicalMemory()));
    ASSERT_EQ(ValidateReply(state, clock), 1);
    state.HeadIdChangeRequest = 1;
    state.NewHeadID = 25;
    const CommandBlock block = BuildHeadProgrammingCommand(state);
    EXPECT_EQ(block[2], 22);
    EXPECT_EQ(block[16], 25 | 0x80);
    EXPECT_EQ(state.MasterHeadID, 25);
    EXPECT_EQ(state.ScanHeadID, 25);
}

}  // namespace
}  // namespace tidemar
