// The date and time strip: characters where they belong, in the colours asked for, and
// nothing drawn past the strip's width.
#include <gtest/gtest.h>

#include <vector>

#include "video/ClockStrip.h"

namespace tidemar {
namespace {

// How many pixels of the strip are ink, in the columns of character `index`.
int InkOfCharacter(const std::vector<uint8_t>& strip, int width, int index, uint8_t ink) {
    int count = 0;
    for (int y = 0; y < ClockStripHeight; ++y)
        for (int x = 4 + 12 * index; x < 4 + 12 * index + 12 && x < width; ++x)
            count += strip[static_cast<size_t>(y) * width + x] == ink;
    return count;
}

TEST(ClockStrip, DrawsEachCharacterInItsCell) {
    struct Case {
        const char* Legend;
        const char* Text;
        int Character;
        int Ink;  // pixels of ink in that character's cell: lit glyph cells x 4
    };
    const Case cases[] = {
        {"a one", "1", 0, (1 + 2 + 1 + 1 + 1 + 1 + 3) * 4},
        {"a minus sign", "-", 0, 5 * 4},
        {"a colon", "0:", 1, 8 * 4},
        {"small letters as capitals", "t", 0, (5 + 6) * 4},
        {"a space", "0 0", 1, 0},
        {"an unknown character is a space", "0#0", 1, 0},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> strip(100 * ClockStripHeight, 9);
        DrawClockStrip(strip.data(), 100, c.Text, 7, 3);
        EXPECT_EQ(InkOfCharacter(strip, 100, c.Character, 7), c.Ink) << c.Legend;
        size_t other = 0;
        for (uint8_t pixel : strip) other += pixel != 7 && pixel != 3;
        EXPECT_EQ(other, 0u) << c.Legend << ": the strip is ink on ground only";
    }
}

TEST(ClockStrip, StopsAtTheStripsEdge) {
    // Room for two characters (4 + 12 + 10 = 26 columns), with a guard column after.
    std::vector<uint8_t> strip(27 * ClockStripHeight + 27, 5);
    DrawClockStrip(strip.data(), 26, "888", 1, 0);
    EXPECT_GT(InkOfCharacter(strip, 26, 1, 1), 0);
    for (size_t i = 26 * ClockStripHeight; i < strip.size(); ++i) ASSERT_EQ(strip[i], 5) << i;
}

TEST(ClockStrip, NearestTableEntry) {
    std::array<uint8_t, 1024> table{};
    table[4 * 10 + 0] = 250;  // blue
    table[4 * 10 + 1] = 250;
    table[4 * 10 + 2] = 250;
    table[4 * 20 + 2] = 200;  // red
    for (int i = 0; i < 256; ++i)
        if (i != 10 && i != 20 && i != 0) table[4 * i + 1] = 128;
    EXPECT_EQ(NearestTableEntry(table, 255, 255, 255), 10);
    EXPECT_EQ(NearestTableEntry(table, 0, 0, 0), 0);
    EXPECT_EQ(NearestTableEntry(table, 220, 0, 0), 20);
}

}  // namespace
}  // namespace tidemar
