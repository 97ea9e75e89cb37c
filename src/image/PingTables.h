#pragma once
// The echo history the wedges are blended from, and the display reset that empties it
// together with the profile markers.

#include <cstddef>

#include "image/SonarImage.h"
#include "core/SonarState.h"

namespace tidemar {

// Shifts the history by one ping (oldest <- middle <- newest <- SampleLine), or, when
// its reset flag is set, clears the flag and fills all three rows with SampleLine. Only
// the first PlotSampleCount entries are copied; a count outside 0..640 (a file can carry
// anything) is held to that range.
void AdvancePingHistory(PingHistory& history, const SonarState& state);

// Zeroes the first 640 samples of SampleLine and the three history rows, and the profile
// markers: while a played file is open only the ring of recent points (the per-position
// table still holds the played scan), otherwise the whole table as well. The ring starts
// again at its first slot.
void ClearPingTables(SonarState& state, ImageState& image, bool playbackOpen);

}  // namespace tidemar
