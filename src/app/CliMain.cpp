// tidemar-cli: the program's headless tools.
#include <cstdio>
#include <string>
#include <vector>

#include "CliCommands.h"

namespace {

const char* const HelpText =
    "Usage: tidemar-cli COMMAND [OPTIONS]\n"
    "\n"
    "Headless tools of Tidemar Digital Sonar.\n"
    "\n"
    "Commands:\n"
    "  command [--settings FILE]   print the command block of the first ping, as the\n"
    "                              program sends it with these settings\n"
    "\n"
    "Run 'tidemar-cli COMMAND --help' for the options of one command.\n";

}  // namespace

namespace tidemar::cli {

int UsageError(const std::string& message) {
    std::fprintf(stderr, "tidemar-cli: %s (try 'tidemar-cli --help')\n", message.c_str());
    return 2;
}

}  // namespace tidemar::cli

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return tidemar::cli::UsageError("no command given");
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(HelpText, stdout);
        return 0;
    }
    if (command == "command") return tidemar::cli::RunCommandBlock(args);
    return tidemar::cli::UsageError("unknown command '" + command + "'");
}
