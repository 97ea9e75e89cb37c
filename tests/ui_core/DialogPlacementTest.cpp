// Where the settings dialogs open relative to the main window and the screen.
#include <gtest/gtest.h>

#include "ui_core/DialogPlacement.h"

namespace tidemar {
namespace {

DialogPlacementInput Input(int w, int h, int left, int top) {
    DialogPlacementInput in;
    in.Width = w;
    in.Height = h;
    in.WindowLeft = left;
    in.WindowTop = top;
    in.CaptionHeight = 20;
    in.MenuHeight = 18;
    in.ScreenWidth = 1280;
    in.ScreenHeight = 1024;
    return in;
}

TEST(PlaceDialogPosition, CentredOnThePicture) {
    EXPECT_EQ(PlaceDialogPosition(Input(300, 400, 100, 50)), (DialogPosition{100 + 301 - 150, 50 + 256 - 200 + 20}));
    EXPECT_EQ(PlaceDialogPosition(Input(301, 401, 0, 0)).X, 301 - 150) << "halves round toward zero";
}

TEST(PlaceDialogPosition, CentredOnTheZoomedPicture) {
    // Each row: zoom, where a 300 x 400 dialog over a window at (100, 50) goes.
    const struct {
        int Zoom;
        DialogPosition At;
    } rows[] = {
        {100, {100 + 301 - 150, 50 + 256 - 200 + 20}},
        {150, {100 + 451 - 150, 50 + 384 - 200 + 20}},
        {200, {100 + 602 - 150, 50 + 512 - 200 + 20}},
    };
    for (const auto& row : rows) {
        DialogPlacementInput in = Input(300, 400, 100, 50);
        in.ZoomPercent = row.Zoom;
        EXPECT_EQ(PlaceDialogPosition(in), row.At) << row.Zoom;
    }
}

TEST(PlaceDialogPosition, PulledInsideTheRightAndBottomEdges) {
    // x + w reaches the screen width exactly: moved 11 pixels inside.
    DialogPlacementInput in = Input(400, 300, 1280 - 400 - 301 + 200, 0);
    EXPECT_EQ(PlaceDialogPosition(in).X, 1280 - 400 - 11);
    in.WindowLeft -= 1;
    EXPECT_EQ(PlaceDialogPosition(in).X, 1280 - 400 - 1);

    // top + 256 - h/2 + h + m + c >= screen height.
    in = Input(400, 300, 0, 1024 - 256 + 150 - 300 - 18 - 20);
    EXPECT_EQ(PlaceDialogPosition(in).Y, 1024 - 300 - 20 - 10);
    in.WindowTop -= 1;
    EXPECT_EQ(PlaceDialogPosition(in).Y, in.WindowTop + 256 - 150 + 20);
}

TEST(PlaceDialogPosition, NeverLeftOfOrAboveTheScreen) {
    const DialogPosition position = PlaceDialogPosition(Input(900, 900, -400, -300));
    EXPECT_EQ(position.X, 0);
    EXPECT_EQ(position.Y, 0);
}

TEST(DialogUnits, ToPixels) {
    EXPECT_EQ(DialogUnitsToPixelsX(244, 7), 427);
    EXPECT_EQ(DialogUnitsToPixelsY(230, 16), 460);
}

}  // namespace
}  // namespace tidemar
