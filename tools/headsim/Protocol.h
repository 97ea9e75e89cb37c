#pragma once
// The head's side of the wire: what a command block asks for and how a reply is laid out.
//
// Command block, 27 bytes, as the head reads it:
//    0   0xFE start                    14  pulse length, 10 us units
//    1   'D'                           15  profile minimum range, dm (programming: serial
//    2   addressed head ID                 number bits 0..6)
//    3   range, metres                 16  bit 7: new head ID in bits 0..6; else trigger
//    4   -                             17  -
//    5   bit 6 reverse once, bit 0     18  - (programming: serial number bits 7..13)
//        hold                          19  data points / 10
//    6,7 -                             20  bits per data point
//    8   gain, dB                      21  - (programming: depth rating)
//    9   -                             22  1: profile range only ('P' reply)
//   10   absorption, 0.01 dB/m         23  1: calibrate (re-home the head)
//        (0x80: programming block)     24  switch delay / 2
//   11   train code, 3 deg, 60 ahead   25  frequency code: (kHz - 675) / 5 + 100
//   12   sector code, 3 deg, 120 full  26  0xFD end
//   13   step code, 0.3 deg steps
//
// Reply, 13 bytes + data (7 bits per byte in multi-byte numbers, low part first):
//    0 'B'   1 type 'G' 'P' 'T'   2 'L'   3 head ID   4 serial status (0)
//    5 position bits 0..6         6 position bits 7..12, bit 6 step direction (1 = up)
//    7 range byte of the block    8 profile range bits 0..6   9 profile range bits 7..
//   10 data bytes bits 0..6      11 data bytes bits 7..13    12.. data   last 0xFC
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tidemar::headsim {

inline constexpr std::size_t BlockBytes = 27;
inline constexpr std::size_t ReplyOverheadBytes = 13;
inline constexpr std::size_t HeadInfoBytes = 64;

inline constexpr uint8_t BlockStart = 0xFE;
inline constexpr uint8_t BlockType = 'D';
inline constexpr uint8_t BlockEnd = 0xFD;
inline constexpr uint8_t ReplyStart = 'B';
inline constexpr uint8_t ReplyMark = 'L';
inline constexpr uint8_t ReplyEnd = 0xFC;

using RawBlock = std::array<uint8_t, BlockBytes>;

// How the echo data of a 'G' reply is packed.
struct DataLayout {
    int points = 500;  // samples across the range
    int bits = 8;      // 4, 8 or 16 bits per sample
    int bytes = 500;   // data bytes in the reply
};

// Everything one block asks of the head, in the head's own units.
struct PingRequest {
    int addressedId = 0;
    int rangeMeters = 0;  // as sent; the reply echoes it
    bool reverse = false;
    bool hold = false;
    int gain = 0;
    int absorption = 0;  // 0.01 dB/m
    int trainCode = 0;
    int sectorCode = 0;
    int stepCode = 0;
    int pulseLength = 0;  // 10 us units
    int profileMinimumDecimetres = 0;
    DataLayout layout;
    bool profileOnly = false;
    bool calibrate = false;
    int frequencyKHz = 675;

    // Head programming carried by the block (see ParseBlock for when they count).
    int newHeadId = -1;  // -1: no ID change
    bool programming = false;
    int programSerialNumber = 0;
    int programDepthRating = 0;
};

// 0xFE 'D' ... 0xFD: the only check the head makes before acting on a block.
bool IsFramed(const RawBlock& block);

// Reads a framed block. Values outside what the program sends are kept as they are;
// the parts of the head that use them clamp. (The server refuses such blocks before they
// get here unless it runs --lenient: BlockCheck.h.) Bytes 19 and 20 outside 1..100 and
// {4, 8, 16} fall back to 500 points of 8 bits.
//
// Byte 10 = 0x80 is also an ordinary absorption (1.28 dB/m), so a block is taken as a
// programming block only when bytes 15, 18 and 21 hold values that fit the programming
// layout (7, 7 and 4 bits); the caller decides whether programming applies at all.
PingRequest ParseBlock(const RawBlock& block);

DataLayout LayoutFor(int pointsByte, int bitsByte);

// Fields of a reply header that vary.
struct ReplyHeader {
    uint8_t type = 'G';
    int headId = 0;
    int serialStatus = 0;
    int position = 600;  // 0..1199
    bool steppingUp = true;
    int rangeByte = 0;
    int profileRange = 0;  // 2 mm units below 5 m range, 1 cm from 5 m on
};

// Writes header, data and end byte into reply (resized; capacity kept between pings).
void BuildReply(const ReplyHeader& header, const uint8_t* data, std::size_t dataBytes, std::vector<uint8_t>& reply);

// Encodes a range in metres as the header's profile range for a block's range byte:
// 0 stays 0 (no profile point); any echo rounds to at least 1 unit.
int ProfileRangeCode(double meters, int rangeByte);

}  // namespace tidemar::headsim
