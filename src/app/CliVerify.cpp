// tidemar-cli verify: whether every record of a sonar data file is whole and linked.
#include <cstdio>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "files/DataFileCheck.h"
#include "files/DataFileReader.h"

namespace tidemar::cli {

namespace {

const char* const VerifyHelp =
    "Usage: tidemar-cli verify DATA.K7T\n"
    "\n"
    "Checks that the file is a sequence of whole records whose back-links each lead to\n"
    "the record before (the first record's to itself), so that it plays forwards and\n"
    "backwards without skipping. Prints one line per problem, \"offset N: what is wrong\",\n"
    "and nothing when all is well.\n"
    "\n"
    "Exit status: 0 all is well, 1 problems found, 2 when the file cannot be read.\n";

}  // namespace

int RunVerify(const std::vector<std::string>& args) {
    std::string path;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::fputs(VerifyHelp, stdout);
            return 0;
        }
        if (!arg.empty() && arg[0] == '-') return UsageError("unknown option '" + arg + "' for verify");
        if (!path.empty()) return UsageError("verify takes one data file");
        path = arg;
    }
    if (path.empty()) return UsageError("verify needs a data file");

    DataFileReader reader;
    std::string reason;
    if (!reader.Open(path, &reason)) {
        std::fprintf(stderr, "tidemar-cli: cannot read %s: %s\n", path.c_str(), reason.c_str());
        return 2;
    }
    const std::vector<FileProblem> problems = VerifyDataFile(reader);
    for (const FileProblem& problem : problems)
        std::printf("offset %lld: %s\n", static_cast<long long>(problem.Offset), problem.Text.c_str());
    return problems.empty() ? 0 : 1;
}

}  // namespace tidemar::cli
