#include "SimulatedHead.h"

#include <utility>

namespace tidemar::headsim {
namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double HeadInfoSeconds = 0.005;
constexpr double StepSettleSeconds = 0.002;
constexpr double SecondsPerPosition = 0.0001;

}  // namespace

SimulatedHead::SimulatedHead(const HeadConfig& config, Scene scene)
    : headScan_(config.headScan), strictId_(config.strictId), synth_(std::move(scene), config.seed) {
    info_.headId = config.headId;
    info_.serialNumber = config.serialNumber;
}

bool SimulatedHead::Accepts(const RawBlock& block) const { return !strictId_ || block[2] == info_.headId; }

bool SimulatedHead::Answer(const RawBlock& block, std::vector<uint8_t>& reply) {
    if (!Accepts(block)) return false;
    const PingRequest request = ParseBlock(block);
    ApplyProgramming(info_, request, headScan_);

    ReplyHeader header;
    header.headId = info_.headId;
    header.rangeByte = request.rangeMeters;

    if (headScan_) {
        header.type = 'T';
        header.position = motion_.position;
        header.steppingUp = motion_.direction > 0;
        const HeadNvRam nv = NvRamOf(info_);
        BuildReply(header, nv.data(), nv.size(), reply);
        lastAnswerSeconds_ = HeadInfoSeconds;
        return true;
    }

    const int moved = StepHead(motion_, StepCommandOf(request));
    ++info_.shotCount;
    header.position = motion_.position;
    header.steppingUp = motion_.direction > 0;

    PingSettings ping;
    ping.bearing = (motion_.position - AheadPosition) * Pi / AheadPosition;
    ping.rangeMeters = request.rangeMeters;
    ping.points = request.layout.points;
    ping.gain = request.gain;
    ping.absorption = request.absorption;
    ping.frequencyKHz = request.frequencyKHz;
    ping.pulseLength = request.pulseLength;
    ping.profileMinimumDecimetres = request.profileMinimumDecimetres;

    double profile = 0.0;
    if (request.profileOnly) {
        header.type = 'P';
        profile = synth_.Ping(ping, nullptr);
        data_.clear();
    } else {
        header.type = 'G';
        samples_.resize(static_cast<std::size_t>(request.layout.points));
        profile = synth_.Ping(ping, samples_.data());
        PackSamples(request.layout);
    }
    header.profileRange = ProfileRangeCode(profile, request.rangeMeters);
    BuildReply(header, data_.data(), data_.size(), reply);

    const int range = request.rangeMeters > 0 ? request.rangeMeters : 1;
    lastAnswerSeconds_ = 2.0 * range / SoundSpeed + StepSettleSeconds + moved * SecondsPerPosition;
    return true;
}

// 8 bits: one byte a sample. 4 bits: two samples a byte, the first in the low nibble.
// 16 bits: the sample in bits 6..13 of a word sent low byte first.
void SimulatedHead::PackSamples(const DataLayout& layout) {
    data_.assign(static_cast<std::size_t>(layout.bytes), 0);
    const std::size_t points = samples_.size();
    switch (layout.bits) {
    case 4:
        for (std::size_t i = 0; i < points; ++i) {
            data_[i / 2] |= (i % 2 == 0) ? (samples_[i] >> 4) : (samples_[i] & 0xF0);
        }
        break;
    case 16:
        for (std::size_t i = 0; i < points; ++i) {
            const unsigned word = static_cast<unsigned>(samples_[i]) << 6;
            data_[2 * i] = static_cast<uint8_t>(word & 0xFF);
            data_[2 * i + 1] = static_cast<uint8_t>(word >> 8);
        }
        break;
    default:
        for (std::size_t i = 0; i < points; ++i) data_[i] = samples_[i];
        break;
    }
}

}  // namespace tidemar::headsim
