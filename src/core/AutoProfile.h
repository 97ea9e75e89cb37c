#pragma once
// The auto-profile cycle: while it is enabled, the profile point of every plotted ping is
// collected into the scan list; when the head has finished one sweep the scan is complete
// and is handed on (XYZ file, screen capture, the next scan's dialog), and the list starts
// again empty.
//
// The scan's own state lives in SonarState so that the ping dispatch can read it:
//   AutoProfilePositioning    set from StartScan until the head reaches the sector start
//   AutoProfileScanDirection  the step direction the scan is collected in
//   AutoProfileLastPosition   head position at the previous ping (1200 when unknown)
//   AutoProfileStartPosition  head position of the sector start
//   BusyCursorOn              the hourglass while the head is moved to the start
// ProfileScan holds the list and the enable state of the last dialog.

#include <cstdint>
#include <string>
#include <vector>

#include "core/SonarState.h"

namespace tidemar {

inline constexpr int ProfileScanCapacity = 1200;
inline constexpr int ProfileTimestampCapacity = 39;  // a 40-byte zero-terminated text
// A full circle is complete when the head passes through positions 0..8 with at least
// this many points collected.
inline constexpr int FullCircleMinimumRecords = 101;
inline constexpr int FullCircleWrapPositions = 8;

struct ProfileScanRecord {
    std::string Timestamp;   // TimestampText of the ping
    float Range = 0.0f;      // metres at 1500 m/s
    float Angle = 0.0f;      // degrees, 0 to 360
    uint32_t Direction = 0;  // StepDirection of the ping
};

struct ProfileScan {
    std::vector<ProfileScanRecord> Records;  // never more than ProfileScanCapacity
    int PreviousActive = 0;                  // AutoProfileActive when the dialog last closed
};

// Where a scan starts and ends, from the sector dial of the current settings.
struct ScanGeometry {
    int StartField = 0;     // train code the head is sent to, 0..119
    int StartPosition = 0;  // head position of the sector start, 0..1200
    int EndPosition = 0;    // head position of the sector end
};

// Empties the list and moves the head to the sector start: the next block sent is the
// positioning block (PositionHead), and the status box says "Wait - Adjusting
// Transducer" until the head gets there.
void StartScan(SonarState& state, ProfileScan& scan, const ScanGeometry& geometry);

// The record of the current ping: its time stamp, the profile range in metres (at
// 1500 m/s; 0.004 m a sample in Polar mode, 0.002 otherwise, per metre of range) and the
// head angle plus VerticalAngleOffset brought into 0..360. Appended while the list has
// room; past ProfileScanCapacity points are dropped. Nothing is recorded while the head
// is still on its way to the start; the first ping there ends the busy cursor.
ProfileScanRecord ProfilePointOf(const SonarState& state);
void RecordProfilePoint(SonarState& state, ProfileScan& scan);

// After each valid live ping: true when the sweep has ended. A sector ends when the head
// reverses; a full circle (SectorSize 360) when the head comes round to positions 0..8
// having been at the sector end (within 8) and with at least 101 points. While the head
// is still positioning only the direction is noted. Updates the last head position.
bool CheckScanComplete(SonarState& state, ProfileScan& scan, const ScanGeometry& geometry);

// What a completed scan is turned into; the window answers with dialogs and the screen
// capture, tidemar-cli saves every scan and asks nothing.
class ScanCompletion {
public:
    virtual ~ScanCompletion() = default;
    // "Save This Profile?"; asked only when AutoProfileSaveConfirmation is 1.
    virtual bool ConfirmSave() = 0;
    // The scan's XYZ file (AutoProfileXYZ) and screen capture (AutoProfileBMP).
    virtual void WriteXyz(const std::vector<ProfileScanRecord>& records) = 0;
    virtual void CaptureScreen() {}
    // The Auto-Profile dialog for the next scan (AutoProfilePromptForScan).
    virtual void PromptForScan() {}
    // The recent profile marks of the picture.
    virtual void ClearProfileMarks() {}
};

// Saves a completed scan as the settings ask, offers the next, and empties the list.
void FinishScan(SonarState& state, ProfileScan& scan, ScanCompletion& completion);

// One step of the cycle between two live pings: CheckScanComplete and, when the sweep
// ended, FinishScan. The scan direction is then the one of this ping. True when a scan
// was finished.
bool AutoProfileCycleStep(SonarState& state, ProfileScan& scan, const ScanGeometry& geometry,
                          ScanCompletion& completion);

// The dialog's Ok: when live and auto-profile has just been enabled, a new scan starts.
// The enable state is then remembered. True when a scan was started.
bool AcceptAutoProfileSettings(SonarState& state, ProfileScan& scan, const ScanGeometry& geometry);

// Forgets the scan in progress (the list is kept): no positioning, no busy cursor, the
// enable state of the last dialog off. Used when the data source changes.
void ResetAutoProfileCycle(SonarState& state, ProfileScan& scan);

}  // namespace tidemar
