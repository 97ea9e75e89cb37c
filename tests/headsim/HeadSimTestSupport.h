#pragma once
// Command blocks as the program builds them, for feeding the simulated head.
#include <cstdint>
#include <string>
#include <vector>

#include "Protocol.h"

namespace tidemar::headsim::test {

// The program's default block: head 17, 50 m, gain 6, absorption 0.20 dB/m, train 0,
// full circle, step 3, 100 us, 500 points of 8 bits, 675 kHz.
inline RawBlock DefaultBlock() {
    return {0xFE, 0x44, 0x11, 0x32, 0x00, 0x00, 0x00, 0x00, 0x06, 0x01, 0x14, 0x3C, 0x78, 0x03,
            0x0A, 0x00, 0x00, 0x00, 0x00, 0x32, 0x08, 0x00, 0x00, 0x00, 0x00, 0x64, 0xFD};
}

inline RawBlock SectorBlock(int trainCode, int sectorCode, int stepCode) {
    RawBlock b = DefaultBlock();
    b[11] = static_cast<uint8_t>(trainCode);
    b[12] = static_cast<uint8_t>(sectorCode);
    b[13] = static_cast<uint8_t>(stepCode);
    return b;
}

inline RawBlock RangeBlock(int rangeMeters, int gain = 6) {
    RawBlock b = DefaultBlock();
    b[3] = static_cast<uint8_t>(rangeMeters);
    b[8] = static_cast<uint8_t>(gain);
    return b;
}

inline std::vector<uint8_t> Bytes(const RawBlock& block) { return std::vector<uint8_t>(block.begin(), block.end()); }

inline int HeadPositionOf(const std::vector<uint8_t>& reply) { return (reply[5] & 0x7F) | ((reply[6] & 0x3F) << 7); }

inline bool SteppingUp(const std::vector<uint8_t>& reply) { return (reply[6] & 0x40) != 0; }

inline int ProfileRangeOf(const std::vector<uint8_t>& reply) { return (reply[8] & 0x7F) | (reply[9] << 7); }

inline int DataByteCountOf(const std::vector<uint8_t>& reply) { return (reply[10] & 0x7F) | ((reply[11] & 0x7F) << 7); }

}  // namespace tidemar::headsim::test
