#pragma once
// The measurement read-out under the right end of the image: origin ("Org:"), target
// ("Tar:") and their difference ("Diff:") in the sonar's own coordinates, for a window
// point. Without a locked origin the origin is the head; after a right click in the image
// the clicked point is the origin and Diff is distance and bearing from it to the pointer.
// Distances are corrected for the sound velocity (the samples are spaced for 1500 m/s) and
// shown in metres or feet; bearings are degrees clockwise from screen-up.

#include <array>
#include <optional>
#include <string>

#include "core/SonarState.h"
#include "ui_core/PanelLayout.h"

namespace tidemar {

// The pointer and the lock, owned by the window's mouse handling.
struct MeasureInput {
    int X = 0;  // pointer, window client pixels
    int Y = 0;
    bool CursorInImage = false;  // false: the box is drawn empty
    bool Lock = false;           // MeasureLock: origin fixed at (OriginX, OriginY)
    int OriginX = 0;
    int OriginY = 0;
};

struct MeasureReadout {
    bool Empty = true;       // nothing to write (pointer outside, or an SS side without one)
    bool Cartesian = false;  // ProfileGrid outside SS: label and value drawn separately
    // Full lines ("Org: 000.00 M, 000.0 Deg"); each centred on MeasureLineCentre.
    std::array<std::string, 3> Lines;
    // Cartesian only: "Org:", "Tar:", "Diff:" at MeasureLabelLeft and the values at
    // MeasureValueLeft. Lines then hold label + " " + value, for logging.
    std::array<std::string, 3> Labels;
    std::array<std::string, 3> Values;
    // The numbers behind the texts after every correction: Org, Tar, Diff as (distance,
    // angle) pairs, or (horizontal, vertical) in the Cartesian read-out (Diff: distance only).
    std::array<double, 3> First{};
    std::array<double, 3> Second{};
};

// Everything the read-out shows for a pointer.
MeasureReadout ComputeMeasure(const SonarState& state, const MeasureInput& input);

// Row of the sonar origin in window pixels for the pointer's y (Sector 508, or 507/4 with
// the profile grid by ZeroDown; Polar 256, without the profile grid 255 unless y is 256;
// Profile: 3).
int MeasureOriginRow(const SonarState& state, int pointerY);

// SS samples from the range-zero edge to a window column: Port 598 - px, Stbd px - 98,
// limited to 0..500. No count for other sides.
std::optional<int> SsSampleCount(int px, int ssSide);

// Placement in the box of the layout (the box itself is PanelLayout::MeasureBox).
int MeasureLineCentre(const PanelLayout& layout);         // 599 - 8 * CharWidth
int MeasureLabelLeft(const PanelLayout& layout);          // 605 - 16 * CharWidth
int MeasureValueLeft(const PanelLayout& layout);          // 627 - 16 * CharWidth
int MeasureLineTop(const PanelLayout& layout, int line);  // 512 + line * CharHeight
// Left edge of a line of `textWidth` pixels centred on MeasureLineCentre (half width
// rounded down), trailing spaces counted in the width.
int MeasureLineLeft(const PanelLayout& layout, int textWidth);

// Image pixels (columns 0..595, rows 0..505) to refresh before the measurement line is
// redrawn, from window points: not yet armed, the square origin - 12 .. origin + 8; armed,
// the rectangle spanning the origin and the last drawn point grown by 12 on every side.
Rect MeasureRefreshArea(bool lineArmed, Point origin, Point lastDrawn);

}  // namespace tidemar
