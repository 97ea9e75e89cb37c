// The live ping cycle against scripted heads on loopback: the hand-off between the main
// thread and the link thread, reconnection, replies that go wrong, hold, and stopping.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "FakeHead.h"
#include "ReplyTestSupport.h"
#include "link/PingCycle.h"

namespace tidemar {
namespace {

using linktest::FakeHead;
using linktest::HeadAnswer;
using replytest::FramedReply;

class CountingTarget : public DispatchTarget {
public:
    const SonarState* State = nullptr;
    int Plotted = 0;
    int Blinks = 0;
    int Erased = 0;
    std::vector<int> Positions;
    void PlotSectorPing() override {
        ++Plotted;
        Positions.push_back(State->HeadPosition);
    }
    void BlinkNoConnection(bool toggle) override { toggle ? ++Blinks : ++Erased; }
};

// A reply for ping i: the head position tells the pings apart.
std::vector<uint8_t> ReplyFor(int i) {
    std::vector<uint8_t> reply = FramedReply('G', 500, 30);
    const int position = 100 + i;
    reply[5] = position & 0x7F;
    reply[6] = (position >> 7) & 0x3F;
    return reply;
}

HeadAnswer Answer(std::vector<uint8_t> bytes) {
    HeadAnswer answer;
    answer.Bytes = std::move(bytes);
    return answer;
}

struct CycleFixture : ::testing::Test {
    SonarState state;
    SystemClock clock;
    CountingTarget target;
    std::mutex mutex;
    std::condition_variable woken;
    bool pending = false;
    PingCycle cycle{state, clock, target, [this] {
                        std::lock_guard lock(mutex);
                        pending = true;
                        woken.notify_all();
                    }};
    LinkTimings timings;

    void SetUp() override {
        target.State = &state;
        state.ConfigType = 0;
        state.GridMode = DisplayMode::Sector;
        state.SectorSize = 90;
        SetRange(state, 9);
        state.PixelZoom = 0;
        timings.ReceiveTimeoutMs = 300;
        timings.ProbeTimeoutMs = 200;
    }

    // Runs the main thread's side until the condition holds or the time is up.
    template <typename Condition>
    bool RunUntil(Condition done, int timeoutMs = 5000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!done()) {
            {
                std::unique_lock lock(mutex);
                if (!woken.wait_until(lock, deadline, [this] { return pending; })) return done();
                pending = false;
            }
            cycle.Poll();
        }
        return true;
    }
};

TEST_F(CycleFixture, ExchangesBlocksAndDispatchesEveryReply) {
    FakeHead head("127.0.0.2", 4040, [](int i, const std::vector<uint8_t>&) {
        return std::optional<HeadAnswer>(Answer(ReplyFor(i)));
    });
    ASSERT_TRUE(head.Start());
    state.IPAddress_Sonar1 = "127.0.0.2";
    cycle.Start(4040, timings);
    ASSERT_TRUE(RunUntil([&] { return target.Plotted >= 20; }));
    cycle.Stop();

    EXPECT_GE(target.Erased, 1);  // the status box is cleared on connecting
    const auto blocks = head.Blocks();
    ASSERT_GE(blocks.size(), 20u);
    SonarState expected = state;
    const CommandBlock block = PrepareSend(expected);
    EXPECT_EQ(blocks[0], std::vector<uint8_t>(block.begin(), block.end()));
    EXPECT_EQ(state.HeadPosition, 100 + target.Plotted - 1);  // the newest reply, in order
}

TEST_F(CycleFixture, ReconnectsAfterTheHeadClosesAndNeverRepeatsAReply) {
    // Every third block gets its reply and then the connection is closed; every fifth gets
    // no reply at all, just the close.
    FakeHead head("127.0.0.3", 4040, [](int i, const std::vector<uint8_t>&) {
        HeadAnswer answer;
        if (i % 5 != 4) answer.Bytes = ReplyFor(i);
        answer.Close = i % 3 == 2 || i % 5 == 4;
        return std::optional<HeadAnswer>(answer);
    });
    ASSERT_TRUE(head.Start());
    state.IPAddress_Sonar1 = "127.0.0.3";
    cycle.Start(4040, timings);
    ASSERT_TRUE(RunUntil([&] { return head.Pings() >= 15 && target.Plotted >= 10; }));
    cycle.Stop();

    EXPECT_GE(head.Connections(), 3);
    // Pings the head answered were dispatched once each; the unanswered ones not at all.
    int answered = 0;
    for (int i = 0; i < head.Pings(); ++i) answered += i % 5 != 4;
    EXPECT_LE(target.Plotted, answered);
    EXPECT_GE(target.Plotted, answered - 1);  // the last one may still have been in flight
    EXPECT_GE(state.RecvErrorCount, 1);
}

TEST_F(CycleFixture, ShortOrLateRepliesAreRejectedAndTheStreamRecovers) {
    // Ping 1 gets a cut-off reply; ping 3 gets its reply in two parts far apart, so its
    // tail arrives after the program gave up on it and must not shift the next reply.
    FakeHead head("127.0.0.4", 4040, [](int i, const std::vector<uint8_t>&) {
        std::vector<uint8_t> reply = ReplyFor(i);
        HeadAnswer answer = Answer(reply);
        if (i == 1) answer.Bytes.resize(100);
        if (i == 3) {
            answer.Bytes.assign(reply.begin(), reply.begin() + 200);
            answer.Tail.assign(reply.begin() + 200, reply.end());
            answer.TailDelayMs = 60;
        }
        return std::optional<HeadAnswer>(answer);
    });
    ASSERT_TRUE(head.Start());
    state.IPAddress_Sonar1 = "127.0.0.4";
    cycle.Start(4040, timings);
    ASSERT_TRUE(RunUntil([&] { return target.Plotted >= 6; }));
    cycle.Stop();
    ASSERT_GE(target.Positions.size(), 6u);
    const std::vector<int> expected = {100, 102, 104, 105, 106, 107};
    EXPECT_EQ(std::vector<int>(target.Positions.begin(), target.Positions.begin() + 6), expected);
    EXPECT_EQ(state.RecvErrorCount, 0);  // cut short is invalid, not a link failure
}

TEST_F(CycleFixture, SilentHeadCountsAReceiveErrorAndStopStillReturns) {
    FakeHead head("127.0.0.5", 4040, [](int, const std::vector<uint8_t>&) {
        return std::optional<HeadAnswer>();  // connection left open, nothing said
    });
    ASSERT_TRUE(head.Start());
    state.IPAddress_Sonar1 = "127.0.0.5";
    cycle.Start(4040, timings);
    ASSERT_TRUE(RunUntil([&] { return state.RecvErrorCount >= 1; }));
    EXPECT_EQ(target.Plotted, 0);
    // Stop while the next receive is waiting on the silent head.
    ASSERT_TRUE(RunUntil([&] { return head.Pings() >= 2; }));
    const auto before = std::chrono::steady_clock::now();
    cycle.Stop();
    const auto took = std::chrono::steady_clock::now() - before;
    EXPECT_LT(took, std::chrono::seconds(2)) << "stop must not wait for the head";
}

TEST_F(CycleFixture, UnreachableHeadBlinksThenConnectsWhenItComes) {
    state.IPAddress_Sonar1 = "127.0.0.6";
    cycle.Start(4040, timings);
    ASSERT_TRUE(RunUntil([&] { return target.Blinks >= 1; }));
    EXPECT_FALSE(cycle.Connected());

    FakeHead head("127.0.0.6", 4040, [](int i, const std::vector<uint8_t>&) {
        return std::optional<HeadAnswer>(Answer(ReplyFor(i)));
    });
    ASSERT_TRUE(head.Start());
    ASSERT_TRUE(RunUntil([&] { return target.Plotted >= 3; }));
    EXPECT_TRUE(cycle.Connected());
}

TEST_F(CycleFixture, HoldStopsThePingsAndResumeRestartsThem) {
    FakeHead head("127.0.0.7", 4040, [](int i, const std::vector<uint8_t>&) {
        return std::optional<HeadAnswer>(Answer(ReplyFor(i)));
    });
    ASSERT_TRUE(head.Start());
    state.IPAddress_Sonar1 = "127.0.0.7";
    cycle.Start(4040, timings);
    ASSERT_TRUE(RunUntil([&] { return target.Plotted >= 2; }));
    state.HoldActive = 1;
    RunUntil([] { return false; }, 300);  // the exchange in flight completes, then nothing
    const int held = head.Pings();
    RunUntil([] { return false; }, 300);
    EXPECT_EQ(head.Pings(), held);

    state.HoldActive = 0;
    cycle.Resume();
    ASSERT_TRUE(RunUntil([&] { return head.Pings() >= held + 3; }));
}

TEST(LinkErrors, CountersWrapAfterOneHundredThousand) {
    int counter = 100000;
    CountLinkError(counter);
    EXPECT_EQ(counter, 100001);
    CountLinkError(counter);
    EXPECT_EQ(counter, 0);
}

}  // namespace
}  // namespace tidemar
