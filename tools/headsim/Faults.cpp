#include "Faults.h"

#include "Protocol.h"

namespace tidemar::headsim {
namespace {

bool Every(long every, long ping) { return every > 0 && ping % every == 0; }

}  // namespace

FaultPlan PlanPing(const FaultOptions& options, long ping) {
    FaultPlan plan;
    plan.silent = options.silentAfter > 0 && ping > options.silentAfter;
    plan.closeAfter = options.closeAfter > 0 && ping >= options.closeAfter;
    if (Every(options.garbageEvery, ping)) {
        plan.fault = ReplyFault::Garbage;
    } else if (Every(options.shortEvery, ping)) {
        plan.fault = ReplyFault::Short;
    } else if (Every(options.badEndEvery, ping)) {
        plan.fault = ReplyFault::BadEnd;
    }
    return plan;
}

void ApplyFault(ReplyFault fault, std::vector<uint8_t>& reply, Random& random) {
    if (reply.empty()) return;
    switch (fault) {
    case ReplyFault::None: break;
    case ReplyFault::BadEnd: reply.back() = WrongEndByte; break;
    case ReplyFault::Short: reply.resize(reply.size() / 2); break;
    case ReplyFault::Garbage:
        for (uint8_t& byte : reply) byte = static_cast<uint8_t>(random.Next() >> 56);
        if (reply.front() == ReplyStart) reply.front() = static_cast<uint8_t>(~ReplyStart);
        if (reply.back() == ReplyEnd) reply.back() = WrongEndByte;
        break;
    }
}

}  // namespace tidemar::headsim
