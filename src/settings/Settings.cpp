#include "settings/Settings.h"

#include <cfloat>
#include <cmath>
#include <filesystem>

#include "core/Modes.h"
#include "core/SonarTables.h"
#include "settings/ConfigFile.h"
#include "settings/FileReplace.h"
#include "settings/IniFile.h"
#include "settings/NumberText.h"

namespace tidemar {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view DefaultUserText = "Braxtel Technology Corp.";
constexpr std::string_view DefaultConfigFile = "Default";
constexpr std::string_view DefaultIpAddress = "192.168.0.5";

// A text cut to `capacity` bytes loses blanks it now ends with, so that it reads back the
// same after a save (the file cannot keep trailing blanks). Names and paths are UTF-8 and
// are not cut inside a character; 8-bit text (the user text) is cut at any byte.
std::string Limited(std::string_view text, size_t capacity, bool eightBit = false) {
    std::string value = eightBit ? LimitBytes(text, capacity) : LimitText(text, capacity);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r' ||
                              value.back() == '\v' || value.back() == '\f'))
        value.pop_back();
    return value;
}

// Reads keys with the repair rules: a missing key reads as its default text; a number
// outside [low, high] becomes `repair`.
class SettingsReader {
public:
    explicit SettingsReader(std::string_view text) : document_(text) {}

    std::string Raw(std::string_view key, std::string_view defaultText) const {
        return Limited(document_.Get(SettingsSection, key, defaultText), SettingsTextCapacity);
    }

    // Any non-empty text, else the default text.
    std::string Text(std::string_view key, std::string_view defaultText, size_t capacity) const {
        std::string value = Limited(Raw(key, defaultText), capacity);
        return value.empty() ? std::string(defaultText) : value;
    }

    // The same for Windows-1252 text, kept byte for byte.
    std::string EightBitText(std::string_view key, std::string_view defaultText, size_t capacity) const {
        const std::string raw = LimitBytes(document_.Get(SettingsSection, key, defaultText), SettingsTextCapacity);
        std::string value = Limited(raw, capacity, true);
        return value.empty() ? std::string(defaultText) : value;
    }

    int Int(std::string_view key, std::string_view defaultText, int low, int high, int repair) const {
        const int value = ParseInteger(Raw(key, defaultText));
        return value < low || value > high ? repair : value;
    }

    // The value is stored as a float before the range is checked, as the field holds it.
    float Float(std::string_view key, std::string_view defaultText, float low, float high, float repair) const {
        const double value = ParseDecimal(Raw(key, defaultText));
        if (std::fabs(value) > FLT_MAX) return repair;
        const float stored = static_cast<float>(value);
        return stored < low || stored > high ? repair : stored;
    }

    // Fields with no range of their own still have to fit a float.
    float AnyFloat(std::string_view key, std::string_view defaultText) const {
        return Float(key, defaultText, -FLT_MAX, FLT_MAX, 0.0f);
    }

private:
    IniDocument document_;
};

void SetRangeValues(SonarState& state) {
    const RangeRow& row = RangeTable[state.Range];
    state.RangeMeters = row.Meters;
    state.RangeScale = row.RangeScale;
    state.SampleSpacing = 0.1f * row.RangeScale;
}

}  // namespace

std::string SettingsPathIn(const std::string& directory) {
    if (directory.empty()) return std::string(SettingsFileName);
    const bool separated = directory.back() == '/';
    return directory + (separated ? "" : "/") + std::string(SettingsFileName);
}

void LoadSettingsFromText(SonarState& state, std::string_view iniText, const ConfigFileReader& readConfig) {
    const SettingsReader in(iniText);
    HeadSettings& backup = state.HeadSettingsBackup;
    ResetUserConfig(state.UserConfig);

    state.MasterHeadID = in.Int("MasterHeadID", "0x11", 16, 31, 17);  // the default text reads as 0
    state.UserText = in.EightBitText("UserText", DefaultUserText, UserTextCapacity);
    backup.UserText = state.UserText;
    state.ComPortGPS = in.Int("ComPortGPS", "0", 0, 31, 0);
    state.Grid = in.Int("Grid", "1", 0, 1, 1);
    state.Colors = in.Int("Colors", "0", 0, 8, 0);
    state.Xdcr = backup.Xdcr = in.Int("Xdcr", "0", Transducer::Down, Transducer::Up, Transducer::Down);
    state.Range = backup.Range = in.Int("Range", "9", 0, 14, 9);
    SetRangeValues(state);
    backup.RangeMeters = state.RangeMeters;
    state.RunMode = in.Int("RunMode", "0", DataSource::Head, DataSource::File, DataSource::Head);
    state.LastDataSource = state.RunMode;
    state.GridMode = backup.GridMode =
        in.Int("GridMode", "1", DisplayMode::Sector, DisplayMode::SideScan, DisplayMode::Polar);
    state.SSTrain = in.Int("SSTrain", "0", SideScanSide::Port, SideScanSide::Starboard, SideScanSide::Port);
    if (state.SSTrain == SideScanSide::Both) state.SSTrain = SideScanSide::Port;
    state.Gain = backup.Gain = in.Int("Gain", "6", 0, 40, 6);
    state.Speed = backup.Speed = in.Int("Speed", "2", 0, 4, 2);
    state.SectorSectorSize = in.Int("SectorSectorSize", "180", 0, 180, 180);
    state.PolarSectorSize = in.Int("PolarSectorSize", "360", 0, 360, 360);
    state.SectorSize = state.GridMode == DisplayMode::Sector  ? state.SectorSectorSize
                       : state.GridMode == DisplayMode::Polar ? state.PolarSectorSize
                                                              : 0;
    backup.SectorSize = state.SectorSize;
    state.RecordByte41 = 0;
    state.RecordFormatBits = 1;
    state.DataBits = 8;
    state.PulseLength = backup.PulseLength = in.Int("PulseLength", "100", 10, 1000, 100);
    state.Train = backup.Train = in.Int("Train", "0", 0, 359, 0);
    state.Absorption = backup.Absorption = in.Int("Absorption", "20", 1, 255, 20);
    state.Profile = in.Int("Profile", "0", 0, 4, 0);
    state.RequestedProfile = state.Profile;
    state.PixelZoom = in.Int("PixelZoom", "1", 0, 1, 1);
    state.Units = in.Int("Units", "0", 0, 1, 0);
    state.SoundVelocityMeters = backup.SoundVelocityMeters =
        in.Float("SoundVelocityMeters", "1500.0", 750.0f, 2250.0f, 1500.0f);
    state.IOCard = in.Int("IOCard", "1", 0, 1, 1);
    state.ProfileGrid = in.Int("ProfileGrid", "0", 0, 1, 0);
    state.ZeroDown = in.Int("ZeroDown", "1", 0, 1, 1);
    state.UseGPS = in.Int("UseGPS", "0", 0, 1, 0);
    state.GPSType = in.Int("GPSType", "1", 0, 1, 1);
    state.SwitchDelay = in.Int("SwitchDelay", "0", 0, 500, 0);
    state.SendDelay = in.Int("SendDelay", "0", 0, 500, 0);
    state.PlotSpeed = in.Int("PlotSpeed", "100", 0, 100, 100);
    state.Frequency = RoundFrequency(in.Int("Frequency", "675", MinFrequency, MaxFrequency, 675));
    state.ConfigType = in.Int("ConfigType", "1", 0, 1, 1);

    state.ConfigFile = in.Text("ConfigFile", DefaultConfigFile, SettingsTextCapacity);
    if (readConfig && readConfig(state.ConfigFile, state.UserConfig.Working)) {
        for (int r = 0; r < UserConfigUsedRows; ++r) state.UserConfig.Active[r] = state.UserConfig.Working[r];
        // The editor's Ok stores EditConfigName as ConfigFile; left at "Default" it would
        // rename the loaded table and the next start would lose it.
        state.EditConfigName = state.ConfigPathBuffer = state.ConfigFile;
    } else {
        state.ConfigFile = state.EditConfigName = state.ConfigPathBuffer = DefaultConfigFile;
    }

    state.ProfileChainage = in.AnyFloat("ProfileChainage", "0.0");
    state.ProfileElevation = in.AnyFloat("ProfileElevation", "0.0");
    state.ProfileXOffset = in.AnyFloat("ProfileXOffset", "0.0");
    state.ProfileDredgeDepth = backup.ProfileDredgeDepth = in.AnyFloat("ProfileDredgeDepth", "0.0");
    state.ProfileDigitizationSource = in.Int("ProfileDigitizationSource", "0", 0, 1, 0);
    state.ProfileDetectionType = in.Int("ProfileDetectionType", "0", 0, 1, 0);
    state.ProfileMinimumRange = in.Float("ProfileMinimumRange", "0.0", 0.0f, state.Units == 0 ? 25.0f : 82.0f, 0.0f);
    state.ProfileMinimumLevel = in.Int("ProfileMinimumLevel", "70", 10, 90, 70);
    state.AutoProfileXYZ = in.Int("AutoProfileXYZ", "1", 0, 1, 1);
    state.AutoProfileBMP = in.Int("AutoProfileBMP", "1", 0, 1, 1);
    state.AutoProfileSaveConfirmation = in.Int("AutoProfileSaveConfirmation", "1", 0, 1, 1);
    state.AutoProfilePromptForScan = in.Int("AutoProfilePromptForScan", "1", 0, 1, 1);
    state.VerticalAngleOffset = in.Float("VerticalAngleOffset", "0.0", -30.0f, 30.0f, 0.0f);
    state.XYZTimestamp = in.Int("XYZTimestamp", "1", 0, 1, 1);
    state.XYZRangeHorVer = in.Int("XYZRangeHorVer", "1", 0, 1, 1);
    state.IPAddress_Sonar1 = in.Text("IPAddress_Sonar1", DefaultIpAddress, SettingsTextCapacity);
    state.ExternalTriggerControl = in.Int("ExternalTriggerControl", "0", 0, 3, 0);
    state.SerialPortPaths = in.Raw("SerialPortPaths", "");
    const int zoom = in.Int("WindowZoom", "100", WindowZoomFit, 200, 100);
    state.WindowZoom = zoom == WindowZoomFit || zoom == 100 || zoom == 150 || zoom == 200 ? zoom : 100;
    state.NightColors = in.Int("NightColors", "0", 0, 1, 0);
    state.WindowX = in.Int("WindowX", "-32768", NoWindowPosition, 32767, NoWindowPosition);
    state.WindowY = in.Int("WindowY", "-32768", NoWindowPosition, 32767, NoWindowPosition);
}

std::vector<std::string> LoadSettings(SonarState& state, const std::string& path) {
    std::vector<std::string> refused;
    const FileRead file = ReadRegularFile(path, SettingsFileLimit);
    if (!file.Refusal.empty())
        refused.push_back("settings file " + path + ": " + file.Refusal + "; the defaults are used");
    const fs::path directory = fs::path(path).parent_path();
    LoadSettingsFromText(
        state, file.Bytes.value_or(std::string()),
        [&directory, &refused](const std::string& name, UserConfigTable& working) {
            const fs::path config(name);
            const std::string configPath = config.is_absolute() ? name : (directory / config).string();
            std::string refusal;
            if (ReadConfigFile(configPath, working, &refusal)) return true;
            if (!refusal.empty())
                refused.push_back("configuration file " + configPath + ": " + refusal + "; the built-in table is used");
            return false;
        });
    return refused;
}

std::string SaveSettingsToText(const SonarState& state, std::string_view existingText) {
    IniDocument document(existingText);
    auto put = [&document](std::string_view key, const std::string& value) {
        document.Set(SettingsSection, key, value);
    };
    auto putInt = [&put](std::string_view key, int value) { put(key, std::to_string(value)); };

    // During playback the fields below hold the file's values; the operator's own are in
    // the backup.
    const bool playing = state.RunMode == DataSource::File;
    const HeadSettings& b = state.HeadSettingsBackup;

    putInt("MasterHeadID", state.MasterHeadID);
    put("UserText", playing ? b.UserText : state.UserText);
    putInt("ComPortGPS", state.ComPortGPS);
    putInt("Grid", state.Grid);
    putInt("Colors", state.Colors);
    putInt("Xdcr", playing ? b.Xdcr : state.Xdcr);
    putInt("Range", playing ? b.Range : state.Range);
    putInt("RunMode", state.RunMode);
    putInt("GridMode", playing ? b.GridMode : state.GridMode);
    putInt("SSTrain", state.SSTrain);
    putInt("Gain", playing ? b.Gain : state.Gain);
    putInt("Speed", playing ? b.Speed : state.Speed);
    putInt("SectorSectorSize", state.SectorSectorSize);
    putInt("PolarSectorSize", state.PolarSectorSize);
    putInt("PulseLength", playing ? b.PulseLength : state.PulseLength);
    putInt("Train", playing ? b.Train : state.Train);
    putInt("Absorption", playing ? b.Absorption : state.Absorption);
    putInt("Profile", state.Profile);
    putInt("PixelZoom", state.PixelZoom);
    putInt("Units", state.Units);
    put("SoundVelocityMeters", FormatFixed(playing ? b.SoundVelocityMeters : state.SoundVelocityMeters, 6, 1, true));
    putInt("ProfileGrid", state.ProfileGrid);
    putInt("ZeroDown", state.ZeroDown);
    putInt("UseGPS", state.UseGPS);
    putInt("GPSType", state.GPSType);
    putInt("SwitchDelay", state.SwitchDelay);
    putInt("SendDelay", state.SendDelay);
    putInt("PlotSpeed", state.PlotSpeed);
    putInt("Frequency", state.Frequency);
    putInt("ConfigType", state.ConfigType);
    put("ConfigFile", state.ConfigFile);
    put("ProfileChainage", FormatFixed(state.ProfileChainage, 4, 2));
    put("ProfileElevation", FormatFixed(state.ProfileElevation, 4, 2));
    put("ProfileXOffset", FormatFixed(state.ProfileXOffset, 4, 2));
    put("ProfileDredgeDepth", FormatFixed(playing ? b.ProfileDredgeDepth : state.ProfileDredgeDepth, 4, 2));
    putInt("ProfileDigitizationSource", state.ProfileDigitizationSource);
    putInt("ProfileDetectionType", state.ProfileDetectionType);
    put("ProfileMinimumRange", FormatFixed(state.ProfileMinimumRange, 4, 1));
    putInt("ProfileMinimumLevel", state.ProfileMinimumLevel);
    putInt("AutoProfileXYZ", state.AutoProfileXYZ);
    putInt("AutoProfileBMP", state.AutoProfileBMP);
    putInt("AutoProfileSaveConfirmation", state.AutoProfileSaveConfirmation);
    putInt("AutoProfilePromptForScan", state.AutoProfilePromptForScan);
    put("VerticalAngleOffset", FormatFixed(state.VerticalAngleOffset, 3, 1));
    putInt("XYZTimestamp", state.XYZTimestamp);
    putInt("XYZRangeHorVer", state.XYZRangeHorVer);
    put("IPAddress_Sonar1", state.IPAddress_Sonar1);
    putInt("ExternalTriggerControl", state.ExternalTriggerControl);
    put("SerialPortPaths", state.SerialPortPaths);
    putInt("WindowZoom", state.WindowZoom);
    putInt("NightColors", state.NightColors);
    putInt("WindowX", state.WindowX);
    putInt("WindowY", state.WindowY);
    return document.Text();
}

bool SaveSettings(const SonarState& state, const std::string& path) {
    const FileRead existing = ReadRegularFile(path, SettingsFileLimit);
    if (!existing.Refusal.empty()) return false;
    const std::string text = SaveSettingsToText(state, existing.Bytes.value_or(std::string()));

    ReplacingFile file(path);
    if (file.IsOpen()) return file.Write(text.data(), text.size()) && file.Commit();

    // No temporary file beside it (a directory we may not write to): write in place,
    // as long as the file itself may be written.
    return WriteFileInPlace(path, text);
}

}  // namespace tidemar
