#include "image/ScanConversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <set>
#include <vector>

#include "image/StepTable.h"

namespace tidemar {
namespace {

constexpr double Pi = 3.141592654;
constexpr int Sector = DisplayMode::Sector;
constexpr int Polar = DisplayMode::Polar;

struct Pixel {
    int x, y, value;
};

// One ping to plot: the state the decoding would leave and the picture it goes into.
struct Ping {
    SonarState state;
    ImageState image;

    Ping(int gridMode, int speed, double angle) {
        state.GridMode = gridMode;
        state.DisplaySpeed = speed;
        state.PlotSampleCount = gridMode == Polar ? 250 : 499;
        state.SectorSize = gridMode == Polar ? 360 : 180;
        state.HeadAngleRad = static_cast<float>(angle);
        state.DrawDirection = 1;
        state.Grid = 0;
    }
    // The same echo in all three history rows.
    void Samples(const std::function<int(int)>& value) { Rows(value, value, value); }
    void Rows(const std::function<int(int)>& oldest, const std::function<int(int)>& middle,
              const std::function<int(int)>& newest) {
        for (int i = 0; i < PingHistoryLength; ++i) {
            image.History.Oldest[i] = static_cast<uint8_t>(oldest(i));
            image.History.Middle[i] = static_cast<uint8_t>(middle(i));
            image.History.Newest[i] = static_cast<uint8_t>(newest(i));
        }
    }
    int CentreRow() const {
        if (state.GridMode == Polar) return 253;
        return state.ProfileGrid == 1 && state.ZeroDown == 0 ? 1 : 505;
    }
    std::vector<Pixel> Plot() {
        PlotSectorPing(state, image);
        std::vector<Pixel> written;
        for (int y = 0; y < ImageHeight; ++y)
            for (int x = 0; x < ImageWidth; ++x)
                if (image.Image.At(x, y) != 0) written.push_back({x, y, image.Image.At(x, y)});
        return written;
    }
};

int Blend(const WeightRow& w, int oldest, int middle, int newest) {
    return (w.Oldest * oldest + w.Middle * middle + w.Newest * newest) / 200;
}

struct Setting {
    int gridMode, speed;
};
const std::vector<Setting> AllSettings = {{Sector, 0}, {Sector, 1}, {Sector, 2}, {Sector, 3}, {Sector, 4},
                                          {Polar, 0},  {Polar, 1},  {Polar, 2},  {Polar, 3},  {Polar, 4}};

std::string Name(const Setting& s) {
    return std::string(s.gridMode == Polar ? "Polar" : "Sector") + " speed " + std::to_string(s.speed);
}

// Every sub-line carries the sample's own value when the three pings agree: each pixel
// holds the value of the sample whose radius is its distance from the centre.
TEST(PlotSectorPing, EqualHistoryGivesEveryPixelItsSampleValue) {
    for (const Setting& s : AllSettings) {
        const std::vector<double> angles =
            s.gridMode == Polar ? std::vector<double>{0.0, 0.8, -2.4, 3.1} : std::vector<double>{0.0, 0.8, -1.3};
        for (double angle : angles) {
            SCOPED_TRACE(Name(s) + " angle " + std::to_string(angle));
            Ping ping(s.gridMode, s.speed, angle);
            ping.Samples([](int i) { return 20 + i % 80; });
            const std::vector<Pixel> written = ping.Plot();
            ASSERT_GT(written.size(), 200u);
            for (const Pixel& p : written) {
                // Truncation toward zero: column 0 and row 0 also take points from -1..0.
                const double px = p.x == 0 ? 0.0 : p.x + 0.5;
                const double py = p.y == 0 ? 0.0 : p.y + 0.5;
                const double d = std::hypot(px - 298, py - ping.CentreRow());
                const double tolerance = p.x == 0 || p.y == 0 ? 1.12 : 0.71;
                ASSERT_GE(p.value, 20);
                int sample = p.value - 20;
                while (sample + 40 < d) sample += 80;
                ASSERT_NEAR(sample, d, tolerance) << p.x << "," << p.y << " = " << p.value;
            }
        }
    }
}

TEST(PlotSectorPing, SampleZeroIsDrawnAtTheCentre) {
    for (const Setting& s : AllSettings) {
        for (double angle : {0.0, 1.0, -2.0, 3.0}) {
            for (int apexUp = 0; apexUp <= 1; ++apexUp) {
                SCOPED_TRACE(Name(s) + " angle " + std::to_string(angle));
                Ping ping(s.gridMode, s.speed, angle);
                ping.state.ProfileGrid = apexUp;
                ping.state.ZeroDown = 1 - apexUp;
                ping.state.PlotSampleCount = 1;
                ping.Samples([](int) { return 61; });
                const std::vector<Pixel> written = ping.Plot();
                ASSERT_EQ(written.size(), 1u);
                EXPECT_EQ(written[0].x, 298);
                EXPECT_EQ(written[0].y, ping.CentreRow());
                EXPECT_EQ(written[0].value, 61);
            }
        }
    }
}

// A head angle that puts the first sub-line of the fastest narrow fan straight up.
Ping StraightUp(int gridMode) {
    Ping ping(gridMode, 3, 0.010471975);
    ping.state.SectorSize = 0;
    ping.Samples([](int i) { return 10 + i % 90; });
    return ping;
}

TEST(PlotSectorPing, LastSampleStraightUpLandsOnItsRow) {
    Ping polar = StraightUp(Polar);
    polar.Plot();
    EXPECT_EQ(polar.image.Image.At(298, 4), 10 + 249 % 90);
    EXPECT_EQ(polar.image.Image.At(298, 3), 0);

    Ping sector = StraightUp(Sector);
    sector.Plot();
    EXPECT_EQ(sector.image.Image.At(298, 7), 10 + 498 % 90);
    EXPECT_EQ(sector.image.Image.At(298, 6), 0);
}

TEST(PlotSectorPing, ApexUpDrawsDownFromRowOne) {
    Ping ping = StraightUp(Sector);
    ping.state.ProfileGrid = 1;
    ping.state.ZeroDown = 0;
    const std::vector<Pixel> written = ping.Plot();
    EXPECT_EQ(ping.image.Image.At(298, 499), 10 + 498 % 90);
    EXPECT_EQ(ping.image.Image.At(298, 500), 0);
    for (const Pixel& p : written) EXPECT_GE(p.y, 1);
    // Polar keeps its centre; the picture is only turned over.
    Ping polar = StraightUp(Polar);
    polar.state.ProfileGrid = 1;
    polar.state.ZeroDown = 0;
    polar.Plot();
    EXPECT_EQ(polar.image.Image.At(298, 253 + 249), 10 + 249 % 90);
    EXPECT_EQ(polar.image.Image.At(298, 4), 0);
}

// Samples beyond the border are dropped: none of the far samples' value may appear, as it
// would on the border if positions were clamped.
TEST(PlotSectorPing, PixelsOutsideThePictureAreSkipped) {
    struct Case {
        int gridMode;
        double angle;
        int count, firstOutside;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {Polar, Pi / 4, 499, 375},        // a file's long line in Polar, towards the corner
        {Polar, -3 * Pi / 4, 499, 375},
        {Sector, Pi / 2, 499, 310},       // along the bottom edge to the right
        {Sector, -Pi / 3, 499, 360},      // out through the left side
        {Sector, 1.2, 499, 330},          // out through the right side
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.gridMode) + " " + std::to_string(c.angle));
        Ping ping(c.gridMode, 4, c.angle);
        ping.state.PlotSampleCount = c.count;
        ping.Samples([&](int i) { return i < c.firstOutside ? 30 : 99; });
        const std::vector<Pixel> written = ping.Plot();
        EXPECT_GT(written.size(), 10u);
        for (const Pixel& p : written) ASSERT_EQ(p.value, 30) << p.x << "," << p.y;
    }
}

TEST(PlotSectorPing, GridPixelsUnderTheWedgeKeepTheGridBit) {
    for (int grid = 0; grid <= 1; ++grid) {
        Ping ping(Sector, 4, 0.0);
        ping.state.SectorSize = 0;
        ping.state.Grid = grid;
        ping.Samples([](int i) { return i < 300 ? 40 : 200; });  // 200: above the echo limit
        for (int x = 0; x < ImageWidth; ++x) {
            ping.image.Image.At(x, 400) = 133;  // a grid line across the wedge near 105
            ping.image.Image.At(x, 100) = 128;  // and one near sample 405
            ping.image.Image.At(x, 300) = 60;   // an old echo
        }
        ping.Plot();
        const SonarImage& img = ping.image.Image;
        EXPECT_EQ(img.At(298, 400), grid ? 40 + 128 : 40);
        EXPECT_EQ(img.At(298, 100), grid ? 107 + 128 : 107);
        EXPECT_EQ(img.At(298, 300), 40);
        // Outside the wedge nothing changes.
        EXPECT_EQ(img.At(100, 400), 133);
        EXPECT_EQ(img.At(500, 100), 128);
        EXPECT_EQ(img.At(10, 300), 60);
    }
}

struct Span {
    int minX = std::numeric_limits<int>::max();
    int maxX = std::numeric_limits<int>::min();
};

// Columns reached by the last sample alone (marked 99 at the end of the line).
Span LastSampleColumns(Ping& ping, int radius) {
    ping.state.PlotSampleCount = radius + 1;
    ping.Samples([&](int i) { return i == radius ? 99 : 10; });
    Span span;
    for (const Pixel& p : ping.Plot()) {
        if (p.value != 99) continue;
        span.minX = std::min(span.minX, p.x);
        span.maxX = std::max(span.maxX, p.x);
    }
    return span;
}

// The width and place of the wedge at the end of the line for every speed: the fan of
// vectors, the first one drawn, the head step between pings and the direction.
TEST(PlotSectorPing, WedgeCoversTheStepBehindTheHead) {
    struct Row {
        int gridMode, speed, subLines, stepUnits, firstVector;
        double edge, spacing;
    };
    const std::vector<Row> rows = {
        {Sector, 0, 7, 1, 7, 0.010471975, 0.000997331},  {Sector, 1, 11, 2, 5, 0.010471975, 0.000997331},
        {Sector, 2, 17, 3, 2, 0.010471975, 0.000997331}, {Sector, 3, 21, 4, 0, 0.010471975, 0.000997331},
        {Sector, 4, 41, 8, 0, 0.02094395, 0.001021656},  {Polar, 3, 21, 4, 0, 0.010471975, 0.000997331},
        {Polar, 4, 21, 8, 0, 0.02094395, 0.001994662},   {Polar, 0, 7, 1, 7, 0.010471975, 0.000997331},
    };
    for (const Row& r : rows) {
        for (int sectorSize : {0, 90}) {
            for (int direction = 0; direction <= 1; ++direction) {
                SCOPED_TRACE(Name({r.gridMode, r.speed}) + " sector " + std::to_string(sectorSize) + " direction " +
                             std::to_string(direction));
                Ping ping(r.gridMode, r.speed, 0.0);
                ping.state.SectorSize = sectorSize;
                ping.state.DrawDirection = direction;
                const int radius = r.gridMode == Polar ? 249 : 498;
                const Span span = LastSampleColumns(ping, radius);

                const double delta = sectorSize == 0 ? 0 : r.stepUnits * Pi / 600;
                const double sign = direction == 1 ? 1 : -1;
                const double first = sign * (-r.edge - delta + r.firstVector * r.spacing);
                const double last = first + sign * (r.subLines - 1) * r.spacing;
                const double left = 298 + radius * std::sin(std::min(first, last));
                const double right = 298 + radius * std::sin(std::max(first, last));
                EXPECT_NEAR(span.minX, left, 1.0);
                EXPECT_NEAR(span.maxX, right, 1.0);
            }
        }
    }
}

// With pings that differ, the sub-line drawn last at a pixel decides its blend. Near the
// centre all sub-lines of a sample meet on one pixel, so that pixel shows the weight row
// of the last sub-line drawn, which tells how many were drawn at that sample.
TEST(PlotSectorPing, FewerSubLinesNearTheCentre) {
    const WeightTableSet& t = WeightTables();
    struct Case {
        int gridMode, speed, subLines;
        const WeightRow* weights;
    };
    const std::vector<Case> cases = {
        {Sector, 0, 7, &t.W7[0]},   {Sector, 1, 11, &t.W11[0]}, {Sector, 2, 17, &t.W21[2]},
        {Sector, 3, 21, &t.W21[0]}, {Sector, 4, 41, &t.W41[0]}, {Polar, 4, 21, &t.W21[0]},
    };
    for (const Case& c : cases) {
        for (int sample = 0; sample <= 2 * c.subLines; sample += 1) {
            SCOPED_TRACE(Name({c.gridMode, c.speed}) + " sample " + std::to_string(sample));
            Ping ping(c.gridMode, c.speed, 0.3);
            ping.state.PlotSampleCount = sample + 1;
            ping.Rows([&](int i) { return i == sample ? 100 : 0; }, [&](int i) { return i == sample ? 7 : 0; },
                      [&](int i) { return i == sample ? 40 : 0; });
            std::set<int> values;
            for (const Pixel& p : ping.Plot()) values.insert(p.value);

            const int drawn = std::min(c.subLines, c.subLines / 4 + sample / 2);
            std::set<int> possible;
            for (int j = 0; j < drawn; ++j) possible.insert(Blend(c.weights[j], 100, 7, 40));
            EXPECT_TRUE(values.count(Blend(c.weights[drawn - 1], 100, 7, 40)));
            for (int v : values) EXPECT_TRUE(possible.count(v)) << v;
        }
    }
}

// Weight moves to the newest ping towards the side the head is turning to.
TEST(PlotSectorPing, NewestPingWeighsMostOnTheLeadingEdge) {
    const WeightTableSet& t = WeightTables();
    for (int direction = 0; direction <= 1; ++direction) {
        Ping ping(Sector, 0, 0.0);
        ping.state.DrawDirection = direction;
        ping.state.PlotSampleCount = 499;
        ping.Rows([](int i) { return i == 498 ? 10 : 0; }, [](int i) { return i == 498 ? 30 : 0; },
                  [](int i) { return i == 498 ? 107 : 0; });
        Pixel leading{direction ? -1 : 1000, 0, 0};
        for (const Pixel& p : ping.Plot())
            if (direction ? p.x > leading.x : p.x < leading.x) leading = p;
        EXPECT_EQ(leading.y, 7);
        EXPECT_EQ(leading.value, Blend(t.W7[6], 10, 30, 107)) << direction;
    }
}

TEST(PlotSectorPing, LinesAndSpeedsOutsideTheTablesStayInBounds) {
    Ping fastest(Sector, 4, -0.9);
    fastest.Samples([](int i) { return i % 100; });
    const std::vector<Pixel> expected = fastest.Plot();

    Ping beyond(Sector, 17, -0.9);
    beyond.Samples([](int i) { return i % 100; });
    const std::vector<Pixel> got = beyond.Plot();
    ASSERT_EQ(got.size(), expected.size());

    // A line longer than the history is drawn to the history's end: towards the top-left
    // corner the picture shows samples up to about 580.
    Ping longLine(Sector, 2, -0.53);
    longLine.state.PlotSampleCount = 100000;
    longLine.Samples([](int i) { return i < 560 ? 1 : 77; });
    const std::vector<Pixel> drawn = longLine.Plot();
    EXPECT_TRUE(std::any_of(drawn.begin(), drawn.end(), [](const Pixel& p) { return p.value == 77; }));

    for (int count : {0, -20}) {
        Ping none(Polar, 1, 0.0);
        none.state.PlotSampleCount = count;
        none.Samples([](int) { return 50; });
        EXPECT_TRUE(none.Plot().empty());
    }
    for (float angle : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        Ping broken(Polar, 1, 0.0);
        broken.state.HeadAngleRad = angle;
        broken.Samples([](int) { return 50; });
        EXPECT_TRUE(broken.Plot().empty());
    }
    // A huge but finite angle still draws somewhere inside.
    Ping huge(Polar, 4, 0.0);
    huge.state.HeadAngleRad = 3.0e9f;
    huge.Samples([](int) { return 50; });
    EXPECT_FALSE(huge.Plot().empty());
}

// Pixels outside the wedge keep what earlier pings left there.
TEST(PlotSectorPing, EarlierWedgesPersist) {
    Ping ping(Polar, 3, 0.0);
    ping.state.SectorSize = 0;
    ping.Samples([](int) { return 25; });
    ping.Plot();
    ping.state.HeadAngleRad = 1.5f;
    ping.Samples([](int) { return 70; });
    ping.Plot();
    EXPECT_EQ(ping.image.Image.At(298, 53), 25);   // straight up, radius 200
    EXPECT_EQ(ping.image.Image.At(497, 238), 70);  // about 1.5 rad: (298 + 199.5, 253 - 14.1)
}

}  // namespace
}  // namespace tidemar
