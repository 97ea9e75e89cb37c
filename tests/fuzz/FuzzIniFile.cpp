// Arbitrary bytes as TIDEMAR.INI: the document keeps every byte, written values read back,
// every loaded setting lies in its accepted range, and saving is stable.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/SonarState.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

namespace {

using namespace tidemar;

void Require(bool condition) {
    if (!condition) std::abort();
}

void RequireWithin(int value, int low, int high) { Require(value >= low && value <= high); }

void RequireWithin(float value, float low, float high) {
    Require(std::isfinite(value) && value >= low && value <= high);
}

// One configuration file name reads, every other one does not.
bool FuzzConfigReader(const std::string& name, UserConfigTable& working) {
    if (name != "good.cfg") return false;
    working = DefaultUserConfigTable();
    working[0].Frequency = 280;
    return true;
}

void CheckRanges(const SonarState& s) {
    RequireWithin(s.MasterHeadID, 16, 31);
    Require(!s.UserText.empty() && s.UserText.size() <= UserTextCapacity);
    RequireWithin(s.ComPortGPS, 0, 31);
    RequireWithin(s.Grid, 0, 1);
    RequireWithin(s.Colors, 0, 8);
    RequireWithin(s.Xdcr, 0, 1);
    RequireWithin(s.Range, 0, 14);
    RequireWithin(s.RunMode, 0, 1);
    RequireWithin(s.GridMode, 0, 2);
    Require(s.SSTrain == 0 || s.SSTrain == 2);
    RequireWithin(s.Gain, 0, 40);
    RequireWithin(s.Speed, 0, 4);
    RequireWithin(s.SectorSectorSize, 0, 180);
    RequireWithin(s.PolarSectorSize, 0, 360);
    RequireWithin(s.SectorSize, 0, 360);
    RequireWithin(s.PulseLength, 10, 1000);
    RequireWithin(s.Train, 0, 359);
    RequireWithin(s.Absorption, 1, 255);
    RequireWithin(s.Profile, 0, 4);
    Require(s.RequestedProfile == s.Profile);
    RequireWithin(s.PixelZoom, 0, 1);
    RequireWithin(s.Units, 0, 1);
    RequireWithin(s.SoundVelocityMeters, 750.0f, 2250.0f);
    RequireWithin(s.IOCard, 0, 1);
    RequireWithin(s.ProfileGrid, 0, 1);
    RequireWithin(s.ZeroDown, 0, 1);
    RequireWithin(s.UseGPS, 0, 1);
    RequireWithin(s.GPSType, 0, 1);
    RequireWithin(s.SwitchDelay, 0, 500);
    RequireWithin(s.SendDelay, 0, 500);
    RequireWithin(s.PlotSpeed, 0, 100);
    RequireWithin(s.Frequency, 280, 1100);
    Require(s.Frequency % 5 == 0);
    RequireWithin(s.ConfigType, 0, 1);
    Require(s.ConfigFile == "good.cfg" || s.ConfigFile == "Default");
    Require(std::isfinite(s.ProfileChainage) && std::isfinite(s.ProfileElevation) && std::isfinite(s.ProfileXOffset) &&
            std::isfinite(s.ProfileDredgeDepth));
    RequireWithin(s.ProfileDigitizationSource, 0, 1);
    RequireWithin(s.ProfileDetectionType, 0, 1);
    RequireWithin(s.ProfileMinimumRange, 0.0f, s.Units == 0 ? 25.0f : 82.0f);
    RequireWithin(s.ProfileMinimumLevel, 10, 90);
    RequireWithin(s.AutoProfileXYZ, 0, 1);
    RequireWithin(s.AutoProfileBMP, 0, 1);
    RequireWithin(s.AutoProfileSaveConfirmation, 0, 1);
    RequireWithin(s.AutoProfilePromptForScan, 0, 1);
    RequireWithin(s.VerticalAngleOffset, -30.0f, 30.0f);
    RequireWithin(s.XYZTimestamp, 0, 1);
    RequireWithin(s.XYZRangeHorVer, 0, 1);
    Require(!s.IPAddress_Sonar1.empty() && s.IPAddress_Sonar1.size() <= SettingsTextCapacity);
    RequireWithin(s.ExternalTriggerControl, 0, 3);
    Require(s.SerialPortPaths.size() <= SettingsTextCapacity);
    Require(s.WindowZoom == 0 || s.WindowZoom == 100 || s.WindowZoom == 150 || s.WindowZoom == 200);
    RequireWithin(s.NightColors, 0, 1);
    RequireWithin(s.WindowX, NoWindowPosition, 32767);
    RequireWithin(s.WindowY, NoWindowPosition, 32767);
    for (const std::string* text : {&s.UserText, &s.ConfigFile, &s.IPAddress_Sonar1, &s.SerialPortPaths})
        Require(text->find('\0') == std::string::npos && text->find('\n') == std::string::npos);
}

// Fields that a save and a load must carry exactly (floats are rounded by their format,
// so they are compared after one round instead).
void RequireSameExactFields(const SonarState& a, const SonarState& b) {
    Require(a.MasterHeadID == b.MasterHeadID && a.UserText == b.UserText && a.ComPortGPS == b.ComPortGPS &&
            a.Grid == b.Grid && a.Colors == b.Colors && a.Xdcr == b.Xdcr && a.Range == b.Range &&
            a.RunMode == b.RunMode && a.GridMode == b.GridMode && a.SSTrain == b.SSTrain && a.Gain == b.Gain &&
            a.Speed == b.Speed && a.SectorSectorSize == b.SectorSectorSize && a.PolarSectorSize == b.PolarSectorSize &&
            a.PulseLength == b.PulseLength && a.Train == b.Train && a.Absorption == b.Absorption &&
            a.Profile == b.Profile && a.PixelZoom == b.PixelZoom && a.Units == b.Units &&
            a.ProfileGrid == b.ProfileGrid && a.ZeroDown == b.ZeroDown && a.UseGPS == b.UseGPS &&
            a.GPSType == b.GPSType && a.SwitchDelay == b.SwitchDelay && a.SendDelay == b.SendDelay &&
            a.PlotSpeed == b.PlotSpeed && a.Frequency == b.Frequency && a.ConfigType == b.ConfigType &&
            a.ConfigFile == b.ConfigFile && a.ProfileDigitizationSource == b.ProfileDigitizationSource &&
            a.ProfileDetectionType == b.ProfileDetectionType && a.ProfileMinimumLevel == b.ProfileMinimumLevel &&
            a.AutoProfileXYZ == b.AutoProfileXYZ && a.AutoProfileBMP == b.AutoProfileBMP &&
            a.AutoProfileSaveConfirmation == b.AutoProfileSaveConfirmation &&
            a.AutoProfilePromptForScan == b.AutoProfilePromptForScan && a.XYZTimestamp == b.XYZTimestamp &&
            a.XYZRangeHorVer == b.XYZRangeHorVer && a.IPAddress_Sonar1 == b.IPAddress_Sonar1 &&
            a.ExternalTriggerControl == b.ExternalTriggerControl && a.SerialPortPaths == b.SerialPortPaths &&
            a.WindowZoom == b.WindowZoom && a.NightColors == b.NightColors && a.WindowX == b.WindowX &&
            a.WindowY == b.WindowY);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// What a written value reads back as: cut at a line feed or NUL, blanks around it gone.
std::string ReadBackOf(std::string_view value) {
    const size_t stop = value.find_first_of(std::string_view("\n\0", 2));
    if (stop != std::string_view::npos) value = value.substr(0, stop);
    while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    return std::string(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // The document gives back every byte it was given.
    IniDocument document(text);
    Require(document.Text() == text);

    // A value written (here: the first 40 bytes of the input) reads back, and the lines
    // before the first one changed are untouched.
    const std::string_view value = text.substr(0, 40);
    document.Set("settings", "FuzzKey", value);
    Require(document.Find("SETTINGS", " fuzzkey ") == ReadBackOf(value));
    document.Set("Fuzz Section", "k", "v");
    Require(IniDocument(document.Text()).Find("fuzz section", "K") == "v");

    SonarState first;
    LoadSettingsFromText(first, text, FuzzConfigReader);
    CheckRanges(first);

    // Saving into the same file and loading again gives the same settings; one more round
    // changes nothing at all.
    const std::string saved = SaveSettingsToText(first, text);
    SonarState second;
    LoadSettingsFromText(second, saved, FuzzConfigReader);
    CheckRanges(second);
    RequireSameExactFields(first, second);
    const std::string savedAgain = SaveSettingsToText(second, saved);
    Require(savedAgain == SaveSettingsToText(second, savedAgain));
    SonarState third;
    LoadSettingsFromText(third, savedAgain, FuzzConfigReader);
    Require(SaveSettingsToText(third, "") == SaveSettingsToText(second, ""));
    return 0;
}
