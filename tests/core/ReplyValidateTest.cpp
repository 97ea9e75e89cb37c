// Framing of head replies: what is accepted, and that a rejected reply leaves every
// decoded field, the samples and the time stamp exactly as they were.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ReplyTestSupport.h"
#include "core/Reply.h"

namespace tidemar {
namespace {

using replytest::FramedReply;
using replytest::Receive;
using replytest::StateAt;

// Everything a reply may change, so a test can show that nothing changed.
struct ReplyFields {
    std::array<uint8_t, 12> LastHeader;
    int LastTermByte, ReturnHeadID, SerialStatus, HeadPosition, LastHeadPosition;
    int StepDirection, DrawDirection, ReturnRange, ProfileRange, DataByteCount;
    int PulseBlankSamples, ProfileSample, DisplaySpeed, Range;
    float HeadAngleRad, HeadAngleDeg;
    std::array<uint8_t, SampleLineSize> SampleLine;
    int64_t RepRateLastTick;
    int RepRateCount;
    std::string RepRateText, TimestampText;
    int ClockSecond;

    explicit ReplyFields(const SonarState& s)
        : LastHeader(s.LastHeader),
          LastTermByte(s.LastTermByte),
          ReturnHeadID(s.ReturnHeadID),
          SerialStatus(s.SerialStatus),
          HeadPosition(s.HeadPosition),
          LastHeadPosition(s.LastHeadPosition),
          StepDirection(s.StepDirection),
          DrawDirection(s.DrawDirection),
          ReturnRange(s.ReturnRange),
          ProfileRange(s.ProfileRange),
          DataByteCount(s.DataByteCount),
          PulseBlankSamples(s.PulseBlankSamples),
          ProfileSample(s.ProfileSample),
          DisplaySpeed(s.DisplaySpeed),
          Range(s.Range),
          HeadAngleRad(s.HeadAngleRad),
          HeadAngleDeg(s.HeadAngleDeg),
          SampleLine(s.SampleLine),
          RepRateLastTick(s.RepRateLastTick),
          RepRateCount(s.RepRateCount),
          RepRateText(s.RepRateText),
          TimestampText(s.TimestampText),
          ClockSecond(s.ClockSecond) {}
    bool operator==(const ReplyFields&) const = default;
};

// A state that has decoded one good ping (head at 700, samples of 40) so that a rejected
// reply has something to disturb.
SonarState AfterOneGoodPing(ManualClock& clock) {
    SonarState state = StateAt(9, DisplayMode::Sector);
    auto good = FramedReply('G', 500, 40);
    good[5] = 0x3C;  // 700 = 0x3C | 5 << 7
    good[6] = 0x05;
    Receive(state, good);
    EXPECT_EQ(ValidateReply(state, clock), 1);
    EXPECT_EQ(state.HeadPosition, 700);
    clock.Advance(1500);
    return state;
}

struct FramingCase {
    const char* legend;
    std::function<void(SonarState&)> damage;  // applied after a good 'G' reply is received
};

TEST(ReplyFraming, RejectedRepliesChangeNothing) {
    const FramingCase cases[] = {
        {"wrong start byte", [](SonarState& s) { s.ReceiveBuffer[0] = 'A'; }},
        {"type other than the one asked for", [](SonarState& s) { s.ReceiveBuffer[1] = 'P'; }},
        {"asked for 'P', got 'G'", [](SonarState& s) { s.ReplyType = 'P'; }},
        {"no 'L' in byte 2", [](SonarState& s) { s.ReceiveBuffer[2] = 'K'; }},
        {"end byte 0xFB", [](SonarState& s) { s.ReceiveBuffer[512] = 0xFB; }},
        {"end byte one place early",
         [](SonarState& s) {
             s.ReceiveBuffer[511] = 0xFC;
             s.ReceiveBuffer[512] = 0;
         }},
        {"expected length shorter than the frame", [](SonarState& s) { s.ExpectedReturnLength = 12; }},
        {"expected length zero", [](SonarState& s) { s.ExpectedReturnLength = 0; }},
        {"expected length negative", [](SonarState& s) { s.ExpectedReturnLength = -513; }},
        {"expected length past the buffer", [](SonarState& s) { s.ExpectedReturnLength = 514; }},
        {"expected length far past the buffer", [](SonarState& s) { s.ExpectedReturnLength = 1 << 30; }},
        {"all zero", [](SonarState& s) { s.ReceiveBuffer.fill(0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        ManualClock clock;
        clock.Time = {2024, 3, 7, 9, 5, 3, 456};
        SonarState state = AfterOneGoodPing(clock);
        Receive(state, FramedReply('G', 500, 90));
        state.ReceiveBuffer[5] = 0x00;  // would move the head to 0
        state.ReceiveBuffer[6] = 0x00;
        c.damage(state);
        const ReplyFields before(state);
        bool secondChanged = true;
        EXPECT_EQ(ValidateReply(state, clock, &secondChanged), 0);
        EXPECT_EQ(state.PingValid, 0);
        EXPECT_FALSE(secondChanged);
        EXPECT_TRUE(ReplyFields(state) == before);
    }
}

TEST(ReplyFraming, AcceptsEveryReplyKindAtItsLength) {
    struct Case {
        uint8_t type;
        int dataBytes;
        int runMode;
    } cases[] = {
        {'G', 500, DataSource::Head}, {'G', 252, DataSource::File}, {'P', 0, DataSource::Head},
        {'T', 64, DataSource::Head},  {'M', 500, DataSource::File},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(1, static_cast<char>(c.type)) + " with " + std::to_string(c.dataBytes) +
                     " data bytes");
        ManualClock clock;
        SonarState state = StateAt(9, DisplayMode::Sector);
        state.RunMode = c.runMode;
        auto reply = FramedReply(c.type, c.dataBytes);
        reply[3] = 23;
        Receive(state, reply);
        state.ReceiveBuffer[reply.size()] = 0xAA;  // stale bytes after the reply
        EXPECT_EQ(ValidateReply(state, clock), 1);
        EXPECT_EQ(state.PingValid, 1);
        EXPECT_EQ(state.ReturnHeadID, 23);  // decoded
        EXPECT_EQ(state.LastTermByte, 0xFC);
    }
}

TEST(ReplyFraming, UnknownTypeIsValidButNotDecoded) {
    ManualClock clock;
    SonarState state = StateAt(9, DisplayMode::Sector);
    auto reply = FramedReply('Q', 0);
    reply[3] = 23;
    Receive(state, reply);
    EXPECT_EQ(ValidateReply(state, clock), 1);
    EXPECT_EQ(state.PingValid, 1);
    EXPECT_EQ(state.ReturnHeadID, 0);
    EXPECT_EQ(state.LastHeader[0], 0);
}

TEST(ReplyFraming, GoodReplyAfterABadOneIsValidAgain) {
    ManualClock clock;
    SonarState state = AfterOneGoodPing(clock);
    Receive(state, FramedReply('G', 500));
    state.ReceiveBuffer[0] = 0;
    EXPECT_EQ(ValidateReply(state, clock), 0);
    Receive(state, FramedReply('G', 500));
    EXPECT_EQ(ValidateReply(state, clock), 1);
    EXPECT_EQ(state.PingValid, 1);
    EXPECT_EQ(state.HeadPosition, 600);
}

TEST(ReplyTimeStamp, RenewedForLiveRepliesOnly) {
    ManualClock clock;
    clock.Time = {2024, 3, 7, 9, 5, 3, 456};

    SonarState live = StateAt(9, DisplayMode::Sector);
    Receive(live, FramedReply('G', 500));
    bool secondChanged = false;
    EXPECT_EQ(ValidateReply(live, clock, &secondChanged), 1);
    EXPECT_TRUE(secondChanged);
    EXPECT_EQ(live.TimestampText, "07-MAR-2024  09:05:03.45");
    clock.Advance(100);
    EXPECT_EQ(ValidateReply(live, clock, &secondChanged), 1);
    EXPECT_FALSE(secondChanged);  // same second
    EXPECT_EQ(live.TimestampText, "07-MAR-2024  09:05:03.55");

    // Played records carry their own time; the clock is not read.
    SonarState played = StateAt(9, DisplayMode::Sector);
    played.RunMode = DataSource::File;
    played.TimestampText = "from the record";
    Receive(played, FramedReply('G', 500));
    EXPECT_EQ(ValidateReply(played, clock, &secondChanged), 1);
    EXPECT_FALSE(secondChanged);
    EXPECT_EQ(played.TimestampText, "from the record");
    EXPECT_EQ(played.ClockSecond, -1);
}

}  // namespace
}  // namespace tidemar
