#pragma once
// The logo shown while the window starts: centred on the screen, over everything, and
// gone by itself after a moment. It never waits for anything and never holds up the
// window behind it.

#include <QPointer>
#include <QWidget>

namespace tidemar {

inline constexpr int SplashMilliseconds = 1500;

// Shows the splash now; it closes and frees itself after SplashMilliseconds. A run that
// ends sooner (--quit-after, a signal) deletes it through the pointer, which is null once
// the splash is gone.
// `night`: the logo in the dark reds of the night colours.
QPointer<QWidget> ShowSplash(bool night = false);

}  // namespace tidemar
