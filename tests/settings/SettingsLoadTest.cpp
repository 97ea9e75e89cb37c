// Loading TIDEMAR.INI: defaults, repairs, side effects and the configuration file.
#include <gtest/gtest.h>

#include <string>

#include "OddPaths.h"
#include "TempDir.h"
#include "core/SonarState.h"
#include "settings/ConfigFile.h"
#include "settings/Settings.h"

namespace tidemar {
namespace {

using testing::TempDir;
using testing::WriteBytes;

// A reader for tests that never reach the file system.
bool NoConfigFile(const std::string&, UserConfigTable&) { return false; }

SonarState Loaded(const std::string& text, const ConfigFileReader& reader = NoConfigFile) {
    SonarState state;
    LoadSettingsFromText(state, text, reader);
    return state;
}

SonarState LoadedKey(const std::string& key, const std::string& value) {
    return Loaded("[Settings]\r\n" + key + "=" + value + "\r\n");
}

TEST(LoadSettings, EmptyFileGivesTheDefaults) {
    // Start from a state where every setting holds some other value, so each default must
    // really be set; the saved text then shows every key at once.
    SonarState state;
    LoadSettingsFromText(state,
                         "[Settings]\nMasterHeadID=30\nUserText=x\nComPortGPS=3\nGrid=0\nColors=4\nXdcr=1\n"
                         "Range=2\nGridMode=0\nSSTrain=2\nGain=40\nSpeed=0\nSectorSectorSize=10\n"
                         "PolarSectorSize=20\nPulseLength=900\nTrain=5\nAbsorption=99\nProfile=3\nPixelZoom=0\n"
                         "Units=1\nSoundVelocityMeters=900\nIOCard=0\nProfileGrid=1\nZeroDown=0\nUseGPS=1\n"
                         "GPSType=0\nSwitchDelay=7\nSendDelay=8\nPlotSpeed=9\nFrequency=300\nConfigType=0\n"
                         "ProfileChainage=1\nProfileElevation=2\nProfileXOffset=3\nProfileDredgeDepth=4\n"
                         "ProfileDigitizationSource=1\nProfileDetectionType=1\nProfileMinimumRange=5\n"
                         "ProfileMinimumLevel=11\nAutoProfileXYZ=0\nAutoProfileBMP=0\n"
                         "AutoProfileSaveConfirmation=0\nAutoProfilePromptForScan=0\nVerticalAngleOffset=6\n"
                         "XYZTimestamp=0\nXYZRangeHorVer=0\nIPAddress_Sonar1=127.0.0.9\n"
                         "ExternalTriggerControl=2\nSerialPortPaths=/dev/ttyS9\nWindowZoom=200\nNightColors=1\n"
                         "WindowX=10\nWindowY=20\n",
                         NoConfigFile);
    ASSERT_EQ(state.Gain, 40);
    LoadSettingsFromText(state, "", NoConfigFile);

    EXPECT_EQ(state.MasterHeadID, 17);
    EXPECT_EQ(state.Frequency, 675);
    EXPECT_EQ(state.IOCard, 1) << "the one key that is never saved";
    EXPECT_EQ(SaveSettingsToText(state, ""),
              testing::ReadBytes(std::string(TIDEMAR_TEST_DATA) + "/settings/defaults.ini"));
}

TEST(LoadSettings, EmptyFileLeavesTheBuiltInConfigurationTable) {
    SonarState state;
    state.UserConfig.Active[3].Frequency = 999;
    LoadSettingsFromText(state, "", NoConfigFile);
    const UserConfigTable defaults = DefaultUserConfigTable();
    for (int r = 0; r < UserConfigUsedRows; ++r) {
        EXPECT_EQ(state.UserConfig.Active[r].Frequency, defaults[r].Frequency) << r;
        EXPECT_EQ(state.UserConfig.Active[r].PulseLength, defaults[r].PulseLength) << r;
    }
    EXPECT_EQ(state.UserConfig.Default[14].PulseLength, 530);
}

// Each row: key, value in the file, the field's value after loading.
struct IntCase {
    const char* key;
    const char* text;
    int expected;
    int SonarState::*field;
};

TEST(LoadSettings, IntegerRangesAndRepairs) {
    const IntCase cases[] = {
        {"MasterHeadID", "0x12", 17, &SonarState::MasterHeadID},
        {"MasterHeadID", "16", 16, &SonarState::MasterHeadID},
        {"MasterHeadID", "31", 31, &SonarState::MasterHeadID},
        {"MasterHeadID", "32", 17, &SonarState::MasterHeadID},
        {"MasterHeadID", "", 17, &SonarState::MasterHeadID},
        {"ComPortGPS", "31", 31, &SonarState::ComPortGPS},
        {"ComPortGPS", "32", 0, &SonarState::ComPortGPS},
        {"Grid", "0", 0, &SonarState::Grid},
        {"Grid", "2", 1, &SonarState::Grid},
        {"Grid", "", 0, &SonarState::Grid},  // present but empty reads as 0, which is valid
        {"Colors", "8", 8, &SonarState::Colors},
        {"Colors", "9", 0, &SonarState::Colors},
        {"Xdcr", "1", 1, &SonarState::Xdcr},
        {"Xdcr", "-1", 0, &SonarState::Xdcr},
        {"Range", "14", 14, &SonarState::Range},
        {"Range", "15", 9, &SonarState::Range},
        {"RunMode", "1", 1, &SonarState::RunMode},
        {"RunMode", "2", 0, &SonarState::RunMode},
        {"GridMode", "2", 2, &SonarState::GridMode},
        {"GridMode", "3", 1, &SonarState::GridMode},
        {"SSTrain", "2", 2, &SonarState::SSTrain},
        {"SSTrain", "1", 0, &SonarState::SSTrain},
        {"SSTrain", "3", 0, &SonarState::SSTrain},
        {"Gain", "40", 40, &SonarState::Gain},
        {"Gain", "41", 6, &SonarState::Gain},
        {"Speed", "4", 4, &SonarState::Speed},
        {"Speed", "5", 2, &SonarState::Speed},
        {"SectorSectorSize", "0", 0, &SonarState::SectorSectorSize},
        {"SectorSectorSize", "181", 180, &SonarState::SectorSectorSize},
        {"PolarSectorSize", "361", 360, &SonarState::PolarSectorSize},
        {"PulseLength", "10", 10, &SonarState::PulseLength},
        {"PulseLength", "9", 100, &SonarState::PulseLength},
        {"PulseLength", "1001", 100, &SonarState::PulseLength},
        {"Train", "359", 359, &SonarState::Train},
        {"Train", "360", 0, &SonarState::Train},
        {"Absorption", "0", 20, &SonarState::Absorption},
        {"Absorption", "255", 255, &SonarState::Absorption},
        {"Absorption", "256", 20, &SonarState::Absorption},
        {"Profile", "4", 4, &SonarState::Profile},
        {"Profile", "5", 0, &SonarState::Profile},
        {"PixelZoom", "0", 0, &SonarState::PixelZoom},
        {"Units", "1", 1, &SonarState::Units},
        {"Units", "2", 0, &SonarState::Units},
        {"IOCard", "0", 0, &SonarState::IOCard},
        {"IOCard", "7", 1, &SonarState::IOCard},
        {"ProfileGrid", "1", 1, &SonarState::ProfileGrid},
        {"ZeroDown", "0", 0, &SonarState::ZeroDown},
        {"UseGPS", "1", 1, &SonarState::UseGPS},
        {"GPSType", "0", 0, &SonarState::GPSType},
        {"GPSType", "5", 1, &SonarState::GPSType},
        {"SwitchDelay", "500", 500, &SonarState::SwitchDelay},
        {"SwitchDelay", "501", 0, &SonarState::SwitchDelay},
        {"SendDelay", "-1", 0, &SonarState::SendDelay},
        {"PlotSpeed", "0", 0, &SonarState::PlotSpeed},
        {"PlotSpeed", "101", 100, &SonarState::PlotSpeed},
        {"Frequency", "1102", 675, &SonarState::Frequency},
        {"Frequency", "677", 675, &SonarState::Frequency},
        {"Frequency", "678", 680, &SonarState::Frequency},
        {"Frequency", "280", 280, &SonarState::Frequency},
        {"Frequency", "1099", 1100, &SonarState::Frequency},
        {"Frequency", "279", 675, &SonarState::Frequency},
        {"WindowZoom", "0", 0, &SonarState::WindowZoom},  // fit to the screen
        {"WindowZoom", "150", 150, &SonarState::WindowZoom},
        {"WindowZoom", "200", 200, &SonarState::WindowZoom},
        {"WindowZoom", "175", 100, &SonarState::WindowZoom},  // within the range, but no zoom level
        {"WindowZoom", "201", 100, &SonarState::WindowZoom},
        {"WindowZoom", "-1", 100, &SonarState::WindowZoom},
        {"NightColors", "1", 1, &SonarState::NightColors},
        {"NightColors", "2", 0, &SonarState::NightColors},
        {"WindowX", "-1200", -1200, &SonarState::WindowX},  // a screen left of the first
        {"WindowX", "32767", 32767, &SonarState::WindowX},
        {"WindowX", "40000", NoWindowPosition, &SonarState::WindowX},
        {"WindowY", "-40000", NoWindowPosition, &SonarState::WindowY},
        {"WindowY", "", 0, &SonarState::WindowY},
        {"ConfigType", "0", 0, &SonarState::ConfigType},
        {"ConfigType", "2", 1, &SonarState::ConfigType},
        {"ProfileDigitizationSource", "1", 1, &SonarState::ProfileDigitizationSource},
        {"ProfileDetectionType", "2", 0, &SonarState::ProfileDetectionType},
        {"ProfileMinimumLevel", "10", 10, &SonarState::ProfileMinimumLevel},
        {"ProfileMinimumLevel", "91", 70, &SonarState::ProfileMinimumLevel},
        {"AutoProfileXYZ", "0", 0, &SonarState::AutoProfileXYZ},
        {"AutoProfileBMP", "3", 1, &SonarState::AutoProfileBMP},
        {"AutoProfileSaveConfirmation", "0", 0, &SonarState::AutoProfileSaveConfirmation},
        {"AutoProfilePromptForScan", "x", 0, &SonarState::AutoProfilePromptForScan},
        {"XYZTimestamp", "0", 0, &SonarState::XYZTimestamp},
        {"XYZRangeHorVer", "9", 1, &SonarState::XYZRangeHorVer},
        {"ExternalTriggerControl", "3", 3, &SonarState::ExternalTriggerControl},
        {"ExternalTriggerControl", "4", 0, &SonarState::ExternalTriggerControl},
        {"Gain", " 12 ", 12, &SonarState::Gain},
        {"Gain", "12dB", 12, &SonarState::Gain},
        {"Gain", "\"12\"", 12, &SonarState::Gain},
        {"Gain", "99999999999999", 6, &SonarState::Gain},
    };
    for (const IntCase& c : cases) EXPECT_EQ(LoadedKey(c.key, c.text).*(c.field), c.expected) << c.key << "=" << c.text;
}

TEST(LoadSettings, FloatRangesAndRepairs) {
    EXPECT_EQ(LoadedKey("SoundVelocityMeters", "2250.0").SoundVelocityMeters, 2250.0f);
    EXPECT_EQ(LoadedKey("SoundVelocityMeters", "2250.1").SoundVelocityMeters, 1500.0f);
    EXPECT_EQ(LoadedKey("SoundVelocityMeters", "750").SoundVelocityMeters, 750.0f);
    EXPECT_EQ(LoadedKey("SoundVelocityMeters", "749.9").SoundVelocityMeters, 1500.0f);
    EXPECT_EQ(LoadedKey("SoundVelocityMeters", "1482.5").SoundVelocityMeters, 1482.5f);
    EXPECT_EQ(LoadedKey("SoundVelocityMeters", "fast").SoundVelocityMeters, 1500.0f);

    EXPECT_EQ(LoadedKey("VerticalAngleOffset", "-30").VerticalAngleOffset, -30.0f);
    EXPECT_EQ(LoadedKey("VerticalAngleOffset", "30.5").VerticalAngleOffset, 0.0f);
    EXPECT_EQ(LoadedKey("VerticalAngleOffset", "-12.5").VerticalAngleOffset, -12.5f);

    EXPECT_EQ(LoadedKey("ProfileChainage", "-1234.5").ProfileChainage, -1234.5f);
    EXPECT_EQ(LoadedKey("ProfileElevation", "1e30").ProfileElevation, 1e30f);
    EXPECT_EQ(LoadedKey("ProfileXOffset", "1e39").ProfileXOffset, 0.0f) << "beyond a float";
    EXPECT_EQ(LoadedKey("ProfileDredgeDepth", "inf").ProfileDredgeDepth, 0.0f);
    EXPECT_EQ(LoadedKey("ProfileDredgeDepth", "nan").ProfileDredgeDepth, 0.0f);
}

TEST(LoadSettings, ProfileMinimumRangeDependsOnTheUnits) {
    EXPECT_EQ(Loaded("[Settings]\nUnits=1\nProfileMinimumRange=50\n").ProfileMinimumRange, 50.0f);
    EXPECT_EQ(Loaded("[Settings]\nUnits=0\nProfileMinimumRange=50\n").ProfileMinimumRange, 0.0f);
    EXPECT_EQ(Loaded("[Settings]\nUnits=0\nProfileMinimumRange=25\n").ProfileMinimumRange, 25.0f);
    EXPECT_EQ(Loaded("[Settings]\nUnits=1\nProfileMinimumRange=82.5\n").ProfileMinimumRange, 0.0f);
    EXPECT_EQ(Loaded("[Settings]\nUnits=1\nProfileMinimumRange=-1\n").ProfileMinimumRange, 0.0f);
}

TEST(LoadSettings, TextValues) {
    EXPECT_EQ(LoadedKey("UserText", "").UserText, "Braxtel Technology Corp.") << "empty means default";
    EXPECT_EQ(LoadedKey("UserText", "  Dock 4  ").UserText, "Dock 4");
    EXPECT_EQ(LoadedKey("UserText", std::string(100, 'u')).UserText, std::string(79, 'u'));
    EXPECT_EQ(LoadedKey("UserText", std::string(78, 'u') + " tail").UserText, std::string(78, 'u'))
        << "no blank left at the end of the cut";
    EXPECT_EQ(LoadedKey("UserText", std::string("\0x", 2)).UserText, "Braxtel Technology Corp.");
    EXPECT_EQ(LoadedKey("UserText", "\"Survey 1\"").UserText, "Survey 1") << "one pair of quotes dropped";
    EXPECT_EQ(LoadedKey("UserText", "''").UserText, "Braxtel Technology Corp.") << "quotes around nothing";
    EXPECT_EQ(LoadedKey("UserText", std::string(78, 'u') + "\xB0\x93\x94").UserText, std::string(78, 'u') + "\xB0")
        << "8-bit text is cut at the byte, as if it were no UTF-8";
    EXPECT_EQ(LoadedKey("IPAddress_Sonar1", "").IPAddress_Sonar1, "192.168.0.5");
    EXPECT_EQ(LoadedKey("IPAddress_Sonar1", "127.0.0.2").IPAddress_Sonar1, "127.0.0.2");
    EXPECT_EQ(LoadedKey("IPAddress_Sonar1", std::string(300, '1')).IPAddress_Sonar1, std::string(255, '1'));
    EXPECT_EQ(LoadedKey("ConfigFile", "").ConfigFile, "Default");
    EXPECT_EQ(LoadedKey("SerialPortPaths", "/dev/ttyUSB0:/dev/ttyACM0").SerialPortPaths, "/dev/ttyUSB0:/dev/ttyACM0");
    EXPECT_EQ(LoadedKey("SerialPortPaths", std::string(300, 'p')).SerialPortPaths, std::string(255, 'p'));
    EXPECT_EQ(LoadedKey("SerialPortPaths", "").SerialPortPaths, "");
}

TEST(LoadSettings, HeadSettingsBackupHoldsTheLoadedLiveValues) {
    const SonarState state = Loaded(
        "[Settings]\nUserText=Pier\nXdcr=1\nRange=13\nGridMode=0\nGain=33\nSpeed=4\n"
        "SectorSectorSize=90\nPulseLength=400\nTrain=45\nAbsorption=7\n"
        "SoundVelocityMeters=1490.5\nProfileDredgeDepth=12.25\n");
    const HeadSettings& b = state.HeadSettingsBackup;
    EXPECT_EQ(b.UserText, "Pier");
    EXPECT_EQ(b.Xdcr, 1);
    EXPECT_EQ(b.Range, 13);
    EXPECT_EQ(b.RangeMeters, 150);
    EXPECT_EQ(b.GridMode, 0);
    EXPECT_EQ(b.Gain, 33);
    EXPECT_EQ(b.Speed, 4);
    EXPECT_EQ(b.SectorSize, 90);
    EXPECT_EQ(b.PulseLength, 400);
    EXPECT_EQ(b.Train, 45);
    EXPECT_EQ(b.Absorption, 7);
    EXPECT_EQ(b.SoundVelocityMeters, 1490.5f);
    EXPECT_EQ(b.ProfileDredgeDepth, 12.25f);
}

TEST(LoadSettings, DerivedValuesFollowTheSettings) {
    struct Case {
        int gridMode;
        int sectorSize;
    } cases[] = {{DisplayMode::Sector, 120}, {DisplayMode::Polar, 270}, {DisplayMode::SideScan, 0}};
    for (const Case c : cases) {
        SonarState state;
        state.DataBits = 4;
        state.RecordByte41 = 9;
        state.RecordFormatBits = 3;
        LoadSettingsFromText(state,
                             "[Settings]\nGridMode=" + std::to_string(c.gridMode) +
                                 "\nSectorSectorSize=120\nPolarSectorSize=270\nRunMode=1\nProfile=3\nRange=5\n",
                             NoConfigFile);
        EXPECT_EQ(state.SectorSize, c.sectorSize) << c.gridMode;
        EXPECT_EQ(state.HeadSettingsBackup.SectorSize, c.sectorSize);
        EXPECT_EQ(state.DataBits, 8);
        EXPECT_EQ(state.RecordByte41, 0);
        EXPECT_EQ(state.RecordFormatBits, 1);
        EXPECT_EQ(state.LastDataSource, 1);
        EXPECT_EQ(state.RequestedProfile, 3);
        EXPECT_EQ(state.RangeMeters, 10);
        EXPECT_FLOAT_EQ(state.RangeScale, 0.2f);
        EXPECT_FLOAT_EQ(state.SampleSpacing, 0.02f);
    }
}

TEST(LoadSettings, ConfigFileReplacesTheActiveTable) {
    UserConfigTable fromFile = DefaultUserConfigTable();
    fromFile[3] = {4, 550, 33, 70};
    fromFile[14] = {200, 300, 5, 990};
    std::string askedFor;
    auto reader = [&](const std::string& name, UserConfigTable& working) {
        askedFor = name;
        for (int r = 0; r < UserConfigUsedRows; ++r) working[r] = fromFile[r];
        return true;
    };
    const SonarState state = Loaded("[Settings]\nConfigFile=/data/site.cfg\nFrequency=300\n", reader);
    EXPECT_EQ(askedFor, "/data/site.cfg");
    EXPECT_EQ(state.ConfigFile, "/data/site.cfg");
    EXPECT_EQ(state.UserConfig.Active[3].Frequency, 550);
    EXPECT_EQ(state.UserConfig.Active[3].Absorption, 33);
    EXPECT_EQ(state.UserConfig.Active[3].PulseLength, 70);
    EXPECT_EQ(state.UserConfig.Active[14].PulseLength, 990);
    EXPECT_EQ(state.Frequency, 300) << "loading a table does not apply it";
    // The editor starts from the loaded name, so its Ok keeps the table's name.
    EXPECT_EQ(state.EditConfigName, "/data/site.cfg");
    EXPECT_EQ(state.ConfigPathBuffer, "/data/site.cfg");
}

TEST(LoadSettings, UnreadableConfigFileFallsBackToDefault) {
    SonarState state;
    state.EditConfigName = "/old/a.cfg";
    state.ConfigPathBuffer = "/old/a.cfg";
    LoadSettingsFromText(state, "[Settings]\nConfigFile=/nowhere/x.cfg\n", NoConfigFile);
    EXPECT_EQ(state.ConfigFile, "Default");
    EXPECT_EQ(state.EditConfigName, "Default");
    EXPECT_EQ(state.ConfigPathBuffer, "Default");
    EXPECT_EQ(state.UserConfig.Active[0].Frequency, 1000);
}

TEST(LoadSettings, ReadsTheFileAndItsConfigurationFile) {
    TempDir dir;
    UserConfigTable table = DefaultUserConfigTable();
    table[9].Frequency = 450;
    ASSERT_TRUE(WriteConfigFile(dir.File("site.cfg"), table));
    // Relative names are taken beside the settings file.
    WriteBytes(dir.File("TIDEMAR.INI"), "[Settings]\r\nConfigFile=site.cfg\r\nGain=21\r\n");
    SonarState state;
    LoadSettings(state, dir.File("TIDEMAR.INI"));
    EXPECT_EQ(state.Gain, 21);
    EXPECT_EQ(state.ConfigFile, "site.cfg");
    EXPECT_EQ(state.UserConfig.Active[9].Frequency, 450);

    WriteBytes(dir.File("TIDEMAR.INI"), "[Settings]\r\nConfigFile=" + dir.File("site.cfg") + "\r\n");
    SonarState absolute;
    LoadSettings(absolute, dir.File("TIDEMAR.INI"));
    EXPECT_EQ(absolute.UserConfig.Active[9].Frequency, 450);
}

TEST(LoadSettings, MissingOrUnreadableFileGivesTheDefaults) {
    TempDir dir;
    SonarState missing;
    missing.Gain = 30;
    LoadSettings(missing, dir.File("TIDEMAR.INI"));
    EXPECT_EQ(missing.Gain, 6);
    EXPECT_EQ(missing.MasterHeadID, 17);

    EXPECT_TRUE(LoadSettings(missing, dir.File("TIDEMAR.INI")).empty()) << "a missing file is no news";

    SonarState directory;  // a directory where the file should be
    directory.Gain = 30;
    LoadSettings(directory, dir.Path().string());
    EXPECT_EQ(directory.Gain, 6);
}

TEST(LoadSettings, PathsThatAreNoFileGiveTheDefaultsAndSaySo) {
    TempDir dir;
    for (const auto& odd : testing::MakeOddPaths(dir, "TIDEMAR", SettingsFileLimit, "[Settings]\nGain=21\n")) {
        SonarState state;
        state.Gain = 30;
        const std::vector<std::string> told = LoadSettings(state, odd.Path);
        EXPECT_EQ(state.Gain, 6) << odd.Legend;
        EXPECT_EQ(told, std::vector<std::string>{"settings file " + odd.Path + ": " + odd.Refusal +
                                                 "; the defaults are used"})
            << odd.Legend;
    }
    SonarState largest;  // exactly at the limit is read
    WriteBytes(dir.File("full.ini"), "[Settings]\nGain=21\n" + std::string(SettingsFileLimit - 19, ' '));
    EXPECT_TRUE(LoadSettings(largest, dir.File("full.ini")).empty());
    EXPECT_EQ(largest.Gain, 21);
}

TEST(LoadSettings, HandEditedFile) {
    const SonarState state = Loaded(testing::ReadBytes(std::string(TIDEMAR_TEST_DATA) + "/settings/edited.ini"));
    EXPECT_EQ(state.MasterHeadID, 20);
    EXPECT_EQ(state.UserText, "Harbour survey");
    EXPECT_EQ(state.Range, 12);
    EXPECT_EQ(state.Gain, 40) << "the first of a repeated key";
    EXPECT_EQ(state.SoundVelocityMeters, 1482.5f);
    EXPECT_EQ(state.IPAddress_Sonar1, "127.0.0.7");
    EXPECT_EQ(state.Speed, 2) << "missing key";
}

TEST(SettingsPathIn, JoinsWithOneSlash) {
    EXPECT_EQ(SettingsPathIn("/home/sonar"), "/home/sonar/TIDEMAR.INI");
    EXPECT_EQ(SettingsPathIn("/home/sonar/"), "/home/sonar/TIDEMAR.INI");
    EXPECT_EQ(SettingsPathIn("/"), "/TIDEMAR.INI");
    EXPECT_EQ(SettingsPathIn(""), "TIDEMAR.INI");
}

}  // namespace
}  // namespace tidemar
