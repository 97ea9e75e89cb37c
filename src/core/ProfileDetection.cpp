#include "core/ProfileDetection.h"

#include <algorithm>
#include <cmath>

#include "core/Modes.h"
#include "core/Reply.h"
#include "core/SonarTables.h"

namespace tidemar {

namespace {

constexpr int FullRangeSamples = 500;
constexpr int SearchEnd = 499;      // no profile point at or beyond this sample
constexpr int PulseLookAhead = 20;  // samples after the first crossing still taken as its pulse
constexpr int FarBeyond = 1 << 20;  // a minimum range so far out that nothing is searched
// Bytes 8-9 carry 7 bits and then a whole byte (the decoder does not mask byte 9), as the
// head itself sends ranges beyond 163.83 m.
constexpr int MaxProfileRange = 0x7FFF;

int Threshold(int minimumLevel) { return static_cast<int>(minimumLevel * 100.0 / MaxEchoLevel + 0.5); }

// The sample of ProfileMinimumRange (in display units) on the 500-sample full range.
int MinimumSample(const SonarState& state) {
    const double range = state.RangeMeters * (state.Units == FeetUnits ? FeetPerMeter : 1.0);
    const double minimum = state.ProfileMinimumRange;
    if (std::isnan(minimum)) return FarBeyond;
    if (!(range > 0.0)) return minimum > 0.0 ? FarBeyond : 0;
    const double m = FullRangeSamples * minimum / range + 0.5;
    if (!(m < FarBeyond)) return FarBeyond;
    return m > 0.0 ? static_cast<int>(m) : 0;
}

struct Pulse {
    int First = 0;  // 0: no crossing
    int Last = 0;
};

// The first raw byte from start on at or above the threshold, and the last one at or above
// it within the next PulseLookAhead bytes. Byte 0 is never a crossing.
Pulse FindPulse(const uint8_t* raw, int end, int start, int threshold) {
    for (int k = std::max(start, 1); k < end; ++k) {
        if (raw[k] < threshold) continue;
        Pulse pulse{k, k};
        for (int j = k + 1; j <= k + PulseLookAhead && j < end; ++j)
            if (raw[j] >= threshold) pulse.Last = j;
        return pulse;
    }
    return {};
}

// The profile point in the head's units: centimetres, or 2 mm steps below 5 m. A sample
// is ReturnRange / PlotSampleCount metres; in Polar the raw bytes are half samples.
int ProfileRangeOf(const SonarState& state, int blank) {
    if (state.ProfileSample <= 0 || state.PlotSampleCount <= 0) return 0;
    const int v = std::max(0, state.ProfileSample - blank);
    double p = static_cast<double>(state.ReturnRange) * v / state.PlotSampleCount * 100.0;
    if (state.ReturnRange < 5) p *= 5.0;
    if (state.GridMode == DisplayMode::Polar) p *= 0.5;
    p += 0.5;
    if (!(p < MaxProfileRange)) return MaxProfileRange;
    return p > 0.0 ? static_cast<int>(p) : 0;
}

}  // namespace

void DetectProfilePoint(SonarState& state) {
    const int threshold = Threshold(state.ProfileMinimumLevel);
    const int minimumSample = MinimumSample(state);
    if (minimumSample >= FullRangeSamples) state.ProfileSample = 0;
    if (state.Profile < 2 || state.ReplyType == 'P') return;

    const int blank = std::clamp(state.PulseBlankSamples, 0, SampleLineSize);
    const int dataBytes =
        ReplyLengthIsValid(state.ExpectedReturnLength) ? state.ExpectedReturnLength - ReplyFrameBytes : 0;
    const uint8_t* raw = state.ReceiveBuffer.data() + ReplyHeaderBytes;
    const int start = std::max(0, minimumSample - blank);
    const Pulse pulse = FindPulse(raw, std::min(SearchEnd, dataBytes), start, threshold);

    int sample = 0;
    if (pulse.First != 0) {
        if (state.ProfileDetectionType == 1)
            sample = static_cast<int>(0.5 * ((pulse.First + blank) + (pulse.Last + blank)) + 0.5);
        else
            sample = pulse.First + blank;
    }
    state.ProfileSample = sample > SearchEnd ? 0 : sample;

    const int p = ProfileRangeOf(state, blank);
    state.ProfileRange = p;
    state.ReceiveBuffer[8] = static_cast<uint8_t>(p & 0x7F);
    state.ReceiveBuffer[9] = static_cast<uint8_t>(p >> 7);
}

}  // namespace tidemar
