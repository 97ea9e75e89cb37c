#pragma once
// Reading a .K7T file by offsets: whole records, the record marker forwards and backwards,
// and the damaged stretches in between. Playback and the command-line tools read files
// the same way through this, so a file plays as `tidemar-cli dump` shows it.
//
// The length is taken once at opening; a file that grows later is read as it was.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tidemar {

// A stretch of a file that holds no whole record, and why.
struct DamagedRegion {
    int64_t Offset = 0;
    int64_t Length = 0;
    std::string Reason;
};

struct FileRecord {
    int64_t Offset = 0;
    std::vector<uint8_t> Bytes;  // the whole record (a SonarDataRecord)
};

class DataFileReader {
public:
    DataFileReader() = default;
    ~DataFileReader();
    DataFileReader(const DataFileReader&) = delete;
    DataFileReader& operator=(const DataFileReader&) = delete;

    // Opens a regular file for reading. On failure returns false with the reason in words.
    bool Open(const std::string& path, std::string* reason);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    int64_t Length() const { return length_; }

    // Up to count bytes from offset; fewer only at the end of the file (or on a read error,
    // which counts as the end).
    size_t ReadAt(int64_t offset, uint8_t* buffer, size_t count) const;

    // The first record marker at or after offset, or nothing before the end of the file.
    std::optional<int64_t> FindMarker(int64_t offset) const;

    // True when a whole record that is not damaged starts at offset.
    bool WholeRecordAt(int64_t offset) const;

    // The start of the first whole record at or after offset, or of the last one that
    // starts before limit, if there is one.
    std::optional<int64_t> FindWholeRecordFrom(int64_t offset) const;
    std::optional<int64_t> FindWholeRecordBefore(int64_t limit) const;

    // The first whole record at or after offset, read the way playback reads: a stretch
    // without a marker is skipped to the next marker, a damaged header is skipped from the
    // byte after its marker, and a record cut short by the end of the file ends the search.
    // Each stretch skipped is added to damage when given. Nothing at the end of the file.
    std::optional<FileRecord> ReadNextRecord(int64_t offset, std::vector<DamagedRegion>* damage) const;

private:
    int fd_ = -1;
    int64_t length_ = 0;
};

}  // namespace tidemar
