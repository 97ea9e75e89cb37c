#include "ui_core/DialogPlacement.h"

namespace tidemar {

namespace {

constexpr int PictureCentreX = 301;
constexpr int PictureCentreY = 256;

}  // namespace

DialogPosition PlaceDialogPosition(const DialogPlacementInput& in) {
    const int w = in.Width;
    const int h = in.Height;
    const int centreX = PictureCentreX * in.ZoomPercent / 100;
    const int centreY = PictureCentreY * in.ZoomPercent / 100;
    int x = in.WindowLeft + centreX - w / 2;
    if (x + w >= in.ScreenWidth) x = in.ScreenWidth - w - 11;
    const int top = in.WindowTop + centreY - h / 2;
    int y = top + in.CaptionHeight;
    if (top + h + in.MenuHeight + in.CaptionHeight >= in.ScreenHeight) y = in.ScreenHeight - h - in.CaptionHeight - 10;
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    return {x, y};
}

}  // namespace tidemar
