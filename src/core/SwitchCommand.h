#pragma once
// The 27-byte command block that starts every ping. The head keeps no state between
// pings, so each block carries the whole request:
//
//   byte  value                         byte  value
//    0    0xFE start                     14   PulseLength / 10
//    1    'D' block type                 15   profile minimum range, decimetres (0..250)
//    2    MasterHeadID                   16   ExternalTriggerControl
//    3    RangeMeters                    17   0
//    4    0                              18   0
//    5    bit 6 reverse once, bit 0 hold 19   50: data points / 10
//    6    0                              20   8: bits per data point
//    7    0                              21   0
//    8    Gain                           22   1 for profile points only
//    9    1                              23   calibrate once
//   10    Absorption (0.01 dB/m)         24   switch delay / 2 (0..250)
//   11    train code 0..119              25   frequency code, (kHz - 675) / 5 + 100
//   12    sector code, SectorSize / 3    26   0xFD end
//   13    step code (0 when no sector)
//
// The block is built into CommandTemplate, which keeps the last block between pings:
// the head-positioning block of an auto-profile scan reuses it byte for byte.

#include <array>
#include <cstdint>

#include "core/SonarState.h"

namespace tidemar {

using CommandBlock = std::array<uint8_t, CommandBlockBytes>;

// Fixes which reply the next ping asks for: ReplyType, ExpectedReturnLength,
// DataSizeCode and PlotSampleCount.
void PrepareReply(SonarState& state);

// Byte 11: the sector centre as the head counts it, 0..119.
int TrainCode(int train, int xdcr);

// Fills CommandTemplate from the settings, then clears the one-shot requests
// (reverse and calibrate), which therefore ride on exactly one block.
void BuildSwitchCommand(SonarState& state);

// Everything that happens before a block is sent: the reply preparation, the build
// (unless a positioning block is waiting to go out as it is) and the copy of the
// 27 bytes that are sent. During a head scan an absorption byte of 0x80 goes out as
// 0x7F, so that the block cannot be taken for a programming block.
CommandBlock PrepareSend(SonarState& state);

// Turns the previous block into one that moves the head to a scan's start: byte 11 the
// target train code, no sector, the slowest step. The next PrepareSend sends it without
// rebuilding, then building resumes.
void PositionHead(SonarState& state, int targetTrainCode);

// The block that carries a head-ID change or programming request to the head at
// ScanHeadID. It is the ordinary block with these bytes changed:
//    2   ScanHeadID
//   16   NewHeadID | 0x80 for an ID change, else 0
//   10   0x80 for programming, else 0
//   15   ProgramSerialNumber & 0x7F          (programming, else 0)
//   18   (ProgramSerialNumber >> 7) & 0x7F   (programming, else 0)
//   21   ProgramDepthRating & 0x0F           (programming, else 0)
// Builds it into CommandTemplate, consumes the requests (an ID change makes the new ID
// the master ID and the scanned ID) and returns the bytes to send.
CommandBlock BuildHeadProgrammingCommand(SonarState& state);

// True when a head-ID change or programming request waits to be sent.
inline bool HeadProgrammingPending(const SonarState& state) {
    return state.HeadIdChangeRequest != 0 || state.HeadProgramRequest != 0;
}

}  // namespace tidemar
