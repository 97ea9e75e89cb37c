// PNG pictures read back through libpng: palette PNG of the very indexes and colours a BMP
// carries, and a file written whole or not at all.
#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>

#include "TempDir.h"
#include "image/BmpFile.h"
#include "image/PngFile.h"

namespace tidemar {
namespace {

struct Decoded {
    int Width = 0, Height = 0, ColorType = -1, BitDepth = 0;
    std::vector<png_color> Palette;
    std::vector<uint8_t> Indexes;
};

Decoded DecodePng(const std::vector<uint8_t>& bytes) {
    Decoded d;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    // The simplified reader gives the header; the indexes come from a COLORMAP read.
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return d;
    d.Width = static_cast<int>(image.width);
    d.Height = static_cast<int>(image.height);
    d.ColorType = (image.format & PNG_FORMAT_FLAG_COLORMAP) ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB;
    d.BitDepth = 8;
    image.format = PNG_FORMAT_RGB_COLORMAP;
    d.Indexes.resize(PNG_IMAGE_SIZE(image));
    std::vector<uint8_t> colormap(PNG_IMAGE_COLORMAP_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, d.Indexes.data(), 0, colormap.data())) return Decoded{};
    for (size_t i = 0; i + 2 < colormap.size(); i += 3)
        d.Palette.push_back({colormap[i], colormap[i + 1], colormap[i + 2]});
    return d;
}

std::array<uint8_t, 1024> Colors(int seed) {
    std::array<uint8_t, 1024> table{};
    for (size_t i = 0; i < 256; ++i) {
        table[4 * i] = static_cast<uint8_t>(i * 3 + seed);      // blue
        table[4 * i + 1] = static_cast<uint8_t>(255 - i);       // green
        table[4 * i + 2] = static_cast<uint8_t>(i * 7 + seed);  // red
    }
    return table;
}

TEST(PngFile, DecodesToTheSameIndexesAndColoursAsTheBmp) {
    struct Case {
        const char* Legend;
        int Width, Height, Seed;
    };
    const Case cases[] = {
        {"the rendered picture", 596, 506, 1},
        {"a screen capture", 800, 600, 9},
        {"one pixel", 1, 1, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Legend);
        std::vector<uint8_t> pixels(static_cast<size_t>(c.Width) * c.Height);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>((i * 31 + i / 7) % 256);
        const auto table = Colors(c.Seed);
        const Decoded d = DecodePng(IndexedPngBytes(c.Width, c.Height, pixels.data(), table));
        ASSERT_EQ(d.Width, c.Width);
        ASSERT_EQ(d.Height, c.Height);
        EXPECT_EQ(d.ColorType, PNG_COLOR_TYPE_PALETTE);
        // Every pixel's colour is the one its index has in the BMP colour table.
        ASSERT_EQ(d.Indexes.size(), pixels.size());
        size_t wrong = 0;
        for (size_t i = 0; i < pixels.size(); ++i) {
            const png_color got = d.Palette.at(d.Indexes[i]);
            const uint8_t* want = table.data() + 4 * pixels[i];
            if (got.red != want[2] || got.green != want[1] || got.blue != want[0]) ++wrong;
        }
        EXPECT_EQ(wrong, 0u);
    }
}

TEST(PngFile, WrittenWholeOrNotAtAll) {
    testing::TempDir dir;
    const std::vector<uint8_t> pixels(596 * 506, 7);
    std::string reason;
    const std::string good = (dir.Path() / "final.png").string();
    ASSERT_TRUE(WriteIndexedPng(good, 596, 506, pixels.data(), Colors(0), &reason)) << reason;
    EXPECT_EQ(DecodePng(IndexedPngBytes(596, 506, pixels.data(), Colors(0))).Width, 596);
    EXPECT_FALSE(std::filesystem::exists(good + ".part"));

    // A link left at the temporary name is not written through.
    const std::string victim = dir.File("victim");
    testing::WriteBytes(victim, "kept");
    std::filesystem::create_symlink(victim, good + ".part");
    ASSERT_TRUE(WriteIndexedPng(good, 596, 506, pixels.data(), Colors(0), &reason)) << reason;
    EXPECT_EQ(testing::ReadBytes(victim), "kept");
    EXPECT_FALSE(std::filesystem::is_symlink(good));

    const std::string missingFolder = (dir.Path() / "no" / "final.png").string();
    EXPECT_FALSE(WriteIndexedPng(missingFolder, 596, 506, pixels.data(), Colors(0), &reason));
    EXPECT_NE(reason.find("cannot create"), std::string::npos) << reason;
}

TEST(PngFile, FormatNames) {
    struct Case {
        const char* Legend;
        const char* Text;
        bool Known;
        PictureFormat Format;
    };
    const Case cases[] = {
        {"bmp", "bmp", true, PictureFormat::Bmp},
        {"png in capitals", "PNG", true, PictureFormat::Png},
        {"a dotted name", ".png", false, {}},
        {"another format", "jpg", false, {}},
        {"nothing", "", false, {}},
    };
    for (const Case& c : cases) {
        PictureFormat format = PictureFormat::Bmp;
        EXPECT_EQ(ParsePictureFormat(c.Text, format), c.Known) << c.Legend;
        if (c.Known) {
            EXPECT_EQ(format, c.Format) << c.Legend;
        }
    }
    EXPECT_TRUE(HasPngExtension("dir.bmp/shot.Png"));
    EXPECT_FALSE(HasPngExtension("shot.png.bmp"));
}

}  // namespace
}  // namespace tidemar
