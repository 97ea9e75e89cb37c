#include "settings/FileReplace.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace tidemar {

namespace fs = std::filesystem;

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::error_code error;
    if (fs::is_directory(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
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

}  // namespace tidemar
