#pragma once
// The command line of tidemar-headsim.
#include <cstdint>
#include <string>
#include <vector>

#include "Faults.h"
#include "HeadInfo.h"

namespace tidemar::headsim {

inline constexpr int DefaultPort = 4040;

struct Options {
    std::string address = "127.0.0.1";
    int port = DefaultPort;  // 0: any free port, shown in the listening line
    int headId = DefaultHeadId;
    int serialNumber = DefaultSerialNumber;
    bool headScan = false;
    bool strictId = false;
    bool lenient = false;  // answer blocks without checking their bytes
    bool realtime = false;
    bool once = false;
    bool help = false;
    bool seedGiven = false;
    uint64_t seed = 0;
    std::string logPath;
    long pings = 0;  // 0: no limit
    FaultOptions faults;
};

struct ParsedOptions {
    bool ok = false;
    Options options;
    std::string error;  // one line, without the program name
};

// args excludes the program name. Accepts "--name value" and "--name=value".
ParsedOptions ParseOptions(const std::vector<std::string>& args);

// True for dotted IPv4 addresses in 127.0.0.0/8.
bool IsLoopbackAddress(const std::string& text);

std::string HelpText();

}  // namespace tidemar::headsim
