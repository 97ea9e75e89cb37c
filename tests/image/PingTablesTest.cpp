#include "image/PingTables.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tidemar {
namespace {

void FillLine(SonarState& state, int base) {
    for (int i = 0; i < SampleLineSize; ++i) state.SampleLine[i] = static_cast<uint8_t>((base + i) % 100);
}

TEST(PingHistory, ShiftsOnePingPerAdvance) {
    SonarState state;
    state.PlotSampleCount = 499;
    PingHistory h;
    for (int ping = 1; ping <= 3; ++ping) {
        FillLine(state, ping * 10);
        AdvancePingHistory(h, state);
    }
    EXPECT_EQ(h.Oldest[0], 10);
    EXPECT_EQ(h.Middle[0], 20);
    EXPECT_EQ(h.Newest[0], 30);
    EXPECT_EQ(h.Newest[498], (30 + 498) % 100);
    EXPECT_EQ(h.Oldest[498], (10 + 498) % 100);
}

TEST(PingHistory, CopiesOnlyThePlottedSamples) {
    SonarState state;
    state.PlotSampleCount = 250;
    PingHistory h;
    h.Newest.fill(77);
    h.Middle.fill(66);
    FillLine(state, 1);
    AdvancePingHistory(h, state);
    EXPECT_EQ(h.Newest[249], (1 + 249) % 100);
    EXPECT_EQ(h.Newest[250], 77);  // beyond the count: untouched
    EXPECT_EQ(h.Middle[249], 77);
    EXPECT_EQ(h.Middle[250], 66);
    EXPECT_EQ(h.Oldest[249], 66);
    EXPECT_EQ(h.Oldest[250], 0);
}

TEST(PingHistory, ResetFillsAllThreeRowsWithThePing) {
    SonarState state;
    state.PlotSampleCount = 499;
    PingHistory h;
    h.Oldest.fill(5);
    h.Middle.fill(6);
    h.Newest.fill(7);
    h.Reset = true;
    FillLine(state, 40);
    AdvancePingHistory(h, state);
    EXPECT_FALSE(h.Reset);
    for (int i = 0; i < 499; ++i) {
        ASSERT_EQ(h.Oldest[i], state.SampleLine[i]) << i;
        ASSERT_EQ(h.Middle[i], state.SampleLine[i]) << i;
        ASSERT_EQ(h.Newest[i], state.SampleLine[i]) << i;
    }
    EXPECT_EQ(h.Oldest[499], 5);
    EXPECT_EQ(h.Newest[639], 7);

    // The next ping shifts again.
    FillLine(state, 3);
    AdvancePingHistory(h, state);
    EXPECT_EQ(h.Oldest[0], 40);
    EXPECT_EQ(h.Middle[0], 40);
    EXPECT_EQ(h.Newest[0], 3);
}

TEST(PingHistory, CountOutsideTheRowsIsHeldToThem) {
    SonarState state;
    PingHistory h;
    FillLine(state, 0);
    state.PlotSampleCount = 100000;
    AdvancePingHistory(h, state);
    EXPECT_EQ(h.Newest[639], 639 % 100);

    h.Newest.fill(9);
    h.Reset = true;
    state.PlotSampleCount = -4;
    AdvancePingHistory(h, state);
    EXPECT_FALSE(h.Reset);
    EXPECT_TRUE(std::all_of(h.Newest.begin(), h.Newest.end(), [](uint8_t v) { return v == 9; }));
}

struct Cleared {
    SonarState state;
    ImageState image;
    Cleared() {
        state.SampleLine.fill(50);
        image.History.Oldest.fill(1);
        image.History.Middle.fill(2);
        image.History.Newest.fill(3);
        image.Profile.ProfilePointTable.fill({12, 34});
        image.Profile.RecentProfilePoints.fill({56, 78});
        image.Profile.NextRecentSlot = 3;
    }
    bool HistoryZero() const {
        const auto zero = [](const auto& row) {
            return std::all_of(row.begin(), row.end(), [](uint8_t v) { return v == 0; });
        };
        return zero(image.History.Oldest) && zero(image.History.Middle) && zero(image.History.Newest);
    }
};

TEST(ClearPingTables, ClearsSamplesHistoryAndEveryProfileMark) {
    Cleared c;
    ClearPingTables(c.state, c.image, false);
    EXPECT_TRUE(
        std::all_of(c.state.SampleLine.begin(), c.state.SampleLine.begin() + 640, [](uint8_t v) { return v == 0; }));
    EXPECT_EQ(c.state.SampleLine[640], 50);  // only the first 640 samples
    EXPECT_TRUE(c.HistoryZero());
    for (const ImagePoint& p : c.image.Profile.RecentProfilePoints) EXPECT_TRUE(p.Empty());
    for (const ImagePoint& p : c.image.Profile.ProfilePointTable) ASSERT_TRUE(p.Empty());
    EXPECT_EQ(c.image.Profile.NextRecentSlot, 0);
}

TEST(ClearPingTables, PlaybackKeepsThePerPositionTable) {
    Cleared c;
    ClearPingTables(c.state, c.image, true);
    EXPECT_EQ(c.state.SampleLine[639], 0);
    EXPECT_TRUE(c.HistoryZero());
    for (const ImagePoint& p : c.image.Profile.RecentProfilePoints) EXPECT_TRUE(p.Empty());
    EXPECT_EQ(c.image.Profile.NextRecentSlot, 0);
    EXPECT_EQ(c.image.Profile.ProfilePointTable[0].X, 12);
    EXPECT_EQ(c.image.Profile.ProfilePointTable[1199].Y, 34);
}

}  // namespace
}  // namespace tidemar
