#pragma once
// The log of what a client sent: one line per block, "FE 44 11 ... FD", and a line
// starting with "#" after each block the head refused.
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace tidemar::headsim {

// Upper-case hexadecimal bytes separated by single spaces, no line end.
std::string HexLine(std::span<const uint8_t> bytes);

class BlockLog {
public:
    BlockLog() = default;
    ~BlockLog();
    BlockLog(const BlockLog&) = delete;
    BlockLog& operator=(const BlockLog&) = delete;

    // Creates or empties the file. False (errno set) when it cannot be written.
    bool Open(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }

    // Writes one line and flushes it, so a reader sees it at once.
    void Write(std::span<const uint8_t> bytes);

    // Writes "# " and the text as one line, flushed: a note about the line before.
    void Note(const std::string& text);

private:
    std::FILE* file_ = nullptr;
};

}  // namespace tidemar::headsim
