#include "settings/ConfigEditor.h"

#include <algorithm>
#include <vector>

#include "settings/ConfigFile.h"
#include "settings/FileReplace.h"
#include "settings/NumberText.h"

namespace tidemar {

namespace {

constexpr size_t ShortNameLimit = 31;
constexpr size_t ShortNameHead = 10;

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string ShortConfigName(const std::string& name) {
    if (name.size() < ShortNameLimit) return name;
    const size_t slash = name.rfind('/');
    if (slash == std::string::npos) return name;
    return LimitText(name, ShortNameHead) + " ..." + name.substr(slash);
}

bool HasConfigExtension(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart || path.size() - dot - 1 < 3) return false;
    return Lower(path[dot + 1]) == 'c' && Lower(path[dot + 2]) == 'f' && Lower(path[dot + 3]) == 'g';
}

bool LoadConfigFromEditor(SonarState& state, const std::string& path, std::vector<MessageText>& messages) {
    state.EditConfigName = LimitText(path, PathCapacity);
    state.ConfigPathBuffer = state.EditConfigName;
    if (!HasConfigExtension(path)) {
        messages.push_back({std::string(LoadConfigCaption), std::string(ConfigExtensionRefused)});
        return false;
    }
    return ReadConfigFile(path, state.UserConfig.Working);
}

bool SaveConfigFromEditor(SonarState& state, const std::string& path, const UserConfigCellTexts& cells,
                          std::vector<MessageText>& messages) {
    const std::string previousName = state.EditConfigName;
    const std::string previousPath = state.ConfigPathBuffer;
    state.EditConfigName = LimitText(path, PathCapacity);
    state.ConfigPathBuffer = state.EditConfigName;
    if (!HasConfigExtension(path)) {
        messages.push_back({std::string(SaveConfigCaption), std::string(ConfigExtensionRefused)});
        return false;
    }
    // A file that cannot be written is said so, and the editor keeps the name it had:
    // otherwise Ok would make a configuration that was never saved the one in force.
    const auto refuse = [&] {
        state.EditConfigName = previousName;
        state.ConfigPathBuffer = previousPath;
        messages.push_back({std::string(SaveConfigCaption), "Cannot write the configuration file " + path + "."});
        return false;
    };
    ReplacingFile file(path);
    if (!file.IsOpen()) return refuse();
    const UserConfigTables before = state.UserConfig;
    CommitUserConfig(state.UserConfig, cells, state.Units, nullptr);
    const std::vector<uint8_t> bytes = ConfigFileBytes(state.UserConfig.Active);
    if (file.Write(bytes.data(), bytes.size()) && file.Commit()) return true;
    state.UserConfig = before;
    return refuse();
}

void ResetConfigInEditor(SonarState& state) {
    state.EditConfigName = DefaultConfigName;
    ResetUserConfig(state.UserConfig);
    for (int r = 0; r < UserConfigUsedRows; ++r) {
        state.UserConfig.Working[r].Frequency = state.UserConfig.Active[r].Frequency;
        state.UserConfig.Working[r].Absorption = state.UserConfig.Active[r].Absorption;
        state.UserConfig.Working[r].PulseLength = state.UserConfig.Active[r].PulseLength;
    }
}

ConfigEditorOpening OpenConfigEditor(SonarState& state) {
    for (int r = 0; r < UserConfigUsedRows; ++r) state.UserConfig.Working[r] = state.UserConfig.Active[r];
    return {state.UserConfig.Active, state.ConfigFile, state.EditConfigName};
}

void CancelConfigEditor(SonarState& state, const ConfigEditorOpening& opening) {
    state.UserConfig.Active = opening.Active;
    state.ConfigFile = opening.ConfigFile;
    state.EditConfigName = opening.EditConfigName;
}

int& WorkingCell(SonarState& state, int row, UserConfigColumn column) {
    UserConfigRow& cells = state.UserConfig.Working[std::clamp(row, 0, UserConfigUsedRows - 1)];
    switch (column) {
    case AbsorptionColumn: return cells.Absorption;
    case PulseLengthColumn: return cells.PulseLength;
    case FrequencyColumn: break;
    }
    return cells.Frequency;
}

void DefaultConfigCell(SonarState& state, int row, UserConfigColumn column) {
    const UserConfigRow& defaults = state.UserConfig.Default[std::clamp(row, 0, UserConfigUsedRows - 1)];
    const int value = column == FrequencyColumn    ? defaults.Frequency
                      : column == AbsorptionColumn ? defaults.Absorption
                                                   : defaults.PulseLength;
    WorkingCell(state, row, column) = value;
}

void StepConfigCell(SonarState& state, int row, UserConfigColumn column, int direction) {
    int& cell = WorkingCell(state, row, column);
    cell = StepUserConfigValue(column, cell, direction);
}

namespace {

FileDialogRequest ConfigFileRequest(std::string_view title, const std::string& initialName) {
    FileDialogRequest request;
    request.Title = title;
    request.FilterName = "SK7T Config File (*.CFG)";
    request.Pattern = "*.CFG";
    request.DefaultExtension = "CFG";
    request.InitialName = initialName;
    request.HideReadOnly = true;
    request.PathMustExist = true;
    return request;
}

}  // namespace

FileDialogRequest LoadConfigRequest(const SonarState& state) {
    FileDialogRequest request = ConfigFileRequest(LoadConfigCaption, state.ConfigPathBuffer);
    request.FileMustExist = true;
    return request;
}

FileDialogRequest SaveConfigRequest(SonarState& state) {
    state.ConfigPathBuffer.clear();
    FileDialogRequest request = ConfigFileRequest(SaveConfigCaption, state.ConfigPathBuffer);
    request.PromptOverwrite = true;
    return request;
}

bool AcceptConfigEditor(SonarState& state, const UserConfigCellTexts& cells, std::vector<MessageText>& messages) {
    state.ConfigFile = state.EditConfigName;
    return !CommitUserConfig(state.UserConfig, cells, state.Units, &messages);
}

}  // namespace tidemar
