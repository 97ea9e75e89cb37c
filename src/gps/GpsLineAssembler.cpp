#include "gps/GpsLineAssembler.h"

namespace tidemar {

GpsChunkResult GpsLineAssembler::Take(const uint8_t* bytes, size_t count) {
    GpsChunkResult result;
    for (size_t i = 0; i < count; ++i) {
        line_ += static_cast<char>(bytes[i]);
        if (bytes[i] == '\n') {
            result.Lines.push_back(std::move(line_));
            line_.clear();
            result.Purge = true;
        }
    }
    // Checked once per chunk, so a line may grow past 80 bytes within one chunk and
    // still be taken when its LF is in the same chunk; at most 79 + one chunk is kept.
    if (line_.size() >= static_cast<size_t>(GpsOverlongLineBytes)) {
        line_.clear();
        result.Purge = true;
    }
    return result;
}

}  // namespace tidemar
