#pragma once
// One record of a .K7T sonar data file. A file is nothing but these records, one per ping,
// with no file header. S is the record size; numbers are big-endian; unlisted bytes are 0.
//
//   offset  size  content
//      0      3   "K7T" record marker
//      3      1   DataSizeCode
//      4      2   S = RecordSizeTable[DataSizeCode], plus 128 with GPS text
//      6      2   N, length of the stored reply (ExpectedReturnLength)
//      8     12   DateText "DD-MMM-YYYY" and its zero. Old recorders wrote the year as
//                 "19" followed by years since 1900 ("19100" for 2000), so byte 19 is
//                 then a digit instead of the zero.
//     20      9   TimeText "HH:MM:SS" and its zero
//     29      4   "." + two digits of Hundredths + zero
//     34      1   bit 0: the record carries GPS text
//     37      1   bit 7 StepDirection, bit 6 Xdcr, bits 3..5 GridMode, bits 0..2 Speed
//     38      1   Gain
//     39      1   SectorSize / 3
//     40      1   Train / 3
//     41      1   RecordByte41 (0)
//     42      1   Absorption
//     43      1   bit 7 ProfileGrid; bit 6 ProfileGrid 1 with ZeroDown 0; bits 3..5 sample
//                 width (0: 4 bits, 1: 8, 2: 16); bits 0..2 RecordFormatBits (1)
//     44      1   PulseLength / 10
//     45      1   Profile
//     46      2   0x8000 | trunc(SoundVelocityMeters x 10); bit 15 clear: no value stored
//     48     32   UserText, zero-padded (31 characters are read back)
//     80      2   Frequency in kHz (0 read back as 675)
//    100      N   the reply exactly as the head sent it
//  S-128     11   with GPS: GpsPositionText characters 1..11 (latitude half)
//  S-116     12   with GPS: GpsPositionText characters 12..23 (longitude half)
//    S-2      2   BackLink: size of the previous record plus S (S alone for the first)
//
// Playing backwards, the end of a record minus its BackLink is the start of the record
// before it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/Modes.h"
#include "core/SonarState.h"

namespace tidemar {

inline constexpr int RecordSizeCount = 11;
inline constexpr std::array<int, RecordSizeCount> RecordSizeTable = {128,  256,  384,  640,  896, 1152,
                                                                     1664, 2176, 3200, 4224, 8192};
inline constexpr int RecordHeaderBytes = 100;
inline constexpr int RecordGpsBytes = 128;
inline constexpr int RecordBackLinkBytes = 2;
inline constexpr int MaxRecordBytes = 8192 + RecordGpsBytes;
inline constexpr int DefaultFileFrequency = 675;
inline constexpr float MinFileSoundVelocity = 750.0f;
inline constexpr float MaxFileSoundVelocity = 2250.0f;

// True when the three bytes at p are the record marker.
inline bool IsRecordMarker(const uint8_t* p) { return p[0] == 'K' && p[1] == '7' && p[2] == 'T'; }

// One whole record, as it lies in the file.
using SonarDataRecord = std::vector<uint8_t>;

// Size of a record for a DataSizeCode, or 0 for a code outside the table.
int RecordSizeFor(int dataSizeCode, bool withGps);

// The record WriteRecord writes for the ping in state: settings, time stamp texts, user
// text, the ExpectedReturnLength bytes of ReceiveBuffer, GPS text when UseGPS is on, and
// the back-link from previousRecordSize (0 for the first record of a file). Empty when the
// state describes no record (a size code outside the table or a reply that does not fit).
SonarDataRecord BuildDataRecord(const SonarState& state, int previousRecordSize);

// What the first 100 bytes of a record say, decoded by the rules of playback.
struct RecordHeader {
    int DataSizeCode = 0;
    int Size = 0;
    int ReplyLength = 0;
    std::string DateText;
    std::string TimeText;
    int PlayedSecond = 0;  // the number at TimeText offset 6
    int Hundredths = 0;
    int HasGps = 0;
    int StepDirection = 0;
    int Xdcr = Transducer::Down;
    int GridMode = DisplayMode::Sector;  // 0..7 as stored
    int Speed = 0;                       // 0..7 as stored
    int Gain = 0;
    int SectorSize = 0;
    int Train = 0;
    int Absorption = 0;
    int DataBits = 0;  // 4, 8 or 16; 0 when the width code is none of these
    int ProfileGrid = 0;
    int PulseLength = 0;
    int Profile = 0;
    bool HasSoundVelocity = false;
    float SoundVelocity = 0.0f;  // as stored, in range or not
    std::string UserText;        // empty when byte 48 is 0
    int Frequency = DefaultFileFrequency;
};

RecordHeader DecodeRecordHeader(const uint8_t* record);

// Whether a header can start a whole record: the marker, a size of the table (plus 128
// when the GPS bit is set) and a reply that fits between the header and the tail.
enum class RecordDamage { None, NoMarker, BadSize, BadReplyLength };
RecordDamage CheckRecordHeader(const uint8_t* record);
std::string DescribeRecordDamage(RecordDamage damage, const uint8_t* record);

// The tail of a whole record of `size` bytes.
int RecordBackLink(const uint8_t* record, int size);
// The GPS text as playback puts it back (a space and the two halves), or nothing when the
// record carries none or its latitude half is empty.
std::optional<std::string> RecordGpsText(const uint8_t* record, int size, bool hasGps);

// The reply's own fields, read raw from record bytes 100.. (reply bytes 0..11).
struct RecordReply {
    int Length = 0;
    std::optional<int> ReplyType, ReturnHeadID, SerialStatus, HeadPosition, ReturnRange, ProfileRange, DataByteCount;
};
RecordReply DecodeRecordReply(const uint8_t* record, int replyLength);

}  // namespace tidemar
