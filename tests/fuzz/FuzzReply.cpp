// Arbitrary head replies under arbitrary settings. The first bytes of the input choose
// the settings (including lengths and ranges a damaged data file could carry); the rest
// is the receive buffer. Decoding must stay inside its buffers and keep its outputs in
// range whatever it is given.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/HeadInfo.h"
#include "core/Reply.h"
#include "core/SonarTables.h"

namespace {

using namespace tidemar;

class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Next() { return pos_ < size_ ? data_[pos_++] : 0; }
    int16_t Next16() { return static_cast<int16_t>(Next() | (Next() << 8)); }
    const uint8_t* Rest() const { return data_ + pos_; }
    size_t RestSize() const { return size_ - pos_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

int ChooseLength(Bytes& in, size_t restAfterSettings) {
    const uint8_t how = in.Next();
    const int16_t raw = in.Next16();
    switch (how % 8) {
    case 0: return 13;
    case 1: return 77;
    case 2: return 265;
    case 3: return 513;
    case 4: return 13 + static_cast<uint16_t>(raw) % 501;
    case 5: return raw;
    case 6: return how & 0x80 ? 0x7FFFFFFF : -0x7FFFFFFF - 1;
    default: return static_cast<int>(restAfterSettings);
    }
}

void ChooseRange(SonarState& state, Bytes& in) {
    const uint8_t how = in.Next();
    const int index = how % RangeCount;
    state.Range = index;
    state.RangeMeters = RangeTable[index].Meters;
    state.RangeScale = RangeTable[index].RangeScale;
    state.SampleSpacing = 0.1f * state.RangeScale;
    if (how & 0x80) {  // values no table gives, as a damaged file could leave them
        state.RangeMeters = static_cast<int8_t>(in.Next());
        float scale;
        uint32_t bits = static_cast<uint32_t>(in.Next16()) << 16 | static_cast<uint16_t>(in.Next16());
        std::memcpy(&scale, &bits, sizeof scale);
        state.RangeScale = scale;
        state.SampleSpacing = 0.1f * scale;
    }
}

constexpr size_t SettingsBytes = 24;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bytes in(data, size);
    SonarState state;
    const size_t rest = size > SettingsBytes ? size - SettingsBytes : 0;

    state.ExpectedReturnLength = ChooseLength(in, rest);
    const uint8_t types[] = {'G', 'P', 'T', 'M'};
    const uint8_t type = in.Next();
    state.ReplyType = type < 4 * 60 ? types[type % 4] : type;
    const int widths[] = {4, 8, 16};
    const uint8_t width = in.Next();
    state.DataBits = width < 3 * 80 ? widths[width % 3] : static_cast<int8_t>(width);
    state.GridMode = static_cast<int8_t>(in.Next()) % 5;
    state.Profile = static_cast<int8_t>(in.Next()) % 6;
    const uint8_t flags = in.Next();
    state.RunMode = flags & 1;
    state.HeadScanMode = (flags >> 1) & 1;
    state.ProfileGrid = (flags >> 2) & 1;
    state.Xdcr = (flags >> 3) & 1;
    state.ZeroDown = (flags >> 4) & 1;
    const bool frame = (flags >> 5) & 1;
    state.PulseLength = in.Next16();
    state.Train = static_cast<uint16_t>(in.Next16()) % 360;
    state.ImageRotation = static_cast<int8_t>(in.Next());
    state.PlotSampleCount = in.Next16();
    // The program's own profile detection, with levels and ranges of any kind.
    const uint8_t profile = in.Next();
    state.ProfileDigitizationSource = profile & 1;
    state.ProfileDetectionType = (profile >> 1) & 1;
    state.Units = (profile >> 2) & 1;
    state.ProfileMinimumLevel = in.Next() % 100;
    state.ProfileMinimumRange = static_cast<int8_t>(in.Next()) / 4.0f;
    ChooseRange(state, in);
    while (in.RestSize() > rest) in.Next();

    std::memcpy(state.ReceiveBuffer.data(), in.Rest(), std::min(rest, state.ReceiveBuffer.size()));
    // A flag makes the frame good, so that most inputs get past the framing check.
    if (frame && ReplyLengthIsValid(state.ExpectedReturnLength)) {
        state.ReceiveBuffer[0] = 'B';
        state.ReceiveBuffer[1] = static_cast<uint8_t>(state.ReplyType);
        state.ReceiveBuffer[2] = 'L';
        state.ReceiveBuffer[state.ExpectedReturnLength - 1] = 0xFC;
    }

    ManualClock clock;
    for (int round = 0; round < 2; ++round) {
        ValidateReply(state, clock);
        clock.Advance(40);
        for (uint8_t sample : state.SampleLine)
            if (sample > MaxEchoLevel) __builtin_trap();
        if (state.HeadPosition < 0 || state.HeadPosition > 1200) __builtin_trap();
        if (state.LastHeadPosition < 0 || state.LastHeadPosition > 1200) __builtin_trap();
        if (state.PulseBlankSamples < 0 || state.PulseBlankSamples >= 100) __builtin_trap();
        if (state.ProfileSample < 0) __builtin_trap();
        // A head-scan reply keeps its memory bytes; whatever they hold decodes and shows.
        const HeadInformation info = DecodeHeadInformation(state.HeadNvRam);
        if (info.ShotCount > MaxShotCount || info.EpromMonth < 1 || info.EpromMonth > 12) __builtin_trap();
        if (HeadInformationTextsOf(info).ShotCount.empty()) __builtin_trap();
    }
    return 0;
}
