#pragma once
// The head's check of a command block, byte by byte, before it acts on it. A block with
// any byte outside what the layout allows gets no reply, as from a real head that
// ignores a bad block; the program then times out.
//
// What the layout allows, beyond the ordinary ping block:
//   'T' requests       ordinary blocks (absorption 0x7F in place of 0x80 is still an
//                      ordinary absorption);
//   head-ID change     byte 16 = 0x80 | new ID (16..31); byte 10 may then be 0, as the
//                      program clears it when it does not program the head as well;
//   programming        byte 10 = 0x80, byte 15 serial number bits 0..6 (within the
//                      ordinary 0..250), byte 18 bits 7..13 (0..127), byte 21 the depth
//                      rating (0..15). Byte 10 = 0x80 is also an ordinary absorption,
//                      so bytes 18 and 21 may be non-zero whenever byte 10 is 0x80;
//   head positioning   sector code 0 with step code 1: no rule ties the step code to the
//                      sector code.
#include <cstdint>
#include <string>
#include <vector>

#include "Protocol.h"

namespace tidemar::headsim {

struct ByteFault {
    int index = 0;
    uint8_t value = 0;
    const char* name = "";
    const char* allowed = "";
};

// Every byte of the block that the layout does not allow, in byte order; empty for a
// good block.
std::vector<ByteFault> CheckBlock(const RawBlock& block);

// The fault of a framing byte (0, 1 or 26), as the block reader finds it in the stream.
ByteFault FramingFault(int index, uint8_t value);

// "byte 8 (gain) is 0x29 (41), allowed 0..40 dB"
std::string Describe(const ByteFault& fault);

// All faults of one block, joined with "; ".
std::string Describe(const std::vector<ByteFault>& faults);

}  // namespace tidemar::headsim
