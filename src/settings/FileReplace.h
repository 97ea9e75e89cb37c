#pragma once
// Reading a whole small file, and replacing a file so that a failed write never leaves a
// half-written one behind: the new contents go to a temporary file beside the target,
// which is renamed over it only when everything was written.

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>

namespace tidemar {

// The bytes of the file, or nullopt when it does not exist or cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

class ReplacingFile {
public:
    // Creates the temporary file; IsOpen() tells whether that worked.
    explicit ReplacingFile(const std::string& path);
    ~ReplacingFile();  // removes the temporary file unless Commit() succeeded
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    bool Write(const void* data, size_t size);
    // Closes the temporary file and renames it over the target (a symbolic link is
    // followed, the existing file's permissions are kept). False when anything failed
    // since opening; the target is then untouched.
    bool Commit();

private:
    std::string target_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
    bool committed_ = false;
};

// Replaces the file at `path` with `bytes` as above.
bool ReplaceFile(const std::string& path, const std::string& bytes);

}  // namespace tidemar
