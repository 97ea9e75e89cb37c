// The live ping cycle against scripted heads on loopback: the hand-off between the main
// thread and the link thread, reconnection, replies that go wrong, hold, and stopping.
#include <gtest/gtest.h>

#include <sys/socket.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

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
    std::vector<std::string> messages;  // "caption: text"
    std::thread::id messageThread;

    void SetUp() override {
        cycle.SetMessageSink([this](const std::string& caption, const std::string& text) {
            messages.push_back(caption + ": " + text);
            messageThread = std::this_thread::get_id();
        });
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
    FakeHead head("127.0.0.2", 4040,
                  [](int i, const std::vector<uint8_t>&) { return std::optional<HeadAnswer>(Answer(ReplyFor(i))); });
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

    FakeHead head("127.0.0.6", 4040,
                  [](int i, const std::vector<uint8_t>&) { return std::optional<HeadAnswer>(Answer(ReplyFor(i))); });
    ASSERT_TRUE(head.Start());
    ASSERT_TRUE(RunUntil([&] { return target.Plotted >= 3; }));
    EXPECT_TRUE(cycle.Connected());
}

TEST_F(CycleFixture, HoldStopsThePingsAndResumeRestartsThem) {
    FakeHead head("127.0.0.7", 4040,
                  [](int i, const std::vector<uint8_t>&) { return std::optional<HeadAnswer>(Answer(ReplyFor(i))); });
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

TEST(HeadAddress, ReadAsTheClassicParserReadsIt) {
    struct Case {
        const char* text;
        std::optional<uint32_t> address;
        const char* legend;
    };
    const Case cases[] = {
        {"127.0.0.1", 0x7F000001, "dotted quad"},
        {"127.1", 0x7F000001, "two parts: the last fills 24 bits"},
        {"127.65538", 0x7F010002, "a last part above 255"},
        {"127.0.000.8", 0x7F000008, "zero-padded zero"},
        {"127.0.0.010", 0x7F000008, "leading zero is octal"},
        {"127.0.0.0x1f", 0x7F00001F, "hex part"},
        {"0x7F.0X0.0.1", 0x7F000001, "hex, either case"},
        {"2130706433", 0x7F000001, "one decimal number"},
        {"017700000001", 0x7F000001, "one octal number"},
        {"127.0.0.1 x", 0x7F000001, "text after a blank is ignored"},
        {"127.0.0.000000000001", 0x7F000001, "20 characters"},
        {"127.0.0.0000000000001", 0x7F000000, "only 20 characters count"},
        {"127.0.0.08", std::nullopt, "8 is no octal digit"},
        {"127.0.0.256", std::nullopt, "part above 255"},
        {"127.16777216", std::nullopt, "last part above 24 bits"},
        {"127.0.0.1.", std::nullopt, "trailing dot"},
        {"127.0.0.1x", std::nullopt, "text right after the number"},
        {" 127.0.0.1", std::nullopt, "leading blank"},
        {"localhost", std::nullopt, "names are not looked up"},
        {"", std::nullopt, "empty"},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseHeadAddress(c.text), c.address) << c.legend << ": " << c.text;
}

TEST_F(CycleFixture, ClassicAddressFormsAreDialledAndUnreadableOnesNever) {
    FakeHead head("127.0.21.9", 4040,
                  [](int i, const std::vector<uint8_t>&) { return std::optional<HeadAnswer>(Answer(ReplyFor(i))); });
    ASSERT_TRUE(head.Start());
    std::atomic<int> sockets{0};
    timings.MakeSocket = [&sockets] {
        ++sockets;
        return socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    };

    state.IPAddress_Sonar1 = "127.0.21.09";
    cycle.Start(4040, timings);
    ASSERT_TRUE(RunUntil([&] { return target.Blinks >= 1; }));
    EXPECT_EQ(sockets, 0) << "an address no rule accepts is never dialled";

    state.IPAddress_Sonar1 = "127.0.21.011";
    cycle.Start(4040, timings);
    ASSERT_TRUE(RunUntil([&] { return target.Plotted >= 1; }));
}

TEST_F(CycleFixture, TriggeredHeadIsWaitedForAsLongAsItTakes) {
    // The first block is answered well after the receive time-out, as by a head that
    // waited for its trigger; the second is never answered.
    FakeHead head("127.0.21.10", 4040, [](int i, const std::vector<uint8_t>&) {
        if (i > 0) return std::optional<HeadAnswer>();
        HeadAnswer answer = Answer(ReplyFor(i));
        answer.DelayMs = 4 * 300;
        return std::optional<HeadAnswer>(answer);
    });
    ASSERT_TRUE(head.Start());
    state.IPAddress_Sonar1 = "127.0.21.10";
    state.ExternalTriggerControl = 1;
    timings.ReceiveTimeoutMs = 300;
    cycle.Start(4040, timings);
    ASSERT_TRUE(RunUntil([&] { return target.Plotted >= 1; }));
    // The next block goes out at once; its wait for the trigger is what Stop() ends.
    for (int i = 0; i < 100 && head.Pings() < 2; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(head.Pings(), 2);
    cycle.Poll();

    EXPECT_EQ(target.Plotted, 1);
    EXPECT_EQ(state.RecvErrorCount, 0);
    EXPECT_EQ(target.Erased, 1) << "connected once, never again";
    const auto before = std::chrono::steady_clock::now();
    cycle.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1)) << "stop while awaiting a trigger";
}

TEST_F(CycleFixture, SocketThatCannotBeMadeIsReportedOnceAndRetried) {
    FakeHead head("127.0.21.11", 4040,
                  [](int i, const std::vector<uint8_t>&) { return std::optional<HeadAnswer>(Answer(ReplyFor(i))); });
    ASSERT_TRUE(head.Start());
    std::atomic<int> calls{0};
    timings.MakeSocket = [&calls] {
        if (++calls <= 4) {
            errno = EMFILE;
            return -1;
        }
        return socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    };
    timings.RetryPauseMs = 20;
    state.IPAddress_Sonar1 = "127.0.21.11";
    cycle.Start(4040, timings);
    ASSERT_TRUE(RunUntil([&] { return target.Plotted >= 1; }));

    EXPECT_EQ(messages, std::vector<std::string>{"OpenTCPConnection(): socket() failed!"});
    EXPECT_EQ(messageThread, std::this_thread::get_id());
    EXPECT_GE(target.Blinks, 1) << "retried as for a head that refused";
}

TEST_F(CycleFixture, ThreadThatCannotBeStartedIsReportedAndNothingPings) {
    timings.MakeThread = [](const std::function<void()>&) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    };
    state.IPAddress_Sonar1 = "127.0.21.12";
    EXPECT_FALSE(cycle.Start(4040, timings));
    EXPECT_EQ(messages, std::vector<std::string>{"CreateThread Error!: Failed to create thread!"});
    EXPECT_FALSE(cycle.Running());
    cycle.Resume();
    cycle.Poll();
    cycle.Stop();

    timings.MakeThread = {};
    EXPECT_TRUE(cycle.Start(4040, timings)) << "a later start can still succeed";
    EXPECT_TRUE(cycle.Running());
}

TEST(LinkRetry, PauseDoublesWithEveryFailedExchangeUpToTheLongest) {
    struct Case {
        int RetryMs, MaxMs, Failures, PauseMs;
        const char* Legend;
    };
    const Case cases[] = {
        {250, 2000, 1, 250, "one drop: the probing pause"},
        {250, 2000, 2, 500, "a second one in a row: doubled"},
        {250, 2000, 3, 1000, "and again"},
        {250, 2000, 4, 2000, "up to the longest"},
        {250, 2000, 1000, 2000, "and never more"},
        {300, 1000, 3, 1000, "a longest that is no power of two"},
        {250, 100, 3, 250, "never shorter than the probing pause"},
    };
    for (const Case& c : cases) {
        LinkTimings timings;
        timings.RetryPauseMs = c.RetryMs;
        timings.MaxRetryPauseMs = c.MaxMs;
        EXPECT_EQ(RetryPauseAfter(c.Failures, timings), c.PauseMs) << c.Legend;
    }
}

// The link's default pauses against a head that drops connections. Each dial is a probe
// and then the connection, so the pause after a failed exchange is the time from one
// dial's second socket to the next dial's first.
struct DroppingHeadFixture : CycleFixture {
    using Steady = std::chrono::steady_clock;
    std::mutex socketsMutex;
    std::vector<Steady::time_point> sockets;

    void SetUp() override {
        CycleFixture::SetUp();
        timings.MakeSocket = [this] {
            std::lock_guard lock(socketsMutex);
            sockets.push_back(Steady::now());
            return socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        };
    }
    int Failures() const { return state.SendErrorCount + state.RecvErrorCount; }
    // Milliseconds between failed exchange k (from 0) and the next dial.
    std::vector<long long> PausesAfterFailures(int count) {
        std::lock_guard lock(socketsMutex);
        std::vector<long long> pauses;
        for (size_t k = 0; k < static_cast<size_t>(count) && 2 * k + 2 < sockets.size(); ++k)
            pauses.push_back(
                std::chrono::duration_cast<std::chrono::milliseconds>(sockets[2 * k + 2] - sockets[2 * k + 1]).count());
        return pauses;
    }
};

TEST_F(DroppingHeadFixture, HeadThatDropsEveryConnectionIsDialledLessAndLessOften) {
    FakeHead head("127.0.16.31", 4040, [](int, const std::vector<uint8_t>&) { return std::optional<HeadAnswer>(); });
    head.CloseAtOnce(true);
    ASSERT_TRUE(head.Start());
    state.IPAddress_Sonar1 = "127.0.16.31";
    cycle.Start(4040, timings);
    ASSERT_TRUE(RunUntil([&] { return Failures() >= 3 && PausesAfterFailures(3).size() == 3; }));
    const std::vector<long long> pauses = PausesAfterFailures(3);
    const long long least[] = {250, 500, 1000};
    for (size_t k = 0; k < pauses.size(); ++k) EXPECT_GE(pauses[k], least[k]) << "after failure " << k + 1;

    // Now in the longest pause: a stop does not wait for it.
    const auto before = Steady::now();
    cycle.Stop();
    EXPECT_LT(Steady::now() - before, std::chrono::seconds(1));
    EXPECT_EQ(target.Plotted, 0);
}

TEST_F(DroppingHeadFixture, ValidReplyMakesTheNextDropWaitOnlyTheShortestPause) {
    // Every second block is answered and then the connection closed.
    FakeHead head("127.0.16.32", 4040, [](int i, const std::vector<uint8_t>&) {
        HeadAnswer answer = Answer(ReplyFor(i));
        answer.Close = i % 2 == 1;
        return std::optional<HeadAnswer>(answer);
    });
    ASSERT_TRUE(head.Start());
    state.IPAddress_Sonar1 = "127.0.16.32";
    cycle.Start(4040, timings);
    ASSERT_TRUE(RunUntil([&] { return PausesAfterFailures(3).size() == 3 && target.Plotted >= 7; }));
    cycle.Stop();
    const std::vector<long long> pauses = PausesAfterFailures(3);
    // Growing pauses would be 250 + 500 + 1000 ms.
    EXPECT_LT(pauses[0] + pauses[1] + pauses[2], 1200) << pauses[0] << " " << pauses[1] << " " << pauses[2];
    for (long long pause : pauses) EXPECT_GE(pause, 250);
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
