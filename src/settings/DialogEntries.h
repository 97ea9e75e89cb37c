#pragma once
// The rules behind the small settings dialogs (sound velocity, image rotation, user text,
// profile setup) and the read-only playback settings: the working values the arrows step,
// the texts the boxes show, and the Ok checks with their messages. The dialogs only move
// texts in and out.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/SonarState.h"
#include "settings/UserConfigEntry.h"

namespace tidemar {

// ---- "Sound Velocity" ------------------------------------------------------------------
// The working value is in the units of the window: m/s, or ft/s when Units is 1.

inline constexpr std::string_view SoundVelocityCaption = "Sound Velocity";
// The whole box counts: cut to its first 6 characters, "2460.65" ft/s would read as the
// refused 2460.6, and a rotation of "-179.9" as -179.
inline constexpr int SoundVelocityBoxCharacters = 7;

float SoundVelocityStart(const SonarState& state);               // SoundVelocityMeters in the units
float SoundVelocityDefault(int units);                           // 1500.0 m/s or 4921.26 ft/s
float StepSoundVelocity(float value, int direction, int units);  // 0.1, within the limits
std::string SoundVelocityText(float value);                      // "%06.1f"
std::string SoundVelocityUnitLabel(int units);                   // "m/s" or "ft/s"
float SoundVelocityFromText(std::string_view text);              // the box text as a number

// Ok: stores the value (converted to m/s) and returns nothing, or returns the refusal and
// leaves SoundVelocityMeters as it was.
std::optional<MessageText> AcceptSoundVelocity(SonarState& state, float value);

// ---- "Rotate Sonar Image" ---------------------------------------------------------------

inline constexpr std::string_view OffsetAngleCaption = "Rotate Sonar Image";
inline constexpr int OffsetAngleBoxCharacters = 6;

float StepOffsetAngle(float value, int direction);  // 0.1 degrees, within -180..180
std::string OffsetAngleText(float value);           // "%5.1f"
float OffsetAngleFromText(std::string_view text);   // the box text as a number
std::optional<MessageText> AcceptOffsetAngle(SonarState& state, float value);

// ---- "User Text" ------------------------------------------------------------------------

inline constexpr std::string_view UserTextCaption = "User Text";
inline constexpr int UserTextDialogCharacters = 29;

// Ok: the first 29 characters of the box (UTF-8) become UserText, in Windows-1252. A box
// holding characters the code page lacks, or control characters, is refused with a
// message naming them, and UserText stays as it was.
std::optional<MessageText> AcceptUserText(SonarState& state, std::string_view text);

// ---- "Profile Setup" --------------------------------------------------------------------

inline constexpr std::string_view ProfileSetupCaption = "Profile Setup";
inline constexpr float DefaultProfileMinimumRange = 0.0f;
inline constexpr int DefaultProfileMinimumLevel = 70;

// Opening: a minimum range beyond the limit of the units (25 m, 82 ft) is set to 0.
void OpenProfileSetup(SonarState& state);

float ProfileRangeLimit(int units);                                    // 25 or 82
std::string ProfileRangeUnitLabel(int units);                          // "Meters" or "Feet"
float StepProfileMinimumRange(float value, int direction, int units);  // 0.1 within 0..limit
int StepProfileMinimumLevel(int value, int direction);                 // 1 within 10..90
std::string ProfileMinimumRangeText(float value);                      // "%4.1f"
std::string ProfileMinimumLevelText(int value);                        // "%d"

// Which controls take input: with "Sonar Head" the level box and the detection buttons are
// off, and in playback the range box too.
struct ProfileSetupControls {
    bool RangeEditable = true;
    bool LevelEditable = true;
    bool DetectionEnabled = true;
};
ProfileSetupControls ProfileSetupControlStates(const SonarState& state);

// Ok: the range box (its first 8 characters, a decimal number) and the level box (its first
// 3 characters, an integer). Both accepted: stored, and the result is empty. Otherwise
// nothing is stored and the refusals come back in order (range, then level).
std::vector<MessageText> AcceptProfileSetup(SonarState& state, std::string_view rangeText, std::string_view levelText);

// ---- the read-only "Settings" shown during playback -------------------------------------

struct PlaybackSettingsTexts {
    std::string HeadId;       // "%d" of ReturnHeadID - 15
    std::string Frequency;    // "675 kHz": FileFrequency in playback, Frequency live
    std::string Absorption;   // "0.20 dB/m", or "0.06096" in feet
    std::string PulseLength;  // "100 usec"
};
PlaybackSettingsTexts PlaybackSettingsTextsOf(const SonarState& state);

}  // namespace tidemar
