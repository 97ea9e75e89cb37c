#include "image/ImageBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tidemar {
namespace {

bool AllZero(const SonarImage& image) {
    return std::all_of(image.Pixels.begin(), image.Pixels.end(), [](uint8_t p) { return p == 0; });
}

TEST(ImageBuffer, ClearZeroesEveryPixel) {
    SonarImage image;
    image.Pixels.fill(200);
    ClearSonarImage(image);
    EXPECT_TRUE(AllZero(image));
}

TEST(ImageBuffer, RedrawClearsThenDrawsTheGridWhileBusy) {
    ImageState state;
    state.Image.Pixels.fill(55);
    bool busyDuringGrid = false;
    bool clearedBeforeGrid = false;
    RedrawSonarImage(state, [&](SonarImage& image) {
        busyDuringGrid = state.ImageBusy;
        clearedBeforeGrid = AllZero(image);
        image.At(10, 20) = GridBit;
    });
    EXPECT_TRUE(busyDuringGrid);
    EXPECT_TRUE(clearedBeforeGrid);
    EXPECT_FALSE(state.ImageBusy);
    EXPECT_EQ(state.Image.At(10, 20), GridBit);
    state.Image.At(10, 20) = 0;
    EXPECT_TRUE(AllZero(state.Image));
}

TEST(ImageBuffer, RedrawWithoutGridLeavesEveryPixelZero) {
    ImageState state;
    state.Image.Pixels.fill(133);
    state.History.Newest.fill(9);  // the history is not the picture's business
    RedrawSonarImage(state, nullptr);
    EXPECT_TRUE(AllZero(state.Image));
    EXPECT_FALSE(state.ImageBusy);
    EXPECT_EQ(state.History.Newest[0], 9);
}

TEST(ImageBuffer, ZoomCentreIsHeldInsideTheFrame) {
    struct Case {
        int x, y;
        ZoomSquare expected;
    };
    const std::vector<Case> cases = {
        {0, 0, {43, 43, 4, 4, 78, 78}},           {700, 700, {559, 469, 520, 430, 78, 78}},
        {300, 250, {300, 250, 261, 211, 78, 78}}, {43, 469, {43, 469, 4, 430, 78, 78}},
        {-5000, 5000, {43, 469, 4, 430, 78, 78}}, {560, 42, {559, 43, 520, 4, 78, 78}},
    };
    for (const Case& c : cases) EXPECT_EQ(ZoomCentre(c.x, c.y), c.expected) << c.x << "," << c.y;
    // The square never leaves the image frame (window 3..598, 3..508).
    const ZoomSquare corner = ZoomCentre(10000, 10000);
    EXPECT_LE(corner.SourceLeft + corner.SourceWidth, 598);
    EXPECT_LE(corner.SourceTop + corner.SourceHeight, 508);
    EXPECT_EQ(ZoomDestinationSize, 156);
}

TEST(ImageBuffer, HeaderBytesAreExact) {
    const std::array<uint8_t, 40> expected = {
        40,   0,    0,    0,                 // header size
        0x54, 0x02, 0,    0,                 // width 596
        0x06, 0xFE, 0xFF, 0xFF,              // height -506
        1,    0,                             // planes
        8,    0,                             // bits per pixel
        0,    0,    0,    0,                 // compression
        0,    0,    0,    0,                 // image size
        0,    0,    0,    0,    0, 0, 0, 0,  // resolution
        0,    0,    0,    0,                 // colours used
        0,    0,    0,    0,                 // colours important
    };
    EXPECT_EQ(ImageBitmapHeaderBytes(ImageBitmapHeader{}), expected);
}

TEST(ImageBuffer, HeaderFieldsLandAtTheirOffsets) {
    ImageBitmapHeader h;
    h.SizeImage = 0x01020304;
    h.XPelsPerMeter = -2;
    h.ClrImportant = 0xA0B0C0D0;
    const auto bytes = ImageBitmapHeaderBytes(h);
    EXPECT_EQ(bytes[20], 0x04);
    EXPECT_EQ(bytes[23], 0x01);
    EXPECT_EQ(bytes[24], 0xFE);
    EXPECT_EQ(bytes[27], 0xFF);
    EXPECT_EQ(bytes[36], 0xD0);
    EXPECT_EQ(bytes[39], 0xA0);
}

TEST(ImageBuffer, InfoBlockIsHeaderThenColourTable) {
    ImageColorTable table{};
    InitImageColorTable(table);
    table[1] = {1, 2, 3, 0};
    table[255] = {7, 8, 9, 0};
    const auto block = ImageBitmapInfoBytes(table);
    ASSERT_EQ(block.size(), 1064u);
    const auto header = ImageBitmapHeaderBytes(ImageBitmapHeader{});
    EXPECT_TRUE(std::equal(header.begin(), header.end(), block.begin()));
    const auto colours = ImageColorTableBytes(table);
    EXPECT_TRUE(std::equal(colours.begin(), colours.end(), block.begin() + 40));
    // Entry 1 is blue, green, red, 0 at 40 + 4.
    EXPECT_EQ(block[44], 1);
    EXPECT_EQ(block[45], 2);
    EXPECT_EQ(block[46], 3);
    EXPECT_EQ(block[47], 0);
    EXPECT_EQ(block[1060], 7);
    EXPECT_EQ(block[1063], 0);
}

}  // namespace
}  // namespace tidemar
