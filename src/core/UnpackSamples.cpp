#include <algorithm>

#include "core/Modes.h"
#include "core/ProfileDetection.h"
#include "core/Reply.h"
#include "core/SonarTables.h"

namespace tidemar {

namespace {

// The mix modes dim the echoes so the profile marker stands out: Low Mix (2) by a
// quarter, Med Mix (3) by a half where the width allows it.
int MixShift(int profile, int dataBits) {
    if (profile == 2) return 2;
    if (profile == 3 && dataBits == 8) return 1;
    return 0;
}

uint8_t Capped(int sample) { return static_cast<uint8_t>(std::min(sample, MaxEchoLevel)); }

// Writes output sample i at its place after the blanked samples, if SampleLine has room.
void Put(SonarState& state, int i, int sample) {
    const int index = state.PulseBlankSamples + i;
    if (index >= 0 && index < SampleLineSize) state.SampleLine[index] = Capped(sample);
}

// Two samples per byte, low nibble first, each scaled up to the 8-bit level range.
void Unpack4(SonarState& state, const uint8_t* data, int count, int shift) {
    for (int j = 0; j < count; ++j) {
        const int b = data[j];
        Put(state, 2 * j, ((b & 0x0F) << 4) >> shift);
        Put(state, 2 * j + 1, (b & 0xF0) >> shift);
    }
}

void Unpack8(SonarState& state, uint8_t* data, int count, int shift) {
    // Records of type 'M' end with four bytes that are not echoes.
    if (state.ReceiveBuffer[1] == 'M') std::fill(data + std::max(0, count - 4), data + count, 0);

    if (state.GridMode != DisplayMode::Polar) {
        for (int i = 0; i < count; ++i) Put(state, i, data[i] >> shift);
        return;
    }
    // Polar keeps half the samples: the stronger echo of each adjacent pair.
    for (int i = 0; i < count / 2; ++i) {
        const int sample = std::max(data[2 * i] >> shift, data[2 * i + 1] >> shift);
        Put(state, i, state.PulseBlankSamples + i > state.PlotSampleCount ? 0 : sample);
    }
}

// Little-endian words whose top bits carry the level.
void Unpack16(SonarState& state, const uint8_t* data, int count, int shift) {
    for (int i = 0; i < count / 2; ++i) {
        const int word = data[2 * i] | (data[2 * i + 1] << 8);
        Put(state, i, ((word >> 6) >> shift) & 0xFF);
    }
}

}  // namespace

void UnpackSamples(SonarState& state) {
    const int n = state.ExpectedReturnLength;
    if (!ReplyLengthIsValid(n)) return;
    if (state.PulseBlankSamples < 0 || state.PulseBlankSamples >= SampleLineSize) return;
    // The data runs up to the end byte; the count in bytes 10-11 is the head's word and
    // is not trusted to size anything.
    uint8_t* data = state.ReceiveBuffer.data() + ReplyHeaderBytes;
    const int count = n - ReplyFrameBytes;
    const int shift = MixShift(state.Profile, state.DataBits);
    switch (state.DataBits) {
    case 4: Unpack4(state, data, count, shift); break;
    case 8:
        Unpack8(state, data, count, shift);
        // The program finds the profile point itself only in 8-bit data; with the other
        // widths the head's point stands.
        if (state.ProfileDigitizationSource == 1) DetectProfilePoint(state);
        break;
    case 16: Unpack16(state, data, count, shift); break;
    default: break;
    }
}

}  // namespace tidemar
