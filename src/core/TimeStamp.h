#pragma once
// The clock texts every ping carries: DateText "DD-MMM-YYYY", TimeText "HH:MM:SS",
// DateTimeText (the two joined by two spaces) and TimestampText (DateTimeText plus
// ".hh", the hundredths of the second).

#include "core/Clock.h"
#include "core/SonarState.h"

namespace tidemar {

// Reads the clock into Hundredths and ClockSecond. The date and time texts are rebuilt
// only when the second has moved on since the last rebuild (TextSecond); TimestampText
// is rebuilt every time. Returns true when the second changed: the caller then redraws
// the date and time read-out and runs the once-a-second GPS step.
bool StampTime(SonarState& state, const Clock& clock);

}  // namespace tidemar
