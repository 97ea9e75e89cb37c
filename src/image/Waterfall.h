#pragma once
// The SS display: every ping is one row of the picture, and the picture scrolls by one
// row per ping so the pings build a waterfall, range across and time down (or up).

#include <cstddef>  // SonarImage.h uses size_t

#include "image/SonarImage.h"
#include "core/SonarState.h"

namespace tidemar {

// Where a ping's samples go across a row for SsSide: Port from column 595 leftwards,
// Starboard from column 95 rightwards. Both has no layout of its own and is drawn as
// Port, like any other value.
struct SsRowLayout {
    int FirstColumn;        // range zero
    int Step;               // -1 or +1
    int LastClearedColumn;  // columns 0 to this are cleared in every new row
};

SsRowLayout SsRowLayoutOf(int ssSide);

// Scrolls the picture by one row (down, or up with reverse, which playback uses when it
// runs backwards through a file) and writes SampleLine into the freed row (row 0, or 505
// with reverse): the first PlotSampleCount samples (held to SampleLine's size), each at
// most 107, keeping the grid bit of the pixel under it with Grid on; the columns beyond
// the samples' side are cleared. Before the row is written, with Grid on, the range-zero
// column is dashed again, 8 rows on and 8 off, so the dashes stay put on the screen
// instead of scrolling with the picture. The caller shows the picture afterwards.
void PlotWaterfallPing(const SonarState& state, SonarImage& image, bool reverse);

}  // namespace tidemar
