#include <climits>
#include <cstdio>

#include "core/Modes.h"
#include "core/Reply.h"
#include "core/SonarTables.h"

namespace tidemar {

namespace {

// Mean interval between replies over RepRateReplies replies, in ms; the first reply seen
// only starts the clock. A mean above ten seconds means the link was idle, shown as 0.
void MeasureRepRate(SonarState& state, int64_t tick) {
    if (state.RepRateLastTick >= 0) {
        state.RepRateSum += tick - state.RepRateLastTick;
        if (++state.RepRateCount >= RepRateReplies) {
            int64_t mean = state.RepRateSum / RepRateReplies;
            if (mean > 10000) mean = 0;
            char text[32];
            std::snprintf(text, sizeof text, "%d ms", static_cast<int>(mean));
            state.RepRateText = text;
            state.RepRateSum = 0;
            state.RepRateCount = 0;
        }
    }
    state.RepRateLastTick = tick;
}

// Samples hidden by the transmit pulse; only short ranges have any. The pulse covers
// 0.75 mm of range per microsecond (there and back at 1500 m/s) and a sample is
// RangeScale / 10 m; Polar pairs the samples, hence the half. Anything that is not a
// small count (a zero range scale from a damaged file gives infinity) is no blanking.
int PulseBlankSamplesFor(const SonarState& state) {
    if (state.RangeMeters >= 5) return 0;
    const double f = state.GridMode == DisplayMode::Polar ? 0.5 : 1.0;
    const double samples = state.PulseLength * 0.0075 / state.RangeScale * f + 0.5;
    if (!(samples < 100.0) || samples < 0.0) return 0;
    return static_cast<int>(samples);
}

// The head's profile range in samples. It counts 2 mm steps below 5 m and 1 cm steps from
// there on; Polar pairs the samples, so there are half as many.
double ProfileSamplesOf(const SonarState& state) {
    if (state.ProfileRange == 0) return 0.0;
    double unit = state.RangeMeters < 5 ? 0.002 : 0.01;
    if (state.GridMode == DisplayMode::Polar) unit *= 0.5;
    return state.ProfileRange * unit / state.SampleSpacing;
}

int TruncateSampleIndex(double index) {
    if (!(index >= 0.0) || !(index < static_cast<double>(INT_MAX))) return 0;
    return static_cast<int>(index);
}

void SetProfileSample(SonarState& state) {
    const double v = ProfileSamplesOf(state);
    state.ProfileSample = state.ProfileRange == 0 ? 0 : TruncateSampleIndex(state.PulseBlankSamples + v);
    if (state.Profile == 1 && state.ProfileSample == 0) {
        state.PulseBlankSamples = 0;
        state.ProfileSample = TruncateSampleIndex(state.PulseBlankSamples + v);
    }
}

// The picture is drawn mirrored when the transducer points up in the plain display, and
// in the profile grid when the head's mounting and the grid's orientation disagree.
bool DrawsMirrored(const SonarState& state) {
    if (state.ProfileGrid == 0) return state.Xdcr == Transducer::Up;
    if (state.ProfileGrid == 1) return state.Xdcr == state.ZeroDown;
    return false;
}

void SetHeadAngle(SonarState& state) {
    const int d = state.HeadPosition - HeadPositionAhead;
    state.HeadAngleRad = static_cast<float>(d * Pi / 600);
    state.HeadAngleDeg = static_cast<float>(d * 0.3);
    if (state.GridMode == DisplayMode::Sector && state.ProfileGrid == 0) {
        state.HeadAngleRad = static_cast<float>(state.HeadAngleRad - state.Train * Pi / 180);
    } else if (state.GridMode == DisplayMode::Profile) {
        state.HeadAngleRad = static_cast<float>(state.HeadAngleRad + Pi);
        state.HeadAngleDeg += 180.0f;
    }
    state.HeadAngleRad = static_cast<float>(state.HeadAngleRad + state.ImageRotation * Pi / 180);
    state.HeadAngleDeg += state.ImageRotation;
    if (state.HeadAngleDeg < 0.0f) state.HeadAngleDeg += 360.0f;
}

}  // namespace

void DecodeReply(SonarState& state, const Clock& clock) {
    const int n = state.ExpectedReturnLength;
    if (!ReplyLengthIsValid(n)) return;
    const auto& reply = state.ReceiveBuffer;

    for (int i = 0; i < ReplyHeaderBytes; ++i) state.LastHeader[i] = reply[i];
    state.LastTermByte = reply[n - 1];
    state.ReturnHeadID = reply[3];
    state.SerialStatus = reply[4];

    MeasureRepRate(state, clock.TickMilliseconds());

    const int position = (reply[5] & 0x7F) | ((reply[6] & 0x3F) << 7);
    if (position > HeadPositionCount) {
        state.HeadPosition = state.LastHeadPosition;
    } else {
        state.HeadPosition = position;
        state.LastHeadPosition = position;
    }

    state.StepDirection = (reply[6] >> 6) & 1;
    state.ReturnRange = reply[7];
    state.ProfileRange = (reply[8] & 0x7F) | (reply[9] << 7);

    state.PulseBlankSamples = PulseBlankSamplesFor(state);
    for (int i = 0; i < state.PulseBlankSamples; ++i) state.SampleLine[i] = 0;
    SetProfileSample(state);

    state.DataByteCount = (reply[10] & 0x7F) | ((reply[11] & 0x7F) << 7);

    state.DrawDirection = state.StepDirection;
    if (DrawsMirrored(state)) {
        state.DrawDirection = 1 - state.StepDirection;
        state.HeadPosition = HeadPositionCount - state.HeadPosition;
        if (state.HeadPosition >= HeadPositionCount) state.HeadPosition = 0;
    }

    SetHeadAngle(state);

    if (state.Profile != 1 && state.HeadScanMode != 1) UnpackSamples(state);

    if (state.RunMode == DataSource::File) {
        const int index = RangeIndexOfMeters(state.ReturnRange);
        if (index >= 0) state.Range = index;
    }

    state.DisplaySpeed = state.Speed;
}

}  // namespace tidemar
