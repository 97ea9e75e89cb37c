#pragma once
// The application's palette at night: the menu bar, the menus, the dialogs and the tool
// windows in the dark reds and greys of the night colours. The day palette is kept, for
// the morning and for captures, which always show the day.

#include <QPalette>

namespace tidemar {

// Every role of the night palette, none with more green or blue than red.
QPalette NightPalette();

// Sets the night palette on the application, or gives the day palette back.
void ApplyNightPalette(bool night);
bool NightPaletteApplied();

// The application's palette as it is by day.
QPalette DayPalette();

}  // namespace tidemar
