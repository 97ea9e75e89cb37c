#include "settings/DialogEntries.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/Cp1252.h"
#include "core/Modes.h"
#include "settings/NumberText.h"

namespace tidemar {

namespace {

constexpr double MetresPerFoot = 0.3048;
constexpr double FeetPerMetre = 3.280839895;

constexpr float MinSoundVelocityMetres = 750.0f;
constexpr float MaxSoundVelocityMetres = 2250.0f;
// The accepted range in ft/s is that of m/s exactly; the arrows stop at the single-precision
// values inside it, so a value stepped to a limit is never refused by Ok.
constexpr double MinSoundVelocityFeet = 750.0 / MetresPerFoot;
constexpr double MaxSoundVelocityFeet = 2250.0 / MetresPerFoot;

constexpr float MinOffsetAngle = -180.0f;
constexpr float MaxOffsetAngle = 180.0f;

constexpr size_t ProfileRangeBoxCharacters = 8;
constexpr size_t ProfileLevelBoxCharacters = 3;
constexpr int MinProfileLevel = 10;
constexpr int MaxProfileLevel = 90;

std::string_view FirstCharacters(std::string_view text, size_t count) {
    return text.substr(0, std::min(text.size(), count));
}

float InsideFloat(double bound, bool lower) {
    float value = static_cast<float>(bound);
    if (lower && value < bound) value = std::nextafter(value, std::numeric_limits<float>::infinity());
    if (!lower && value > bound) value = std::nextafter(value, -std::numeric_limits<float>::infinity());
    return value;
}

float StepWithin(float value, float step, float low, float high) { return std::clamp(value + step, low, high); }

}  // namespace

// ---- "Sound Velocity" ------------------------------------------------------------------

float SoundVelocityStart(const SonarState& state) {
    if (state.Units == 1) return static_cast<float>(state.SoundVelocityMeters * FeetPerMetre);
    return state.SoundVelocityMeters;
}

float SoundVelocityDefault(int units) { return units == 1 ? static_cast<float>(1500.0 / MetresPerFoot) : 1500.0f; }

float StepSoundVelocity(float value, int direction, int units) {
    const float step = 0.1f * static_cast<float>(direction);
    if (units == 1)
        return StepWithin(value, step, InsideFloat(MinSoundVelocityFeet, true),
                          InsideFloat(MaxSoundVelocityFeet, false));
    return StepWithin(value, step, MinSoundVelocityMetres, MaxSoundVelocityMetres);
}

std::string SoundVelocityText(float value) { return FormatFixed(value, 6, 1, true); }

std::string SoundVelocityUnitLabel(int units) { return units == 1 ? "ft/s" : "m/s"; }

float SoundVelocityFromText(std::string_view text) { return static_cast<float>(ParseDecimal(text)); }

std::optional<MessageText> AcceptSoundVelocity(SonarState& state, float value) {
    if (state.Units == 1) {
        if (value >= MinSoundVelocityFeet && value <= MaxSoundVelocityFeet) {
            state.SoundVelocityMeters = static_cast<float>(value * MetresPerFoot);
            return std::nullopt;
        }
        return MessageText{std::string(SoundVelocityCaption),
                           "Speed of Sound is out of range!\nUse 2460.7 to 7381.8 ft/s."};
    }
    if (value >= MinSoundVelocityMetres && value <= MaxSoundVelocityMetres) {
        state.SoundVelocityMeters = value;
        return std::nullopt;
    }
    return MessageText{std::string(SoundVelocityCaption), "Speed of Sound is out of range!\nUse 750.0 to 2250.0 m/s."};
}

// ---- "Rotate Sonar Image" ---------------------------------------------------------------

float StepOffsetAngle(float value, int direction) {
    return StepWithin(value, 0.1f * static_cast<float>(direction), MinOffsetAngle, MaxOffsetAngle);
}

std::string OffsetAngleText(float value) { return FormatFixed(value, 5, 1); }

float OffsetAngleFromText(std::string_view text) { return static_cast<float>(ParseDecimal(text)); }

std::optional<MessageText> AcceptOffsetAngle(SonarState& state, float value) {
    if (value >= MinOffsetAngle && value <= MaxOffsetAngle) {
        state.ImageRotation = value;
        return std::nullopt;
    }
    return MessageText{std::string(OffsetAngleCaption), "Angle is out of range!\nUse -180.0 to 180.0 Deg"};
}

// ---- "User Text" ------------------------------------------------------------------------

namespace {

// Shown, stored or written to the settings file, a control character would at best be
// invisible; a line break would end the settings line early.
bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

// `"漢" (U+6F22)`, or just `U+000A` for a character that cannot be shown.
std::string NameOf(char32_t c) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    if (IsControl(c) || c == 0xFFFD) return code;
    std::string name = "\"";
    AppendUtf8(name, c);
    return name + "\" (" + code + ")";
}

}  // namespace

std::optional<MessageText> AcceptUserText(SonarState& state, std::string_view text) {
    const Cp1252Encoding encoded = Utf8ToCp1252(text);
    std::u32string refused = encoded.Missing;
    for (char c : encoded.Bytes) {
        const char32_t decoded = Cp1252Decode(static_cast<uint8_t>(c));
        if (IsControl(decoded) && refused.find(decoded) == std::u32string::npos) refused += decoded;
    }
    if (refused.empty()) {
        state.UserText = encoded.Bytes.substr(0, UserTextDialogCharacters);
        return std::nullopt;
    }
    std::string names;
    for (char32_t c : refused) names += (names.empty() ? "" : ", ") + NameOf(c);
    return MessageText{std::string(UserTextCaption),
                       "The user text cannot hold " + names +
                           ".\nUse the letters, digits and signs of Western European text (Windows-1252)."};
}

// ---- "Profile Setup" --------------------------------------------------------------------

float ProfileRangeLimit(int units) { return units == 1 ? 82.0f : 25.0f; }

std::string ProfileRangeUnitLabel(int units) { return units == 1 ? "Feet" : "Meters"; }

void OpenProfileSetup(SonarState& state) {
    // A negative range (hand-edited settings) is as unusable as one beyond the limit.
    if (state.ProfileMinimumRange > ProfileRangeLimit(state.Units) || state.ProfileMinimumRange < 0.0f)
        state.ProfileMinimumRange = 0.0f;
}

float StepProfileMinimumRange(float value, int direction, int units) {
    return StepWithin(value, 0.1f * static_cast<float>(direction), 0.0f, ProfileRangeLimit(units));
}

int StepProfileMinimumLevel(int value, int direction) {
    return std::clamp(value + direction, MinProfileLevel, MaxProfileLevel);
}

std::string ProfileMinimumRangeText(float value) { return FormatFixed(value, 4, 1); }

std::string ProfileMinimumLevelText(int value) { return std::to_string(value); }

ProfileSetupControls ProfileSetupControlStates(const SonarState& state) {
    ProfileSetupControls controls;
    const bool surface = state.ProfileDigitizationSource == 1;
    controls.LevelEditable = surface;
    controls.DetectionEnabled = surface;
    controls.RangeEditable = surface || state.RunMode == DataSource::Head;
    return controls;
}

std::vector<MessageText> AcceptProfileSetup(SonarState& state, std::string_view rangeText, std::string_view levelText) {
    std::vector<MessageText> refusals;
    const double range = ParseDecimal(FirstCharacters(rangeText, ProfileRangeBoxCharacters));
    if (range < 0.0 || range > ProfileRangeLimit(state.Units)) {
        refusals.push_back({std::string(ProfileSetupCaption),
                            state.Units == 1 ? "Minimum Range is out of range!\nUse 0 to 82 Feet."
                                             : "Minimum Range is out of range!\nUse 0 to 25 Meters."});
    }
    const int level = ParseInteger(FirstCharacters(levelText, ProfileLevelBoxCharacters));
    if (level < MinProfileLevel || level > MaxProfileLevel)
        refusals.push_back({std::string(ProfileSetupCaption), "Minimum Level is out of range!\nUse 10 to 90 Percent."});
    if (refusals.empty()) {
        state.ProfileMinimumRange = static_cast<float>(range);
        state.ProfileMinimumLevel = level;
    }
    return refusals;
}

// ---- the read-only "Settings" shown during playback -------------------------------------

PlaybackSettingsTexts PlaybackSettingsTextsOf(const SonarState& state) {
    PlaybackSettingsTexts texts;
    texts.HeadId = std::to_string(state.ReturnHeadID - 15);
    const int kHz = state.RunMode == DataSource::File ? state.FileFrequency : state.Frequency;
    texts.Frequency = std::to_string(kHz) + " kHz";
    texts.Absorption = AbsorptionText(state.Absorption, state.Units);
    if (state.Units != 1) texts.Absorption += " dB/m";
    texts.PulseLength = std::to_string(state.PulseLength) + " usec";
    return texts;
}

}  // namespace tidemar
