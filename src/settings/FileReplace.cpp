#include "settings/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tidemar {

namespace fs = std::filesystem;

namespace {

constexpr size_t Megabyte = 1024 * 1024;

std::string TooLarge(size_t maxBytes) {
    if (maxBytes % Megabyte == 0) return "larger than " + std::to_string(maxBytes / Megabyte) + " MB";
    return "larger than " + std::to_string(maxBytes) + " bytes";
}

constexpr const char* NotRegular = "not a regular file";

}  // namespace

FileRead ReadRegularFile(const std::string& path, size_t maxBytes, LongerFile longer) {
    FileRead result;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) result.Refusal = std::strerror(errno);
        return result;
    }
    // Looked at before opening, as opening a device may already do something.
    if (!S_ISREG(info.st_mode)) {
        result.Refusal = NotRegular;
        return result;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        result.Refusal = std::strerror(errno);
        return result;
    }
    // Whatever was opened is looked at again: the path may have changed meanwhile.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        result.Refusal = NotRegular;
        return result;
    }
    // One byte beyond the limit tells a file that is too long, even one still growing.
    const size_t wanted = longer == LongerFile::Refuse ? maxBytes + 1 : maxBytes;
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < wanted) {
        const ssize_t got = ::read(fd, buffer, std::min(sizeof buffer, wanted - bytes.size()));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            result.Refusal = std::strerror(errno);
            ::close(fd);
            return result;
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    if (bytes.size() > maxBytes) {
        result.Refusal = TooLarge(maxBytes);
        return result;
    }
    result.Bytes = std::move(bytes);
    return result;
}

bool OtherThanARegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

namespace {

// A name beside `target` that no other writer uses at the same time.
std::string TemporaryNameFor(const std::string& target, int attempt) {
    static std::atomic<unsigned> counter{0};
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    return target + ".tmp" + std::to_string(static_cast<unsigned long long>(tick) % 1000000007ULL) + "-" +
           std::to_string(counter++) + "-" + std::to_string(attempt);
}

}  // namespace

ReplacingFile::ReplacingFile(const std::string& path) : target_(path) {
    std::error_code error;
    if (fs::is_symlink(target_, error)) {
        const fs::path real = fs::weakly_canonical(target_, error);
        if (!error) target_ = real.string();
    }
    if (OtherThanARegularFile(target_)) return;
    for (int attempt = 0; attempt < 8 && !file_; ++attempt) {
        temporary_ = TemporaryNameFor(target_, attempt);
        file_ = std::fopen(temporary_.c_str(), "wbx");  // never opens an existing file
    }
    if (!file_) temporary_.clear();
}

ReplacingFile::~ReplacingFile() {
    if (file_) std::fclose(file_);
    if (!committed_ && !temporary_.empty()) std::remove(temporary_.c_str());
}

bool ReplacingFile::Write(const void* data, size_t size) {
    if (!file_ || failed_) return false;
    if (size > 0 && std::fwrite(data, 1, size, file_) != size) failed_ = true;
    return !failed_;
}

bool ReplacingFile::Commit() {
    if (!file_) return false;
    if (std::fflush(file_) != 0) failed_ = true;
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    if (failed_) return false;

    // The target may have become something else since the temporary file was made.
    if (OtherThanARegularFile(target_)) return false;
    std::error_code error;
    const fs::file_status existing = fs::status(target_, error);
    if (!error && fs::exists(existing))
        fs::permissions(temporary_, existing.permissions(), fs::perm_options::replace, error);
    fs::rename(temporary_, target_, error);
    if (error) return false;
    committed_ = true;
    return true;
}

bool ReplaceFile(const std::string& path, const std::string& bytes) {
    ReplacingFile file(path);
    return file.Write(bytes.data(), bytes.size()) && file.Commit();
}

bool WriteFileInPlace(const std::string& path, const std::string& bytes) {
    if (OtherThanARegularFile(path)) return false;
    // Without blocking: a FIFO put there meanwhile, with no reader, fails at once.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::ftruncate(fd, 0) == 0;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        ok = wrote > 0;
        if (ok) done += static_cast<size_t>(wrote);
    }
    return ::close(fd) == 0 && ok;
}

}  // namespace tidemar
