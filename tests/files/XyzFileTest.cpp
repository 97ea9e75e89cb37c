// The XYZ file of a scan, byte for byte, and where it may not be written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempDir.h"
#include "files/XyzFile.h"
#include "platform/ScriptedPrompts.h"

namespace tidemar {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

ProfileScanRecord Point(float range, float angle, const char* stamp = "07-DEC-2026  10:11:12.34") {
    ProfileScanRecord record;
    record.Timestamp = stamp;
    record.Range = range;
    record.Angle = angle;
    return record;
}

SonarState Section() {
    SonarState state;
    state.Units = 0;
    state.ProfileChainage = 12.5f;
    state.ProfileElevation = -1.0f;
    state.ProfileXOffset = 3.25f;
    state.SoundVelocityMeters = 1500.0f;
    state.ZeroDown = 1;
    state.XYZTimestamp = 1;
    state.XYZRangeHorVer = 1;
    return state;
}

const std::string MetreHeader = "0012.50,M\r\n-001.00\r\n0003.25\r\n1500.00\r\n";

TEST(XyzContent, AllColumnsForTheInnerPoints) {
    const std::vector<ProfileScanRecord> scan = {Point(99.0f, 45.0f), Point(10.0f, 90.0f),
                                                 Point(2.0f, 180.0f, "08-JAN-2027  00:00:01.05"), Point(99.0f, 270.0f)};
    EXPECT_EQ(XyzFileContent(Section(), scan),
              MetreHeader +
                  "07-DEC-2026\t10:11:12.34\t 10.000\t 00.000\t 90.000\t 13.250\t 12.500\t-01.000\r\n"
                  "08-JAN-2027\t00:00:01.05\t 02.000\t 00.000\t 180.000\t 03.250\t 12.500\t-03.000\r\n");
}

TEST(XyzContent, ColumnsSwitchedOffAndZeroUp) {
    SonarState state = Section();
    state.XYZTimestamp = 0;
    const std::vector<ProfileScanRecord> scan = {Point(0, 0), Point(1.5f, 0.0f), Point(0, 0)};
    EXPECT_EQ(XyzFileContent(state, scan), MetreHeader + " 01.500\t 00.000\t 00.000\t 03.250\t 12.500\t 00.500\r\n");

    state.XYZTimestamp = 1;
    state.XYZRangeHorVer = 0;
    EXPECT_EQ(XyzFileContent(state, scan), MetreHeader + "07-DEC-2026\t10:11:12.34\t 03.250\t 12.500\t 00.500\r\n");

    state.XYZTimestamp = 0;
    state.ZeroDown = 0;
    EXPECT_EQ(XyzFileContent(state, scan), MetreHeader + " 03.250\t 12.500\t-02.500\r\n");
}

TEST(XyzContent, FeetConvertTheSoundVelocityAndTheRangeOnly) {
    SonarState state = Section();
    state.Units = 1;
    state.XYZTimestamp = 0;
    const std::vector<ProfileScanRecord> scan = {Point(0, 0), Point(10.0f, 0.0f), Point(0, 0)};
    EXPECT_EQ(XyzFileContent(state, scan),
              "0012.50,F\r\n-001.00\r\n0003.25\r\n4921.26\r\n"
              " 32.808\t 00.000\t 00.000\t 03.250\t 12.500\t 31.808\r\n");
}

TEST(XyzContent, RangeFollowsTheSoundVelocity) {
    SonarState state = Section();
    state.SoundVelocityMeters = 1250.0f;
    state.XYZTimestamp = 0;
    state.XYZRangeHorVer = 0;
    const std::vector<ProfileScanRecord> scan = {Point(0, 0), Point(12.0f, 270.0f), Point(0, 0)};
    EXPECT_EQ(XyzFileContent(state, scan),
              "0012.50,M\r\n-001.00\r\n0003.25\r\n1250.00\r\n"
              "-06.750\t 12.500\t-01.000\r\n");
}

TEST(XyzContent, HeaderValuesAreCutToSevenCharacters) {
    SonarState state = Section();
    state.ProfileChainage = 12345.68f;
    state.ProfileXOffset = -1.5f;
    EXPECT_EQ(XyzFileContent(state, {}), "12345.6,M\r\n-001.00\r\n-001.50\r\n1500.00\r\n");
}

TEST(XyzContent, OneOrTwoPointsGiveTheHeaderOnly) {
    EXPECT_EQ(XyzFileContent(Section(), {}), MetreHeader);
    EXPECT_EQ(XyzFileContent(Section(), {Point(1, 1)}), MetreHeader);
    EXPECT_EQ(XyzFileContent(Section(), {Point(1, 1), Point(2, 2)}), MetreHeader);
}

TEST(XyzContent, NegativeValuesKeepTheirWidth) {
    SonarState state = Section();
    state.XYZTimestamp = 0;
    state.XYZRangeHorVer = 0;
    state.ProfileXOffset = 0.0f;
    state.ProfileElevation = 0.0f;
    state.ProfileChainage = -1.5f;
    const std::vector<ProfileScanRecord> scan = {Point(0, 0), Point(1.5f, 0.0f), Point(0, 0)};
    EXPECT_EQ(XyzFileContent(state, scan),
              "-001.50,M\r\n0000.00\r\n0000.00\r\n1500.00\r\n"
              " 00.000\t-01.500\t 01.500\r\n");
}

TEST(XyzWriteFile, WritesAndReplaces) {
    TempDir dir;
    ScriptedPrompts prompts;
    const std::string path = dir.File("07DEC2026-0001.XYZ");
    WriteBytes(path, std::string(5000, 'x'));
    const std::vector<ProfileScanRecord> scan = {Point(0, 0), Point(1.5f, 0.0f), Point(0, 0)};
    EXPECT_EQ(WriteXyzFile(path, Section(), scan, prompts), XyzWrite::Written);
    EXPECT_EQ(ReadBytes(path), XyzFileContent(Section(), scan));
    EXPECT_TRUE(prompts.Messages.empty());
}

TEST(XyzWriteFile, TheExtensionIsCheckedWithoutRegardToCase) {
    TempDir dir;
    ScriptedPrompts prompts;
    EXPECT_EQ(WriteXyzFile(dir.File("scan.xYz"), Section(), {}, prompts), XyzWrite::Written);
    EXPECT_EQ(WriteXyzFile(dir.File("scan.txt"), Section(), {}, prompts), XyzWrite::WrongExtension);
    EXPECT_FALSE(std::filesystem::exists(dir.File("scan.txt")));
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Caption, "Open an ASCII XYZ File For Recording");
    EXPECT_EQ(prompts.Messages[0].Text, "File extension must be .XYZ");
    EXPECT_EQ(prompts.Messages[0].Icon, MessageIcon::Exclamation);
}

TEST(XyzWriteFile, AFileThatCannotBeMadeIsSkippedSilently) {
    TempDir dir;
    ScriptedPrompts prompts;
    EXPECT_EQ(WriteXyzFile(dir.File("missing/scan.XYZ"), Section(), {}, prompts), XyzWrite::NotCreated);
    EXPECT_TRUE(prompts.Messages.empty());
}

TEST(XyzWriteFile, AFullDiskLeavesNoHalfFile) {
    if (!std::filesystem::is_character_file("/dev/full")) GTEST_SKIP() << "no /dev/full";
    ScriptedPrompts prompts;
    // /dev/full accepts the open and fails the write; it is reached through a link whose
    // name ends in .XYZ.
    TempDir dir;
    const std::string link = dir.File("full.XYZ");
    std::filesystem::create_symlink("/dev/full", link);
    std::vector<ProfileScanRecord> scan(1000, Point(1, 1));
    EXPECT_EQ(WriteXyzFile(link, Section(), scan, prompts), XyzWrite::WriteFailed);
    // What the name led to was no file of ours: the device and the link stay.
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}

}  // namespace
}  // namespace tidemar
