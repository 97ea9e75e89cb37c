// .CFG files: the exact bytes written, and what reading accepts, repairs and refuses.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "OddPaths.h"
#include "TempDir.h"
#include "core/UserConfigTable.h"
#include "settings/ConfigFile.h"

namespace tidemar {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// The file of the built-in table, put together byte by byte from the layout.
std::vector<uint8_t> ExpectedDefaultFile() {
    std::vector<uint8_t> bytes(5200, 0);
    bytes[0] = 'C';
    bytes[1] = 'F';
    bytes[2] = 'G';
    bytes[3] = 0;
    bytes[4] = 1;
    const int rows[15][4] = {
        {1, 1000, 60, 10},  {2, 1000, 60, 10},  {3, 1000, 60, 10},   {4, 1000, 60, 10},   {5, 1000, 60, 30},
        {10, 675, 20, 30},  {20, 675, 20, 50},  {30, 675, 20, 80},   {40, 675, 20, 110},  {50, 675, 20, 130},
        {60, 675, 20, 160}, {80, 675, 20, 210}, {100, 675, 20, 270}, {150, 310, 10, 400}, {200, 310, 10, 530},
    };
    for (int r = 0; r < 15; ++r)
        for (int f = 0; f < 4; ++f) {
            const int at = 80 + r * 256 + f * 4;
            bytes[at] = static_cast<uint8_t>(rows[r][f] & 0xFF);
            bytes[at + 1] = static_cast<uint8_t>((rows[r][f] >> 8) & 0xFF);
        }
    return bytes;
}

void PutInt32(std::vector<uint8_t>& bytes, size_t at, int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(u >> (8 * i));
}

size_t Cell(int row, int field) { return 80 + static_cast<size_t>(row) * 256 + static_cast<size_t>(field) * 4; }

UserConfigTable Marked() {
    UserConfigTable table{};
    for (auto& row : table) row = {-7, -7, -7, -7};
    return table;
}

TEST(ConfigFileBytes, DefaultTableByteForByte) {
    EXPECT_EQ(ConfigFileBytes(DefaultUserConfigTable()), ExpectedDefaultFile());
}

TEST(ConfigFileBytes, RowsAreLittleEndianAndRowsBeyond14StayZero) {
    UserConfigTable table = DefaultUserConfigTable();
    table[2] = {0x01020304, -1, 255, 1000};
    table[15] = {9, 9, 9, 9};  // never part of a file
    const std::vector<uint8_t> bytes = ConfigFileBytes(table);
    ASSERT_EQ(bytes.size(), 5200u);
    const std::vector<uint8_t> row2(bytes.begin() + 80 + 2 * 256, bytes.begin() + 80 + 2 * 256 + 16);
    EXPECT_EQ(row2, (std::vector<uint8_t>{4, 3, 2, 1, 0xFF, 0xFF, 0xFF, 0xFF, 255, 0, 0, 0, 0xE8, 3, 0, 0}));
    for (size_t i = 80 + 15 * 256; i < 5200; ++i) ASSERT_EQ(bytes[i], 0) << i;
}

TEST(ReadConfigFile, WrittenFileReadsBackUnchanged) {
    TempDir dir;
    UserConfigTable table = DefaultUserConfigTable();
    table[0] = {1, 280, 1, 10};
    table[7] = {30, 1100, 255, 1000};
    ASSERT_TRUE(WriteConfigFile(dir.File("a.cfg"), table));
    const std::string onDisk = ReadBytes(dir.File("a.cfg"));
    EXPECT_EQ(std::vector<uint8_t>(onDisk.begin(), onDisk.end()), ConfigFileBytes(table));

    UserConfigTable working = Marked();
    ASSERT_TRUE(ReadConfigFile(dir.File("a.cfg"), working));
    for (int r = 0; r < UserConfigUsedRows; ++r) {
        EXPECT_EQ(working[r].RangeLabel, table[r].RangeLabel) << r;
        EXPECT_EQ(working[r].Frequency, table[r].Frequency) << r;
        EXPECT_EQ(working[r].Absorption, table[r].Absorption) << r;
        EXPECT_EQ(working[r].PulseLength, table[r].PulseLength) << r;
    }
    EXPECT_EQ(working[15].Frequency, -7) << "rows beyond 14 are not read";
}

TEST(ReadConfigFile, RefusedFilesChangeNothing) {
    struct Case {
        const char* legend;
        std::vector<uint8_t> bytes;
    };
    std::vector<uint8_t> shortFile = ExpectedDefaultFile();
    shortFile.pop_back();
    std::vector<uint8_t> badMagic = ExpectedDefaultFile();
    badMagic[3] = ' ';
    std::vector<uint8_t> lowerMagic = ExpectedDefaultFile();
    lowerMagic[0] = 'c';
    const Case cases[] = {
        {"one byte short", shortFile},       {"fourth magic byte not zero", badMagic},
        {"magic in lower case", lowerMagic}, {"empty", {}},
        {"magic only", {'C', 'F', 'G', 0}},  {"three bytes", {'C', 'F', 'G'}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        UserConfigTable working = Marked();
        EXPECT_FALSE(ParseConfigFile(c.bytes.data(), c.bytes.size(), working)) << c.legend;
        WriteBytes(dir.File("x.cfg"), std::string(c.bytes.begin(), c.bytes.end()));
        EXPECT_FALSE(ReadConfigFile(dir.File("x.cfg"), working)) << c.legend;
        EXPECT_EQ(working[0].Frequency, -7) << c.legend;
        EXPECT_EQ(working[14].PulseLength, -7) << c.legend;
    }
    UserConfigTable working = Marked();
    EXPECT_FALSE(ReadConfigFile(dir.File("missing.cfg"), working));
    EXPECT_FALSE(ReadConfigFile(dir.Path().string(), working)) << "a directory";
    EXPECT_EQ(working[0].Frequency, -7);
}

TEST(ReadConfigFile, VersionByteAndLongerFilesAreAccepted) {
    std::vector<uint8_t> bytes = ExpectedDefaultFile();
    bytes[4] = 7;
    bytes.resize(9000, 0xAB);
    UserConfigTable working = Marked();
    ASSERT_TRUE(ParseConfigFile(bytes.data(), bytes.size(), working));
    EXPECT_EQ(working[14].PulseLength, 530);

    TempDir dir;
    WriteBytes(dir.File("long.cfg"), std::string(bytes.begin(), bytes.end()));
    UserConfigTable fromDisk = Marked();
    ASSERT_TRUE(ReadConfigFile(dir.File("long.cfg"), fromDisk));
    EXPECT_EQ(fromDisk[5].Frequency, 675);
}

TEST(ReadConfigFile, CellsOutsideTheirLimitsTakeTheBuiltInValue) {
    // Row, field (0 label, 1 frequency, 2 absorption, 3 pulse), stored, loaded.
    struct Case {
        int row;
        int field;
        int32_t stored;
        int32_t loaded;
        const char* legend;
    };
    const Case cases[] = {
        {3, 1, 2000, 1000, "frequency above the limit"},
        {3, 1, 279, 1000, "frequency below the limit"},
        {13, 1, 280, 280, "lowest frequency"},
        {13, 1, 1100, 1100, "highest frequency"},
        {13, 1, 677, 675, "frequency rounded down to 5"},
        {13, 1, 678, 680, "frequency rounded up to 5"},
        {6, 2, 0, 20, "absorption zero"},
        {6, 2, 256, 20, "absorption above 255"},
        {6, 2, 1, 1, "lowest absorption"},
        {6, 2, -1, 20, "negative absorption"},
        {9, 3, 9, 130, "pulse below 10"},
        {9, 3, 1001, 130, "pulse above 1000"},
        {9, 3, 15, 20, "pulse rounded up to 10"},
        {9, 3, 14, 10, "pulse rounded down to 10"},
        {9, 3, 1000, 1000, "longest pulse"},
        {9, 0, 7, 7, "label 0..14 kept"},
        {9, 0, 0, 0, "label 0 kept"},
        {9, 0, 15, 50, "label above 14 becomes the row's own"},
        {9, 0, -1, 50, "negative label"},
        {0, 1, INT32_MIN, 1000, "most negative"},
        {0, 1, INT32_MAX, 1000, "most positive"},
    };
    const UserConfigTable defaults = DefaultUserConfigTable();
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = ExpectedDefaultFile();
        PutInt32(bytes, Cell(c.row, c.field), c.stored);
        UserConfigTable working = Marked();
        ASSERT_TRUE(ParseConfigFile(bytes.data(), bytes.size(), working)) << c.legend;
        const int32_t fields[4] = {working[c.row].RangeLabel, working[c.row].Frequency, working[c.row].Absorption,
                                   working[c.row].PulseLength};
        EXPECT_EQ(fields[c.field], c.loaded) << c.legend;
        // Every other cell loads as stored.
        for (int r = 0; r < UserConfigUsedRows; ++r) {
            const int32_t want[4] = {defaults[r].RangeLabel, defaults[r].Frequency, defaults[r].Absorption,
                                     defaults[r].PulseLength};
            const int32_t got[4] = {working[r].RangeLabel, working[r].Frequency, working[r].Absorption,
                                    working[r].PulseLength};
            for (int f = 0; f < 4; ++f) {
                if (r == c.row && f == c.field) continue;
                EXPECT_EQ(got[f], want[f]) << c.legend << " row " << r << " field " << f;
            }
        }
    }
}

TEST(WriteConfigFile, FailureKeepsTheExistingFile) {
    TempDir dir;
    EXPECT_FALSE(WriteConfigFile(dir.File("missing/dir/a.cfg"), DefaultUserConfigTable()));
    std::filesystem::create_directory(dir.File("taken.cfg"));
    EXPECT_FALSE(WriteConfigFile(dir.File("taken.cfg"), DefaultUserConfigTable()));

    WriteBytes(dir.File("old.cfg"), "previous");
    ASSERT_TRUE(WriteConfigFile(dir.File("old.cfg"), DefaultUserConfigTable()));
    EXPECT_EQ(ReadBytes(dir.File("old.cfg")).size(), 5200u) << "an existing file is replaced whole";
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++files;
    EXPECT_EQ(files, 2) << "no temporary file left behind";
}

TEST(ConfigFile, PathsThatAreNoFileAreNeitherReadNorWritten) {
    TempDir dir;
    for (const auto& odd : testing::MakeOddPaths(dir, "site", 1024 * 1024, "CFG")) {
        if (odd.Refusal != "not a regular file") continue;  // a long file is read in part
        UserConfigTable working = Marked();
        std::string refusal;
        EXPECT_FALSE(ReadConfigFile(odd.Path, working, &refusal)) << odd.Legend;
        EXPECT_EQ(refusal, odd.Refusal) << odd.Legend;
        EXPECT_EQ(working[0].Frequency, -7) << odd.Legend;

        const auto type = std::filesystem::symlink_status(odd.Path).type();
        EXPECT_FALSE(WriteConfigFile(odd.Path, DefaultUserConfigTable())) << odd.Legend;
        EXPECT_EQ(std::filesystem::symlink_status(odd.Path).type(), type) << odd.Legend;
    }
    std::string refusal = "unchanged";
    UserConfigTable working = Marked();
    EXPECT_FALSE(ReadConfigFile(dir.File("missing.cfg"), working, &refusal));
    EXPECT_EQ(refusal, "") << "a missing file is no refusal";
}

}  // namespace
}  // namespace tidemar
