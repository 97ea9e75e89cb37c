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
//
// Losing the frame is reported once, until the next good block: the first byte that does
// not fit (a byte other than 0xFE where a block should start, byte 1 not 'D', byte 26 not
// 0xFD). The report follows the log line in which the broken block starts, so a reader of
// the log sees it after the bytes it is about.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <utility>

#include "BlockCheck.h"
#include "Protocol.h"

namespace tidemar::headsim {

struct BlockSink {
    std::function<void(std::span<const uint8_t>)> logLine;  // bytes of one log line
    std::function<void(const RawBlock&)> block;             // a framed block to answer
    std::function<void(const ByteFault&)> framingFault;     // the frame was lost
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
    void Log(std::span<const uint8_t> bytes);
    void NoteFramingFault(int index, uint8_t value);

    BlockSink sink_;
    RawBlock candidate_{};
    std::size_t candidateCount_ = 0;
    std::array<uint8_t, BlockBytes> junk_{};
    std::size_t junkCount_ = 0;

    uint64_t logged_ = 0;        // bytes passed to the log so far
    bool frameLost_ = false;     // reported, no good block since
    bool faultPending_ = false;  // reported once the log has passed faultAt_
    uint64_t faultAt_ = 0;
    ByteFault fault_;
};

}  // namespace tidemar::headsim
