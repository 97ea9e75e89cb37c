#pragma once
// Paths in a test folder where a file is expected but none can be read or written as
// one: each with a legend and the reason the program gives when it refuses it.

#include <sys/stat.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"

namespace tidemar::testing {

struct OddPath {
    std::string Path;
    const char* Legend;
    std::string Refusal;
};

// A FIFO (which would block a reader for ever), a link to /dev/zero (which never ends), a
// directory, and a file one byte longer than `limit` that starts with `start`; named
// after `stem`.
inline std::vector<OddPath> MakeOddPaths(const TempDir& dir, const std::string& stem, size_t limit,
                                         const std::string& start) {
    const std::string fifo = dir.File(stem + ".fifo");
    const std::string zero = dir.File(stem + ".zero");
    const std::string folder = dir.File(stem + ".dir");
    const std::string large = dir.File(stem + ".large");
    mkfifo(fifo.c_str(), 0600);
    std::filesystem::create_symlink("/dev/zero", zero);
    std::filesystem::create_directory(folder);
    WriteBytes(large, start + std::string(limit + 1 - start.size(), ' '));
    const std::string megabytes = std::to_string(limit / (1024 * 1024)) + " MB";
    return {{fifo, "a FIFO", "not a regular file"},
            {zero, "a link to /dev/zero", "not a regular file"},
            {folder, "a directory", "not a regular file"},
            {large, "a file one byte too long", "larger than " + megabytes}};
}

}  // namespace tidemar::testing
