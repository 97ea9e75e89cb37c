#pragma once
// TIDEMAR.INI: the operator's settings, section "Settings", one key per SonarState field.
//
// Loading reads every key in a fixed order and repairs what is missing or out of range,
// so any file (or none) gives a usable state; saving writes every key back and leaves
// all other lines of the file as they were.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/SonarState.h"
#include "core/UserConfigTable.h"

namespace tidemar {

inline constexpr std::string_view SettingsFileName = "TIDEMAR.INI";
inline constexpr std::string_view SettingsSection = "Settings";

// Longest text value read from the file; longer values are cut (at a character boundary).
inline constexpr size_t SettingsTextCapacity = 255;

// `directory` + "/" (unless it already ends with one) + "TIDEMAR.INI"; an empty
// directory gives the bare file name.
std::string SettingsPathIn(const std::string& directory);

// Reads the configuration file named by ConfigFile into the working table; false when it
// could not be read. LoadSettings passes ReadConfigFile, with names that are not absolute
// taken relative to the settings file's directory.
using ConfigFileReader = std::function<bool(const std::string& name, UserConfigTable& working)>;

// Fills every persistent field of `state` from `iniText` (a missing key gives its default
// text, a value outside its range the repair value), then, as at start-up: the user
// configuration tables are reset to the built-in table and the file named by ConfigFile
// replaces rows 0..14 of the active table. EditConfigName and ConfigPathBuffer become
// ConfigFile when it was read, and all three become "Default" when it could not be. Also sets the values that follow
// from the settings: HeadSettingsBackup (the saved live head settings), LastDataSource,
// SectorSize, DataBits, RecordByte41, RecordFormatBits, RequestedProfile and the range
// values RangeMeters, RangeScale and SampleSpacing.
//
// Text values keep at most SettingsTextCapacity bytes, UserText at most UserTextCapacity.
// IPAddress_Sonar1 is kept whole (up to SettingsTextCapacity) so that saving never cuts
// what the operator wrote; the link uses its first IpAddressCapacity characters.
void LoadSettingsFromText(SonarState& state, std::string_view iniText, const ConfigFileReader& readConfig);

// The largest settings file that is read; a larger one is refused.
inline constexpr size_t SettingsFileLimit = 1024 * 1024;

// LoadSettingsFromText() of the file at `path`; a missing file reads as an empty one, and
// so does one that is refused: anything but a regular file (a FIFO, a device), a file
// larger than SettingsFileLimit, or one that cannot be read. The configuration file it
// names is refused in the same cases (only its first 5200 bytes are ever read) and the
// built-in table stays. Returns one line for each file refused, naming it and saying why,
// for a caller that can show it.
std::vector<std::string> LoadSettings(SonarState& state, const std::string& path);

// `existingText` with every key written (all but IOCard, in loading order). During playback
// the saved live head settings are written instead of those of the file being played.
std::string SaveSettingsToText(const SonarState& state, std::string_view existingText);

// Writes the settings into the file at `path`, keeping its other lines. The file is
// replaced only by a complete new one. False when it could not be written, and also when
// it exists but is refused for reading as above, which leaves it untouched (its other
// lines are never lost, and nothing is written into a FIFO or a device).
bool SaveSettings(const SonarState& state, const std::string& path);

}  // namespace tidemar
