#pragma once
// Misbehaviour on request, so the program's handling of a bad head can be tested.
//
// Pings are counted per connection from 1: every framed block the head would answer is
// one ping, whether or not a reply goes out. Every fault starts afresh with each client,
// so a program that reconnects meets the same behaviour again.
//   closeAfter N    after ping N (answered or not) the head closes the connection
//   silentAfter N   pings after N get no reply; the connection stays open
//   garbageEvery N  every Nth reply is random bytes of the right length that can never
//                   pass as a reply (first byte not 'B', last byte not 0xFC)
//   shortEvery N    every Nth reply stops after its first half
//   badEndEvery N   every Nth reply ends in 0xFB instead of 0xFC
// When several of the three reply faults fall on one ping, garbage wins over short and
// short over a bad end. 0 turns a fault off.
#include <cstdint>
#include <vector>

#include "Random.h"

namespace tidemar::headsim {

struct FaultOptions {
    bool refuse = false;       // no connection is accepted at all (handled by the server)
    bool closeAtOnce = false;  // every connection is closed as soon as it is accepted (likewise)
    long closeAfter = 0;
    long silentAfter = 0;
    long garbageEvery = 0;
    long shortEvery = 0;
    long badEndEvery = 0;
};

enum class ReplyFault { None, BadEnd, Short, Garbage };

struct FaultPlan {
    bool silent = false;  // send nothing for this ping
    ReplyFault fault = ReplyFault::None;
    bool closeAfter = false;  // close the connection once this ping is dealt with
};

FaultPlan PlanPing(const FaultOptions& options, long pingOnConnection);

// Spoils a finished reply as planned.
void ApplyFault(ReplyFault fault, std::vector<uint8_t>& reply, Random& random);

inline constexpr uint8_t WrongEndByte = 0xFB;

}  // namespace tidemar::headsim
