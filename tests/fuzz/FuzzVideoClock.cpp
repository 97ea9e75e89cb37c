// Record time stamps from arbitrary bytes, as a video reads them from a damaged or hostile
// file: each 100 bytes are a record header whose date and time texts go through
// StampHundredths into a video clock. Whatever the stamps, no frame count is negative and
// no record is due more frames than the longest gap allows, so a file cannot make a video
// without end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "files/DataRecord.h"
#include "video/VideoClock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tidemar;
    if (size < 2) return 0;
    const int fps = 1 + data[0] % 120;
    const double speed = 0.01 + data[1] / 8.0;
    VideoClock clock(fps, speed);
    const int64_t mostPerRecord = static_cast<int64_t>(MaxGapSeconds * fps / speed) + 2;
    std::vector<uint8_t> header(RecordHeaderBytes, 0);
    for (size_t at = 2; at < size; at += RecordHeaderBytes) {
        std::fill(header.begin(), header.end(), 0);
        std::copy(data + at, data + std::min(size, at + RecordHeaderBytes), header.begin());
        const RecordHeader h = DecodeRecordHeader(header.data());
        const auto stamp = StampHundredths(h.DateText, h.TimeText, h.Hundredths);
        const int64_t due = clock.FramesDue(stamp);
        if (due < 0 || due > mostPerRecord) std::abort();
        clock.Drawn(stamp);
    }
    const int64_t rest = clock.FramesToFinish();
    if (rest < 0 || rest > mostPerRecord + fps) std::abort();
    return 0;
}
