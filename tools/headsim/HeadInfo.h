#pragma once
// The head's non-volatile memory: the 64 data bytes of a 'T' reply.
//
//   0   EPROM major version          8   transducer type (0 imaging fan beam)
//   1   EPROM minor version          9   gear ratio (0 = 3 : 1)
//   2   EPROM date, year (2 digits) 10   depth rating (0 = 1000 m, 1 = 3000 m)
//   3   EPROM date, month 1..12     11   head ID (the address the head answers to)
//   4   EPROM date, day             12   sample rate code (0)
//   5   sensor type (0 scanning)    13..16 shot count / 100, 7 bits a byte, low first
//   6,7 serial number, 7 bits each, low first             17..63 0
#include <array>
#include <cstdint>

#include "Protocol.h"

namespace tidemar::headsim {

inline constexpr int FirstHeadId = 16;
inline constexpr int LastHeadId = 31;
inline constexpr int DefaultHeadId = 17;
inline constexpr int DefaultSerialNumber = 1234;
inline constexpr int MaxSerialNumber = 9999;

struct HeadInfo {
    int headId = DefaultHeadId;
    int serialNumber = DefaultSerialNumber;  // 0..16383 fits the two 7-bit bytes
    int depthRating = 0;
    uint64_t shotCount = 250000;  // pings transmitted over the head's life
};

using HeadNvRam = std::array<uint8_t, HeadInfoBytes>;

HeadNvRam NvRamOf(const HeadInfo& info);

// Applies the ID change and programming a block carries. An ID outside 16..31 is
// ignored. Programming (serial number, depth rating) applies only when allowed: the
// head takes byte 10 = 0x80 as a programming request only while it answers head scans,
// because in an imaging block the same byte is an ordinary absorption of 1.28 dB/m.
// Returns true when anything changed.
bool ApplyProgramming(HeadInfo& info, const PingRequest& request, bool programmingAllowed);

}  // namespace tidemar::headsim
