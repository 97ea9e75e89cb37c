#pragma once
// The colours shown at night: every palette entry turned into a dark red or grey, so that
// the screen does not blind a watch whose eyes are used to the dark. Only the screen
// changes; the palette files are written with (captures, prints) keeps the day colours.
//
// Echo levels and the colour bar keep their order of brightness: a day colour's brightest
// component becomes the red of a black-to-red ramp of at most NightEchoCeiling. The interface colours
// have fixed night stand-ins, none brighter than NightCeiling in red, and no entry has more
// green or blue than red.

#include "image/ColorTables.h"
#include "image/ImageColorTable.h"

namespace tidemar {

inline constexpr int NightEchoCeiling = 64;  // a quarter of full brightness
inline constexpr int NightCeiling = 96;      // the brightest red of anything shown at night

// The night colour of palette entry `index` (0..255) whose day colour is `day`.
RgbColor NightColor(int index, const RgbColor& day);

// Any day colour (a picture drawn in fixed colours) on the echo ramp, up to NightCeiling.
RgbColor NightShade(const RgbColor& day);

// Text that is white by day, and the red of a warning mark.
inline constexpr RgbColor NightTextColor{92, 36, 28};
inline constexpr RgbColor NightMarkColor{96, 0, 0};

// The whole table at night: NightColor of every entry.
ImageColorTable NightColorTable(const ImageColorTable& day);

}  // namespace tidemar
