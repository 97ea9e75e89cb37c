#pragma once
// What a head says about itself in a 'T' reply: its 64 bytes of non-volatile memory
// (reply bytes 12..75), and those bytes decoded.
//
//   byte  field                     byte   field
//    0    EPROM major version        8     transducer type
//    1    EPROM minor version        9     gear ratio
//    2    EPROM date, year           10    depth rating
//    3    EPROM date, month 1..12    12    sample rate code
//    4    EPROM date, day            13..16 shot count / 100, 7 bits a byte, low first
//    5    sensor type
//    6,7  serial number, (b6 & 0x7F) + b7 * 128
//
// The bytes come from the head as they are: nothing here assumes they are in range.

#include <array>
#include <cstdint>
#include <string>

#include "core/SonarState.h"

namespace tidemar {

inline constexpr int HeadNvRamBytes = 64;
inline constexpr int HeadScanReplyLength = 13 + HeadNvRamBytes;
inline constexpr int FirstHeadAddress = 16;
inline constexpr int HeadAddressCount = 16;  // addresses 16..31
inline constexpr uint64_t MaxShotCount = 1000000000;

using HeadNvRamBytesArray = std::array<uint8_t, HeadNvRamBytes>;

struct HeadInformation {
    int EpromMajor = 0;
    int EpromMinor = 0;
    int EpromYear = 0;
    int EpromMonth = 1;  // 1..12; a month byte outside that reads as January
    int EpromDay = 0;
    int SensorType = 0;  // 0 scanning sonar, 1 azimuth drive, 2 echo sounder
    int SerialNumber = 0;
    int XdcrType = 0;
    int GearRatio = 0;
    int DepthRating = 0;
    int SampleRateCode = 0;
    uint64_t ShotCount = 0;  // shots, at most MaxShotCount
};

HeadInformation DecodeHeadInformation(const HeadNvRamBytesArray& nv);

// The shown texts of the eight decoded values.
struct HeadInformationTexts {
    std::string EpromRevision;  // "1.04 - 19JAN09"
    std::string SerialNumber;   // "%04d"
    std::string SensorType;
    std::string XdcrType;
    std::string DepthRating;
    std::string GearRatio;
    std::string SampleRate;
    std::string ShotCount;  // "1,234,500"
};

HeadInformationTexts HeadInformationTextsOf(const HeadInformation& info);

// Decimal digits with a "," between groups of three, counted from the right.
std::string GroupedDecimal(uint64_t value);

// After a valid reply has been decoded: a 'T' reply's data bytes become HeadNvRam, and
// while the scan window is open, the head that answered becomes the scanned head, so
// the window marks its box and programming goes to it.
void TakeHeadScanReply(SonarState& state);

}  // namespace tidemar
