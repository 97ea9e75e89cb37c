#pragma once
// Records of the export tests, built by the recorder's own record builder.

#include <cstdint>
#include <string>
#include <vector>

#include "core/SonarState.h"
#include "files/DataRecord.h"

namespace tidemar::exporttest {

using Bytes = std::vector<uint8_t>;

// A 'G' ping of 500 data bytes at head position `position`, Sector mode, 50 m, recorded
// on 07-DEC-2026 at 12:35:<second>.25; with a position text when `gps` is not empty.
inline SonarState ExportPing(int position, int second, const std::string& gps = "") {
    SonarState s;
    s.DataBits = 8;
    s.DataSizeCode = 3;
    s.ExpectedReturnLength = 513;
    const uint8_t header[12] = {'B',
                                'G',
                                'L',
                                17,
                                0,
                                static_cast<uint8_t>(position & 0x7F),
                                static_cast<uint8_t>(((position >> 7) & 0x3F) | 0x40),
                                50,
                                0x12,
                                0x09,
                                0x74,
                                0x03};
    std::copy(header, header + 12, s.ReceiveBuffer.begin());
    s.ReceiveBuffer[512] = 0xFC;
    s.DateText = "07-DEC-2026";
    s.TimeText = "12:35:" + std::string(second < 10 ? "0" : "") + std::to_string(second);
    s.Hundredths = 25;
    s.GridMode = DisplayMode::Sector;
    s.Speed = 2;
    s.Gain = 40;
    s.SectorSize = 90;
    s.Train = 30;
    s.Frequency = 900;
    s.SoundVelocityMeters = 1480.5f;
    s.UserText = "Pier \"7\", east\xE9";
    s.UseGPS = gps.empty() ? 0 : 1;
    s.GpsPositionText = gps;
    return s;
}

// The records one after the other, back-links chained as the recorder chains them.
inline Bytes RecordFileOf(const std::vector<SonarState>& pings) {
    Bytes file;
    int previous = 0;
    for (const SonarState& ping : pings) {
        const SonarDataRecord record = BuildDataRecord(ping, previous);
        previous = static_cast<int>(record.size());
        file.insert(file.end(), record.begin(), record.end());
    }
    return file;
}

}  // namespace tidemar::exporttest
