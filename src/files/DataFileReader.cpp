#include "files/DataFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "files/DataRecord.h"

namespace tidemar {

namespace {

// Reads start small, since most are of one record, and double while a search goes on.
constexpr size_t FirstChunkBytes = 4 * 1024;
constexpr size_t ScanChunkBytes = 64 * 1024;

// A stretch that continues the one before is added to it, so a run of false markers is
// one stretch, not one per marker. A record cut short by the end of the file stays a
// stretch of its own: it is the usual damage of a recording that was interrupted.
void AddDamage(std::vector<DamagedRegion>* damage, int64_t offset, int64_t length, std::string reason,
               bool cutShort = false) {
    if (!damage || length <= 0) return;
    if (!cutShort && !damage->empty() && damage->back().Offset + damage->back().Length == offset) {
        damage->back().Length += length;
        return;
    }
    damage->push_back({offset, length, std::move(reason)});
}

// A window on the file that is read again only when a request leaves it, so walking many
// small pieces (headers, markers close together) costs one read per window, not one per
// piece, and scanning a long stretch costs reads of growing size.
class FileWindow {
public:
    explicit FileWindow(const DataFileReader& reader) : reader_(reader) {}

    // The bytes from offset to the end of the window, at least `minimum` of them unless
    // the file ends first; *available tells how many.
    const uint8_t* At(int64_t offset, size_t minimum, size_t* available) {
        const int64_t end = start_ + static_cast<int64_t>(size_);
        const bool inside = offset >= start_ && offset <= end;
        if (!inside || (static_cast<size_t>(end - offset) < minimum && end < reader_.Length())) {
            buffer_.resize(std::max(minimum, chunk_));
            chunk_ = std::min(chunk_ * 2, ScanChunkBytes);
            start_ = offset;
            size_ = reader_.ReadAt(offset, buffer_.data(), buffer_.size());
        }
        *available = static_cast<size_t>(start_ + static_cast<int64_t>(size_) - offset);
        return buffer_.data() + (offset - start_);
    }

    std::optional<int64_t> FindMarker(int64_t offset) {
        if (offset < 0) offset = 0;
        for (;;) {
            size_t available = 0;
            const uint8_t* p = At(offset, 3, &available);
            if (available < 3) return std::nullopt;
            for (size_t i = 0; i + 3 <= available; ++i)
                if (IsRecordMarker(p + i)) return offset + static_cast<int64_t>(i);
            // The last two bytes may begin a marker that ends after the window.
            offset += static_cast<int64_t>(available) - 2;
        }
    }

private:
    const DataFileReader& reader_;
    std::vector<uint8_t> buffer_;
    int64_t start_ = 0;
    size_t size_ = 0;
    size_t chunk_ = FirstChunkBytes;
};

}  // namespace

DataFileReader::~DataFileReader() { Close(); }

bool DataFileReader::Open(const std::string& path, std::string* reason) {
    Close();
    // Non-blocking so that a FIFO given by mistake cannot hang the open; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (reason) *reason = std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (reason) *reason = S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "Not a regular file";
        ::close(fd);
        return false;
    }
    fd_ = fd;
    length_ = info.st_size;
    return true;
}

void DataFileReader::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    length_ = 0;
}

size_t DataFileReader::ReadAt(int64_t offset, uint8_t* buffer, size_t count) const {
    if (fd_ < 0 || offset < 0 || offset >= length_) return 0;
    count = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(count), length_ - offset));
    size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd_, buffer + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    return done;
}

std::optional<int64_t> DataFileReader::FindMarker(int64_t offset) const {
    FileWindow window(*this);
    return window.FindMarker(offset);
}

bool DataFileReader::WholeRecordAt(int64_t offset) const {
    uint8_t header[RecordHeaderBytes];
    if (ReadAt(offset, header, sizeof header) < sizeof header) return false;
    if (CheckRecordHeader(header) != RecordDamage::None) return false;
    return offset + DecodeRecordHeader(header).Size <= length_;
}

std::optional<int64_t> DataFileReader::FindWholeRecordBefore(int64_t limit) const {
    int64_t high = std::min(limit, length_);  // candidates lie in [0, high)
    if (high <= 0) return std::nullopt;
    // Each chunk is read with a header's length beyond it, so candidates near its end are
    // checked from memory too.
    const size_t tail = RecordHeaderBytes;
    std::vector<uint8_t> chunk;
    size_t chunkBytes = FirstChunkBytes;
    while (high > 0) {
        const int64_t low = std::max<int64_t>(0, high - static_cast<int64_t>(chunkBytes));
        chunk.resize(static_cast<size_t>(high - low) + tail);
        const size_t got = ReadAt(low, chunk.data(), chunk.size());
        for (int64_t p = high - 1; p >= low; --p) {
            const size_t i = static_cast<size_t>(p - low);
            if (i + RecordHeaderBytes > got || !IsRecordMarker(&chunk[i])) continue;
            if (CheckRecordHeader(&chunk[i]) == RecordDamage::None && p + DecodeRecordHeader(&chunk[i]).Size <= length_)
                return p;
        }
        chunkBytes = std::min(chunkBytes * 2, ScanChunkBytes);
        high = low;
    }
    return std::nullopt;
}

std::optional<int64_t> DataFileReader::FindWholeRecordFrom(int64_t offset) const {
    FileWindow window(*this);
    while (const auto marker = window.FindMarker(offset)) {
        size_t available = 0;
        const uint8_t* header = window.At(*marker, RecordHeaderBytes, &available);
        if (available >= RecordHeaderBytes && CheckRecordHeader(header) == RecordDamage::None &&
            *marker + DecodeRecordHeader(header).Size <= length_)
            return marker;
        offset = *marker + 1;
    }
    return std::nullopt;
}

std::optional<FileRecord> DataFileReader::ReadNextRecord(int64_t offset, std::vector<DamagedRegion>* damage) const {
    FileWindow window(*this);
    while (offset >= 0 && offset < length_) {
        size_t got = 0;
        const uint8_t* header = window.At(offset, RecordHeaderBytes, &got);
        if (got < 3 || !IsRecordMarker(header)) {
            const std::optional<int64_t> next = window.FindMarker(offset);
            AddDamage(damage, offset, next.value_or(length_) - offset, "no record marker");
            if (!next) return std::nullopt;
            offset = *next;
            continue;
        }
        if (got < RecordHeaderBytes) {
            AddDamage(damage, offset, length_ - offset, "record cut short by the end of the file", true);
            return std::nullopt;
        }
        const RecordDamage problem = CheckRecordHeader(header);
        if (problem != RecordDamage::None) {
            const std::string reason = DescribeRecordDamage(problem, header);
            const std::optional<int64_t> next = window.FindMarker(offset + 3);
            AddDamage(damage, offset, next.value_or(length_) - offset, reason);
            if (!next) return std::nullopt;
            offset = *next;
            continue;
        }
        const size_t size = static_cast<size_t>(DecodeRecordHeader(header).Size);
        const uint8_t* bytes = window.At(offset, size, &got);
        if (got < size) {
            char reason[96];
            std::snprintf(reason, sizeof reason, "record of %zu bytes cut short by the end of the file after %zu", size,
                          got);
            AddDamage(damage, offset, length_ - offset, reason, true);
            return std::nullopt;
        }
        return FileRecord{offset, std::vector<uint8_t>(bytes, bytes + size)};
    }
    return std::nullopt;
}

}  // namespace tidemar
