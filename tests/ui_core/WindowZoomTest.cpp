// The zoom "Fit to Screen" chooses, and the zoom a setting asks for.
#include <gtest/gtest.h>

#include "core/SonarState.h"
#include "ui_core/WindowZoom.h"

namespace tidemar {
namespace {

TEST(FitWindowZoom, LargestLevelThatFitsTheAvailableArea) {
    // Each row: available width and height, frame width and height (menu included), the zoom.
    const struct {
        int Width, Height, ExtraWidth, ExtraHeight, Zoom;
    } rows[] = {
        {2560, 1400, 10, 60, 200},  // a 2560 x 1440 laptop, task bar taken off
        {1920, 1040, 10, 60, 150},  // full HD: 1200 rows are too many
        {1610, 1260, 10, 60, 200},  // 200% to the pixel
        {1609, 1260, 10, 60, 150},  // one column short
        {1610, 1259, 10, 60, 150},  // one row short
        {1366, 728, 10, 60, 100},   // 150% needs 960 rows
        {640, 480, 10, 60, 100},    // nothing fits: 100% all the same
    };
    for (const auto& row : rows)
        EXPECT_EQ(FitWindowZoom(row.Width, row.Height, row.ExtraWidth, row.ExtraHeight), row.Zoom)
            << row.Width << " x " << row.Height;
}

TEST(ZoomPercentFor, FitTakesTheFittingLevelOthersTheirOwn) {
    EXPECT_EQ(ZoomPercentFor(WindowZoomFit, 150), 150);
    EXPECT_EQ(ZoomPercentFor(200, 100), 200);
    EXPECT_EQ(ZoomPercentFor(100, 200), 100);
}

}  // namespace
}  // namespace tidemar
