#include "settings/ConfigFile.h"

#include <algorithm>

#include "settings/FileReplace.h"

namespace tidemar {

namespace {

constexpr uint8_t Magic[4] = {0x43, 0x46, 0x47, 0x00};
constexpr uint8_t FormatVersion = 1;

int32_t ReadInt32(const uint8_t* p) {
    const uint32_t u = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                       static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    return static_cast<int32_t>(u);
}

void WriteInt32(uint8_t* p, int32_t value) {
    const uint32_t u = static_cast<uint32_t>(value);
    p[0] = static_cast<uint8_t>(u);
    p[1] = static_cast<uint8_t>(u >> 8);
    p[2] = static_cast<uint8_t>(u >> 16);
    p[3] = static_cast<uint8_t>(u >> 24);
}

bool Within(int32_t value, int32_t low, int32_t high) { return value >= low && value <= high; }

}  // namespace

bool ParseConfigFile(const uint8_t* data, size_t size, UserConfigTable& working) {
    if (size < sizeof Magic || !std::equal(Magic, Magic + sizeof Magic, data)) return false;
    if (size < ConfigFileBytesSize) return false;

    const UserConfigTable defaults = DefaultUserConfigTable();
    for (int r = 0; r < UserConfigUsedRows; ++r) {
        const uint8_t* row = data + ConfigHeaderBytes + static_cast<size_t>(r) * UserConfigRowBytes;
        const UserConfigRow& fallback = defaults[r];
        UserConfigRow& cell = working[r];

        const int32_t label = ReadInt32(row);
        const int32_t frequency = ReadInt32(row + 4);
        const int32_t absorption = ReadInt32(row + 8);
        const int32_t pulse = ReadInt32(row + 12);

        // Labels written by this program are the range in metres; those of 0..14 are
        // taken as they stand and all others become the built-in label of the row, which
        // for every row equals what is written.
        cell.RangeLabel = Within(label, 0, 14) ? label : fallback.RangeLabel;
        cell.Frequency = Within(frequency, MinFrequency, MaxFrequency) ? RoundFrequency(frequency) : fallback.Frequency;
        cell.Absorption = Within(absorption, 1, 255) ? absorption : fallback.Absorption;
        cell.PulseLength = Within(pulse, 10, 1000) ? RoundPulseLength(pulse) : fallback.PulseLength;
    }
    return true;
}

bool ReadConfigFile(const std::string& path, UserConfigTable& working, std::string* refusal) {
    // Only the first 5200 bytes are looked at, however long the file is.
    const FileRead file = ReadRegularFile(path, ConfigFileBytesSize, LongerFile::Cut);
    if (!file.Bytes) {
        if (refusal) *refusal = file.Refusal;
        return false;
    }
    const std::string& bytes = *file.Bytes;
    return ParseConfigFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), working);
}

std::vector<uint8_t> ConfigFileBytes(const UserConfigTable& active) {
    std::vector<uint8_t> bytes(ConfigFileBytesSize, 0);
    std::copy(Magic, Magic + sizeof Magic, bytes.begin());
    bytes[4] = FormatVersion;
    for (int r = 0; r < UserConfigUsedRows; ++r) {
        uint8_t* row = bytes.data() + ConfigHeaderBytes + static_cast<size_t>(r) * UserConfigRowBytes;
        WriteInt32(row, active[r].RangeLabel);
        WriteInt32(row + 4, active[r].Frequency);
        WriteInt32(row + 8, active[r].Absorption);
        WriteInt32(row + 12, active[r].PulseLength);
    }
    return bytes;
}

bool WriteConfigFile(const std::string& path, const UserConfigTable& active) {
    const std::vector<uint8_t> bytes = ConfigFileBytes(active);
    ReplacingFile file(path);
    return file.Write(bytes.data(), bytes.size()) && file.Commit();
}

}  // namespace tidemar
