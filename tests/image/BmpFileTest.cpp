// The BMP layout byte for byte, for both sizes the program writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <sys/resource.h>

#include <csignal>

#include "image/BmpFile.h"

namespace tidemar {
namespace {

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

std::array<uint8_t, 1024> CountingColors() {
    std::array<uint8_t, 1024> colors{};
    for (size_t i = 0; i < colors.size(); ++i) colors[i] = static_cast<uint8_t>(i * 7);
    return colors;
}

TEST(BmpFile, ScreenCaptureHeaderFields) {
    std::vector<uint8_t> pixels(800 * 600, 5);
    const auto bytes = IndexedBmpBytes(800, 600, pixels.data(), CountingColors());
    ASSERT_EQ(bytes.size(), 481078u);
    const std::vector<uint8_t> header(bytes.begin(), bytes.begin() + 54);
    const std::vector<uint8_t> expected = {
        'B', 'M', 0x36, 0x57, 0x07, 0x00, 0, 0, 0,    0,    0x36, 0x04, 0, 0,        // size, reserved, offset
        40,  0,   0,    0,    0x20, 0x03, 0, 0, 0x58, 0x02, 0,    0,                 // header, 800, 600
        1,   0,   8,    0,    0,    0,    0, 0, 0x00, 0x53, 0x07, 0x00,              // planes, bits, none, 480000
        0,   0,   0,    0,    0,    0,    0, 0, 0,    1,    0,    0,    0, 0, 0, 0,  // resolution, 256 colours, 0
    };
    EXPECT_EQ(header, expected);
    EXPECT_EQ(bytes[54 + 1023], static_cast<uint8_t>(1023 * 7));
}

TEST(BmpFile, RenderSizeAndBottomRowFirst) {
    std::vector<uint8_t> pixels(596 * 506, 0);
    pixels[0] = 11;          // top-left
    pixels[595] = 12;        // top-right
    pixels[505 * 596] = 13;  // bottom-left
    const auto bytes = IndexedBmpBytes(596, 506, pixels.data(), CountingColors());
    ASSERT_EQ(bytes.size(), 1078u + 596u * 506u);
    EXPECT_EQ(Le32(bytes, 2), 1078u + 301576u);
    EXPECT_EQ(Le32(bytes, 18), 596u);
    EXPECT_EQ(Le32(bytes, 22), 506u);
    EXPECT_EQ(Le32(bytes, 34), 301576u);
    EXPECT_EQ(bytes[1078], 13);              // first stored row is the bottom one
    EXPECT_EQ(bytes[1078 + 505 * 596], 11);  // last stored row is the top one
    EXPECT_EQ(bytes[1078 + 505 * 596 + 595], 12);
}

TEST(BmpFile, WritesWholeFileOrReportsWhy) {
    const auto dir = std::filesystem::temp_directory_path() / "tidemar-bmp-test";
    std::filesystem::create_directories(dir);
    std::vector<uint8_t> pixels(596 * 506, 3);
    std::string reason;
    const auto path = (dir / "picture.bmp").string();
    ASSERT_TRUE(WriteIndexedBmp(path, 596, 506, pixels.data(), CountingColors(), &reason)) << reason;
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(stored, IndexedBmpBytes(596, 506, pixels.data(), CountingColors()));
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));

    EXPECT_FALSE(
        WriteIndexedBmp((dir / "no-such-dir" / "x.bmp").string(), 596, 506, pixels.data(), CountingColors(), &reason));
    EXPECT_NE(reason.find("cannot create"), std::string::npos);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tidemar

namespace tidemar {
namespace {

TEST(BmpFile, ColourTableIsThePaletteInIndexOrder) {
    DisplayPalette palette;
    for (int i = 0; i < 256; ++i)
        palette.Entries[static_cast<size_t>(i)] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                                                   static_cast<uint8_t>(i ^ 0x5A), PC_RESERVED};
    const auto table = BmpColorTable(palette);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(table[4 * i], i ^ 0x5A) << i;     // blue
        EXPECT_EQ(table[4 * i + 1], 255 - i) << i;  // green
        EXPECT_EQ(table[4 * i + 2], i) << i;        // red
        EXPECT_EQ(table[4 * i + 3], 0) << i;        // never the palette's flags
    }
}

TEST(BmpFile, ExtensionIsBmpInAnyCase) {
    for (const char* good : {"shot.BMP", "shot.bmp", "Shot.Bmp", "/tmp/a.b/shot.bMp", "a.tar.bmp"})
        EXPECT_TRUE(HasBmpExtension(good)) << good;
    for (const char* bad : {"shot.png", "shot", "shot.bmpx", "shot.bm", "/tmp/x.bmp/shot", "shot.bmp ", ""})
        EXPECT_FALSE(HasBmpExtension(bad)) << bad;
}

TEST(BmpFile, OutputFileIsCreatedFirstAndWrittenWhole) {
    const auto dir = std::filesystem::temp_directory_path() / "tidemar-bmp-output-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "Frame.BMP").string();
    {
        std::ofstream old(path, std::ios::binary);
        old << "an older, longer file that is replaced";
    }
    BmpOutputFile file;
    std::string reason;
    ASSERT_TRUE(file.Create(path, &reason)) << reason;
    EXPECT_TRUE(file.IsOpen());
    EXPECT_EQ(std::filesystem::file_size(path), 0u);  // replaced at once, before any pixel is read
    const std::vector<uint8_t> bytes = {'B', 'M', 1, 2, 3};
    ASSERT_TRUE(file.WriteAndClose(bytes, &reason)) << reason;
    EXPECT_FALSE(file.IsOpen());
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), bytes);

    BmpOutputFile missing;
    EXPECT_FALSE(missing.Create((dir / "no-such-dir" / "x.bmp").string(), &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(missing.WriteAndClose(bytes, &reason));

    BmpOutputFile dropped;
    ASSERT_TRUE(dropped.Create((dir / "dropped.bmp").string(), &reason));
    dropped.Discard();
    EXPECT_FALSE(std::filesystem::exists(dir / "dropped.bmp"));
    std::filesystem::remove_all(dir);
}

TEST(BmpFile, FailedWriteRemovesTheFile) {
    const auto dir = std::filesystem::temp_directory_path() / "tidemar-bmp-full-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "cut.bmp").string();
    BmpOutputFile file;
    std::string reason;
    ASSERT_TRUE(file.Create(path, &reason)) << reason;
    // A file size limit stands in for a full disk: the write stops part-way.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = file.WriteAndClose(std::vector<uint8_t>(481078, 7), &reason);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(std::filesystem::exists(path));  // no cut-off picture under the name
    std::filesystem::remove_all(dir);
}

TEST(BmpFile, AFailedWriteToADeviceLeavesTheDevice) {
    if (!std::filesystem::is_character_file("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const auto dir = std::filesystem::temp_directory_path() / "tidemar-bmp-device-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string link = (dir / "full.bmp").string();
    std::filesystem::create_symlink("/dev/full", link);
    BmpOutputFile file;
    std::string reason;
    ASSERT_TRUE(file.Create(link, &reason)) << reason;
    EXPECT_FALSE(file.WriteAndClose(std::vector<uint8_t>(1000, 7), &reason));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tidemar
