#include "ui_core/PanelActions.h"

#include <algorithm>
#include <array>

#include "core/Modes.h"
#include "core/SonarTables.h"

namespace tidemar {

namespace {

constexpr int MaxRangeIndex = RangeCount - 1;
constexpr int MaxGain = 40;
constexpr int MaxSpeed = SpeedCount - 1;
constexpr int SectorStep = 3;
constexpr int TrainStep = 3;
constexpr int PlotSpeedStep = 10;

constexpr int SsPortTrain = 270;
constexpr int SsStbdTrain = 90;

constexpr std::array<int, RangeCount> FeetRanges = {3, 6, 9, 12, 15, 30, 60, 90, 120, 150, 180, 240, 300, 450, 600};

bool IsSs(const SonarState& s) { return s.GridMode == DisplayMode::SideScan; }

// Largest sector of a display mode; a step above it wraps to 0.
int MaxSectorOfMode(int gridMode) {
    switch (gridMode) {
    case DisplayMode::Polar: return 360;
    case DisplayMode::SideScan: return 0;
    default: return 180;
    }
}

// What a step below 0 wraps to.
int SectorBelowZero(int gridMode) {
    switch (gridMode) {
    case DisplayMode::Polar: return 360;
    case DisplayMode::SideScan: return 0;
    default: return 180;
    }
}

PanelUpdate StepRange(SonarState& state, int delta) {
    const int next = state.Range + delta;
    if (next < 0 || next > MaxRangeIndex) return {};
    state.Range = next;
    PanelUpdate u;
    u.ResetEchoHistory = true;
    u.RedrawImage = !IsSs(state);
    u.GridLabel = state.Grid != 0;
    u |= RangeReadout(state);
    state.RangeChangedPending = 1;
    return u;
}

PanelUpdate StepGain(SonarState& state, int delta) {
    const int next = state.Gain + delta;
    if (next < 0 || next > MaxGain) return {};
    state.Gain = next;
    PanelUpdate u;
    u.GainReadout = true;
    return u;
}

PanelUpdate StepSpeed(SonarState& state, int delta) {
    const int next = state.Speed + delta;
    if (next < 0 || next > MaxSpeed) return {};
    state.Speed = next;
    return SpeedReadout(state);
}

PanelUpdate StepSector(SonarState& state, bool up) {
    state.PreviousSectorSize = state.SectorSize;
    if (up) {
        state.SectorSize += SectorStep;
        if (state.SectorSize > MaxSectorOfMode(state.GridMode)) state.SectorSize = 0;
    } else {
        state.SectorSize -= SectorStep;
        if (state.SectorSize < 0) state.SectorSize = SectorBelowZero(state.GridMode);
    }
    PanelUpdate u = SectorReadout(state);
    if (!up) state.DisplayCheckPending = 1;
    return u;
}

PanelUpdate StepTrain(SonarState& state, bool up) {
    if (IsSs(state)) {
        // Only Port and Starboard are reachable; Both is stepped over.
        int next = state.SSTrain + (up ? 1 : -1);
        if (next == SideScanSide::Both) next = up ? SideScanSide::Starboard : SideScanSide::Port;
        if (next < SideScanSide::Port || next > SideScanSide::Starboard) return {};
        state.SSTrain = next;
        return TrainReadout(state);
    }
    int next = state.Train + (up ? TrainStep : -TrainStep);
    next %= 360;
    if (next < 0) next += 360;
    state.Train = next;
    PanelUpdate u = TrainReadout(state);
    state.RangeChangedPending = 1;
    return u;
}

PanelUpdate StepPlotSpeed(SonarState& state, bool up) {
    if (up) {
        if (state.PlotSpeed >= 91) return {};
        state.PlotSpeed += PlotSpeedStep;
    } else {
        if (state.PlotSpeed < PlotSpeedStep) return {};
        state.PlotSpeed -= PlotSpeedStep;
    }
    PanelUpdate u;
    u.PlotSpeedBar = true;
    return u;
}

}  // namespace

PanelUpdate& PanelUpdate::operator|=(const PanelUpdate& o) {
    RangeReadout |= o.RangeReadout;
    ModeReadout |= o.ModeReadout;
    GainReadout |= o.GainReadout;
    SpeedReadout |= o.SpeedReadout;
    SectorReadout |= o.SectorReadout;
    TrainReadout |= o.TrainReadout;
    FrequencyReadout |= o.FrequencyReadout;
    GridLabel |= o.GridLabel;
    if (o.GridRedraw && !GridRedraw) PreviousSsSide = o.PreviousSsSide;
    GridRedraw |= o.GridRedraw;
    RedrawImage |= o.RedrawImage;
    ResetEchoHistory |= o.ResetEchoHistory;
    PanelRowsInvalidated |= o.PanelRowsInvalidated;
    HeadIndicator |= o.HeadIndicator;
    MeasureTool |= o.MeasureTool;
    ClearMeasureLock |= o.ClearMeasureLock;
    ProfileGridTurnedOff |= o.ProfileGridTurnedOff;
    ProfileMenuItems |= o.ProfileMenuItems;
    HoldBox |= o.HoldBox;
    HoldMenuItems |= o.HoldMenuItems;
    RevFlash |= o.RevFlash;
    PlaybackReverseBox |= o.PlaybackReverseBox;
    PlotSpeedBar |= o.PlotSpeedBar;
    KeyEntryBox |= o.KeyEntryBox;
    KeyEntryErase |= o.KeyEntryErase;
    ClearScreen |= o.ClearScreen;
    return *this;
}

bool PanelUpdate::Any() const {
    return RangeReadout || ModeReadout || GainReadout || SpeedReadout || SectorReadout || TrainReadout ||
           FrequencyReadout || GridLabel || GridRedraw || RedrawImage || ResetEchoHistory || PanelRowsInvalidated ||
           HeadIndicator || MeasureTool || ClearMeasureLock || ProfileGridTurnedOff || ProfileMenuItems || HoldBox ||
           HoldMenuItems || RevFlash || PlaybackReverseBox || PlotSpeedBar || KeyEntryBox || KeyEntryErase ||
           ClearScreen;
}

PanelUpdate PressButton(SonarState& state, PanelElement button) {
    if (!ElementActive(button, state)) return {};
    switch (button) {
    case PanelElement::RangeUp: return StepRange(state, +1);
    case PanelElement::RangeDown: return StepRange(state, -1);
    case PanelElement::ModeUp: return ChangeMode(state, +1);
    case PanelElement::ModeDown: return ChangeMode(state, -1);
    case PanelElement::GainUp: return StepGain(state, +1);
    case PanelElement::GainDown: return StepGain(state, -1);
    case PanelElement::SpeedUp: return StepSpeed(state, +1);
    case PanelElement::SpeedDown: return StepSpeed(state, -1);
    case PanelElement::SectorUp: return StepSector(state, true);
    case PanelElement::SectorDown: return StepSector(state, false);
    case PanelElement::TrainUp: return StepTrain(state, true);
    case PanelElement::TrainDown: return StepTrain(state, false);
    case PanelElement::PlotSpeedRight: return StepPlotSpeed(state, true);
    case PanelElement::PlotSpeedLeft: return StepPlotSpeed(state, false);
    default: return {};
    }
}

bool ButtonAtLimit(PanelElement button, const SonarState& state) {
    switch (button) {
    case PanelElement::RangeUp: return state.Range >= MaxRangeIndex;
    case PanelElement::RangeDown: return state.Range <= 0;
    case PanelElement::GainUp: return state.Gain >= MaxGain;
    case PanelElement::GainDown: return state.Gain < 1;
    case PanelElement::PlotSpeedRight: return state.PlotSpeed >= 100;
    case PanelElement::PlotSpeedLeft: return state.PlotSpeed < 1;
    default: return false;
    }
}

bool ButtonRepeats(PanelElement button) {
    return (IsParameterArrow(button) && ArrowParameter(button) != PanelParameter::Mode) ||
           button == PanelElement::PlotSpeedLeft || button == PanelElement::PlotSpeedRight;
}

PanelUpdate ChangeMode(SonarState& state, int delta) {
    const int old = state.GridMode;
    const int next = old + delta;
    if (delta == 0 || next < DisplayMode::Sector || next > DisplayMode::SideScan) return {};

    PanelUpdate u;
    if (old == DisplayMode::Sector)
        state.SectorSectorSize = state.SectorSize;
    else if (old == DisplayMode::Polar)
        state.PolarSectorSize = state.SectorSize;
    state.RangeChangedPending = 1;

    state.GridMode = next;
    if ((old == DisplayMode::SideScan) != (next == DisplayMode::SideScan)) u.PanelRowsInvalidated = true;
    if (next == DisplayMode::SideScan && state.ProfileGrid) {
        state.ProfileGrid = 0;
        u.ProfileGridTurnedOff = true;
    }

    state.PreviousSectorSize = state.SectorSize;
    switch (next) {
    case DisplayMode::Sector:
        // A remembered sector outside the mode's range (a damaged INI file) is held to it.
        state.SectorSize = std::clamp(state.SectorSectorSize, 0, 180);
        state.Train = state.SectorTrain;
        break;
    case DisplayMode::Polar:
        state.SectorSize = std::clamp(state.PolarSectorSize, 0, 360);
        state.Train = state.PolarTrain;
        break;
    default:
        state.SectorSize = 0;
        if (state.SSTrain == SideScanSide::Port)
            state.Train = SsPortTrain;
        else if (state.SSTrain == SideScanSide::Starboard)
            state.Train = SsStbdTrain;
        u.ClearMeasureLock = true;
        break;
    }
    u |= SectorReadout(state);
    u |= TrainReadout(state);

    u.RedrawImage = true;
    u.GridLabel = state.Grid != 0;
    u |= ModeReadout(state);
    u |= SpeedReadout(state);
    return u;
}

PanelUpdate RangeReadout(SonarState& state) {
    PanelUpdate u;
    u.RangeReadout = true;
    u.FrequencyReadout = SetRange(state, state.Range);
    u |= SpeedReadout(state);
    return u;
}

PanelUpdate SpeedReadout(SonarState& state) {
    ApplySpeed(state);
    PanelUpdate u;
    u.SpeedReadout = true;
    return u;
}

PanelUpdate SectorReadout(SonarState& state) {
    PanelUpdate u;
    u.SectorReadout = true;
    if (state.GridMode == DisplayMode::Sector || state.GridMode == DisplayMode::Profile)
        state.SectorSectorSize = state.SectorSize;
    else if (state.GridMode == DisplayMode::Polar)
        state.PolarSectorSize = state.SectorSize;
    if (!IsSs(state) && state.SectorSize == 360) state.Train = 0;
    u |= TrainReadout(state);
    u.HeadIndicator = true;
    return u;
}

PanelUpdate TrainReadout(SonarState& state) {
    PanelUpdate u;
    u.TrainReadout = true;
    if (!IsSs(state)) {
        if (state.SectorSize == 360) state.Train = 0;
    } else {
        const int previousSide = state.SsSide;
        state.SsSide = state.SSTrain;
        state.SectorSize = 0;
        if (state.SSTrain == SideScanSide::Port)
            state.Train = SsPortTrain;
        else if (state.SSTrain == SideScanSide::Starboard)
            state.Train = SsStbdTrain;
        if (state.Grid) {
            u.GridRedraw = true;
            u.PreviousSsSide = previousSide;
            u.GridLabel = true;
        }
    }
    if (state.GridMode == DisplayMode::Sector || state.GridMode == DisplayMode::Profile)
        state.SectorTrain = state.Train;
    else if (state.GridMode == DisplayMode::Polar)
        state.PolarTrain = state.Train;
    u.HeadIndicator = true;
    u.MeasureTool = true;
    return u;
}

PanelUpdate ModeReadout(SonarState& state) {
    PanelUpdate u;
    u.ModeReadout = true;
    u.ProfileMenuItems = true;
    u |= RangeReadout(state);
    return u;
}

PanelUpdate HoldToggle(SonarState& state) {
    PanelUpdate u;
    u.HoldBox = true;
    u.HoldMenuItems = true;
    if (!state.HoldActive) {
        state.HoldActive = 1;
        if (state.RunMode == DataSource::Head) state.HoldRequest = 1;
    } else {
        state.HoldActive = 0;
        state.HoldRequest = 0;
    }
    return u;
}

PanelUpdate ReversePulse(SonarState& state) {
    if (state.RunMode != DataSource::Head) return {};
    state.ReverseRequest = 1;
    PanelUpdate u;
    u.RevFlash = true;
    return u;
}

PanelUpdate PlaybackReverseToggle(SonarState& state, bool reverseAvailable) {
    if (state.RunMode != DataSource::File || !reverseAvailable) return {};
    state.PlaybackReverse = state.PlaybackReverse ? 0 : 1;
    PanelUpdate u;
    u.PlaybackReverseBox = true;
    return u;
}

int KeyedRangeIndex(int value, int units) {
    for (int i = 0; i < RangeCount; ++i) {
        const int listed = units == 1 ? FeetRanges[i] : RangeTable[i].Meters;
        if (listed == value) return i;
    }
    return -1;
}

PanelUpdate CancelKeyEntry(KeyEntry& entry) {
    entry.Mode = KeyEntryKind::None;
    entry.Text.clear();
    PanelUpdate u;
    u.KeyEntryErase = true;
    u.FrequencyReadout = true;
    return u;
}

namespace {

// The typed text as a decimal number, truncated: only the digits before the first "."
// count (the text holds nothing but digits and points), so "." and ".5" are 0 and "1.9"
// is 1, whatever the locale's decimal separator.
int TruncatedEntryValue(const std::string& text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

KeyResult FinishKeyEntry(KeyEntry& entry, SonarState& state) {
    KeyResult r;
    if (entry.Mode == KeyEntryKind::None) return r;
    r.Handled = true;
    if (!entry.Text.empty()) {
        const int n = TruncatedEntryValue(entry.Text);
        if (entry.Mode == KeyEntryKind::Range) {
            const int index = KeyedRangeIndex(n, state.Units);
            if (index < 0) {
                r.Message = PanelMessage{KeyboardRangeCaption,
                                         state.Units == 1 ? KeyboardRangeFeetText : KeyboardRangeMetersText};
            } else {
                state.Range = index;
            }
            r.Update.GridLabel = state.Grid != 0;
            r.Update |= RangeReadout(state);
            state.RangeChangedPending = 1;
            r.Update.MeasureTool = true;
        } else {
            if (n >= 0 && n <= MaxGain) {
                state.Gain = n;
                r.Update.GainReadout = true;
            } else {
                r.Message = PanelMessage{KeyboardGainCaption, KeyboardGainText};
            }
        }
    }
    r.Update |= CancelKeyEntry(entry);
    return r;
}

KeyResult HandleTypedKey(KeyEntry& entry, SonarState& state, char key, bool reverseAvailable) {
    KeyResult r;
    const bool head = state.RunMode == DataSource::Head;
    switch (key) {
    case 'h':
    case 'H':
        r.Handled = true;
        r.Update = HoldToggle(state);
        return r;
    case 'c':
    case 'C':
        r.Handled = true;
        r.Update.ClearScreen = true;
        return r;
    case ' ':
        r.Update = head ? ReversePulse(state) : PlaybackReverseToggle(state, reverseAvailable);
        r.Handled = r.Update.Any();
        return r;
    default: break;
    }
    if (!head) return r;

    const bool open = entry.Mode != KeyEntryKind::None;
    switch (key) {
    case 'r':
    case 'R':
    case 'g':
    case 'G':
        if (open) r.Update |= CancelKeyEntry(entry);
        entry.Mode = (key == 'r' || key == 'R') ? KeyEntryKind::Range : KeyEntryKind::Gain;
        entry.Text.clear();
        r.Update.KeyEntryBox = true;
        r.Handled = true;
        return r;
    case 13: return FinishKeyEntry(entry, state);
    case 8:  // a wrong digit can be taken back without starting over
        if (!open) return r;
        if (!entry.Text.empty()) entry.Text.pop_back();
        r.Update.KeyEntryBox = true;
        r.Handled = true;
        return r;
    case 27:
        if (!open) return r;
        r.Handled = true;
        r.Update = CancelKeyEntry(entry);
        return r;
    default: break;
    }
    if (open && ((key >= '0' && key <= '9') || key == '.')) {
        if (static_cast<int>(entry.Text.size()) < KeyEntryMaxLength) entry.Text.push_back(key);
        r.Update.KeyEntryBox = true;
        r.Handled = true;
    }
    return r;
}

}  // namespace tidemar
