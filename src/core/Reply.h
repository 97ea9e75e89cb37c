#pragma once
// The head's answer to one command block, as it lies in ReceiveBuffer (N bytes, N =
// ExpectedReturnLength = 13 + data bytes). Multi-byte numbers carry 7 bits per byte,
// low part first.
//
//   0        'B'  start of reply
//   1        reply type: 'G' image data, 'P' profile only, 'T' head scan, 'M' (files only)
//   2        'L'
//   3        head ID                                   -> ReturnHeadID
//   4        serial status                             -> SerialStatus
//   5        head position bits 0..6
//   6        bits 0..5: head position bits 7..12       -> HeadPosition (0..1200)
//            bit 6: step direction                     -> StepDirection
//   7        range in metres                           -> ReturnRange
//   8, 9     profile range: (b8 & 0x7F) | (b9 << 7)    -> ProfileRange
//   10, 11   data byte count, 7 bits each              -> DataByteCount (as the head says)
//   12..N-2  echo data, packed by DataBits
//   N-1      0xFC end of reply

#include "core/Clock.h"
#include "core/SonarState.h"

namespace tidemar {

inline constexpr int ReplyHeaderBytes = 12;
inline constexpr int ReplyFrameBytes = 13;  // header plus end byte
inline constexpr uint8_t ReplyStartByte = 'B';
inline constexpr uint8_t ReplyMarkByte = 'L';
inline constexpr uint8_t ReplyEndByte = 0xFC;
inline constexpr int HeadPositionCount = 1200;  // positions 0..1200, 0.3 degrees apart
inline constexpr int HeadPositionAhead = 600;
inline constexpr int RepRateReplies = 10;  // replies averaged for the Rep Rate read-out

// True when a reply of this length fits the frame and the receive buffer. The length can
// come from a damaged data file, so it is never trusted further than this.
bool ReplyLengthIsValid(int expectedReturnLength);

// Checks the framing of the reply in ReceiveBuffer against ReplyType and
// ExpectedReturnLength. A bad reply returns 0 with PingValid 0 and every other field as
// it was. A good one renews the time stamp when live (DataSource::Head), sets PingValid and is
// decoded; returns 1. secondChanged, when given, tells whether that time stamp started a
// new second (false in playback or for a bad reply).
int ValidateReply(SonarState& state, const Clock& clock, bool* secondChanged = nullptr);

// Fills the reply fields and SampleLine from a reply that passed ValidateReply.
void DecodeReply(SonarState& state, const Clock& clock);

// Unpacks the echo data (ExpectedReturnLength - 13 bytes) into SampleLine from index
// PulseBlankSamples on, by DataBits 4, 8 or 16; any other width unpacks nothing.
// Samples are capped at MaxEchoLevel and never written past the end of SampleLine.
void UnpackSamples(SonarState& state);

}  // namespace tidemar
