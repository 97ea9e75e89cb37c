// The real binary on loopback: replies per type, the log, programming, clients one
// after another, junk input, signals and the command line.
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Random.h"
#include "RunTestSupport.h"

namespace tidemar::headsim::test {
namespace {

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string TempDir() {
    char name[] = "/tmp/headsim-test-XXXXXX";
    const char* made = mkdtemp(name);
    return made ? made : "/tmp";
}

TEST_F(HeadSimRun, AnswersEachBlockWithTheReplyItAsksFor) {
    StartHead("127.0.0.50");
    EXPECT_EQ(head_.FirstLine(), "tidemar-headsim: listening on 127.0.0.50:" + std::to_string(head_.Port()));
    Client client;
    Connect(client);
    EXPECT_TRUE(IsReply(client.Exchange(Bytes(DefaultBlock()), 513), 'G', 513));
    RawBlock profile = DefaultBlock();
    profile[22] = 1;
    const auto p = client.Exchange(Bytes(profile), 13);
    EXPECT_TRUE(IsReply(p, 'P', 13));
    EXPECT_GT(ProfileRangeOf(p), 0);
    // Back to back, as the program pings.
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(IsReply(client.Exchange(Bytes(DefaultBlock()), 513), 'G', 513)) << "ping " << i;
    }
    ExpectCleanStop();
}

TEST_F(HeadSimRun, HeadScanRepliesShowProgramming) {
    StartHead("127.0.0.51", {"--head-scan", "--head-id", "20", "--serial", "4321"});
    Client client;
    Connect(client);
    auto t = client.Exchange(Bytes(DefaultBlock()), 77);
    ASSERT_TRUE(IsReply(t, 'T', 77));
    EXPECT_EQ(t[3], 20);
    EXPECT_EQ((t[12 + 6] & 0x7F) + t[12 + 7] * 128, 4321);

    RawBlock change = DefaultBlock();
    change[2] = 16;
    change[16] = 0x80 | 25;
    t = client.Exchange(Bytes(change), 77);
    ASSERT_TRUE(IsReply(t, 'T', 77));
    EXPECT_EQ(t[3], 25);

    RawBlock program = DefaultBlock();
    program[2] = 25;
    program[10] = 0x80;
    program[15] = 77 & 0x7F;
    program[18] = 0;
    program[21] = 1;
    ASSERT_TRUE(IsReply(client.Exchange(Bytes(program), 77), 'T', 77));
    t = client.Exchange(Bytes(DefaultBlock()), 77);
    ASSERT_TRUE(IsReply(t, 'T', 77));
    EXPECT_EQ(t[3], 25);
    EXPECT_EQ((t[12 + 6] & 0x7F) + t[12 + 7] * 128, 77);
    EXPECT_EQ(t[12 + 10], 1) << "3000 m rating";
    ExpectCleanStop();
}

TEST_F(HeadSimRun, LogHoldsEveryBlockAsOneHexLine) {
    const std::string dir = TempDir();
    const std::string log = dir + "/blocks.log";
    StartHead("127.0.0.52", {"--log", log});
    Client client;
    Connect(client);
    ASSERT_TRUE(IsReply(client.Exchange(Bytes(DefaultBlock()), 513), 'G', 513));
    ASSERT_TRUE(IsReply(client.Exchange(Bytes(RangeBlock(10, 40)), 513), 'G', 513));
    std::vector<uint8_t> junkThenBlock = {0x01, 0x02, 0x03};
    const auto block = Bytes(DefaultBlock());
    junkThenBlock.insert(junkThenBlock.end(), block.begin(), block.end());
    ASSERT_TRUE(IsReply(client.Exchange(junkThenBlock, 513), 'G', 513));

    const std::string defaultLine = "FE 44 11 32 00 00 00 00 06 01 14 3C 78 03 0A 00 00 00 00 32 08 00 00 00 00 64 FD";
    const std::vector<std::string> expected = {
        defaultLine, "FE 44 11 0A 00 00 00 00 28 01 14 3C 78 03 0A 00 00 00 00 32 08 00 00 00 00 64 FD",
        "01 02 03",  "# malformed block, not answered: byte 0 (start marker) is 0x01 (1), allowed 0xFE",
        defaultLine,
    };
    EXPECT_EQ(ReadLines(log), expected) << "each line is written before its reply";

    // Half a block, then the client goes: the bytes are logged when it has gone.
    ASSERT_TRUE(client.Send({0xFE, 0x44, 0x11, 0x32, 0x00}));
    EXPECT_TRUE(client.ReadUntilQuiet(200).empty());
    client.Close();
    std::vector<std::string> lines;
    for (int i = 0; i < 100 && lines.size() < 6; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        lines = ReadLines(log);
    }
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[5], "FE 44 11 32 00");
    ExpectCleanStop();
    std::remove(log.c_str());
    rmdir(dir.c_str());
}

TEST_F(HeadSimRun, ServesOneClientAtATimeAndTheNextAfterADisconnect) {
    StartHead("127.0.0.53");
    const RawBlock sector = SectorBlock(60, 40, 3);
    Client first, second;
    Connect(first);
    int last = 0;
    for (int i = 0; i < 3; ++i) {
        const auto r = first.Exchange(Bytes(sector), 513);
        ASSERT_TRUE(IsReply(r, 'G', 513));
        last = HeadPositionOf(r);
    }
    Connect(second);  // waits in the queue while the first is served
    ASSERT_TRUE(second.Send(Bytes(sector)));
    EXPECT_TRUE(second.Read(513, 300).empty());
    first.Close();
    const auto r = second.Read(513);
    ASSERT_TRUE(IsReply(r, 'G', 513));
    EXPECT_EQ(HeadPositionOf(r), last + 3) << "the head carries on where it was";
    ExpectCleanStop();
}

TEST_F(HeadSimRun, JunkFromClientsNeverStopsTheHead) {
    StartHead("127.0.0.54");
    Random random(99);
    {
        Client noisy;
        Connect(noisy);
        for (int piece = 0; piece < 50; ++piece) {
            std::vector<uint8_t> junk(1 + random.Next() % 200);
            for (auto& b : junk) b = static_cast<uint8_t>(random.Next());
            ASSERT_TRUE(noisy.Send(junk));
        }
        // The head finds the next good block after the junk.
        ASSERT_TRUE(noisy.Send(Bytes(DefaultBlock())));
        EXPECT_TRUE(IsReply(noisy.ReadUntilQuiet(), 'G', 513));
        RawBlock wrongEnd = DefaultBlock();
        wrongEnd[26] = 0x00;
        ASSERT_TRUE(noisy.Send(Bytes(wrongEnd)));
        EXPECT_TRUE(noisy.ReadUntilQuiet(200).empty()) << "no reply to a broken block";
    }
    {
        Client half;
        Connect(half);
        ASSERT_TRUE(half.Send({0xFE, 0x44, 0x11}));
    }
    Client client;
    Connect(client);
    EXPECT_TRUE(IsReply(client.Exchange(Bytes(DefaultBlock()), 513), 'G', 513));
    ExpectCleanStop();
}

TEST_F(HeadSimRun, StrictIdStaysSilentToOtherHeads) {
    StartHead("127.0.0.55", {"--strict-id"});
    Client client;
    Connect(client);
    RawBlock other = DefaultBlock();
    other[2] = 20;
    ASSERT_TRUE(client.Send(Bytes(other)));
    EXPECT_TRUE(client.ReadUntilQuiet(300).empty());
    EXPECT_TRUE(IsReply(client.Exchange(Bytes(DefaultBlock()), 513), 'G', 513));
    ExpectCleanStop();
}

TEST_F(HeadSimRun, Sigusr1SwitchesHeadScanModeAndSigintEnds) {
    StartHead("127.0.0.56");
    Client client;
    Connect(client);
    EXPECT_TRUE(IsReply(client.Exchange(Bytes(DefaultBlock()), 513), 'G', 513));
    head_.Signal(SIGUSR1);
    EXPECT_EQ(head_.ReadLine(3000), "tidemar-headsim: head-scan mode on");
    EXPECT_TRUE(IsReply(client.Exchange(Bytes(DefaultBlock()), 77), 'T', 77));
    head_.Signal(SIGUSR1);
    EXPECT_EQ(head_.ReadLine(3000), "tidemar-headsim: head-scan mode off");
    EXPECT_TRUE(IsReply(client.Exchange(Bytes(DefaultBlock()), 513), 'G', 513));

    head_.Signal(SIGINT);
    int status = 0;
    ASSERT_TRUE(head_.WaitExit(3000, status));
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(client.WaitClosed());
}

TEST_F(HeadSimRun, RealtimeTakesTheTravelTimeOfTheRange) {
    StartHead("127.0.0.57", {"--realtime"});
    Client client;
    Connect(client);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(IsReply(client.Exchange(Bytes(RangeBlock(150)), 513), 'G', 513));
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(seconds, 3 * 0.2) << "300 m there and back at 1500 m/s, three times";
    ExpectCleanStop();
}

TEST_F(HeadSimRun, PingsLimitEndsTheRun) {
    StartHead("127.0.0.58", {"--pings", "3"});
    Client client;
    Connect(client);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(IsReply(client.Exchange(Bytes(DefaultBlock()), 513), 'G', 513));
    }
    EXPECT_TRUE(client.WaitClosed());
    int status = 0;
    ASSERT_TRUE(head_.WaitExit(3000, status));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(HeadSimRun, OnceEndsWhenTheFirstRealClientLeaves) {
    StartHead("127.0.0.59", {"--once"});
    {
        Client probe;  // connects and goes without a word, as a connection probe does
        Connect(probe);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_TRUE(head_.Running()) << "a probe is no client";
    {
        Client client;
        Connect(client);
        ASSERT_TRUE(IsReply(client.Exchange(Bytes(DefaultBlock()), 513), 'G', 513));
    }
    int status = 0;
    ASSERT_TRUE(head_.WaitExit(3000, status));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(HeadSimCommandLine, HelpAndRefusals) {
    const RunResult help = RunToEnd({"--help"});
    EXPECT_TRUE(help.exited);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: tidemar-headsim", 0), 0u) << help.out;

    const RunResult outside = RunToEnd({"--address", "192.168.1.10"});
    EXPECT_EQ(outside.exitCode, 2);
    EXPECT_EQ(outside.err,
              "tidemar-headsim: refusing to listen on 192.168.1.10: only loopback addresses "
              "(127.0.0.0/8) are allowed\n");

    const RunResult unknown = RunToEnd({"--address", "127.0.0.50", "--bogus"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err, "tidemar-headsim: unknown option --bogus (see --help)\n");

    const RunResult noLog =
        RunToEnd({"--address", "127.0.0.50", "--port", "0", "--log", "/nonexistent-headsim-dir/blocks.log"});
    EXPECT_EQ(noLog.exitCode, 1);
    const std::string noLogStart = "tidemar-headsim: cannot write log file /nonexistent-headsim-dir/";
    EXPECT_EQ(noLog.err.rfind(noLogStart, 0), 0u) << noLog.err;
}

TEST_F(HeadSimRun, BusyPortIsReported) {
    StartHead("127.0.0.58");
    const RunResult second = RunToEnd({"--address", "127.0.0.58", "--port", std::to_string(head_.Port())});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_EQ(second.err, "tidemar-headsim: cannot listen on 127.0.0.58:" + std::to_string(head_.Port()) +
                              ": Address already in use\n");
    ExpectCleanStop();
}

}  // namespace
}  // namespace tidemar::headsim::test
