// The SS waterfall: the row layout by side, the scroll in both directions, cleared
// columns, the cap at 107, the grid bit kept under new rows and the range-zero dashes that
// stay put while the picture scrolls.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "image/ImageGrid.h"
#include "image/Waterfall.h"

namespace tidemar {
namespace {

constexpr uint8_t Old = 99;  // a value no ping below writes

struct Waterfall {
    SonarState state;
    std::unique_ptr<SonarImage> image = std::make_unique<SonarImage>();

    explicit Waterfall(int side, int grid = 0) {
        state.GridMode = DisplayMode::SideScan;
        state.SsSide = side;
        state.Grid = grid;
        state.PlotSampleCount = 499;
        image->Pixels.fill(Old);
    }
    // Sample i of the ping is 1 + (i + ping) % 98: never 0 and never Old.
    void Ping(int ping, bool reverse = false) {
        for (int i = 0; i < SampleLineSize; ++i) state.SampleLine[i] = static_cast<uint8_t>(1 + (i + ping) % 98);
        PlotWaterfallPing(state, *image, reverse);
    }
    static int Sample(int ping, int i) { return 1 + (i + ping) % 98; }
    uint8_t At(int x, int y) const { return image->At(x, y); }
};

TEST(WaterfallRow, SamplesAcrossTheRowBySide) {
    struct Case {
        const char* legend;
        int side;
        int firstColumn, lastColumn, step;
        int lastCleared;
        std::vector<int> untouched;
    } cases[] = {
        {"Port: 595 down to 97", SideScanSide::Port, 595, 97, -1, 95, {96}},
        {"Both is drawn as Port", SideScanSide::Both, 595, 97, -1, 95, {96}},
        {"Stbd: 95 up to 593", 2, 95, 593, +1, 94, {594, 595}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        Waterfall w(c.side);
        w.Ping(0);
        for (int i = 0; i < 499; ++i)
            ASSERT_EQ(w.At(c.firstColumn + i * c.step, 0), Waterfall::Sample(0, i)) << "sample " << i;
        EXPECT_EQ(c.firstColumn + 498 * c.step, c.lastColumn);
        for (int x = 0; x <= c.lastCleared; ++x) ASSERT_EQ(w.At(x, 0), 0) << "column " << x;
        for (int x : c.untouched) EXPECT_EQ(w.At(x, 0), Old) << "column " << x;
        for (int x = 0; x < ImageWidth; ++x) ASSERT_EQ(w.At(x, 1), Old) << "column " << x;
    }
}

TEST(WaterfallRow, SamplesAreHeldTo107) {
    Waterfall w(SideScanSide::Port);
    w.state.SampleLine.fill(0);
    w.state.SampleLine[3] = 200;
    w.state.SampleLine[4] = 107;
    PlotWaterfallPing(w.state, *w.image, false);
    EXPECT_EQ(w.At(592, 0), 107);
    EXPECT_EQ(w.At(591, 0), 107);
}

TEST(WaterfallRow, SampleCountsNoRowCanHold) {
    struct Case {
        const char* legend;
        int side, count;
        int lastWritten;  // -1: none
    } cases[] = {
        {"Port, more samples than columns", SideScanSide::Port, 5000, 96},
        {"Stbd, more samples than columns", SideScanSide::Starboard, 5000, 595},
        {"a negative count", SideScanSide::Port, -7, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        Waterfall w(c.side);
        w.state.PlotSampleCount = c.count;
        w.Ping(0);
        const SsRowLayout layout = SsRowLayoutOf(c.side);
        if (c.lastWritten >= 0) {
            const int i = (c.lastWritten - layout.FirstColumn) * layout.Step;
            EXPECT_EQ(w.At(c.lastWritten, 0), Waterfall::Sample(0, i));
        } else {
            EXPECT_EQ(w.At(layout.FirstColumn, 0), Old);
        }
        EXPECT_EQ(w.At(0, 0), 0);
    }
}

TEST(WaterfallScroll, DownByDefaultUpInReverse) {
    Waterfall down(0);
    down.Ping(0);
    down.Ping(1);
    EXPECT_EQ(down.At(595, 0), Waterfall::Sample(1, 0));
    EXPECT_EQ(down.At(595, 1), Waterfall::Sample(0, 0));
    EXPECT_EQ(down.At(300, 2), Old);
    EXPECT_EQ(down.At(300, 505), Old);

    Waterfall up(0);
    up.Ping(0, true);
    up.Ping(1, true);
    EXPECT_EQ(up.At(595, 505), Waterfall::Sample(1, 0));
    EXPECT_EQ(up.At(595, 504), Waterfall::Sample(0, 0));
    EXPECT_EQ(up.At(300, 503), Old);
    EXPECT_EQ(up.At(0, 504), 0);
}

TEST(WaterfallScroll, After506PingsEveryRowIsReplaced) {
    for (bool reverse : {false, true}) {
        SCOPED_TRACE(reverse ? "reverse" : "forwards");
        Waterfall w(SideScanSide::Port);
        for (int ping = 0; ping < ImageHeight; ++ping) w.Ping(ping, reverse);
        for (int y = 0; y < ImageHeight; ++y) {
            const int ping = reverse ? y : ImageHeight - 1 - y;
            ASSERT_EQ(w.At(595, y), Waterfall::Sample(ping, 0)) << "row " << y;
            ASSERT_EQ(w.At(97, y), Waterfall::Sample(ping, 498)) << "row " << y;
            ASSERT_EQ(w.At(0, y), 0) << "row " << y;
        }
    }
}

TEST(WaterfallGrid, RangeZeroDashesStayPutAndNewRowsKeepTheGrid) {
    Waterfall w(SideScanSide::Port, 1);
    w.image->Pixels.fill(0);
    DrawImageGrid(w.state, *w.image);
    for (int ping = 0; ping < 20; ++ping) {
        w.state.SampleLine.fill(50);
        PlotWaterfallPing(w.state, *w.image, false);
    }
    for (int y = 0; y < 40; ++y) {
        const bool dashed = (y & 8) == 0;
        const bool pinged = y < 20;
        const int zero = (pinged ? 50 : 0) + (dashed ? 128 : 0);
        EXPECT_EQ(w.At(595, y), zero) << "range zero, row " << y;
        EXPECT_EQ(w.At(495, y), (pinged ? 50 : 0) + 128) << "range line, row " << y;
        EXPECT_EQ(w.At(494, y), pinged ? 50 : 0) << "between lines, row " << y;
    }
    EXPECT_EQ(w.At(95, 0), 128);  // a range line in the cleared columns keeps its bit
    EXPECT_EQ(w.At(94, 0), 0);
}

TEST(WaterfallGrid, ReverseRowsAndTheGridOff) {
    struct Case {
        const char* legend;
        int grid;
        bool reverse;
        int row;
        uint8_t rangeZero, rangeLine;
    } cases[] = {
        {"forwards: row 0 is dashed", 1, false, 0, 178, 178},
        {"reverse: row 505 is not dashed", 1, true, 505, 50, 178},
        {"grid off: no bits kept or added", 0, false, 0, 50, 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.legend);
        Waterfall w(SideScanSide::Port, c.grid);
        w.image->Pixels.fill(0);
        SonarState withGrid = w.state;
        withGrid.Grid = 1;
        DrawImageGrid(withGrid, *w.image);
        w.state.SampleLine.fill(50);
        PlotWaterfallPing(w.state, *w.image, c.reverse);
        EXPECT_EQ(w.At(595, c.row), c.rangeZero);
        EXPECT_EQ(w.At(495, c.row), c.rangeLine);
    }
}

}  // namespace
}  // namespace tidemar
