#pragma once
// The arguments of one tidemar-cli subcommand, read the same way by every command:
// --help or -h prints the command's help, an option that takes a value gets the next
// argument, anything else starting with '-' is unknown, and the rest are input files.

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace tidemar::cli {

struct CommandOptions {
    const char* Command;                             // its name, in messages
    const char* Help;                                // printed for --help
    std::initializer_list<std::string_view> Valued;  // options followed by a value
    std::initializer_list<std::string_view> Flags;   // options standing alone
    bool TakesInputs = true;                         // false: a bare argument is refused
};

// Handed each option met, with its value ("" for a flag); returns why the value is
// refused, or "" when it is taken.
using OptionHandler = std::function<std::string(std::string_view option, const std::string& value)>;

// Reads `args`. Returns -1 when the command should go on with `inputs` filled, otherwise
// the exit status to end with: 0 after --help, 2 after a usage error (said on stderr).
int ReadOptions(const std::vector<std::string>& args, const CommandOptions& command, const OptionHandler& handle,
                std::vector<std::string>& inputs);

}  // namespace tidemar::cli
