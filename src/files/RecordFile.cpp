#include "files/RecordFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/Prompts.h"

namespace tidemar {

RecordFile::~RecordFile() {
    std::string ignored;
    Close(&ignored);
}

bool RecordFile::Create(const std::string& path, std::string* reason) {
    if (fd_ >= 0) Close(reason);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (reason) *reason = std::strerror(errno);
        return false;
    }
    fd_ = fd;
    name_ = path;
    bytes_ = 0;
    previousSize_ = 0;
    shownKilobytes_ = 0;
    return true;
}

bool RecordFile::Append(const std::vector<uint8_t>& record, std::string* reason) {
    if (fd_ < 0) {
        if (reason) *reason = "The file is not open.";
        return false;
    }
    size_t done = 0;
    while (done < record.size()) {
        const ssize_t wrote = ::write(fd_, record.data() + done, record.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) {
            const int error = wrote < 0 ? errno : ENOSPC;
            if (reason) *reason = std::strerror(error);
            if (done > 0) {
                // Only whole records stay in the file.
                if (::ftruncate(fd_, static_cast<off_t>(bytes_)) == 0)
                    ::lseek(fd_, static_cast<off_t>(bytes_), SEEK_SET);
            }
            return false;
        }
        done += static_cast<size_t>(wrote);
    }
    bytes_ += static_cast<int64_t>(record.size());
    previousSize_ = static_cast<int>(record.size());
    return true;
}

bool RecordFile::Close(std::string* reason) {
    if (fd_ < 0) return true;
    const int result = ::close(fd_);
    fd_ = -1;
    if (result != 0 && errno != EINTR) {
        if (reason) *reason = std::strerror(errno);
        return false;
    }
    return true;
}

bool RecordFile::KilobytesChanged() {
    const int64_t kilobytes = bytes_ / 1024;
    if (kilobytes == shownKilobytes_) return false;
    shownKilobytes_ = kilobytes;
    return true;
}

std::string ActivityTitle(const std::string& activity, const std::string& name, int64_t kilobytes) {
    std::string title = std::string(ProgramTitle) + " - " + activity + " " + name;
    if (kilobytes >= 0) {
        char counter[32];
        std::snprintf(counter, sizeof counter, " - %lld kB", static_cast<long long>(kilobytes));
        title += counter;
    }
    return title;
}

}  // namespace tidemar
