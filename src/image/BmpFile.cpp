#include "image/BmpFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/FileNames.h"

namespace tidemar {

namespace {

void Put16(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    out[at] = value & 0xFF;
    out[at + 1] = (value >> 8) & 0xFF;
}

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = (value >> (8 * i)) & 0xFF;
}

}  // namespace

std::vector<uint8_t> IndexedBmpBytes(int width, int height, const uint8_t* pixels,
                                     const std::array<uint8_t, 1024>& colorTable) {
    const uint32_t imageSize = static_cast<uint32_t>(width) * static_cast<uint32_t>(height);
    std::vector<uint8_t> out(BmpHeaderBytes + imageSize, 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, BmpHeaderBytes + imageSize);
    Put32(out, 10, BmpHeaderBytes);
    Put32(out, 14, 40);
    Put32(out, 18, static_cast<uint32_t>(width));
    Put32(out, 22, static_cast<uint32_t>(height));
    Put16(out, 26, 1);
    Put16(out, 28, 8);
    Put32(out, 34, imageSize);
    Put32(out, 46, 256);
    std::memcpy(out.data() + 54, colorTable.data(), colorTable.size());
    for (int row = 0; row < height; ++row)
        std::memcpy(out.data() + BmpHeaderBytes + static_cast<size_t>(row) * width,
                    pixels + static_cast<size_t>(height - 1 - row) * width, static_cast<size_t>(width));
    return out;
}

bool WriteIndexedBmp(const std::string& path, int width, int height, const uint8_t* pixels,
                     const std::array<uint8_t, 1024>& colorTable, std::string* reason) {
    return WriteWholeFile(path, IndexedBmpBytes(width, height, pixels, colorTable), reason);
}

void ClearTemporaryName(const std::string& temporary) {
    struct stat found {};
    if (lstat(temporary.c_str(), &found) == 0 && !S_ISREG(found.st_mode) && !S_ISDIR(found.st_mode))
        unlink(temporary.c_str());
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* reason) {
    const std::string temporary = path + ".part";
    ClearTemporaryName(temporary);
    auto fail = [&](const char* what) {
        if (reason) *reason = std::string(what) + ": " + std::strerror(errno);
        return false;
    };
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return fail("cannot create");
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int saved = errno;
            close(fd);
            unlink(temporary.c_str());
            errno = saved;
            return fail("cannot write");
        }
        written += static_cast<size_t>(n);
    }
    if (close(fd) != 0) {
        unlink(temporary.c_str());
        return fail("cannot write");
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int saved = errno;
        unlink(temporary.c_str());
        errno = saved;
        return fail("cannot rename");
    }
    return true;
}

std::array<uint8_t, 1024> BmpColorTable(const DisplayPalette& palette) {
    std::array<uint8_t, 1024> table{};
    for (size_t i = 0; i < palette.Entries.size(); ++i) {
        table[4 * i] = palette.Entries[i].Blue;
        table[4 * i + 1] = palette.Entries[i].Green;
        table[4 * i + 2] = palette.Entries[i].Red;
    }
    return table;
}

bool HasBmpExtension(const std::string& name) { return HasExtension(name, "bmp"); }

BmpOutputFile::~BmpOutputFile() {
    if (fd_ >= 0) close(fd_);
}

bool BmpOutputFile::Create(const std::string& path, std::string* reason) {
    Discard();
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (reason) *reason = std::strerror(errno);
        return false;
    }
    fd_ = fd;
    path_ = path;
    // Only a file made here may be removed after a failure: never a device or a pipe the
    // operator named (removing /dev/full as root would break the machine).
    struct stat info {};
    removable_ = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    return true;
}

bool BmpOutputFile::WriteAndClose(const std::vector<uint8_t>& bytes, std::string* reason) {
    if (fd_ < 0) {
        if (reason) *reason = "The file is not open.";
        return false;
    }
    size_t written = 0;
    int error = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd_, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        written += static_cast<size_t>(n);
    }
    if (close(fd_) != 0 && error == 0) error = errno;
    fd_ = -1;
    if (error == 0) return true;
    if (removable_) unlink(path_.c_str());
    if (reason) *reason = std::strerror(error);
    return false;
}

void BmpOutputFile::Discard() {
    if (fd_ < 0) return;
    close(fd_);
    fd_ = -1;
    if (removable_) unlink(path_.c_str());
}

}  // namespace tidemar
