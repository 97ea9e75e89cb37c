#pragma once
// The position box under the control panel: what it shows, decided here; the window only
// paints the result at these coordinates (main-window client pixels) with these palette
// entries.
//
//   box       (2, 532) - (200, h + 536), h the height of a text line
//   hidden    pen and brush 121 (the window background): the box is wiped
//   shown     pen 125, brush 122; text 125 on 122
//   no fix    "GPS Lat / Lng Not Available" at (8, 534)
//   position  characters 0..11 of GpsPositionText and "," at (3, 534), characters 12..23
//             at (94, 534), each up to its first zero byte; "*" at (189, 534) on every
//             second fresh position, so a live fix visibly blinks

#include <string>

#include "core/SonarState.h"

namespace tidemar {

inline constexpr const char* GpsNotAvailableText = "GPS Lat / Lng Not Available";

struct GpsBoxGeometry {
    static constexpr int Left = 2, Top = 532, Right = 200;
    static constexpr int BottomBelowLine = 536;  // bottom = line height + this
    static constexpr int TextTop = 534;
    static constexpr int NotAvailableLeft = 8;
    static constexpr int LatitudeLeft = 3;
    static constexpr int LongitudeLeft = 94;
    static constexpr int StarLeft = 189;
    static constexpr int HiddenColor = 121;
    static constexpr int FrameColor = 125;
    static constexpr int FillColor = 122;
    static constexpr int TextColor = 125;
};

struct GpsBox {
    bool Shown = false;         // false: only the wipe in the background colour
    bool NotAvailable = false;  // the "not available" text instead of a position
    std::string LatitudeText;   // with its "," already added
    std::string LongitudeText;
    bool Star = false;
};

// Whether the box is shown at all: UseGPS in live mode, FileHasGps in playback.
bool GpsBoxShown(const SonarState& state);

// What DrawGpsPosition draws. `fresh` is set for a position just taken (a sentence, or a
// played record that carried one). A position that is not fresh is still drawn while
// fewer than 5 seconds passed without one; after that the box says it is not available.
// `blink` is the box's blink flag: toggled each time a position is drawn.
GpsBox DecideGpsBox(const SonarState& state, bool fresh, bool& blink);

}  // namespace tidemar
