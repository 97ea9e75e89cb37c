// libFuzzer target: any byte stream a client may send, through the block reader and the
// block check into the simulated head. The first byte picks the head's mode (and whether
// it checks blocks); the rest is the stream.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "BlockCheck.h"
#include "BlockReader.h"
#include "SimulatedHead.h"

using namespace tidemar::headsim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    HeadConfig config;
    config.headScan = (data[0] & 1) != 0;
    config.strictId = (data[0] & 2) != 0;
    config.seed = data[0];
    const bool lenient = (data[0] & 4) != 0;
    SimulatedHead head(config);

    std::size_t logged = 0;
    std::vector<uint8_t> reply;
    BlockReader reader({[&](std::span<const uint8_t> line) {
                            if (line.empty() || line.size() > BlockBytes) std::abort();
                            logged += line.size();
                        },
                        [&](const RawBlock& block) {
                            if (!IsFramed(block)) std::abort();
                            const std::vector<ByteFault> faults = CheckBlock(block);
                            int last = 1;  // the markers of a framed block are never at fault
                            for (const ByteFault& fault : faults) {
                                if (fault.index <= last || fault.index >= 26 || Describe(fault).empty()) std::abort();
                                last = fault.index;
                            }
                            if (!lenient && !faults.empty()) return;
                            if (!head.Answer(block, reply)) return;
                            const PingRequest request = ParseBlock(block);
                            const std::size_t dataBytes = head.HeadScan() ? HeadInfoBytes
                                                          : request.profileOnly
                                                              ? 0
                                                              : static_cast<std::size_t>(request.layout.bytes);
                            if (reply.size() != ReplyOverheadBytes + dataBytes || reply.front() != ReplyStart ||
                                reply.back() != ReplyEnd) {
                                std::abort();
                            }
                            const int position = (reply[5] & 0x7F) | ((reply[6] & 0x3F) << 7);
                            if (position >= 1200) std::abort();
                        },
                        [&](const ByteFault& fault) {
                            if (fault.index != 0 && fault.index != 1 && fault.index != 26) std::abort();
                            if (Describe(fault).empty()) std::abort();
                        }});
    // Pieces of varying size, as recv hands them over.
    std::size_t at = 1;
    while (at < size) {
        const std::size_t piece = 1 + (data[at] % 64);
        const std::size_t n = piece < size - at ? piece : size - at;
        reader.Feed(data + at, n);
        at += n;
    }
    reader.Finish();
    if (logged != size - 1) std::abort();
    return 0;
}
