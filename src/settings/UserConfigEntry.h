#pragma once
// The checks behind the transmit-setting dialogs: typed frequency, absorption and pulse
// length texts turned into stored values, the texts shown for stored values, and the
// messages shown for refused entries. The dialogs only move texts in and out.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/SonarState.h"
#include "core/UserConfigTable.h"

namespace tidemar {

// One message box: the window shows it with an exclamation icon.
struct MessageText {
    std::string Caption;
    std::string Text;
    bool operator==(const MessageText&) const = default;
};

inline constexpr std::string_view AutoSetupCaption = "Auto Setup";
inline constexpr std::string_view ManualSetupCaption = "Manual Setup";

// Absorption typed as text (at most its first 7 characters count), in dB/m, or in dB/ft
// when `units` is 1. Accepted when 0.009 < dB/m <= 2.55; gives the stored value in
// 0.01 dB/m (1..255), or nullopt when refused.
std::optional<int> AbsorptionFromText(std::string_view text, int units);

// A stored absorption as the dialogs show it: "0.20" in metres ("%04.2f" of dB/m),
// "0.06096" in feet ("%06.5f" of dB/ft).
std::string AbsorptionText(int stored, int units);
std::string AbsorptionUnitLabel(int units);    // "dB/m" or "dB/ft", beside the Settings box
std::string AbsorptionColumnLabel(int units);  // "(dB/m)" or "(dB/ft)", the editor's column header

// Label of table row 0..14 in the given units: "1 M" .. "200 M" or "3 FT" .. "600 FT".
std::string RowLabel(int row, int units);

// The editor's 45 boxes: rows 0..14, each frequency, absorption, pulse length.
enum UserConfigColumn { FrequencyColumn = 0, AbsorptionColumn = 1, PulseLengthColumn = 2 };
using UserConfigCellTexts = std::array<std::array<std::string, 3>, UserConfigUsedRows>;

// The box texts of rows 0..14 of `table`: frequency and pulse length in decimal,
// absorption as AbsorptionText().
UserConfigCellTexts CellTextsOf(const UserConfigTable& table, int units);
std::string CellTextOf(const UserConfigTable& table, int row, UserConfigColumn column, int units);

// Takes the editor's boxes into the tables, row by row and in each row frequency,
// absorption, pulse length. An accepted frequency (280..1100, rounded to 5) and pulse
// length (10..1000, rounded to 10) go into the active table, an accepted absorption into
// the active table and the working copy; a refused box leaves its cell as it was and, when
// `messages` is given, adds its message ("[<row label>]\n..." with caption "Auto Setup").
// Range labels are never changed. True when any box was refused.
bool CommitUserConfig(UserConfigTables& tables, const UserConfigCellTexts& cells, int units,
                      std::vector<MessageText>* messages);

// The three boxes of manual setup.
struct ManualSetupTexts {
    std::string Frequency;
    std::string Absorption;
    std::string PulseLength;
};

// The Ok check of manual setup: frequency, absorption, pulse length in this order, each
// refused one adding its message (caption "Manual Setup"). Each accepted value is set at
// once in both the in-force field and its manual copy (Frequency and ManualFrequency, ...),
// whatever happens to the others. True when all three were accepted, i.e. the dialog
// may close.
bool CommitManualSetup(SonarState& state, const ManualSetupTexts& texts, std::vector<MessageText>& messages);

// One click of a scroll arrow (direction +1 up, -1 down) on a stored value, held within
// its limits: frequency 5 kHz within 280..1100, absorption 0.01 dB/m within 1..255,
// pulse length 10 us within 10..1000.
int StepFrequency(int value, int direction);
int StepAbsorption(int value, int direction);
int StepPulseLength(int value, int direction);
int StepUserConfigValue(UserConfigColumn column, int value, int direction);

// The setup-type radio buttons, which take effect at once. Manual puts the manual values
// in force; auto keeps the values in force as the manual ones (unless auto setup was on
// already), then applies the table.
void SelectManualSetup(SonarState& state);
void SelectAutoSetup(SonarState& state);

// "Defaults" of manual setup: 675 kHz, 0.20 dB/m, 100 us, in force and as manual values.
void ResetManualSetup(SonarState& state);

}  // namespace tidemar
