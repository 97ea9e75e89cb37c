#pragma once
// The vertical colour bar beside the image: a strip of window columns 600..604 over rows
// 2..509 that shows the echo colours from 111 at the top down to 0 at the bottom.

#include <array>
#include <cstdint>

namespace tidemar {

inline constexpr int ColorBarLeft = 600;    // first window column
inline constexpr int ColorBarRight = 604;   // last window column
inline constexpr int ColorBarTop = 2;       // window row of index 111
inline constexpr int ColorBarBottom = 509;  // window row of index 0
inline constexpr int ColorBarRows = ColorBarBottom - ColorBarTop + 1;

// Palette index of every bar row, top first: element k is window row ColorBarTop + k.
std::array<std::uint8_t, ColorBarRows> ColorBarIndices();

}  // namespace tidemar
