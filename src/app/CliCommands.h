#pragma once
// Subcommands of tidemar-cli. Each takes the arguments after its name and returns the
// process exit status: 0 done, 1 failed, 2 usage error.

#include <string>
#include <vector>

namespace tidemar::cli {

int RunCommandBlock(const std::vector<std::string>& args);
int RunRecord(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);
int RunInfo(const std::vector<std::string>& args);
int RunDump(const std::vector<std::string>& args);
int RunVerify(const std::vector<std::string>& args);

// Prints "tidemar-cli: <message>" and a hint to --help on stderr; returns 2.
int UsageError(const std::string& message);

}  // namespace tidemar::cli
