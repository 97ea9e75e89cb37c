#pragma once
// The head-position indicator right of the picture: the dial with the sector, the two
// markers around it (where the head points and how the picture is rotated), and the
// transducer pictogram with its labels. Numbers and texts only; the window paints them.

#include "core/SonarState.h"
#include "ui_core/PanelLayout.h"

namespace tidemar {

inline constexpr int MarkerCircleRadius = 42;   // dial radius + 8
inline constexpr int HeadMarkerRadius = 3;      // index 127 disk
inline constexpr int RotationMarkerRadius = 2;  // index 123 disk

// With the profile grid and zero up the picture has its apex at the top, so the dial is
// drawn upside down too (except for the SS display, which has no apex).
bool DialUpsideDown(const SonarState& state);

// A marker on the circle of radius 42 around the dial centre at a head angle (degrees,
// clockwise from up): x = trunc(cx + 42 sin a + 0.5), y = trunc(cy -/+ 42 cos a + 0.5).
Point DialMarkerPoint(Point centre, double degrees, bool upsideDown);

// The angle of the rotation marker: ImageRotation brought into -180..180.
double RotationMarkerDegrees(float imageRotation);

Point HeadMarkerPoint(const PanelLayout& layout, const SonarState& state);
Point RotationMarkerPoint(const PanelLayout& layout, const SonarState& state);

// "Xdcr Down" / "Xdcr Up", or with the profile grid "Xdcr Fwd" / "Xdcr Aft".
const char* XdcrLabel(const SonarState& state);
// With the profile grid, where the zero angle points: "Zero Down" or "Zero Up"; else null.
const char* ZeroLabel(const SonarState& state);

// The values the read-outs last showed from pings, so that each ping only redraws what it
// changed. 1000 means "never shown" and forces a redraw.
struct ShownReadouts {
    int Range = 1000;  // ReturnRange of the reply
    int Mode = 1000;
    int Xdcr = 1000;
    int Speed = 1000;  // DisplaySpeed
    int Train = 1000;
    int Sector = 1000;
    int Gain = 1000;
};

struct ChangedReadouts {
    bool Range = false;         // Range read-out and grid label
    bool ModeAndSpeed = false;  // Mode and Speed read-outs (range or mode changed)
    bool Speed = false;
    bool Train = false;
    bool Sector = false;
    bool Gain = false;
    bool Xdcr = false;  // the transducer pictogram
    bool Any() const { return Range || ModeAndSpeed || Speed || Train || Sector || Gain || Xdcr; }
};

// Compares the state with what was shown and takes the state as shown. Playback brings every
// value from its records; live, only the transducer can change with a ping.
ChangedReadouts TakeChangedReadouts(ShownReadouts& shown, const SonarState& state);

}  // namespace tidemar
