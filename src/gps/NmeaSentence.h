#pragma once
// The two NMEA 0183 sentences the program takes its position from. A receiver sends each
// sentence as one line, '$' first and CR LF last; the talker (GP, GN, GL, ...) does not
// matter, only the type in characters 3..5. There is no checksum test.
//
//   GLL  $ttGLL,llll.ll,a,yyyyy.yy,b,hhmmss.ss,A*cs<CR><LF>
//        field 1 latitude ddmm.mmmm, 2 N/S, 3 longitude dddmm.mmmm, 4 E/W, 5 UTC, 6 status
//   GGA  $ttGGA,hhmmss.ss,llll.ll,a,yyyyy.yy,b,q,nn,h.h,a.a,M,g.g,M,,*cs<CR><LF>
//        field 1 UTC, 2 latitude, 3 N/S, 4 longitude, 5 E/W, 6 fix quality, ...
//
// The position is read character by character from offset 7 (just past "$ttGGA,"), not by
// splitting on commas: a whole part ends at its '.' or after 6 characters, a fraction at
// its ',' or after 11 characters, and a hemisphere is the one character that follows.
// Only the decimal digits of what was read count. Fields of unusual widths therefore
// land where this scan puts them; recorded files hold texts made this way, so the scan
// is kept exactly as it is.

#include <optional>
#include <string>
#include <string_view>

namespace tidemar {

inline constexpr int GpsTypeGLL = 0;
inline constexpr int GpsTypeGGA = 1;

// What one sentence says of the position: the digits of each part as read, and the two
// hemisphere characters as they stand (not necessarily N/S and E/W).
struct NmeaPosition {
    std::string LatitudeWhole;
    std::string LatitudeFraction;
    char LatitudeHemisphere = 0;
    std::string LongitudeWhole;
    std::string LongitudeFraction;
    char LongitudeHemisphere = 0;
};

// A complete line (as the reader posts it, LF included) that is a sentence of the chosen
// type (GPSType: 0 GLL, 1 GGA): it starts with '$', ends in CR LF, and characters 3..5
// name the type.
bool IsChosenGpsSentence(std::string_view line, int gpsType);

// The position of a sentence of the given type. Nothing when the sentence carries none:
// its latitude or longitude field is empty (a receiver without a fix sends the sentence
// with empty fields), or the line ends before the longitude hemisphere. The scan never
// reads past the end of the line.
std::optional<NmeaPosition> ScanNmeaPosition(std::string_view line, int gpsType);

// Latitude hemisphere N or S and longitude hemisphere E or W.
bool HemispheresValid(const NmeaPosition& position);

}  // namespace tidemar
