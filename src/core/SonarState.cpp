#include "core/SonarState.h"

#include <algorithm>

#include "core/Modes.h"
#include "core/SonarTables.h"

namespace tidemar {

bool SetRange(SonarState& state, int rangeIndex) {
    rangeIndex = std::clamp(rangeIndex, 0, RangeCount - 1);
    const RangeRow& row = RangeTable[rangeIndex];
    state.Range = rangeIndex;
    state.RangeMeters = row.Meters;
    state.RangeScale = row.RangeScale;
    state.SampleSpacing = 0.1f * row.RangeScale;
    if (state.RunMode != DataSource::Head || state.ConfigType != 1) return false;
    const int before = state.Frequency;
    ApplyUserConfig(state);
    return state.Frequency != before;
}

void ApplyUserConfig(SonarState& state) {
    const UserConfigRow& row = state.UserConfig.Active[std::clamp(state.Range, 0, RangeCount - 1)];
    state.Frequency = row.Frequency;
    state.Absorption = row.Absorption;
    int pulse = row.PulseLength;
    if (state.GridMode == DisplayMode::Polar) pulse *= 2;
    state.PulseLength = std::min(pulse, 1000);
}

void ApplySpeed(SonarState& state) {
    const SpeedRow& row = SpeedTable[std::clamp(state.Speed, 0, SpeedCount - 1)];
    state.StepAngle = row.StepAngle;
    state.AutoProfileMargin = row.AutoProfileMargin;
}

namespace {

// One list of the saved fields, used in both directions so that saving and restoring
// can never drift apart.
template <typename Settings, typename State>
void CopyHeadSettings(Settings& settings, State& state, bool save) {
    auto move = [save](auto& saved, auto& live) {
        if (save)
            saved = live;
        else
            live = saved;
    };
    move(settings.Xdcr, state.Xdcr);
    move(settings.RangeMeters, state.RangeMeters);
    move(settings.Range, state.Range);
    move(settings.Speed, state.Speed);
    move(settings.Gain, state.Gain);
    move(settings.SectorSize, state.SectorSize);
    move(settings.Train, state.Train);
    move(settings.Absorption, state.Absorption);
    move(settings.DataBits, state.DataBits);
    move(settings.PulseLength, state.PulseLength);
    move(settings.GridMode, state.GridMode);
    move(settings.SoundVelocityMeters, state.SoundVelocityMeters);
    move(settings.UserText, state.UserText);
    move(settings.ProfileDredgeDepth, state.ProfileDredgeDepth);
}

}  // namespace

void EnterPlayback(SonarState& state) { CopyHeadSettings(state.HeadSettingsBackup, state, true); }

void LeavePlayback(SonarState& state) {
    CopyHeadSettings(state.HeadSettingsBackup, state, false);
    state.RequestedProfile = state.Profile;
}

}  // namespace tidemar
