#pragma once
// The 24-character position text the display shows and every recorded ping stores. Zero
// bytes stand where nothing is known.
//
//   index  content
//     0    space
//    1-2   latitude degrees
//     3    '.'
//    4-5   latitude minutes
//     6    '.'
//    7-9   first three digits of the latitude minute fraction
//    10    space
//    11    latitude hemisphere
//  12-14   longitude degrees
//    15    '.'
//  16-17   longitude minutes
//    18    '.'
//  19-21   first three digits of the longitude minute fraction
//    22    space
//    23    longitude hemisphere
//
// Characters 0..11 are the latitude half, 12..23 the longitude half. 4916.4512 N and
// 12311.1234 W give " 49.16.451 N123.11.123 W".
//
// A sentence writes only what it has digits for; every other position keeps what the
// sentence before left there. The whole parts are placed from the right: a latitude of
// 1 to 4 digits ends at index 5 with its first two digits at 1-2 (a 3-digit part puts
// its first digit at 2 and leaves 1 as it was), a longitude of 1 to 5 digits ends at 17
// with its first three at 12-14. Any other count writes nothing there.

#include <string>

#include "gps/NmeaSentence.h"

namespace tidemar {

inline constexpr int GpsPositionTextLength = 24;
inline constexpr int GpsLatitudeHalfLength = 12;

// All 24 characters become zero bytes.
void ClearGpsPositionText(std::string& text);

// Writes the parts of a position into the text (made 24 characters long first, keeping
// what it held).
void BuildGpsPositionText(const NmeaPosition& position, std::string& text);

}  // namespace tidemar
