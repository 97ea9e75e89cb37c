#pragma once
// The texts of the panel and the strip under the image, made from the state. The window
// only draws them at the places PanelLayout gives.

#include <string>

#include "core/SonarState.h"
#include "ui_core/PanelActions.h"

namespace tidemar {

inline constexpr const char* DataFromLabel = "DATA FROM";
inline constexpr const char* HeadButtonText = "HEAD";
inline constexpr const char* FileButtonText = "FILE";
inline constexpr const char* HoldLabel = "Hold";
inline constexpr const char* RevLabel = "Rev";
inline constexpr const char* PlaybackReverseLabel = "Reverse";
inline constexpr const char* PlotSpeedLabel = "Plot Speed";
inline constexpr const char* AutoConfigText = "(Auto)";
inline constexpr const char* NotApplicableText = "N / A";
inline constexpr const char* GridOffText = "Grid Off";
// Measures the widest grid label when the strip under the image is erased.
inline constexpr const char* GridLabelEraseSample = "XXXXXXXXXXXXXXXXXXXX";

const char* ParameterLabel(PanelParameter parameter);  // "Range", "Mode", "Gain", ...

std::string RangeText(const SonarState& state);   // "50 M" / "150 FT" by Units
std::string ModeText(const SonarState& state);    // "Sector", "Polar", "SS", "Profile"
std::string GainText(const SonarState& state);    // "6 dB"
std::string SpeedText(const SonarState& state);   // "Fast", or "N / A" in SS mode
std::string SectorText(const SonarState& state);  // "360 Dg", or "N / A" in SS mode
std::string TrainText(const SonarState& state);   // "90 Dg", or the side in SS mode
std::string ReadoutText(const SonarState& state, PanelParameter parameter);

// The transmit frequency: FileFrequency in FILE mode, Frequency in HEAD mode, in kHz;
// "1.100 MHz" from 1000 kHz on ("%5.3f MHz"), "675 kHz" below.
std::string FrequencyText(const SonarState& state);
// "(Auto)" follows the frequency in HEAD mode when the settings come from the table.
bool FrequencyShowsAuto(const SonarState& state);

// " 2 M/DIV", "6 FT/DIV", the doubled tables in SS mode showing both sides, or "Grid Off".
std::string GridLabelText(const SonarState& state);
// The grid label is not drawn while the auto-profile display is up.
bool GridLabelShown(const SonarState& state);

std::string DateTimeBoxText(const SonarState& state);  // DateTimeText
std::string UserTextBoxText(const SonarState& state);  // UserText, at most 79 characters

// Width of the filled part of the Plot Speed bar: trunc(PlotSpeed * 0.01 * 68) in 0..68.
// The filled part runs from (267, 534) to (267 + b, 549), the rest (268 + b, 534) to (336, 549).
int PlotSpeedBarWidth(int plotSpeed);

// "Range: 10 M", "Range: ? FT", "Gain: 12 dB": the keyboard entry box.
std::string KeyEntryDisplayText(const KeyEntry& entry, const SonarState& state);

}  // namespace tidemar
