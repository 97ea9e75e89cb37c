// The real binary's check of command blocks: a malformed block gets no reply and is named
// on stderr and in the block log; --lenient answers it as before.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "BlockLog.h"
#include "RunTestSupport.h"

namespace tidemar::headsim::test {
namespace {

std::vector<std::string> LogLines(const std::string& path, std::size_t want) {
    std::vector<std::string> lines;
    for (int i = 0; i < 100 && lines.size() < want; ++i) {
        lines.clear();
        std::ifstream in(path);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        if (lines.size() < want) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return lines;
}

const char* const GainRefused = "malformed block, not answered: byte 8 (gain) is 0x29 (41), allowed 0..40 dB";

TEST_F(HeadSimRun, MalformedBlockIsNamedAndNotAnsweredNorCounted) {
    const std::string log = "/tmp/headsim-check-" + std::to_string(getpid()) + ".log";
    // Closing after one ping shows that the refused block is not a ping.
    StartHead("127.0.0.57", {"--log", log, "--close-after", "1"});
    Client client;
    Connect(client);
    const RawBlock loud = RangeBlock(50, 41);
    ASSERT_TRUE(client.Send(Bytes(loud)));
    EXPECT_TRUE(client.ReadUntilQuiet(300).empty()) << "no reply to a malformed block";
    EXPECT_EQ(head_.ReadLine(3000), std::string("tidemar-headsim: ") + GainRefused);
    EXPECT_TRUE(IsReply(client.Exchange(Bytes(DefaultBlock()), 513), 'G', 513));
    EXPECT_TRUE(client.WaitClosed()) << "the good block was the first ping";

    const std::vector<std::string> lines = LogLines(log, 3);
    const std::vector<std::string> expected = {HexLine(loud), std::string("# ") + GainRefused, HexLine(DefaultBlock())};
    EXPECT_EQ(lines, expected);
    ExpectCleanStop();
    std::remove(log.c_str());
}

TEST_F(HeadSimRun, LenientAnswersMalformedBlocksAsAsked) {
    StartHead("127.0.0.58", {"--lenient"});
    Client client;
    Connect(client);
    EXPECT_TRUE(IsReply(client.Exchange(Bytes(RangeBlock(50, 41)), 513), 'G', 513)) << "gain 41";
    RawBlock fourBits = DefaultBlock();
    fourBits[20] = 4;
    EXPECT_TRUE(IsReply(client.Exchange(Bytes(fourBits), 263), 'G', 263)) << "500 points of 4 bits";
    EXPECT_EQ(head_.ReadLine(300), "") << "nothing to report";
    ExpectCleanStop();
}

}  // namespace
}  // namespace tidemar::headsim::test
