#include "image/ColorBar.h"

#include <gtest/gtest.h>

namespace tidemar {
namespace {

TEST(ColorBar, RunsFrom111DownTo0WithoutSkipping) {
    const auto bar = ColorBarIndices();
    EXPECT_EQ(bar.front(), 111);
    EXPECT_EQ(bar.back(), 0);  // 111 - 507 x 0.218504 = 0.2185
    for (std::size_t k = 1; k < bar.size(); ++k) {
        EXPECT_LE(bar[k], bar[k - 1]) << "row " << k + ColorBarTop;
        EXPECT_GE(bar[k] + 1, bar[k - 1]) << "row " << k + ColorBarTop;  // steps of one
    }
}

// About 4.6 rows per index; a few rows worked by hand (v = 111 - k x 0.218504):
//   k=4: 110.126 -> 110; k=5: 109.907 -> 109; k=253: 55.718 -> 55;
//   k=503: 1.092 -> 1; k=504: 0.874 -> 0.
TEST(ColorBar, SpotRows) {
    const auto bar = ColorBarIndices();
    EXPECT_EQ(bar[0], 111);
    EXPECT_EQ(bar[4], 110);
    EXPECT_EQ(bar[5], 109);
    EXPECT_EQ(bar[253], 55);
    EXPECT_EQ(bar[503], 1);  // 1.092
    EXPECT_EQ(bar[504], 0);  // 0.874: the last four rows are black
}

}  // namespace
}  // namespace tidemar
