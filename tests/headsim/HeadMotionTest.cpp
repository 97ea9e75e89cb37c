// Where the head points from ping to ping: sectors, edges, full circles and the one-shot
// bits.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "HeadMotion.h"

namespace tidemar::headsim {
namespace {

StepCommand Sector(int trainCode, int sectorCode, int stepCode) {
    StepCommand c;
    c.trainCode = trainCode;
    c.sectorCode = sectorCode;
    c.stepCode = stepCode;
    return c;
}

std::vector<int> Ping(HeadMotion& m, const StepCommand& c, int pings) {
    std::vector<int> positions;
    for (int i = 0; i < pings; ++i) {
        StepHead(m, c);
        positions.push_back(m.position);
    }
    return positions;
}

// Signed distance from a to b the short way round.
int Delta(int a, int b) { return ((b - a + 1800) % 1200) - 600; }

TEST(HeadMotion, SectorAheadReversesOnBothEdges) {
    HeadMotion m;                                             // 600, stepping up
    const auto positions = Ping(m, Sector(60, 40, 3), 1000);  // 120 degrees: 400..800
    int reversals = 0;
    std::set<int> seen;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        ASSERT_GE(positions[i], 400) << "ping " << i;
        ASSERT_LE(positions[i], 800) << "ping " << i;
        seen.insert(positions[i]);
        if (i >= 2) {
            const int before = positions[i - 1] - positions[i - 2];
            const int now = positions[i] - positions[i - 1];
            if ((before > 0) != (now > 0)) {
                ++reversals;
                EXPECT_TRUE(positions[i - 1] == 400 || positions[i - 1] == 800) << "reversed at " << positions[i - 1];
            }
        }
    }
    EXPECT_TRUE(seen.count(400) && seen.count(800)) << "both edges are reached";
    EXPECT_GE(reversals, 6);
    // From 600 upwards: 603, 606, ... 798, then the edge, then back down.
    EXPECT_EQ(positions[0], 603);
    EXPECT_EQ(positions[65], 798);
    EXPECT_EQ(positions[66], 800);
    EXPECT_EQ(positions[67], 797);
}

TEST(HeadMotion, FullCircleTurnsOnThroughZero) {
    HeadMotion m;
    m.position = 1190;
    const auto positions = Ping(m, Sector(60, 120, 8), 400);
    EXPECT_EQ(positions[0], 1198);
    EXPECT_EQ(positions[1], 6);
    for (std::size_t i = 1; i < positions.size(); ++i) {
        ASSERT_EQ(Delta(positions[i - 1], positions[i]), 8) << "ping " << i;
    }
    EXPECT_EQ(m.direction, +1);
}

TEST(HeadMotion, SectorAcrossZeroWrapsAndReverses) {
    HeadMotion m;
    m.position = 0;
    // Train code 0 is straight behind; 40 x 3 degrees: positions 1000..1199 and 0..200.
    const auto positions = Ping(m, Sector(0, 40, 4), 600);
    std::set<int> seen(positions.begin(), positions.end());
    for (int p : positions) ASSERT_TRUE(p >= 1000 || p <= 200) << p;
    EXPECT_TRUE(seen.count(200) && seen.count(1000));
    EXPECT_TRUE(seen.count(1196) && seen.count(4)) << "passes through 0 both ways";
}

TEST(HeadMotion, ReverseBitFlipsDirectionOnce) {
    HeadMotion m;
    StepCommand c = Sector(60, 120, 3);
    StepHead(m, c);
    EXPECT_EQ(m.position, 603);
    c.reverse = true;
    StepHead(m, c);
    EXPECT_EQ(m.position, 600);
    EXPECT_EQ(m.direction, -1);
    c.reverse = false;
    StepHead(m, c);
    EXPECT_EQ(m.position, 597);
    EXPECT_EQ(m.direction, -1);
}

TEST(HeadMotion, HoldBitKeepsThePosition) {
    HeadMotion m;
    StepCommand c = Sector(60, 40, 8);
    c.hold = true;
    EXPECT_EQ(StepHead(m, c), 0);
    EXPECT_EQ(m.position, 600);
    c.reverse = true;  // reversing while held turns without moving
    StepHead(m, c);
    EXPECT_EQ(m.position, 600);
    EXPECT_EQ(m.direction, -1);
    // Hold also stops the slew towards a sector elsewhere.
    c = Sector(90, 10, 1);
    c.hold = true;
    StepHead(m, c);
    EXPECT_EQ(m.position, 600);
}

TEST(HeadMotion, SlewsIntoANewSectorAndCarriesOn) {
    HeadMotion m;
    // Train 90 degrees, 30 degree sector: 850..950.
    const auto positions = Ping(m, Sector(90, 10, 2), 12);
    const std::vector<int> expected = {630, 660, 690, 720, 750, 780, 810, 840, 850, 852, 854, 856};
    EXPECT_EQ(positions, expected);
    EXPECT_EQ(m.direction, +1);

    // From the other side it arrives moving down and keeps going down.
    HeadMotion n;
    n.position = 1000;
    const auto back = Ping(n, Sector(90, 10, 2), 3);
    EXPECT_EQ(back, (std::vector<int>{970, 950, 948}));
    EXPECT_EQ(n.direction, -1);
}

TEST(HeadMotion, SideScanSectorZeroHoldsTheTrain) {
    HeadMotion m;
    // Port side scan: train 270 degrees is code 30, position 300; sector and step 0.
    const auto positions = Ping(m, Sector(30, 0, 0), 20);
    EXPECT_EQ(positions[0], 570);
    EXPECT_EQ(positions[9], 300);
    for (std::size_t i = 9; i < positions.size(); ++i) EXPECT_EQ(positions[i], 300);
}

TEST(HeadMotion, PositioningThenScanningStartsUpwardsFromTheStartEdge) {
    // A profile scan: one block puts the head at the start (code 40, position 400, no
    // sector, slowest step); then the sector 400..800 follows.
    for (int startAt : {100, 600, 1000}) {
        HeadMotion m;
        m.position = startAt;
        StepHead(m, Sector(40, 0, 1));
        int last = m.position;
        bool reachedStart = false;
        for (int i = 0; i < 1000 && !reachedStart; ++i) {
            StepHead(m, Sector(60, 40, 1));
            reachedStart = m.position > last && m.position >= 400 && m.position <= 800;
            last = m.position;
        }
        EXPECT_TRUE(reachedStart) << "from " << startAt;
        EXPECT_EQ(m.direction, +1) << "from " << startAt;
    }
}

TEST(HeadMotion, CalibrateRehomesStraightAhead) {
    HeadMotion m;
    m.position = 100;
    m.direction = -1;
    StepCommand c = Sector(60, 120, 3);
    c.calibrate = true;
    EXPECT_EQ(StepHead(m, c), 500);
    EXPECT_EQ(m.position, 600);
    EXPECT_EQ(m.direction, +1);
}

TEST(HeadMotion, OddCodesStayInBounds) {
    // Step larger than the sector, train codes past 119, sector codes past 120.
    HeadMotion m;
    for (int p : Ping(m, Sector(60, 1, 8), 50)) ASSERT_TRUE(p >= 595 && p <= 605) << p;
    HeadMotion n;
    n.position = 5;
    for (int p : Ping(n, Sector(200, 2, 1), 50)) ASSERT_TRUE(p >= 1190 || p <= 10) << p;
    HeadMotion o;
    for (int p : Ping(o, Sector(255, 255, 255), 50)) ASSERT_TRUE(p >= 0 && p < 1200) << p;
}

}  // namespace
}  // namespace tidemar::headsim
