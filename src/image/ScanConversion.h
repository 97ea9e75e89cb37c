#pragma once
// Sector and Polar displays: each ping becomes a thin wedge of radial sub-lines around
// the head angle, so a scanning head paints a continuous fan or disc. Along each sub-line
// the samples are a weighted blend of the last three pings (PingHistory), so neighbouring
// pings fade into each other instead of leaving gaps.

#include <cstddef>

#include "image/SonarImage.h"
#include "core/SonarState.h"

namespace tidemar {

// Draws the ping held in the history into the picture; the caller shows the picture
// afterwards. Reads HeadAngleRad, DrawDirection, DisplaySpeed, SectorSize, GridMode,
// ProfileGrid, ZeroDown, Grid and PlotSampleCount from the state.
//
// Sample i lies i pixels from the centre (column 298; row 505 in Sector, 253 in Polar,
// 1 in Sector with the apex at the top). Near the centre fewer sub-lines are drawn, since
// they would all land on the same few pixels. Pixels outside the picture are skipped.
// Echo values are held to 107; with Grid on, a grid pixel under the wedge keeps its grid
// bit. PlotSampleCount is held to the 640 samples of the history and DisplaySpeed to
// 0..4; a head angle that is not a finite number draws nothing.
void PlotSectorPing(const SonarState& state, ImageState& image);

}  // namespace tidemar
