#include "core/DispatchPing.h"

#include "core/Modes.h"
#include "core/Reply.h"
#include "core/SonarTables.h"

namespace tidemar {

namespace {

constexpr int InvalidReplyPauseMs = 100;

bool Playing(const SonarState& state) { return state.RunMode == DataSource::File; }

// A reply played backwards: the head seems to turn the other way.
bool PlayedBackwards(const SonarState& state) {
    return Playing(state) && state.PlaybackReverse && state.PlaybackBackLink != 0;
}

// The picture is rebuilt when the sample width or the profile mode changed since the last
// check, or when the sector shrank (its old edges would stay on screen otherwise).
bool CheckDisplay(SonarState& state, DispatchTarget& target) {
    if (!state.DisplayCheckPending) return false;
    state.DisplayCheckPending = 0;
    bool redraw = false;
    if (state.DataBits != state.CheckedDataBits || state.Profile != state.CheckedProfile) {
        state.CheckedDataBits = state.DataBits;
        state.CheckedProfile = state.Profile;
        redraw = true;
    }
    if (state.SectorSize < state.PreviousSectorSize) redraw = true;
    if (redraw) {
        target.ResetEchoHistory();
        target.RedrawSonarImage();
    }
    return redraw;
}

void ShowPlayedValues(SonarState& state, DispatchTarget& target, bool redrawn) {
    if (state.PlayedSecond != state.ShownPlayedSecond) {
        state.ShownPlayedSecond = state.PlayedSecond;
        target.DrawDateTime();
    }
    if (state.FileFrequency != state.ShownFileFrequency) {
        state.ShownFileFrequency = state.FileFrequency;
        target.DrawFrequencyReadout();
    }
    if (state.FileHasGps) target.DrawGpsPosition(state.GpsSilenceCount == 0);

    if ((state.ReturnRange != state.DrawnRange || state.GridMode != state.DrawnGridMode) && !redrawn)
        target.RedrawSonarImage();
    state.DrawnRange = state.ReturnRange;
    state.DrawnGridMode = state.GridMode;

    if (state.FileSoundVelocity != state.ShownSoundVelocity) {
        state.ShownSoundVelocity = state.FileSoundVelocity;
        // The grid spacing depends on the sound velocity, so the old grid is taken off
        // before the value changes. Without a grid the value is taken too, so that
        // measurements of the played picture use the file's sound velocity.
        if (state.Grid) target.RemoveGrid();
        state.SoundVelocityMeters = state.FileSoundVelocity;
        if (state.Grid) target.DrawGrid();
        target.RefreshMeasurementReadout();
    }

    if (!state.FileUserText.empty() && state.FileUserText != state.UserText) {
        state.UserText = state.FileUserText;
        target.DrawUserTextBox();
    }
}

// Sector and Polar modes: the ping's wedge, its profile point and the dredge line, and the
// bookkeeping of an auto-profile scan.
void PlotSectorModes(SonarState& state, DispatchTarget& target) {
    const bool againstTheScan = state.AutoProfileActive && !state.AutoProfilePositioning &&
                                state.StepDirection != state.AutoProfileScanDirection;
    if (!againstTheScan) {
        if (state.Profile == 1 || state.ReplyType == 'P') {
            target.PlotProfilePointOnly();
        } else {
            target.AdvancePingHistory();
            target.PlotSectorPing();
            if (state.Profile >= 2 && state.Profile <= 4) target.PlotMixProfilePoint();
        }
    }
    target.DrawDredgeLine();

    if (state.AutoProfilePositioning) {
        if (state.HeadPosition > state.AutoProfileLastPosition &&
            state.HeadPosition >= state.AutoProfileStartPosition) {
            state.AutoProfilePositioning = 0;
            state.AutoProfileScanDirection = state.StepDirection;
            target.EraseLinkStatus();
        }
        state.AutoProfileLastPosition = state.HeadPosition;
    } else {
        state.AutoProfileLastPosition = HeadPositionCount;
    }
    if (state.AutoProfileActive) target.AddProfilePoint(state);
}

}  // namespace

DispatchResult DispatchPing(SonarState& state, const Clock& clock, DispatchTarget& target) {
    DispatchResult result;
    if (target.DiagnosticsShown()) target.RefreshDiagnostics();

    const bool valid = ValidateReply(state, clock, &result.SecondChanged) == 1;
    if (result.SecondChanged) target.OnNewSecond();

    state.PingIndicatorOn = !state.PingIndicatorOn;
    target.DrawPingIndicator(valid && state.PingIndicatorOn);

    if (state.ReceiveBuffer[1] == 'T') {
        target.RefreshHeadScan();
        result.PauseMilliseconds = InvalidReplyPauseMs;
        return result;
    }
    if (!valid) {
        if (!Playing(state)) result.PauseMilliseconds = InvalidReplyPauseMs;
        return result;
    }

    if (PlayedBackwards(state)) state.DrawDirection = 1 - state.DrawDirection;

    if (!Playing(state) && target.Recording()) target.WriteRecord(state);

    if (Playing(state)) state.DisplayCheckPending = 1;
    const bool redrawn = CheckDisplay(state, target);
    if (Playing(state)) ShowPlayedValues(state, target, redrawn);

    target.RefreshChangedReadouts();
    target.DrawHeadPosition();

    if (state.RangeChangedPending) {
        target.ResetEchoHistory();
        target.RedrawSonarImage();
        state.RangeChangedPending = 0;
    } else {
        if (state.GridMode == DisplayMode::SideScan)
            target.PlotWaterfallPing(PlayedBackwards(state));
        else
            PlotSectorModes(state, target);
        target.RedrawMeasureLine();
    }

    if (state.PixelZoom) target.UpdatePixelZoom();

    if (Playing(state) && state.PlotSpeed < 100)
        result.PauseMilliseconds = PlotDelayMilliseconds(100 - state.PlotSpeed);
    return result;
}

int PlotDelayMilliseconds(int d) {
    if (d <= 0) return 0;
    if (d <= 10) return static_cast<int>(d * 0.25);
    if (d <= 20) return static_cast<int>(d * 0.5);
    if (d <= 30) return static_cast<int>(d * 0.75);
    if (d <= 40) return d;
    if (d <= 50) return 2 * d;
    if (d <= 60) return 4 * d;
    if (d <= 70) return 6 * d;
    if (d <= 80) return 8 * d;
    if (d <= 90) return 10 * d;
    return 12 * d;
}

}  // namespace tidemar
