#pragma once
// The logo shown while the window starts: centred on the screen, over everything, and
// gone by itself after a moment. It never waits for anything and never holds up the
// window behind it.

namespace tidemar {

inline constexpr int SplashMilliseconds = 1500;

// Shows the splash now; it closes and frees itself after SplashMilliseconds.
void ShowSplash();

}  // namespace tidemar
