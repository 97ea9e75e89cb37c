// tidemar-cli command: the 27 bytes the program would send for its first ping.
#include <cstdio>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "CliOptions.h"
#include "core/Modes.h"
#include "core/SonarState.h"
#include "core/SwitchCommand.h"

namespace tidemar::cli {

namespace {

const char* const CommandHelp =
    "Usage: tidemar-cli command [--settings FILE]\n"
    "\n"
    "Loads the settings as the program does at start-up (FILE, default ./TIDEMAR.INI;\n"
    "a missing or unreadable file gives the defaults, and so does anything but a regular\n"
    "file of at most 1 MB, with a warning on stderr), applies the range with its user\n"
    "configuration row as the head mode does, and prints the command block of the first\n"
    "ping: 27 upper-case hexadecimal bytes separated by spaces, on one line.\n"
    "\n"
    "Options:\n"
    "  --settings FILE   the settings file to load\n"
    "  --help            show this text\n";

}  // namespace

int RunCommandBlock(const std::vector<std::string>& args) {
    std::string settingsPath = "TIDEMAR.INI";
    std::vector<std::string> inputs;
    const CommandOptions command{"command", CommandHelp, {"--settings"}, {}, false};
    const int optionsStatus = ReadOptions(
        args, command,
        [&](std::string_view, const std::string& value) {
            settingsPath = value;
            return std::string();
        },
        inputs);
    if (optionsStatus >= 0) return optionsStatus;

    // The link only ever runs in head mode; a file saved during playback holds the
    // live values anyway.
    SonarState state = LoadStateFor(settingsPath, DataSource::Head);

    const CommandBlock block = PrepareSend(state);
    for (size_t i = 0; i < block.size(); ++i) std::printf(i + 1 < block.size() ? "%02X " : "%02X\n", block[i]);
    return 0;
}

}  // namespace tidemar::cli
