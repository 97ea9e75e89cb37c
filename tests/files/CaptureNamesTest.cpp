// The running numbers of the files an auto-profile scan leaves behind.
#include <gtest/gtest.h>

#include <string>

#include "TempDir.h"
#include "files/CaptureNames.h"

namespace tidemar {
namespace {

using testing::TempDir;
using testing::WriteBytes;

const std::string Date = "07-DEC-2026";

TEST(CaptureNames, PrefixDropsTheDashes) {
    EXPECT_EQ(CaptureDatePrefix("07-DEC-2026"), "07DEC2026");
    EXPECT_EQ(CaptureDatePrefix("07-Dec-2026"), "07Dec2026");
    EXPECT_EQ(CaptureDatePrefix("07-DE"), "07DE");
}

TEST(CaptureNames, TheFirstOfTheDayIsOne) {
    TempDir dir;
    EXPECT_EQ(NextCaptureName(dir.Path().string(), Date, ".XYZ"), dir.File("07DEC2026-0001.XYZ"));
}

TEST(CaptureNames, TheNextFollowsTheLargestNumber) {
    TempDir dir;
    WriteBytes(dir.File("07DEC2026-0001.XYZ"), "");
    WriteBytes(dir.File("07DEC2026-0007.XYZ"), "");
    EXPECT_EQ(NextCaptureName(dir.Path().string(), Date, ".XYZ"), dir.File("07DEC2026-0008.XYZ"));
}

TEST(CaptureNames, OnlyFilesOfTheSameDateAndExtensionCount) {
    TempDir dir;
    WriteBytes(dir.File("07DEC2026-0004.BMP"), "");
    WriteBytes(dir.File("06DEC2026-0009.XYZ"), "");
    WriteBytes(dir.File("07DEC2026-00012.XYZ"), "");  // five digits: not one of ours
    WriteBytes(dir.File("x07DEC2026-0011.XYZ"), "");
    WriteBytes(dir.File("07DEC2026-0002.XYZ.bak"), "");
    EXPECT_EQ(NextCaptureName(dir.Path().string(), Date, ".XYZ"), dir.File("07DEC2026-0001.XYZ"));
    EXPECT_EQ(NextCaptureName(dir.Path().string(), Date, ".BMP"), dir.File("07DEC2026-0005.BMP"));
}

TEST(CaptureNames, CaseOfExistingNamesDoesNotMatter) {
    TempDir dir;
    WriteBytes(dir.File("07dec2026-0003.xyz"), "");
    EXPECT_EQ(NextCaptureName(dir.Path().string(), Date, ".XYZ"), dir.File("07DEC2026-0004.XYZ"));
}

TEST(CaptureNames, OnlyLeadingDigitsAreRead) {
    TempDir dir;
    WriteBytes(dir.File("07DEC2026-12ab.XYZ"), "");
    WriteBytes(dir.File("07DEC2026-abcd.XYZ"), "");
    EXPECT_EQ(NextCaptureName(dir.Path().string(), Date, ".XYZ"), dir.File("07DEC2026-0013.XYZ"));
}

TEST(CaptureNames, NineThousandNineHundredNinetyNineIsReusedAtTheEnd) {
    TempDir dir;
    WriteBytes(dir.File("07DEC2026-9999.XYZ"), "");
    EXPECT_EQ(NextCaptureName(dir.Path().string(), Date, ".XYZ"), dir.File("07DEC2026-9999.XYZ"));
    WriteBytes(dir.File("07DEC2026-9998.BMP"), "");
    EXPECT_EQ(NextCaptureName(dir.Path().string(), Date, ".BMP"), dir.File("07DEC2026-9999.BMP"));
}

TEST(CaptureNames, TheProfileNameTakesTheDateOfThePing) {
    TempDir dir;
    SonarState state;
    state.DateText = "31-JAN-2027";
    EXPECT_EQ(ProfileCaptureName(dir.Path().string() + "/", state, ".BMP"), dir.File("31JAN2027-0001.BMP"));
}

TEST(CaptureNames, AFolderThatCannotBeReadStartsAtOne) {
    EXPECT_EQ(NextCaptureName("/nonexistent-folder-of-tidemar", Date, ".XYZ"),
              "/nonexistent-folder-of-tidemar/07DEC2026-0001.XYZ");
}

}  // namespace
}  // namespace tidemar
