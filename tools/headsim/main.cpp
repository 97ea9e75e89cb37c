// tidemar-headsim: a simulated sonar head on a loopback address (see --help).
#include <cstdio>
#include <string>
#include <vector>

#include "Options.h"
#include "Server.h"

int main(int argc, char** argv) {
    using namespace tidemar::headsim;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ParsedOptions parsed = ParseOptions(args);
    if (!parsed.ok) {
        std::fprintf(stderr, "tidemar-headsim: %s\n", parsed.error.c_str());
        return 2;
    }
    if (parsed.options.help) {
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    }
    return RunServer(parsed.options);
}
