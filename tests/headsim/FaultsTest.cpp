// Which ping gets which fault, and what each fault does to a reply.
#include <gtest/gtest.h>

#include <vector>

#include "Faults.h"
#include "HeadSimTestSupport.h"
#include "SimulatedHead.h"

namespace tidemar::headsim {
namespace {

TEST(Faults, PlanPerPingOnTheConnection) {
    FaultOptions o;
    o.closeAfter = 6;
    o.silentAfter = 4;
    o.garbageEvery = 3;
    o.shortEvery = 2;
    o.badEndEvery = 1;
    struct Row {
        long ping;
        bool silent;
        ReplyFault fault;
        bool close;
    };
    const Row rows[] = {
        {1, false, ReplyFault::BadEnd, false},  {2, false, ReplyFault::Short, false},
        {3, false, ReplyFault::Garbage, false}, {4, false, ReplyFault::Short, false},
        {5, true, ReplyFault::BadEnd, false},   {6, true, ReplyFault::Garbage, true},
        {7, true, ReplyFault::BadEnd, true},
    };
    for (const Row& r : rows) {
        const FaultPlan plan = PlanPing(o, r.ping);
        EXPECT_EQ(plan.silent, r.silent) << "ping " << r.ping;
        EXPECT_EQ(plan.fault, r.fault) << "ping " << r.ping;
        EXPECT_EQ(plan.closeAfter, r.close) << "ping " << r.ping;
    }
    const FaultPlan clean = PlanPing(FaultOptions{}, 12345);
    EXPECT_FALSE(clean.silent);
    EXPECT_EQ(clean.fault, ReplyFault::None);
    EXPECT_FALSE(clean.closeAfter);
}

TEST(Faults, EachFaultSpoilsTheReplyAsNamed) {
    SimulatedHead head(HeadConfig{});
    std::vector<uint8_t> good;
    head.Answer(test::DefaultBlock(), good);
    Random random(5);

    auto reply = good;
    ApplyFault(ReplyFault::None, reply, random);
    EXPECT_EQ(reply, good);

    ApplyFault(ReplyFault::BadEnd, reply, random);
    ASSERT_EQ(reply.size(), 513u);
    EXPECT_EQ(reply.back(), 0xFB);
    EXPECT_TRUE(std::equal(good.begin(), good.end() - 1, reply.begin()));

    reply = good;
    ApplyFault(ReplyFault::Short, reply, random);
    EXPECT_EQ(reply.size(), 256u);
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), good.begin()));

    // Garbage never passes as a reply, whatever the random bytes.
    for (int i = 0; i < 500; ++i) {
        reply = good;
        ApplyFault(ReplyFault::Garbage, reply, random);
        ASSERT_EQ(reply.size(), 513u);
        ASSERT_NE(reply.front(), 'B');
        ASSERT_NE(reply.back(), 0xFC);
    }
    EXPECT_NE(reply, good);

    std::vector<uint8_t> empty;
    ApplyFault(ReplyFault::Garbage, empty, random);
    EXPECT_TRUE(empty.empty());
}

}  // namespace
}  // namespace tidemar::headsim
