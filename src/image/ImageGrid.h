#pragma once
// The range grid inside the picture, and where the sector's edges lie in head positions.
//
// The grid lives in the picture as the grid bit (128) on top of a pixel's echo value, so
// echoes drawn later keep it and the palette shows every grid pixel in one colour.

#include <cstddef>  // SonarImage.h uses size_t
#include <cstdint>

#include "image/SonarImage.h"
#include "core/SonarState.h"

namespace tidemar {

// ---- the grid bit ---------------------------------------------------------------------
inline constexpr int GridPixelLimit = 245;

// A pixel below 128 gains the grid bit (at most 245); one that has it keeps it.
constexpr uint8_t WithGridBit(uint8_t pixel) {
    return pixel < GridBit ? static_cast<uint8_t>(pixel + GridBit > GridPixelLimit ? GridPixelLimit : pixel + GridBit)
                           : pixel;
}

constexpr uint8_t WithoutGridBit(uint8_t pixel) {
    return pixel >= GridBit ? static_cast<uint8_t>(pixel - GridBit) : pixel;
}

// The value to draw over pixel: value itself, or value + 128 (at most 245) when the grid
// is on and the pixel carries the grid bit, so drawing never wipes the grid.
constexpr uint8_t OverGridPixel(uint8_t pixel, int value, bool gridOn) {
    if (gridOn && pixel >= GridBit)
        return static_cast<uint8_t>(value + GridBit > GridPixelLimit ? GridPixelLimit : value + GridBit);
    return static_cast<uint8_t>(value);
}

// ---- the grid -------------------------------------------------------------------------
// Pixels between grid lines or rings: 100 (91.44 in feet) for the 500-pixel range of
// Sector and SS, 50 (45.72) for Polar's 250, scaled by 1500 / SoundVelocityMeters because
// the samples are spaced for 1500 m/s.
double GridSpacing(const SonarState& state);

// With Grid 1 sets the grid bit on every grid pixel of the display mode, with Grid 0 takes
// it off the same pixels, so turning the grid off and on leaves the picture as it was.
// The caller shows the picture and redraws the dredge line afterwards.
//
// Sector: baseline row 504 (row 1 with the apex at the top), centre column 297; range
// rings around (297, 505), or with ProfileGrid a dotted rectangular grid. Polar: row 253
// and column 297; rings around (297, 252) or the dotted grid. SS: the range-zero column,
// dashed 8 rows on and 8 off (with Grid 0 it loses the bit on every row), and full-height
// range lines. Modes other than Polar and SS get the Sector grid; SsSide Both has
// no layout of its own and gets Port's, as the waterfall does.
//
// A sound velocity that leaves less than one pixel between lines (or none at all) draws
// only the lines that do not depend on it.
//
// The pixel set of each layout is computed once and kept.
void DrawImageGrid(const SonarState& state, SonarImage& image);

// ---- the sector dial ------------------------------------------------------------------
enum class DialShape {
    Line,        // SectorSize 0: the head does not step; a line towards Train
    Pie,         // a sector from the start edge to the end edge
    FullCircle,  // SectorSize 360
};

struct SectorDial {
    DialShape Shape = DialShape::Line;
    double StartEdgeDegrees = 0.0;  // Train - SectorSize / 2, brought into -180..180
    double EndEdgeDegrees = 0.0;    // Train + SectorSize / 2, brought into -180..180
    int StartPosition = 0;          // head positions 0..1200, 0.3 degrees apart
    int EndPosition = 0;
    int ScanStartField = 0;  // 0..119 in 3 degree steps: 0 at 180 degrees, 60 at 0
};

// The sector edges of Train and SectorSize, the head positions of the sector's start and
// end, and the position field an auto-profile scan starts from. A full circle has edges
// -180 and 180. With ProfileGrid 1 and ZeroDown 0 the head positions are mirrored (1200
// becomes 0) and swapped, and the scan starts from the end edge; with Xdcr Up the field is
// mirrored too. A field outside 0..119 is 0.
SectorDial ComputeSectorDial(const SonarState& state);

}  // namespace tidemar
