#pragma once
// An append-only file of whole records, for recording and for copying. Each record is
// handed to the operating system in one write, without buffering in between, so a crash
// of the program loses at most the record in flight; a write that fails part-way is cut
// off again, so the file only ever holds whole records.

#include <cstdint>
#include <string>
#include <vector>

namespace tidemar {

class RecordFile {
public:
    RecordFile() = default;
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Creates the file, replacing one that exists. On failure returns false with the reason.
    bool Create(const std::string& path, std::string* reason);

    // Appends one record whole, or nothing: false with the reason when it could not be
    // written, and the file is then cut back to the records before it.
    bool Append(const std::vector<uint8_t>& record, std::string* reason);

    // Closes the file; false with the reason when the system reports that the data
    // could not be kept.
    bool Close(std::string* reason);

    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    const std::string& Name() const { return name_; }

    // Bytes of whole records written since Create.
    int64_t BytesWritten() const { return bytes_; }

    // Size of the last record appended (0 before the first): the back-link of the next
    // record is this plus its own size.
    int PreviousRecordSize() const { return previousSize_; }

    // True once each time BytesWritten / 1024 differs from what it was at the last call
    // (0 at Create): the title with the kB counter is then renewed.
    bool KilobytesChanged();

private:
    int fd_ = -1;
    std::string name_;
    int64_t bytes_ = 0;
    int previousSize_ = 0;
    int64_t shownKilobytes_ = 0;
};

// "Tidemar Digital Sonar - <activity> <name>", with " - <n> kB" when kilobytes >= 0.
std::string ActivityTitle(const std::string& activity, const std::string& name, int64_t kilobytes = -1);

}  // namespace tidemar
