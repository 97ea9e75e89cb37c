#pragma once
// Cuts the byte stream from a client into command blocks.
//
// The head hunts for 0xFE, takes it and the next 26 bytes as a block, and acts on it only
// when byte 1 is 'D' and byte 26 is 0xFD. A candidate that fails (byte 1 at once, byte 26
// when it arrives) gives up its first byte and the head hunts again from the next one, so
// a 0xFE inside a broken block can start the next good one.
//
// Every byte received is reported exactly once for the log: a good block as one line of
// 27 bytes, everything else in runs of at most 27 bytes, cut where a good block starts.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <utility>

#include "Protocol.h"

namespace tidemar::headsim {

struct BlockSink {
    std::function<void(std::span<const uint8_t>)> logLine;  // bytes of one log line
    std::function<void(const RawBlock&)> block;              // a framed block to answer
};

class BlockReader {
public:
    explicit BlockReader(BlockSink sink) : sink_(std::move(sink)) {}

    void Feed(const uint8_t* data, std::size_t size);

    // The client has gone: whatever was held back goes to the log.
    void Finish();

    // True when bytes are held back (part of a block, or not yet logged).
    bool HasPending() const { return candidateCount_ != 0 || junkCount_ != 0; }

private:
    void FeedByte(uint8_t byte);
    void Reject();
    void Junk(uint8_t byte);
    void FlushJunk();

    BlockSink sink_;
    RawBlock candidate_{};
    std::size_t candidateCount_ = 0;
    std::array<uint8_t, BlockBytes> junk_{};
    std::size_t junkCount_ = 0;
};

}  // namespace tidemar::headsim
