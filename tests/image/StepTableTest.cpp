#include "image/StepTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tidemar {
namespace {

using Rows = std::vector<WeightRow>;

template <size_t N>
Rows AsRows(const std::array<WeightRow, N>& table) {
    return Rows(table.begin(), table.end());
}

void ExpectWellFormed(const Rows& rows, const char* name) {
    for (size_t r = 0; r < rows.size(); ++r) {
        const WeightRow& w = rows[r];
        EXPECT_EQ(w.Oldest + w.Middle + w.Newest, 200) << name << " row " << r;
        if (r == 0) continue;
        // Weight moves from the oldest ping to the newest across the wedge.
        EXPECT_LE(w.Oldest, rows[r - 1].Oldest) << name << " row " << r;
        EXPECT_GE(w.Newest, rows[r - 1].Newest) << name << " row " << r;
    }
}

TEST(WeightTables, EveryRowSumsTo200AndShiftsTowardsTheNewest) {
    const WeightTableSet& t = WeightTables();
    ExpectWellFormed(AsRows(t.W7), "W7");
    ExpectWellFormed(AsRows(t.W11), "W11");
    ExpectWellFormed(AsRows(t.W21), "W21");
    ExpectWellFormed(AsRows(t.W41), "W41");
}

TEST(WeightTables, RowsAreTheListedOnes) {
    const WeightTableSet& t = WeightTables();
    EXPECT_EQ(
        AsRows(t.W7),
        (Rows{
            {65, 100, 35}, {60, 100, 40}, {55, 100, 45}, {50, 100, 50}, {45, 100, 55}, {40, 100, 60}, {35, 100, 65}}));
    EXPECT_EQ(t.W11[0], (WeightRow{75, 100, 25}));
    EXPECT_EQ(t.W11[1], (WeightRow{70, 100, 30}));
    EXPECT_EQ(t.W11[5], (WeightRow{50, 100, 50}));
    EXPECT_EQ(t.W11[10], (WeightRow{25, 100, 75}));
    EXPECT_EQ(AsRows(t.W21),
              (Rows{{100, 100, 0}, {100, 100, 0}, {100, 100, 0}, {90, 110, 0},  {80, 120, 0},  {70, 130, 0},
                    {60, 140, 0},  {50, 150, 0},  {40, 160, 0},  {30, 160, 10}, {20, 160, 20}, {10, 160, 30},
                    {0, 160, 40},  {0, 150, 50},  {0, 140, 60},  {0, 130, 70},  {0, 120, 80},  {0, 110, 90},
                    {0, 100, 100}, {0, 100, 100}, {0, 100, 100}}));
    for (int r = 0; r < 5; ++r) EXPECT_EQ(t.W41[r], (WeightRow{100, 100, 0})) << r;
    EXPECT_EQ(t.W41[5], (WeightRow{95, 105, 0}));
    EXPECT_EQ(t.W41[16], (WeightRow{40, 160, 0}));
    EXPECT_EQ(t.W41[17], (WeightRow{35, 160, 5}));
    EXPECT_EQ(t.W41[24], (WeightRow{0, 160, 40}));
    EXPECT_EQ(t.W41[25], (WeightRow{0, 155, 45}));
    EXPECT_EQ(t.W41[35], (WeightRow{0, 105, 95}));
    for (int r = 36; r < 41; ++r) EXPECT_EQ(t.W41[r], (WeightRow{0, 100, 100})) << r;
}

// The blend must be trunc(0.005 x weighted sum) for every sum weights and byte samples
// can make, without the floating point.
TEST(WeightTables, BlendIsTheTruncatedFractionOfTheSum) {
    for (int sum = 0; sum <= MaxWeightedSum; ++sum)
        ASSERT_EQ(TruncatedBlend(sum), static_cast<int>(0.005 * sum)) << sum;
    EXPECT_EQ(TruncatedBlend(200 * 107), 107);
    EXPECT_EQ(TruncatedBlend(200 * 107 - 1), 106);
}

TEST(StepTable, RowsBySpeedAndMode) {
    struct Case {
        int speed;
        bool polar;
        int subLines, stepUnits, firstVector, vectors;
        const WeightRow* firstWeight;
    };
    const WeightTableSet& t = WeightTables();
    const std::vector<Case> cases = {
        {0, false, 7, 1, 7, 21, &t.W7[0]},
        {1, false, 11, 2, 5, 21, &t.W11[0]},
        {2, false, 17, 3, 2, 21, &t.W21[2]},
        {3, false, 21, 4, 0, 21, &t.W21[0]},
        {4, false, 41, 8, 0, 41, &t.W41[0]},
        {4, true, 21, 8, 0, 21, &t.W21[0]},
        {0, true, 7, 1, 7, 21, &t.W7[0]},
        {2, true, 17, 3, 2, 21, &t.W21[2]},
        // Out of the table: held to the nearest speed.
        {-3, false, 7, 1, 7, 21, &t.W7[0]},
        {9, false, 41, 8, 0, 41, &t.W41[0]},
        {12, true, 21, 8, 0, 21, &t.W21[0]},
    };
    for (const Case& c : cases) {
        const StepSetting s = SelectStepSetting(c.speed, c.polar);
        SCOPED_TRACE(testing::Message() << "speed " << c.speed << (c.polar ? " polar" : " sector"));
        EXPECT_EQ(s.SubLines, c.subLines);
        EXPECT_EQ(s.StepUnits, c.stepUnits);
        EXPECT_EQ(s.FirstVector, c.firstVector);
        EXPECT_EQ(s.VectorCount, c.vectors);
        EXPECT_EQ(static_cast<int>(s.Weights.size()), c.subLines);
        EXPECT_EQ(s.Weights.data(), c.firstWeight);
        EXPECT_LE(s.FirstVector + s.SubLines, s.VectorCount);
    }
}

double Angle(const SubLineVectors& v, int k) { return std::atan2(v.X[k], -v.Y[k]); }

TEST(SubLineVectors, FanStartsAtTheEdgeAndStepsBySpacing) {
    SonarState state;
    state.GridMode = DisplayMode::Sector;
    state.SectorSize = 180;
    state.HeadAngleRad = 0.5f;
    const double delta = 4 * 3.141592654 / 600;

    state.DrawDirection = 1;
    SubLineVectors v = BuildSubLineVectors(state, SelectStepSetting(3, false));
    ASSERT_EQ(v.Count, 21);
    EXPECT_NEAR(Angle(v, 0), 0.5 - 0.010471975 - delta, 1e-6);
    EXPECT_NEAR(Angle(v, 20), 0.5 - 0.010471975 - delta + 20 * 0.000997331, 1e-6);
    for (int k = 0; k < v.Count; ++k) EXPECT_NEAR(std::hypot(v.X[k], v.Y[k]), 1.0, 1e-6) << k;

    state.DrawDirection = 0;
    v = BuildSubLineVectors(state, SelectStepSetting(3, false));
    EXPECT_NEAR(Angle(v, 0), 0.5 + 0.010471975 + delta, 1e-6);
    EXPECT_NEAR(Angle(v, 20), 0.5 + 0.010471975 + delta - 20 * 0.000997331, 1e-6);

    state.DrawDirection = 1;
    v = BuildSubLineVectors(state, SelectStepSetting(4, false));
    ASSERT_EQ(v.Count, 41);
    EXPECT_NEAR(Angle(v, 0), 0.5 - 0.02094395 - 2 * delta, 1e-6);
    EXPECT_NEAR(Angle(v, 40), 0.5 - 0.02094395 - 2 * delta + 40 * 0.001021656, 1e-6);

    v = BuildSubLineVectors(state, SelectStepSetting(4, true));
    ASSERT_EQ(v.Count, 21);
    EXPECT_NEAR(Angle(v, 20), 0.5 - 0.02094395 - 2 * delta + 20 * 0.001994662, 1e-6);
}

TEST(SubLineVectors, StandingHeadCentresTheDrawnSubLinesOnItsAngle) {
    SonarState state;
    state.GridMode = DisplayMode::Sector;
    state.SectorSize = 0;
    state.HeadAngleRad = -1.2f;
    for (int speed = 0; speed <= 4; ++speed) {
        for (int direction = 0; direction <= 1; ++direction) {
            state.DrawDirection = direction;
            const StepSetting s = SelectStepSetting(speed, false);
            const SubLineVectors v = BuildSubLineVectors(state, s);
            const double first = Angle(v, s.FirstVector);
            const double last = Angle(v, s.FirstVector + s.SubLines - 1);
            // Within a fraction of the spacing: the fan is built from its edge.
            EXPECT_NEAR((first + last) / 2, -1.2, 0.0011) << speed << "/" << direction;
        }
    }
}

TEST(SubLineVectors, ProfileGridWithZeroUpTurnsThePictureOver) {
    SonarState state;
    state.HeadAngleRad = 0.3f;
    state.DrawDirection = 1;
    const StepSetting s = SelectStepSetting(2, false);
    const SubLineVectors normal = BuildSubLineVectors(state, s);
    state.ProfileGrid = 1;
    state.ZeroDown = 0;
    const SubLineVectors turned = BuildSubLineVectors(state, s);
    state.ZeroDown = 1;
    const SubLineVectors zeroDown = BuildSubLineVectors(state, s);
    for (int k = 0; k < normal.Count; ++k) {
        EXPECT_EQ(turned.X[k], normal.X[k]);
        EXPECT_EQ(turned.Y[k], -normal.Y[k]);
        EXPECT_EQ(zeroDown.Y[k], normal.Y[k]);
    }
    EXPECT_LT(normal.Y[0], 0.0f);  // angle 0.3 points up the screen
}

}  // namespace
}  // namespace tidemar
