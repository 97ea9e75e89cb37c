#include "BlockReader.h"

namespace tidemar::headsim {

void BlockReader::Feed(const uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) FeedByte(data[i]);
}

void BlockReader::FeedByte(uint8_t byte) {
    if (candidateCount_ == 0) {
        if (byte == BlockStart) {
            candidate_[candidateCount_++] = byte;
        } else {
            NoteFramingFault(0, byte);
            Junk(byte);
        }
        return;
    }
    candidate_[candidateCount_++] = byte;
    if (candidateCount_ == 2 && byte != BlockType) {
        NoteFramingFault(1, byte);
        Reject();
    } else if (candidateCount_ == BlockBytes) {
        if (IsFramed(candidate_)) {
            candidateCount_ = 0;
            FlushJunk();
            frameLost_ = false;
            Log(candidate_);
            if (sink_.block) sink_.block(candidate_);
        } else {
            NoteFramingFault(static_cast<int>(BlockBytes) - 1, byte);
            Reject();
        }
    }
}

// The candidate is not a block: its first byte is junk, the rest is searched again.
void BlockReader::Reject() {
    RawBlock rest{};
    const std::size_t restCount = candidateCount_ - 1;
    for (std::size_t i = 0; i < restCount; ++i) rest[i] = candidate_[i + 1];
    const uint8_t first = candidate_[0];
    candidateCount_ = 0;
    Junk(first);
    for (std::size_t i = 0; i < restCount; ++i) FeedByte(rest[i]);
}

void BlockReader::Junk(uint8_t byte) {
    junk_[junkCount_++] = byte;
    if (junkCount_ == junk_.size()) FlushJunk();
}

void BlockReader::FlushJunk() {
    if (junkCount_ == 0) return;
    const std::size_t count = junkCount_;
    junkCount_ = 0;
    Log(std::span<const uint8_t>(junk_.data(), count));
}

void BlockReader::Log(std::span<const uint8_t> bytes) {
    if (sink_.logLine) sink_.logLine(bytes);
    logged_ += bytes.size();
    if (faultPending_ && logged_ > faultAt_) {
        faultPending_ = false;
        if (sink_.framingFault) sink_.framingFault(fault_);
    }
}

// Called before the byte or the broken candidate goes to the junk: everything before
// it is logged or junk already, so the junk count places it in the stream.
void BlockReader::NoteFramingFault(int index, uint8_t value) {
    if (frameLost_) return;
    frameLost_ = true;
    faultPending_ = true;
    faultAt_ = logged_ + junkCount_;
    fault_ = FramingFault(index, value);
}

void BlockReader::Finish() {
    const std::size_t held = candidateCount_;
    candidateCount_ = 0;
    for (std::size_t i = 0; i < held; ++i) Junk(candidate_[i]);
    FlushJunk();
}

}  // namespace tidemar::headsim
