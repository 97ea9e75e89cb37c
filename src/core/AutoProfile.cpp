#include "core/AutoProfile.h"

#include "core/Modes.h"
#include "core/Reply.h"
#include "core/SonarTables.h"
#include "core/SwitchCommand.h"

namespace tidemar {

void StartScan(SonarState& state, ProfileScan& scan, const ScanGeometry& geometry) {
    scan.Records.clear();
    state.AutoProfileStartPosition = geometry.StartPosition;
    state.AutoProfileScanDirection = state.StepDirection;
    state.BusyCursorOn = 1;
    PositionHead(state, geometry.StartField);
}

ProfileScanRecord ProfilePointOf(const SonarState& state) {
    ProfileScanRecord record;
    record.Timestamp = state.TimestampText.substr(0, ProfileTimestampCapacity);
    const float metresPerSample = state.GridMode == DisplayMode::Polar ? 0.004f : 0.002f;
    record.Range = static_cast<float>(state.ProfileSample) * static_cast<float>(state.RangeMeters) * metresPerSample;
    float angle = state.HeadAngleDeg + state.VerticalAngleOffset;
    if (angle >= 360.0f)
        angle -= 360.0f;
    else if (angle < 0.0f)
        angle += 360.0f;
    record.Angle = angle;
    record.Direction = static_cast<uint32_t>(state.StepDirection);
    return record;
}

void RecordProfilePoint(SonarState& state, ProfileScan& scan) {
    // Points met on the way to the start would repeat part of the sweep out of order.
    if (state.AutoProfilePositioning) return;
    state.BusyCursorOn = 0;
    if (static_cast<int>(scan.Records.size()) >= ProfileScanCapacity) return;
    scan.Records.push_back(ProfilePointOf(state));
}

bool CheckScanComplete(SonarState& state, ProfileScan& scan, const ScanGeometry& geometry) {
    if (state.AutoProfilePositioning) {
        state.AutoProfileScanDirection = state.StepDirection;
        return false;
    }
    if (state.SectorSize == 360) {
        const bool complete = state.HeadPosition >= 0 && state.HeadPosition <= FullCircleWrapPositions &&
                              state.AutoProfileLastPosition >= geometry.EndPosition - FullCircleWrapPositions &&
                              static_cast<int>(scan.Records.size()) >= FullCircleMinimumRecords;
        state.AutoProfileLastPosition = state.HeadPosition;
        return complete;
    }
    return state.StepDirection != state.AutoProfileScanDirection;
}

void FinishScan(SonarState& state, ProfileScan& scan, ScanCompletion& completion) {
    const bool save = state.AutoProfileSaveConfirmation != 1 || completion.ConfirmSave();
    if (save) {
        if (state.AutoProfileXYZ == 1) completion.WriteXyz(scan.Records);
        if (state.AutoProfileBMP == 1) completion.CaptureScreen();
    }
    if (state.AutoProfilePromptForScan == 1) completion.PromptForScan();
    scan.Records.clear();
    completion.ClearProfileMarks();
}

bool AutoProfileCycleStep(SonarState& state, ProfileScan& scan, const ScanGeometry& geometry,
                          ScanCompletion& completion) {
    const bool complete = CheckScanComplete(state, scan, geometry);
    if (complete) FinishScan(state, scan, completion);
    state.AutoProfileScanDirection = state.StepDirection;
    return complete;
}

bool AcceptAutoProfileSettings(SonarState& state, ProfileScan& scan, const ScanGeometry& geometry) {
    bool started = false;
    if (state.RunMode == DataSource::Head && state.AutoProfileActive && !scan.PreviousActive) {
        StartScan(state, scan, geometry);
        started = true;
    }
    if (!state.AutoProfileActive) {
        // Switched off while the head was still on its way: nothing waits for it now.
        state.AutoProfilePositioning = 0;
        state.BusyCursorOn = 0;
    }
    scan.PreviousActive = state.AutoProfileActive;
    return started;
}

void ResetAutoProfileCycle(SonarState& state, ProfileScan& scan) {
    scan.PreviousActive = 0;
    state.AutoProfilePositioning = 0;
    state.BusyCursorOn = 0;
    state.AutoProfileScanDirection = 0;
    state.AutoProfileLastPosition = HeadPositionCount;
}

}  // namespace tidemar
