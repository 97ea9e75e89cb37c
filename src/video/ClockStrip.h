#pragma once
// The date and time strip a video may carry under the picture: the played record's time
// stamp ("08-DEC-2026  09:05:55.48") in a small built-in font, so a viewer of the video
// knows when each moment was recorded. Drawn in palette indexes, like the picture above it.

#include <array>
#include <cstdint>
#include <string>

namespace tidemar {

inline constexpr int ClockStripHeight = 20;

// Draws `text` into `strip` (width x ClockStripHeight palette indexes, top row first):
// characters 10 x 14 pixels, 12 apart, from (4, 3), in `ink` on `ground`. Digits, capital
// letters, '-', ':' and '.' are drawn; anything else is a space; what does not fit is left out.
void DrawClockStrip(uint8_t* strip, int width, const std::string& text, uint8_t ink, uint8_t ground);

// The index of the colour table entry (blue, green, red, 0 per entry) nearest to a colour.
uint8_t NearestTableEntry(const std::array<uint8_t, 1024>& table, int red, int green, int blue);

}  // namespace tidemar
