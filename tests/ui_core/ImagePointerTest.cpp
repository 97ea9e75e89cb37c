// The pointer over the picture: arrow-key acceleration, and what moves and clicks do to
// the zoom, the measurement lock and the read-out.
#include <gtest/gtest.h>

#include <vector>

#include "ui_core/ImagePointer.h"

namespace tidemar {
namespace {

const PanelLayout Layout = ComputePanelLayout(PanelMetrics{});

TEST(CursorStep, GrowsByHalfAPixelPerKeyPressUpToSixteen) {
    float step = CursorStepStart;
    std::vector<float> steps;
    for (int press = 0; press < 34; ++press) {
        steps.push_back(step);
        step = NextCursorStep(step);
    }
    EXPECT_FLOAT_EQ(steps[0], 1.0f);
    EXPECT_FLOAT_EQ(steps[1], 1.5f);
    EXPECT_FLOAT_EQ(steps[2], 2.0f);
    EXPECT_FLOAT_EQ(steps[30], 16.0f);
    EXPECT_FLOAT_EQ(steps[31], 16.0f);  // held there
    EXPECT_FLOAT_EQ(steps[33], 16.0f);
}

TEST(CursorStep, ArrowKeysTruncateTheNewCoordinate) {
    // Right from 100: 1 -> 101, 1.5 -> 102.5 -> 102, 2 -> 104, 2.5 -> 106.5 -> 106.
    Point at{100, 200};
    float step = CursorStepStart;
    std::vector<int> xs;
    for (int press = 0; press < 4; ++press) {
        at = ArrowKeyTarget(at, ArrowKey::Right, step);
        xs.push_back(at.X);
        step = NextCursorStep(step);
    }
    EXPECT_EQ(xs, (std::vector<int>{101, 102, 104, 106}));
    EXPECT_EQ(at.Y, 200);
    // Left and up truncate towards zero too: 10 - 1.5 = 8.5 -> 8.
    EXPECT_EQ(ArrowKeyTarget({10, 10}, ArrowKey::Left, 1.5f), (Point{8, 10}));
    EXPECT_EQ(ArrowKeyTarget({10, 10}, ArrowKey::Up, 1.5f), (Point{10, 8}));
    EXPECT_EQ(ArrowKeyTarget({10, 10}, ArrowKey::Down, 16.0f), (Point{10, 26}));
}

TEST(ImagePointer, MoveOverThePictureMeasuresAndZooms) {
    ImagePointer p;
    p.MenuOpen = true;
    const PointerActions a = PointerMoved(p, Layout, 200, 300, true, false);
    EXPECT_FALSE(p.MenuOpen);
    EXPECT_TRUE(p.CursorInImage);
    EXPECT_TRUE(a.MeasureTool);
    EXPECT_EQ(a.MeasureAt, (Point{200, 300}));
    EXPECT_TRUE(a.Zoom);
    EXPECT_FALSE(a.DrawMeasureLine);  // no origin fixed
    // Near the corner the zoom centre is held where the square stays in the picture.
    const PointerActions corner = PointerMoved(p, Layout, 3, 508, true, false);
    EXPECT_EQ(corner.ZoomAt, (Point{43, 469}));
    EXPECT_EQ(p.ZoomCentre, (Point{43, 469}));
    // Without the zoom there is nothing to zoom.
    EXPECT_FALSE(PointerMoved(p, Layout, 200, 300, false, false).Zoom);
}

TEST(ImagePointer, LeavingThePictureEmptiesTheReadoutOnce) {
    ImagePointer p;
    PointerMoved(p, Layout, 598, 508, true, false);  // last pixel of the image area
    EXPECT_TRUE(p.CursorInImage);
    const PointerActions leave = PointerMoved(p, Layout, 599, 508, true, false);
    EXPECT_FALSE(p.CursorInImage);
    EXPECT_TRUE(leave.MeasureTool);
    EXPECT_FALSE(leave.Zoom);
    const PointerActions again = PointerMoved(p, Layout, 700, 100, true, false);
    EXPECT_FALSE(again.MeasureTool);
}

TEST(ImagePointer, LeftClickFreezesAndUnfreezesTheZoom) {
    ImagePointer p;
    PointerMoved(p, Layout, 100, 100, true, false);
    PointerActions click = LeftClickInImage(p, 100, 100, true);
    EXPECT_TRUE(p.ZoomFrozen);
    EXPECT_FALSE(click.Zoom);
    EXPECT_FALSE(click.MeasureTool);
    // Frozen: moves change neither the zoom nor the read-out, and pings leave it alone.
    const PointerActions moved = PointerMoved(p, Layout, 300, 300, true, false);
    EXPECT_FALSE(moved.Zoom);
    EXPECT_FALSE(moved.MeasureTool);
    EXPECT_FALSE(PingRefreshesZoom(p, true));
    EXPECT_EQ(p.ZoomCentre, (Point{100, 100}));
    click = LeftClickInImage(p, 250, 260, true);
    EXPECT_FALSE(p.ZoomFrozen);
    EXPECT_TRUE(click.Zoom);
    EXPECT_EQ(click.ZoomAt, (Point{250, 260}));
    EXPECT_TRUE(click.MeasureTool);
    // With the zoom off a click never freezes anything.
    EXPECT_FALSE(LeftClickInImage(p, 250, 260, false).Zoom);
    EXPECT_FALSE(p.ZoomFrozen);
}

TEST(ImagePointer, MenuOpenStopsPingZoomUntilTheNextMove) {
    ImagePointer p;
    EXPECT_TRUE(PingRefreshesZoom(p, true));
    EXPECT_FALSE(PingRefreshesZoom(p, false));
    p.MenuOpen = true;
    EXPECT_FALSE(PingRefreshesZoom(p, true));
    PointerMoved(p, Layout, 700, 100, true, false);  // even outside the picture
    EXPECT_TRUE(PingRefreshesZoom(p, true));
}

TEST(ImagePointer, RightClickFixesAndReleasesTheOrigin) {
    ImagePointer p;
    p.ZoomFrozen = true;
    PointerActions a = RightClickInImage(p, 150, 160);
    EXPECT_FALSE(p.ZoomFrozen);
    EXPECT_TRUE(p.MeasureLock);
    EXPECT_EQ(p.Origin, (Point{150, 160}));
    EXPECT_EQ(p.LastDrawn, (Point{150, 160}));
    EXPECT_TRUE(a.DrawMeasureLine);
    EXPECT_TRUE(a.MeasureTool);
    // The line follows the pointer; in SS it stays on the origin's row.
    a = PointerMoved(p, Layout, 250, 300, true, false);
    EXPECT_EQ(a.LineTo, (Point{250, 300}));
    a = PointerMoved(p, Layout, 250, 300, true, true);
    EXPECT_EQ(a.LineTo, (Point{250, 160}));
    EXPECT_EQ(a.MeasureAt, (Point{250, 160}));
    // A second right click releases it; the line is taken away.
    a = RightClickInImage(p, 300, 300);
    EXPECT_FALSE(p.MeasureLock);
    EXPECT_TRUE(a.DrawMeasureLine);
    EXPECT_EQ(p.Origin, (Point{150, 160}));
}

TEST(ImagePointer, DataSourceChangeReleasesTheOriginAndArmsTheLine) {
    ImagePointer p;
    RightClickInImage(p, 150, 160);
    ReleaseMeasureLock(p, false);  // SS entered
    EXPECT_FALSE(p.MeasureLock);
    EXPECT_FALSE(p.MeasureLineArmed);
    RightClickInImage(p, 150, 160);
    ReleaseMeasureLock(p, true);
    EXPECT_FALSE(p.MeasureLock);
    EXPECT_TRUE(p.MeasureLineArmed);
}

TEST(ImagePointer, CursorShapes) {
    ImagePointer p;
    EXPECT_EQ(CursorFor(Layout, p, 3, 3, false), PointerCursor::Image);
    EXPECT_EQ(CursorFor(Layout, p, 598, 508, false), PointerCursor::Image);
    EXPECT_EQ(CursorFor(Layout, p, 2, 100, false), PointerCursor::Arrow);
    EXPECT_EQ(CursorFor(Layout, p, 700, 100, false), PointerCursor::Arrow);
    EXPECT_EQ(CursorFor(Layout, p, 700, 100, true), PointerCursor::Busy);
    EXPECT_EQ(CursorFor(Layout, p, 100, 100, true), PointerCursor::Busy);
    p.MeasureLock = true;
    EXPECT_EQ(CursorFor(Layout, p, 100, 100, false), PointerCursor::Hidden);
    EXPECT_EQ(CursorFor(Layout, p, 700, 100, false), PointerCursor::Arrow);
}

}  // namespace
}  // namespace tidemar
