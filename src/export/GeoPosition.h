#pragma once
// A recorded position text read back as signed decimal degrees.
//
// The text is the 24 characters a record carries (see gps/GpsPositionText.h):
// " dd.mm.fff Hddd.mm.fff H", degrees, whole minutes and thousandths of a minute. A digit
// the sentence had no digit for is a zero byte there (a short fraction, a short whole
// part) and reads as 0. Anything else out of place, a hemisphere other than N/S and E/W,
// or a value off the globe, and the text gives no position: a wrong point on a map is
// worse than none.

#include <optional>
#include <string>
#include <string_view>

namespace tidemar {

struct GeoPosition {
    double Latitude = 0.0;   // north positive
    double Longitude = 0.0;  // east positive
    bool operator==(const GeoPosition&) const = default;
};

std::optional<GeoPosition> ParsePositionText(std::string_view text);

// Degrees with six decimals and a '.' whatever the locale: "48.117300", "-0.500000".
std::string FormatDegrees(double degrees);

}  // namespace tidemar
