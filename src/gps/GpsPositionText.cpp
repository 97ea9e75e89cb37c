#include "gps/GpsPositionText.h"

#include <array>
#include <cstddef>
#include <vector>

namespace tidemar {

namespace {

// Where the digits of a whole part go, by their count (index 0 unused: no digits).
const std::array<std::vector<int>, 5> LatitudeWholePlaces = {{{}, {5}, {4, 5}, {2, 4, 5}, {1, 2, 4, 5}}};
const std::array<std::vector<int>, 6> LongitudeWholePlaces = {
    {{}, {17}, {16, 17}, {14, 16, 17}, {13, 14, 16, 17}, {12, 13, 14, 16, 17}}};

template <size_t N>
void PlaceWhole(const std::string& digits, const std::array<std::vector<int>, N>& places, std::string& text) {
    if (digits.empty() || digits.size() >= N) return;
    const std::vector<int>& at = places[digits.size()];
    for (size_t i = 0; i < at.size(); ++i) text[static_cast<size_t>(at[i])] = digits[i];
}

// The first two places always take a character (a zero byte when the fraction is
// shorter); the third only when there is a third digit.
void PlaceFraction(const std::string& digits, size_t first, std::string& text) {
    text[first] = digits.size() > 0 ? digits[0] : '\0';
    text[first + 1] = digits.size() > 1 ? digits[1] : '\0';
    if (digits.size() >= 3) text[first + 2] = digits[2];
}

}  // namespace

void ClearGpsPositionText(std::string& text) { text.assign(GpsPositionTextLength, '\0'); }

void BuildGpsPositionText(const NmeaPosition& p, std::string& text) {
    text.resize(GpsPositionTextLength, '\0');
    text[0] = ' ';
    text[3] = '.';
    text[6] = '.';
    text[10] = ' ';
    text[11] = p.LatitudeHemisphere;
    text[15] = '.';
    text[18] = '.';
    text[22] = ' ';
    text[23] = p.LongitudeHemisphere;
    PlaceWhole(p.LatitudeWhole, LatitudeWholePlaces, text);
    PlaceWhole(p.LongitudeWhole, LongitudeWholePlaces, text);
    PlaceFraction(p.LatitudeFraction, 7, text);
    PlaceFraction(p.LongitudeFraction, 19, text);
}

}  // namespace tidemar
