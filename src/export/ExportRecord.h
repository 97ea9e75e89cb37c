#pragma once
// One record of a data file as the export formats see it: the values of the record
// decoded as playback decodes them, plus its place in the file and its position.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "export/GeoPosition.h"
#include "files/DataRecord.h"

namespace tidemar {

struct ExportRecord {
    int64_t Index = 0;   // 0-based count of the whole records before it
    int64_t Offset = 0;  // byte offset in the file
    RecordHeader Header;
    RecordReply Reply;
    std::optional<int> StepDirection;  // bit 6 of reply byte 6, when the reply has it
    std::optional<GeoPosition> Position;
    // The sound velocity in effect as playback takes it: the stored one when it is
    // within 750..2250 m/s, the one of the record before when it is not, and the
    // settings' when the record stores none. Filled in by the file's reader.
    float SoundVelocity = 0.0f;
};

// The sound velocity in effect through a file, record after record.
class SoundVelocityInEffect {
public:
    explicit SoundVelocityInEffect(float settings) : settings_(settings), played_(settings) {}
    float Next(const RecordHeader& header);

private:
    float settings_;
    float played_;
};

// record points at a whole record of `size` bytes (checked by the reader).
ExportRecord DecodeExportRecord(const uint8_t* record, int size, int64_t index, int64_t offset);

// "07-DEC-2026" (any letter case of the month) as "2026-12-07"; nothing for a text that
// is not such a date.
std::optional<std::string> IsoDate(std::string_view dateText);

// "HH:MM:SS.hh" from the recorded time text and hundredths; empty without a time text.
std::string TimeWithHundredths(const RecordHeader& header);

// "2026-12-07T12:35:19.25", the recorded local time without a zone; nothing when the date
// or the time is not readable.
std::optional<std::string> IsoDateTime(const RecordHeader& header);

// The display mode as a word: Sector, Polar, SS, Profile, or the stored number.
std::string ModeName(int gridMode);

}  // namespace tidemar
