#pragma once
// Reading a small file, and replacing a file so that a failed write never leaves a
// half-written one behind: the new contents go to a temporary file beside the target,
// which is renamed over it only when everything was written.
//
// Only regular files are read or written. A settings path may name anything: a FIFO
// would block the program for ever, a device such as /dev/zero never ends, and replacing
// a device node (a symbolic link followed to /dev/...) would be a disaster.

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>

namespace tidemar {

enum class LongerFile { Refuse, Cut };

struct FileRead {
    std::optional<std::string> Bytes;  // nullopt when nothing was read
    // Why a file that is there was not read ("not a regular file", "larger than 1 MB", or
    // the system's reason), for the operator; empty when it was read or does not exist.
    std::string Refusal;
};

// Reads the regular file at `path`, up to `maxBytes`: a longer file is refused, or with
// LongerFile::Cut only its first `maxBytes` are read. Anything else at the path is looked
// at before it is opened, and opened without blocking, so it is refused at once.
FileRead ReadRegularFile(const std::string& path, size_t maxBytes, LongerFile longer = LongerFile::Refuse);

// True when something is at `path` (after symbolic links) but not a regular file.
bool OtherThanARegularFile(const std::string& path);

class ReplacingFile {
public:
    // Creates the temporary file; IsOpen() tells whether that worked. Nothing is created
    // when the target is there but is not a regular file.
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

// Writes `bytes` over the file at `path` in place (created when missing), for when no
// temporary file can be made beside it. Only a regular file is written: false for
// anything else, which is left as it was.
bool WriteFileInPlace(const std::string& path, const std::string& bytes);

}  // namespace tidemar
