#include "ui_core/PanelTexts.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "core/Modes.h"
#include "core/SonarTables.h"

namespace tidemar {

namespace {

// Grid spacing labels by range index: metres, metres with both SS sides (the picture shows
// twice the range across), feet, feet with both sides.
constexpr std::array<const char*, RangeCount> GridLabelsMeters = {
    " 0.2 M/DIV", " 0.4 M/DIV", " 0.6 M/DIV", " 0.8 M/DIV", " 1 M/DIV", " 2 M/DIV", " 4 M/DIV", " 6 M/DIV",
    " 8 M/DIV",   "10 M/DIV",   "12 M/DIV",   "16 M/DIV",   "20 M/DIV", "30 M/DIV", "40 M/DIV"};
constexpr std::array<const char*, RangeCount> GridLabelsMetersBoth = {
    " 0.4 M/DIV", " 0.8 M/DIV", " 1.2 M/DIV", " 1.6 M/DIV", " 2 M/DIV", " 4 M/DIV", " 8 M/DIV", "12 M/DIV",
    "16 M/DIV",   "20 M/DIV",   "24 M/DIV",   "32 M/DIV",   "40 M/DIV", "60 M/DIV", "80 M/DIV"};
constexpr std::array<const char*, RangeCount> GridLabelsFeet = {
    "0.6 FT/DIV", "1.2 FT/DIV", "1.8 FT/DIV", "2.4 FT/DIV", "3 FT/DIV",  "6 FT/DIV",  "12 FT/DIV", "18 FT/DIV",
    "24 FT/DIV",  "30 FT/DIV",  "36 FT/DIV",  "48 FT/DIV",  "60 FT/DIV", "90 FT/DIV", "120 FT/DIV"};
constexpr std::array<const char*, RangeCount> GridLabelsFeetBoth = {
    "1.2 FT/DIV", "2.4 FT/DIV", "3.6 FT/DIV", "4.8 FT/DIV", "6 FT/DIV",   "12 FT/DIV",  "24 FT/DIV", "36 FT/DIV",
    "48 FT/DIV",  "60 FT/DIV",  "72 FT/DIV",  "96 FT/DIV",  "120 FT/DIV", "180 FT/DIV", "240 FT/DIV"};

// SS sides by SSTrain; "Down" is a side the head knows but the panel never sets.
constexpr std::array<const char*, 4> SideLabels = {"Port", "Both", "Stbd", "Down"};

constexpr std::array<const char*, PanelParameterCount> ParameterLabels = {"Range", "Mode",   "Gain",
                                                                          "Speed", "Sector", "Train"};

// Table index held to the table, so a value from a damaged file never reads past it.
int Index(int value, int count) { return value < 0 ? 0 : (value >= count ? count - 1 : value); }

std::string Printf(const char* format, int value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

bool IsSs(const SonarState& s) { return s.GridMode == DisplayMode::SideScan; }

}  // namespace

const char* ParameterLabel(PanelParameter parameter) {
    return ParameterLabels[Index(static_cast<int>(parameter), PanelParameterCount)];
}

std::string RangeText(const SonarState& state) {
    const RangeRow& row = RangeTable[Index(state.Range, RangeCount)];
    return state.Units == 1 ? row.FeetLabel : row.Label;
}

std::string ModeText(const SonarState& state) {
    return DisplayModeLabels[Index(state.GridMode, static_cast<int>(DisplayModeLabels.size()))];
}

std::string GainText(const SonarState& state) { return Printf("%d dB", state.Gain); }

std::string SpeedText(const SonarState& state) {
    if (IsSs(state)) return NotApplicableText;
    return SpeedTable[Index(state.Speed, SpeedCount)].Label;
}

std::string SectorText(const SonarState& state) {
    if (IsSs(state)) return NotApplicableText;
    return Printf("%d Dg", state.SectorSize);
}

std::string TrainText(const SonarState& state) {
    if (IsSs(state)) return SideLabels[Index(state.SSTrain, static_cast<int>(SideLabels.size()))];
    return Printf("%d Dg", state.Train);
}

std::string ReadoutText(const SonarState& state, PanelParameter parameter) {
    switch (parameter) {
    case PanelParameter::Range: return RangeText(state);
    case PanelParameter::Mode: return ModeText(state);
    case PanelParameter::Gain: return GainText(state);
    case PanelParameter::Speed: return SpeedText(state);
    case PanelParameter::Sector: return SectorText(state);
    case PanelParameter::Train: return TrainText(state);
    }
    return {};
}

std::string FrequencyText(const SonarState& state) {
    const int kHz = state.RunMode == DataSource::File ? state.FileFrequency : state.Frequency;
    if (kHz >= 1000) {
        char buffer[48];
        std::snprintf(buffer, sizeof buffer, "%5.3f MHz", kHz * 0.001);
        return buffer;
    }
    return Printf("%d kHz", kHz);
}

bool FrequencyShowsAuto(const SonarState& state) { return state.RunMode == DataSource::Head && state.ConfigType == 1; }

std::string GridLabelText(const SonarState& state) {
    if (!state.Grid) return GridOffText;
    const int i = Index(state.Range, RangeCount);
    const bool both = IsSs(state) && state.SsSide == SideScanSide::Both;
    if (state.Units == 1) return both ? GridLabelsFeetBoth[i] : GridLabelsFeet[i];
    return both ? GridLabelsMetersBoth[i] : GridLabelsMeters[i];
}

bool GridLabelShown(const SonarState& state) { return state.AutoProfileActive == 0; }

std::string DateTimeBoxText(const SonarState& state) { return state.DateTimeText; }

std::string UserTextBoxText(const SonarState& state) {
    std::string text = state.UserText.substr(0, UserTextCapacity);
    const auto zero = text.find('\0');
    if (zero != std::string::npos) text.resize(zero);
    return text;
}

int PlotSpeedBarWidth(int plotSpeed) {
    const int b = static_cast<int>(std::trunc(plotSpeed * 0.01 * 68));
    return b < 0 ? 0 : (b > 68 ? 68 : b);
}

std::string KeyEntryDisplayText(const KeyEntry& entry, const SonarState& state) {
    if (entry.Mode == KeyEntryKind::None) return {};
    std::string text = entry.Mode == KeyEntryKind::Range ? "Range: " : "Gain: ";
    text += entry.Text.empty() ? "?" : entry.Text;
    if (entry.Mode == KeyEntryKind::Range)
        text += state.Units == 1 ? " FT" : " M";
    else
        text += " dB";
    return text;
}

}  // namespace tidemar
