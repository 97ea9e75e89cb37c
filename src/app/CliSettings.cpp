// What the tidemar-cli commands share: loading the settings for a data source, and
// reading numbers from the command line.
#include <string>

#include "CliCommands.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"

namespace tidemar::cli {

SonarState LoadStateFor(const std::string& settingsPath, int runMode) {
    SonarState state;
    LoadSettings(state, settingsPath);
    state.RunMode = runMode;
    SetRange(state, state.Range);
    ApplySpeed(state);
    return state;
}

bool ParsePositive(const std::string& text, long long& value) {
    const auto parsed = ParseUnsignedInteger(text);
    if (!parsed || *parsed == 0 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = *parsed;
    return true;
}

}  // namespace tidemar::cli
