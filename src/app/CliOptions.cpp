#include "CliOptions.h"

#include <algorithm>
#include <cstdio>

#include "CliCommands.h"

namespace tidemar::cli {

namespace {

bool Listed(std::initializer_list<std::string_view> names, std::string_view arg) {
    return std::find(names.begin(), names.end(), arg) != names.end();
}

}  // namespace

int ReadOptions(const std::vector<std::string>& args, const CommandOptions& command, const OptionHandler& handle,
                std::vector<std::string>& inputs) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(command.Help, stdout);
            return 0;
        }
        std::string refused;
        if (Listed(command.Valued, arg)) {
            if (i + 1 >= args.size()) return UsageError(arg + " needs a value");
            refused = handle(arg, args[++i]);
        } else if (Listed(command.Flags, arg)) {
            refused = handle(arg, "");
        } else if (!command.TakesInputs || (!arg.empty() && arg[0] == '-')) {
            return UsageError("unknown option '" + arg + "' for " + command.Command);
        } else {
            inputs.push_back(arg);
        }
        if (!refused.empty()) return UsageError(refused);
    }
    return -1;
}

}  // namespace tidemar::cli
