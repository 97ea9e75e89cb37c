#include "HeadInfo.h"

namespace tidemar::headsim {
namespace {

constexpr uint8_t EpromMajor = 2;
constexpr uint8_t EpromMinor = 7;
constexpr uint8_t EpromYear = 23;
constexpr uint8_t EpromMonth = 6;
constexpr uint8_t EpromDay = 14;

}  // namespace

HeadNvRam NvRamOf(const HeadInfo& info) {
    HeadNvRam nv{};
    nv[0] = EpromMajor;
    nv[1] = EpromMinor;
    nv[2] = EpromYear;
    nv[3] = EpromMonth;
    nv[4] = EpromDay;
    nv[5] = 0;
    nv[6] = static_cast<uint8_t>(info.serialNumber & 0x7F);
    nv[7] = static_cast<uint8_t>((info.serialNumber >> 7) & 0x7F);
    nv[8] = 0;
    nv[9] = 0;
    nv[10] = static_cast<uint8_t>(info.depthRating);
    nv[11] = static_cast<uint8_t>(info.headId);
    nv[12] = 0;
    // The counter holds hundreds of shots in 28 bits; it stops at its top.
    uint64_t hundreds = info.shotCount / 100;
    if (hundreds > 0x0FFFFFFF) hundreds = 0x0FFFFFFF;
    for (int i = 0; i < 4; ++i) nv[13 + i] = static_cast<uint8_t>((hundreds >> (7 * i)) & 0x7F);
    return nv;
}

bool ApplyProgramming(HeadInfo& info, const PingRequest& request, bool programmingAllowed) {
    bool changed = false;
    if (request.newHeadId >= FirstHeadId && request.newHeadId <= LastHeadId) {
        changed = info.headId != request.newHeadId;
        info.headId = request.newHeadId;
    }
    if (programmingAllowed && request.programming) {
        changed = changed || info.serialNumber != request.programSerialNumber ||
                  info.depthRating != request.programDepthRating;
        info.serialNumber = request.programSerialNumber;
        info.depthRating = request.programDepthRating;
    }
    return changed;
}

}  // namespace tidemar::headsim
