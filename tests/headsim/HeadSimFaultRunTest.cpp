// Every fault option of the real binary, as a client on loopback meets it.
#include <cerrno>
#include <string>
#include <vector>

#include "RunTestSupport.h"

namespace tidemar::headsim::test {
namespace {

TEST_F(HeadSimRun, RefuseTurnsEveryConnectionAwayAtOnce) {
    StartHead("127.0.0.50", {"--refuse"});
    EXPECT_EQ(head_.FirstLine(), "tidemar-headsim: refusing connections on 127.0.0.50:" + std::to_string(head_.Port()));
    for (int i = 0; i < 3; ++i) {
        Client client;
        EXPECT_EQ(client.Connect(address_, head_.Port(), 2000), ECONNREFUSED) << "not a time-out";
    }
    ExpectCleanStop();
}

TEST_F(HeadSimRun, CloseAtOnceDropsAndCountsEveryConnection) {
    StartHead("127.0.0.58", {"--close-at-once"});
    for (int i = 1; i <= 2; ++i) {
        Client client;
        Connect(client);
        EXPECT_TRUE(client.WaitClosed()) << "connection " << i;
        EXPECT_EQ(head_.ReadLine(2000), "tidemar-headsim: connection " + std::to_string(i) + " closed at once");
    }
    ExpectCleanStop();
}

TEST_F(HeadSimRun, CloseAfterEndsEveryConnectionAfterNPings) {
    StartHead("127.0.0.51", {"--close-after", "3"});
    for (int connection = 0; connection < 2; ++connection) {
        Client client;
        Connect(client);
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(IsReply(client.Exchange(Bytes(DefaultBlock()), 513), 'G', 513))
                << "connection " << connection << ", ping " << i;
        }
        EXPECT_TRUE(client.WaitClosed()) << "connection " << connection;
    }
    ExpectCleanStop();
}

TEST_F(HeadSimRun, BadEndEveryNthReply) {
    StartHead("127.0.0.52", {"--bad-end-every", "2"});
    Client client;
    Connect(client);
    std::vector<int> ends;
    for (int i = 0; i < 4; ++i) {
        const auto r = client.Exchange(Bytes(DefaultBlock()), 513);
        ASSERT_EQ(r.size(), 513u);
        EXPECT_EQ(r[0], 'B');
        ends.push_back(r.back());
    }
    EXPECT_EQ(ends, (std::vector<int>{0xFC, 0xFB, 0xFC, 0xFB}));
    ExpectCleanStop();
}

TEST_F(HeadSimRun, ShortEveryNthReplyIsItsFirstHalf) {
    StartHead("127.0.0.53", {"--short-every", "2"});
    Client client;
    Connect(client);
    EXPECT_TRUE(IsReply(client.Exchange(Bytes(DefaultBlock()), 513), 'G', 513));
    ASSERT_TRUE(client.Send(Bytes(DefaultBlock())));
    const auto cut = client.ReadUntilQuiet(300);
    ASSERT_EQ(cut.size(), 256u);
    EXPECT_EQ(cut[1], 'G');
    EXPECT_TRUE(IsReply(client.Exchange(Bytes(DefaultBlock()), 513), 'G', 513));
    RawBlock profile = DefaultBlock();
    profile[22] = 1;
    ASSERT_TRUE(client.Send(Bytes(profile)));
    EXPECT_EQ(client.ReadUntilQuiet(300).size(), 6u) << "a profile reply is cut too";
    ExpectCleanStop();
}

TEST_F(HeadSimRun, GarbageEveryNthReplyCannotPassAsAReply) {
    StartHead("127.0.0.54", {"--garbage-every", "2"});
    Client client;
    Connect(client);
    EXPECT_TRUE(IsReply(client.Exchange(Bytes(DefaultBlock()), 513), 'G', 513));
    const auto garbage = client.Exchange(Bytes(DefaultBlock()), 513);
    ASSERT_EQ(garbage.size(), 513u);
    EXPECT_NE(garbage[0], 'B');
    EXPECT_NE(garbage.back(), 0xFC);
    EXPECT_TRUE(IsReply(client.Exchange(Bytes(DefaultBlock()), 513), 'G', 513));
    ExpectCleanStop();
}

TEST_F(HeadSimRun, SilentAfterKeepsTheConnectionOpen) {
    StartHead("127.0.0.55", {"--silent-after", "2"});
    for (int connection = 0; connection < 2; ++connection) {
        Client client;
        Connect(client);
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(IsReply(client.Exchange(Bytes(DefaultBlock()), 513), 'G', 513));
        }
        ASSERT_TRUE(client.Send(Bytes(DefaultBlock())));
        EXPECT_TRUE(client.Read(513, 400).empty());
        EXPECT_FALSE(client.WaitClosed(200)) << "still connected";
        ASSERT_TRUE(client.Send(Bytes(DefaultBlock()))) << "still accepting blocks";
    }
    ExpectCleanStop();
}

TEST_F(HeadSimRun, FaultsCombine) {
    StartHead("127.0.0.56", {"--close-after", "4", "--bad-end-every", "2", "--short-every", "3"});
    Client client;
    Connect(client);
    EXPECT_TRUE(IsReply(client.Exchange(Bytes(DefaultBlock()), 513), 'G', 513));
    auto r = client.Exchange(Bytes(DefaultBlock()), 513);
    ASSERT_EQ(r.size(), 513u);
    EXPECT_EQ(r.back(), 0xFB);
    ASSERT_TRUE(client.Send(Bytes(DefaultBlock())));
    EXPECT_EQ(client.ReadUntilQuiet(300).size(), 256u);
    r = client.Exchange(Bytes(DefaultBlock()), 513);
    ASSERT_EQ(r.size(), 513u);
    EXPECT_EQ(r.back(), 0xFB);
    EXPECT_TRUE(client.WaitClosed());
    ExpectCleanStop();
}

}  // namespace
}  // namespace tidemar::headsim::test
