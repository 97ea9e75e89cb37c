#pragma once
// The profile point found by the program itself ("Surface" digitization) in the echo data
// of the ping, instead of the range the head reports.

#include "core/SonarState.h"

namespace tidemar {

// Runs after the 8-bit echo data of the reply in ReceiveBuffer was unpacked, when
// ProfileDigitizationSource is 1. Reads the data bytes as received (not the dimmed
// samples): raw byte k is sample k + PulseBlankSamples.
//
// A minimum range at or beyond the display range drops the head's point. In the mix modes
// (Profile 2 or more) of an image reply the first sample at or above the threshold
// (ProfileMinimumLevel scaled to 0..107), past the minimum range and before sample 499,
// becomes ProfileSample (the middle of the pulse with Center of Pulse); ProfileRange and
// header bytes 8-9 are rewritten to match, so recordings carry this point.
//
// Never reads past the reply's data bytes (ExpectedReturnLength - 13 of them).
void DetectProfilePoint(SonarState& state);

}  // namespace tidemar
