// What the tidemar-cli commands share: loading the settings for a data source, checking
// the files they read and write, and reading numbers from the command line.
#include <cstdio>
#include <filesystem>
#include <string>

#include "CliCommands.h"
#include "files/DataFileCheck.h"
#include "files/DataFileReader.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"

namespace tidemar::cli {

SonarState LoadStateFor(const std::string& settingsPath, int runMode) {
    SonarState state;
    for (const std::string& refused : LoadSettings(state, settingsPath))
        std::fprintf(stderr, "tidemar-cli: warning: %s\n", refused.c_str());
    state.RunMode = runMode;
    SetRange(state, state.Range);
    ApplySpeed(state);
    return state;
}

bool StartPlayedFile(PlaybackSource& source, const ScriptedPrompts& prompts) {
    if (source.Start()) return true;
    for (const auto& message : prompts.Messages) std::fprintf(stderr, "tidemar-cli: %s\n", message.Text.c_str());
    return false;
}

bool PlayableFile(const std::string& path) {
    DataFileReader reader;
    std::string reason;
    if (!reader.Open(path, &reason)) {
        std::fprintf(stderr, "tidemar-cli: %s: %s\n", path.c_str(), reason.c_str());
        return false;
    }
    bool anyRecord = false;
    ScanDataFile(
        reader, [&](const FileRecord&) { anyRecord = true; }, nullptr);
    if (!anyRecord) std::fprintf(stderr, "tidemar-cli: %s: no whole record in the file\n", path.c_str());
    return anyRecord;
}

bool OutputFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (std::filesystem::is_directory(path)) return true;
    std::fprintf(stderr, "tidemar-cli: cannot create the folder %s\n", path.c_str());
    return false;
}

bool ParsePositive(const std::string& text, long long& value) {
    const auto parsed = ParseUnsignedInteger(text);
    if (!parsed || *parsed == 0 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = *parsed;
    return true;
}

}  // namespace tidemar::cli
