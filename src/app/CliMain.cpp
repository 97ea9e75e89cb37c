// tidemar-cli: the program's headless tools.
#include <csignal>
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
    "  record --settings FILE --pings N --out DATA.K7T [--timeout SECONDS]\n"
    "                              record N pings from the head into a data file\n"
    "  render DATA.K7T... --out DIR [--settings FILE] [--every N] [--format bmp|png]\n"
    "         [--jobs N]           play data files into BMP or PNG pictures of the sonar image\n"
    "  video DATA.K7T --out FILE.mp4 [--settings FILE] [--fps N] [--speed X]\n"
    "        [--from PERCENT] [--to PERCENT] [--size WxH] [--clock]\n"
    "                              play a data file into an H.264 MP4 video of the sonar image\n"
    "  info DATA.K7T               summary of a sonar data file\n"
    "  dump DATA.K7T               every record of a sonar data file as JSON Lines\n"
    "  verify DATA.K7T             check that every record is whole and linked\n"
    "  xyz DATA.K7T... --out DIR [--settings FILE] [--jobs N]\n"
    "                              save every sweep of data files as XYZ profiles\n"
    "  export DATA.K7T... --format csv|geojson|kml|gpx [--out FILE | --out-dir DIR]\n"
    "         [--settings FILE] [--jobs N]\n"
    "                              data files as per-ping CSV tables or GPS tracks\n"
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
    // A file-size limit must be a write error the recorder reports, not a killed process.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return tidemar::cli::UsageError("no command given");
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(HelpText, stdout);
        return 0;
    }
    if (command == "command") return tidemar::cli::RunCommandBlock(args);
    if (command == "record") return tidemar::cli::RunRecord(args);
    if (command == "render") return tidemar::cli::RunRender(args);
    if (command == "video") return tidemar::cli::RunVideo(args);
    if (command == "info") return tidemar::cli::RunInfo(args);
    if (command == "dump") return tidemar::cli::RunDump(args);
    if (command == "verify") return tidemar::cli::RunVerify(args);
    if (command == "xyz") return tidemar::cli::RunXyz(args);
    if (command == "export") return tidemar::cli::RunExport(args);
    return tidemar::cli::UsageError("unknown command '" + command + "'");
}
