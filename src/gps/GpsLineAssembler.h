#pragma once
// Turns the chunks read from the serial port into lines. A line is everything up to and
// including an LF. The reader purges the port's receive queue after every line, so that a
// receiver that talks faster than the display needs never fills the queue with old
// positions (what arrived while a line was handled is dropped; the rest of the chunk in
// hand is still used), and after a chunk that leaves 80 or more bytes without a line end
// (no NMEA sentence is that long: the partial line is thrown away).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tidemar {

inline constexpr int GpsReadChunkBytes = 128;    // at most this many bytes per read
inline constexpr int GpsOverlongLineBytes = 80;  // a partial line this long is discarded

struct GpsChunkResult {
    std::vector<std::string> Lines;  // complete lines, LF included, in arrival order
    bool Purge = false;              // the port's receive queue is to be purged now
};

class GpsLineAssembler {
public:
    // Takes one chunk as read from the port (any size; the reader reads at most 128).
    GpsChunkResult Take(const uint8_t* bytes, size_t count);

    // Forgets the partial line (the port was closed or reopened).
    void Reset() { line_.clear(); }

    size_t PendingBytes() const { return line_.size(); }

private:
    std::string line_;
};

}  // namespace tidemar
