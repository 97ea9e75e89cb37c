#include "export/GeoPosition.h"

#include <charconv>
#include <cmath>

namespace tidemar {

namespace {

// The number of the digits at text[from, from + count); a zero byte counts as 0.
std::optional<int> DigitsAt(std::string_view text, size_t from, size_t count) {
    int value = 0;
    for (size_t i = from; i < from + count; ++i) {
        const char c = text[i];
        if (c == '\0') {
            value *= 10;
        } else if (c >= '0' && c <= '9') {
            value = value * 10 + (c - '0');
        } else {
            return std::nullopt;
        }
    }
    return value;
}

// degrees at [d, d + width), '.', minutes 2, '.', thousandths 3; nothing when any part is
// not digits or the minutes are not below 60.
std::optional<double> AngleAt(std::string_view text, size_t d, size_t width) {
    if (text[d + width] != '.' || text[d + width + 3] != '.') return std::nullopt;
    const auto degrees = DigitsAt(text, d, width);
    const auto minutes = DigitsAt(text, d + width + 1, 2);
    const auto thousandths = DigitsAt(text, d + width + 4, 3);
    if (!degrees || !minutes || !thousandths || *minutes >= 60) return std::nullopt;
    return *degrees + (*minutes + *thousandths / 1000.0) / 60.0;
}

}  // namespace

std::optional<GeoPosition> ParsePositionText(std::string_view text) {
    if (text.size() != 24 || text[0] != ' ' || text[10] != ' ' || text[22] != ' ') return std::nullopt;
    const auto latitude = AngleAt(text, 1, 2);
    const auto longitude = AngleAt(text, 12, 3);
    if (!latitude || !longitude || *latitude > 90.0 || *longitude > 180.0) return std::nullopt;
    const char ns = text[11], ew = text[23];
    if ((ns != 'N' && ns != 'S') || (ew != 'E' && ew != 'W')) return std::nullopt;
    // A text the recorder never filled in is all zero bytes and fails above on its dots;
    // one with digits that are all zero bytes is no position either.
    if (text.find_first_of("123456789") == std::string_view::npos && text.find('0') == std::string_view::npos)
        return std::nullopt;
    return GeoPosition{ns == 'S' ? -*latitude : *latitude, ew == 'W' ? -*longitude : *longitude};
}

std::string FormatDegrees(double degrees) {
    char text[32];
    // Rounded to the micro-degree first, so -0.0000001 prints as 0.000000, not -0.000000.
    double rounded = std::round(degrees * 1e6) / 1e6;
    if (rounded == 0.0) rounded = 0.0;
    const auto result = std::to_chars(text, text + sizeof text, rounded, std::chars_format::fixed, 6);
    return std::string(text, result.ptr);
}

}  // namespace tidemar
