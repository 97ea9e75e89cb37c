#pragma once
// Profile points drawn over or instead of the echoes in the Sector and Polar displays, and
// the dredge line. Markers are drawn in colour 106 (234 on a grid pixel with Grid on) at
// ProfileSample pixels from the centre (column 298; row 505 in Sector, 253 in Polar, row 1
// in Sector with the apex at the top) along the head angle; with the apex at the top
// (ProfileGrid 1, ZeroDown 0) the picture is upside down in both modes.
//
// Each function only writes pixels and its own bookkeeping in ImageState, and returns
// whether the picture changed, so the caller knows to show it.

#include <cstddef>  // SonarImage.h uses size_t

#include "image/SonarImage.h"
#include "core/SonarState.h"

namespace tidemar {

// Points Only: one point per head position. The points stored for the nine positions
// from the head's on in its drawing direction are wiped first, so a scanning head leaves a
// line of points that is cleared just ahead of the head on the next sweep. The new point
// is stored for the head position even when ProfileSample is 0: then nothing is drawn, but
// the centre pixel is wiped when the head comes by again. A point outside the picture is
// neither drawn nor stored. Head positions are taken modulo 1200.
bool PlotProfilePointOnly(const SonarState& state, ImageState& image);

// The mix modes, after the echo wedge: the last five points are drawn again (the wedge may
// have covered them) and the new one is added to the ring. Nothing happens when
// ProfileSample is 0. In Polar with the program's own detection the point is at half the
// sample index, since the detection counts the unpaired data bytes.
bool PlotMixProfilePoint(const SonarState& state, ImageState& image);

// The dredge line, only with ProfileGrid 1 outside SS: a whole row in colour 88 (216 on
// grid pixels) at ProfileDredgeDepth (display units) below the sonar, redrawn every ping
// while the depth is positive. The row drawn before is cleared first (keeping its grid
// bits); it is cleared once, so echoes drawn there later are left alone. Rows outside
// 1..504 are not drawn.
bool DrawDredgeLine(const SonarState& state, ImageState& image);

// The image row of the dredge line for the state's depth, range, units and sound
// velocity, or -1 when it falls outside rows 1..504 or the depth is not positive.
int DredgeLineRow(const SonarState& state);

}  // namespace tidemar
