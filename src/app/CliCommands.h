#pragma once
// Subcommands of tidemar-cli. Each takes the arguments after its name and returns the
// process exit status: 0 done, 1 failed, 2 usage error.

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "core/SonarState.h"
#include "files/PlaybackSource.h"
#include "platform/ScriptedPrompts.h"

namespace tidemar::cli {

int RunCommandBlock(const std::vector<std::string>& args);
int RunRecord(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);
int RunVideo(const std::vector<std::string>& args);
int RunInfo(const std::vector<std::string>& args);
int RunDump(const std::vector<std::string>& args);
int RunVerify(const std::vector<std::string>& args);
int RunXyz(const std::vector<std::string>& args);
int RunExport(const std::vector<std::string>& args);

// Prints "tidemar-cli: <message>" and a hint to --help on stderr; returns 2.
int UsageError(const std::string& message);

// The settings loaded as the program loads them at start-up, then laid out for a data
// source (DataSource::Head or DataSource::File) as the range and speed read-outs do. A
// settings or configuration file that is there but refused is named on stderr.
SonarState LoadStateFor(const std::string& settingsPath, int runMode);

// A data file that opens and holds at least one whole record; otherwise says why on stderr.
bool PlayableFile(const std::string& path);
// The folder made when missing; otherwise says so on stderr.
bool OutputFolder(const std::string& path);

// Starts a played file as the source of a headless run; when it cannot be played, prints
// what playback said (recorded in `prompts`) on stderr and gives false.
bool StartPlayedFile(PlaybackSource& source, const ScriptedPrompts& prompts);

// A JSON string (quotes included) of a text a data file holds: its Windows-1252 bytes
// written as UTF-8, control characters escaped, so that any bytes give valid JSON.
std::string JsonString(std::string_view bytes);

// From now on SIGINT, SIGTERM and SIGHUP only set the flag returned, so that a long
// command stops at its next step and cleans up after itself.
std::atomic<bool>& WatchStopSignals();

// A whole number above 0 written with digits only.
bool ParsePositive(const std::string& text, long long& value);

}  // namespace tidemar::cli
