// Saving TIDEMAR.INI: the exact text of every key, the playback rule, other lines kept,
// and write failures.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "OddPaths.h"
#include "TempDir.h"
#include "core/SonarState.h"
#include "settings/FileReplace.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

namespace tidemar {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

bool NoConfigFile(const std::string&, UserConfigTable&) { return false; }

std::string DataFile(const std::string& name) { return std::string(TIDEMAR_TEST_DATA) + "/settings/" + name; }

SonarState DefaultState() {
    SonarState state;
    LoadSettingsFromText(state, "", NoConfigFile);
    return state;
}

std::string SavedValue(const SonarState& state, const char* key) {
    return IniDocument(SaveSettingsToText(state, "")).Find("Settings", key).value_or("<missing>");
}

TEST(SaveSettings, DefaultsGiveTheGoldenFile) {
    EXPECT_EQ(SaveSettingsToText(DefaultState(), ""), ReadBytes(DataFile("defaults.ini")));

    TempDir dir;
    const std::string path = SettingsPathIn(dir.Path().string());
    ASSERT_TRUE(SaveSettings(DefaultState(), path));
    EXPECT_EQ(ReadBytes(path), ReadBytes(DataFile("defaults.ini")));
}

TEST(SaveSettings, GoldenFileLoadsAsTheDefaults) {
    SonarState fromFile;
    LoadSettingsFromText(fromFile, ReadBytes(DataFile("defaults.ini")), NoConfigFile);
    EXPECT_EQ(SaveSettingsToText(fromFile, ""), SaveSettingsToText(DefaultState(), ""));
    EXPECT_EQ(fromFile.MasterHeadID, 17);
}

TEST(SaveSettings, NumberFormats) {
    SonarState state = DefaultState();
    state.MasterHeadID = 18;
    state.SoundVelocityMeters = 1500.0f;
    EXPECT_EQ(SavedValue(state, "MasterHeadID"), "18");
    EXPECT_EQ(SavedValue(state, "SoundVelocityMeters"), "1500.0");
    state.SoundVelocityMeters = 750.0f;
    EXPECT_EQ(SavedValue(state, "SoundVelocityMeters"), "0750.0");
    state.SoundVelocityMeters = 1482.56f;
    EXPECT_EQ(SavedValue(state, "SoundVelocityMeters"), "1482.6");

    state.ProfileChainage = 1234.567f;
    state.ProfileElevation = -2.5f;
    state.ProfileXOffset = 0.125f;
    state.ProfileDredgeDepth = 7.0f;
    EXPECT_EQ(SavedValue(state, "ProfileChainage"), "1234.57");
    EXPECT_EQ(SavedValue(state, "ProfileElevation"), "-2.50");
    EXPECT_EQ(SavedValue(state, "ProfileXOffset"), "0.12");
    EXPECT_EQ(SavedValue(state, "ProfileDredgeDepth"), "7.00");

    state.ProfileMinimumRange = 12.25f;
    state.VerticalAngleOffset = -7.25f;
    EXPECT_EQ(SavedValue(state, "ProfileMinimumRange"), "12.2");
    EXPECT_EQ(SavedValue(state, "VerticalAngleOffset"), "-7.2");
    state.ProfileMinimumRange = 5.0f;
    EXPECT_NE(SaveSettingsToText(state, "").find("\r\nProfileMinimumRange= 5.0\r\n"), std::string::npos);
}

TEST(SaveSettings, IOCardIsNeverWritten) {
    SonarState state = DefaultState();
    state.IOCard = 0;
    EXPECT_EQ(SaveSettingsToText(state, "").find("IOCard"), std::string::npos);
    EXPECT_EQ(SaveSettingsToText(state, "[Settings]\r\nIOCard=0\r\n").find("IOCard=0\r\n"), 12u)
        << "an IOCard line already there stays";
}

TEST(SaveSettings, PlaybackSavesTheLiveHeadSettings) {
    SonarState state = DefaultState();
    HeadSettings& live = state.HeadSettingsBackup;
    live.UserText = "Live text";
    live.Xdcr = Transducer::Up;
    live.Range = 5;
    live.GridMode = DisplayMode::Sector;
    live.Gain = 21;
    live.Speed = 3;
    live.PulseLength = 220;
    live.Train = 45;
    live.Absorption = 33;
    live.SoundVelocityMeters = 1490.0f;
    live.ProfileDredgeDepth = 4.5f;
    // The values of the file being played.
    state.RunMode = DataSource::File;
    state.UserText = "From the file";
    state.Xdcr = Transducer::Down;
    state.Range = 12;
    state.GridMode = DisplayMode::SideScan;
    state.Gain = 40;
    state.Speed = 0;
    state.PulseLength = 900;
    state.Train = 180;
    state.Absorption = 200;
    state.SoundVelocityMeters = 1400.0f;
    state.ProfileDredgeDepth = 99.0f;
    state.Colors = 5;  // not a head setting: saved as it is

    const IniDocument saved(SaveSettingsToText(state, ""));
    auto value = [&saved](const char* key) { return saved.Find("Settings", key).value_or("<missing>"); };
    EXPECT_EQ(value("RunMode"), "1");
    EXPECT_EQ(value("UserText"), "Live text");
    EXPECT_EQ(value("Xdcr"), "1");
    EXPECT_EQ(value("Range"), "5");
    EXPECT_EQ(value("GridMode"), "0");
    EXPECT_EQ(value("Gain"), "21");
    EXPECT_EQ(value("Speed"), "3");
    EXPECT_EQ(value("PulseLength"), "220");
    EXPECT_EQ(value("Train"), "45");
    EXPECT_EQ(value("Absorption"), "33");
    EXPECT_EQ(value("SoundVelocityMeters"), "1490.0");
    EXPECT_EQ(value("ProfileDredgeDepth"), "4.50");
    EXPECT_EQ(value("Colors"), "5");

    state.RunMode = DataSource::Head;
    const IniDocument whileLive(SaveSettingsToText(state, ""));
    EXPECT_EQ(whileLive.Find("Settings", "Gain"), "40");
    EXPECT_EQ(whileLive.Find("Settings", "UserText"), "From the file");
}

TEST(SaveSettings, KeepsEveryOtherLineOfTheFile) {
    const std::string before = ReadBytes(DataFile("edited.ini"));
    SonarState state;
    LoadSettingsFromText(state, before, NoConfigFile);
    state.Gain = 12;
    const std::string after = SaveSettingsToText(state, before);

    const std::string expectedStart =
        "; Survey boat 2, edited by hand\r\n"
        "[GPS]\r\n"
        "Port=/dev/ttyUSB0\r\n"
        "\r\n"
        "[settings]\r\n"
        "masterheadid = 20\r\n"
        "UserText =   Harbour survey  \r\n"  // same value: the line is not touched
        "RANGE=12\r\n"
        "Gain=12\r\n"
        "Gain=3\r\n"
        "SoundVelocityMeters=1482.5\r\n"
        "unknownKey=keep me\r\n"
        "; the head is on the work network\r\n"
        "IPAddress_Sonar1=127.0.0.7\r\n"
        "ComPortGPS=0\r\n";
    EXPECT_EQ(after.substr(0, expectedStart.size()), expectedStart);
    const std::string expectedEnd =
        "SerialPortPaths=\r\n"
        "WindowZoom=100\r\n"
        "NightColors=0\r\n"
        "WindowX=-32768\r\n"
        "WindowY=-32768\r\n"
        "\r\n"
        "[Other]\r\n"
        "Range=1\r\n";
    ASSERT_GE(after.size(), expectedEnd.size());
    EXPECT_EQ(after.substr(after.size() - expectedEnd.size()), expectedEnd);
    EXPECT_EQ(after.find("\n\n"), std::string::npos) << "every line end stays CRLF";

    SonarState reloaded;
    LoadSettingsFromText(reloaded, after, NoConfigFile);
    EXPECT_EQ(reloaded.Gain, 12);
    EXPECT_EQ(SaveSettingsToText(reloaded, after), after) << "a second save changes nothing";
}

TEST(SaveSettings, LineFeedFileStaysLineFeed) {
    const std::string before = "# lf file\n[Settings]\nGain=3\n";
    SonarState state = DefaultState();
    const std::string after = SaveSettingsToText(state, before);
    EXPECT_EQ(after.find('\r'), std::string::npos);
    EXPECT_EQ(after.substr(0, 29), "# lf file\n[Settings]\nGain=6\nM");
}

TEST(SaveSettings, SaveThenLoadGivesTheSameSettings) {
    SonarState state = DefaultState();
    state.MasterHeadID = 23;
    state.UserText = "Quay \x93wall\x94, 5\xB0 \xD8rsted \x80";  // Windows-1252 bytes
    state.ComPortGPS = 3;
    state.Range = 14;
    state.GridMode = DisplayMode::SideScan;
    state.SSTrain = SideScanSide::Starboard;
    state.Units = 1;
    state.SoundVelocityMeters = 1523.5f;
    state.Frequency = 310;
    state.ProfileChainage = 105.25f;
    state.ProfileMinimumRange = 60.5f;
    state.VerticalAngleOffset = -3.5f;
    state.IPAddress_Sonar1 = "127.0.0.3";
    state.SerialPortPaths = "/dev/ttyUSB1";
    const std::string text = SaveSettingsToText(state, "");
    SonarState reloaded;
    LoadSettingsFromText(reloaded, text, NoConfigFile);
    EXPECT_EQ(SaveSettingsToText(reloaded, ""), text);
    EXPECT_EQ(reloaded.UserText, "Quay \x93wall\x94, 5\xB0 \xD8rsted \x80");
    EXPECT_EQ(reloaded.ProfileMinimumRange, 60.5f);
    EXPECT_EQ(reloaded.SerialPortPaths, "/dev/ttyUSB1");
}

TEST(SaveSettings, TextsThatCannotBeStoredWhole) {
    SonarState state = DefaultState();
    state.UserText = "two\nlines";
    EXPECT_EQ(SavedValue(state, "UserText"), "two") << "a line end would break the file";
}

TEST(SaveSettings, ReplacesTheFileOnDisk) {
    TempDir dir;
    const std::string path = dir.File("TIDEMAR.INI");
    WriteBytes(path, "[Settings]\r\nGain=3\r\n;keep\r\n");
    std::filesystem::permissions(path, std::filesystem::perms(0640));
    SonarState state = DefaultState();
    state.Gain = 9;
    ASSERT_TRUE(SaveSettings(state, path));
    const std::string saved = ReadBytes(path);
    EXPECT_EQ(saved.substr(0, 20), "[Settings]\r\nGain=9\r\n");
    EXPECT_NE(saved.find(";keep\r\n"), std::string::npos);
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all, std::filesystem::perms(0640));
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++files;
    EXPECT_EQ(files, 1) << "no temporary file left behind";
}

TEST(SaveSettings, FollowsASymbolicLink) {
    TempDir dir;
    WriteBytes(dir.File("real.ini"), "[Settings]\r\n");
    std::filesystem::create_symlink(dir.File("real.ini"), dir.File("TIDEMAR.INI"));
    ASSERT_TRUE(SaveSettings(DefaultState(), dir.File("TIDEMAR.INI")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("TIDEMAR.INI")));
    EXPECT_EQ(ReadBytes(dir.File("real.ini")), ReadBytes(DataFile("defaults.ini")));
}

TEST(SaveSettings, FailuresReturnFalseAndDoNotCrash) {
    TempDir dir;
    EXPECT_FALSE(SaveSettings(DefaultState(), dir.File("no/such/dir/TIDEMAR.INI")));
    EXPECT_FALSE(SaveSettings(DefaultState(), dir.Path().string())) << "a directory is in the way";
    std::filesystem::create_directory(dir.File("TIDEMAR.INI"));
    EXPECT_FALSE(SaveSettings(DefaultState(), dir.File("TIDEMAR.INI")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("TIDEMAR.INI")));
}

TEST(SaveSettings, PathsThatAreNoFileAreLeftAsTheyAre) {
    TempDir dir;
    const std::string start = "[Settings]\nGain=21\n";
    for (const auto& odd : testing::MakeOddPaths(dir, "TIDEMAR", SettingsFileLimit, start)) {
        const auto type = std::filesystem::symlink_status(odd.Path).type();
        EXPECT_FALSE(SaveSettings(DefaultState(), odd.Path)) << odd.Legend;
        EXPECT_EQ(std::filesystem::symlink_status(odd.Path).type(), type) << odd.Legend;
    }
    EXPECT_EQ(ReadBytes(dir.File("TIDEMAR.large")).substr(0, start.size()), start) << "not written over";
    EXPECT_EQ(std::filesystem::file_size(dir.File("TIDEMAR.large")), SettingsFileLimit + 1);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++files;
    EXPECT_EQ(files, 4) << "no temporary file left behind";
}

TEST(SaveSettings, WriteInPlaceTakesOnlyARegularFile) {
    TempDir dir;
    const std::string fifo = dir.File("TIDEMAR.INI");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(WriteFileInPlace(fifo, "[Settings]\n")) << "a FIFO with no reader, at once";
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    WriteBytes(dir.File("plain.ini"), "a much longer text than the one written");
    EXPECT_TRUE(WriteFileInPlace(dir.File("plain.ini"), "[Settings]\n"));
    EXPECT_EQ(ReadBytes(dir.File("plain.ini")), "[Settings]\n");
}

}  // namespace
}  // namespace tidemar
