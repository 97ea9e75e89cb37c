#include "settings/UserConfigEntry.h"

#include <algorithm>

#include "core/SonarTables.h"
#include "settings/NumberText.h"

namespace tidemar {

namespace {

constexpr double FeetPerMetre = 3.280839895;
constexpr double MetresPerFoot = 0.3048;
constexpr size_t AbsorptionBoxCharacters = 7;

constexpr int MinAbsorption = 1;
constexpr int MaxAbsorption = 255;
constexpr int MinPulseLength = 10;
constexpr int MaxPulseLength = 1000;

constexpr std::string_view FrequencyRefused = "Frequency is out of range!\nUse 280 to 1100 kHz.";
constexpr std::string_view AbsorptionRefusedMetres = "Absorption is out of range!\nUse 0.01 to 2.55 dB/m.";
constexpr std::string_view AbsorptionRefusedFeet = "Absorption is out of range!\nUse 0.003048 to 0.77724 dB/ft.";
constexpr std::string_view PulseLengthRefused = "Pulse Length is out of range!\nUse 10 to 1000 usec.";

std::string_view AbsorptionRefused(int units) { return units == 1 ? AbsorptionRefusedFeet : AbsorptionRefusedMetres; }

std::optional<int> FrequencyFromText(std::string_view text) {
    const std::optional<uint32_t> value = ParseUnsignedInteger(text);
    if (!value || *value < static_cast<uint32_t>(MinFrequency) || *value > static_cast<uint32_t>(MaxFrequency))
        return std::nullopt;
    return RoundFrequency(*value);
}

std::optional<int> PulseLengthFromText(std::string_view text) {
    const std::optional<uint32_t> value = ParseUnsignedInteger(text);
    if (!value || *value < static_cast<uint32_t>(MinPulseLength) || *value > static_cast<uint32_t>(MaxPulseLength))
        return std::nullopt;
    return RoundPulseLength(*value);
}

}  // namespace

std::optional<int> AbsorptionFromText(std::string_view text, int units) {
    double x = ParseDecimal(text.substr(0, std::min(text.size(), AbsorptionBoxCharacters)));
    if (units == 1) x *= FeetPerMetre;
    if (!(x > 0.009 && x <= 2.55)) return std::nullopt;
    const int stored = static_cast<int>(x * 100.0 + 0.5);
    return std::clamp(stored, MinAbsorption, MaxAbsorption);
}

std::string AbsorptionText(int stored, int units) {
    const double perMetre = stored * 0.01;
    return units == 1 ? FormatFixed(perMetre * MetresPerFoot, 6, 5, true) : FormatFixed(perMetre, 4, 2, true);
}

std::string AbsorptionUnitLabel(int units) { return units == 1 ? "dB/ft" : "dB/m"; }

std::string AbsorptionColumnLabel(int units) { return units == 1 ? "(dB/ft)" : "(dB/m)"; }

std::string RowLabel(int row, int units) {
    const RangeRow& range = RangeTable[std::clamp(row, 0, RangeCount - 1)];
    return units == 1 ? range.FeetLabel : range.Label;
}

std::string CellTextOf(const UserConfigTable& table, int row, UserConfigColumn column, int units) {
    const UserConfigRow& cells = table[std::clamp(row, 0, UserConfigUsedRows - 1)];
    switch (column) {
    case FrequencyColumn: return std::to_string(cells.Frequency);
    case AbsorptionColumn: return AbsorptionText(cells.Absorption, units);
    case PulseLengthColumn: return std::to_string(cells.PulseLength);
    }
    return {};
}

UserConfigCellTexts CellTextsOf(const UserConfigTable& table, int units) {
    UserConfigCellTexts cells;
    for (int r = 0; r < UserConfigUsedRows; ++r)
        for (int c = FrequencyColumn; c <= PulseLengthColumn; ++c)
            cells[r][c] = CellTextOf(table, r, static_cast<UserConfigColumn>(c), units);
    return cells;
}

bool CommitUserConfig(UserConfigTables& tables, const UserConfigCellTexts& cells, int units,
                      std::vector<MessageText>* messages) {
    bool refused = false;
    auto refuse = [&](int row, std::string_view text) {
        refused = true;
        if (!messages) return;
        std::string message = "[";
        message.append(RowLabel(row, units)).append("]\n").append(text);
        messages->push_back({std::string(AutoSetupCaption), std::move(message)});
    };
    for (int r = 0; r < UserConfigUsedRows; ++r) {
        if (const auto frequency = FrequencyFromText(cells[r][FrequencyColumn]))
            tables.Active[r].Frequency = *frequency;
        else
            refuse(r, FrequencyRefused);

        if (const auto absorption = AbsorptionFromText(cells[r][AbsorptionColumn], units)) {
            tables.Working[r].Absorption = *absorption;
            tables.Active[r].Absorption = *absorption;
        } else {
            refuse(r, AbsorptionRefused(units));
        }

        if (const auto pulse = PulseLengthFromText(cells[r][PulseLengthColumn]))
            tables.Active[r].PulseLength = *pulse;
        else
            refuse(r, PulseLengthRefused);
    }
    return refused;
}

bool CommitManualSetup(SonarState& state, const ManualSetupTexts& texts, std::vector<MessageText>& messages) {
    bool accepted = true;
    auto refuse = [&](std::string_view text) {
        accepted = false;
        messages.push_back({std::string(ManualSetupCaption), std::string(text)});
    };
    if (const auto frequency = FrequencyFromText(texts.Frequency))
        state.Frequency = state.ManualFrequency = *frequency;
    else
        refuse(FrequencyRefused);

    if (const auto absorption = AbsorptionFromText(texts.Absorption, state.Units))
        state.Absorption = state.ManualAbsorption = *absorption;
    else
        refuse(AbsorptionRefused(state.Units));

    if (const auto pulse = PulseLengthFromText(texts.PulseLength))
        state.PulseLength = state.ManualPulseLength = *pulse;
    else
        refuse(PulseLengthRefused);
    return accepted;
}

int StepFrequency(int value, int direction) { return std::clamp(value + 5 * direction, MinFrequency, MaxFrequency); }

int StepAbsorption(int value, int direction) { return std::clamp(value + direction, MinAbsorption, MaxAbsorption); }

int StepPulseLength(int value, int direction) {
    return std::clamp(value + 10 * direction, MinPulseLength, MaxPulseLength);
}

int StepUserConfigValue(UserConfigColumn column, int value, int direction) {
    switch (column) {
    case FrequencyColumn: return StepFrequency(value, direction);
    case AbsorptionColumn: return StepAbsorption(value, direction);
    case PulseLengthColumn: return StepPulseLength(value, direction);
    }
    return value;
}

void SelectManualSetup(SonarState& state) {
    state.ConfigType = 0;
    state.Frequency = state.ManualFrequency;
    state.Absorption = state.ManualAbsorption;
    state.PulseLength = state.ManualPulseLength;
}

void SelectAutoSetup(SonarState& state) {
    // Clicking the auto button again must not overwrite the manual values with the
    // table's.
    if (state.ConfigType == 1) {
        ApplyUserConfig(state);
        return;
    }
    state.ConfigType = 1;
    state.ManualFrequency = state.Frequency;
    state.ManualAbsorption = state.Absorption;
    state.ManualPulseLength = state.PulseLength;
    ApplyUserConfig(state);
}

void ResetManualSetup(SonarState& state) {
    state.Frequency = state.ManualFrequency = 675;
    state.Absorption = state.ManualAbsorption = 20;
    state.PulseLength = state.ManualPulseLength = 100;
}

}  // namespace tidemar
