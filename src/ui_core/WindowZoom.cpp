#include "ui_core/WindowZoom.h"

#include <iterator>

#include "core/SonarState.h"

namespace tidemar {

int FitWindowZoom(int availableWidth, int availableHeight, int extraWidth, int extraHeight) {
    for (auto level = std::rbegin(WindowZoomLevels); level != std::rend(WindowZoomLevels); ++level) {
        const int width = 800 * *level / 100 + extraWidth;
        const int height = 600 * *level / 100 + extraHeight;
        if (width <= availableWidth && height <= availableHeight) return *level;
    }
    return 100;
}

int ZoomPercentFor(int windowZoom, int fittingPercent) {
    return windowZoom == WindowZoomFit ? fittingPercent : windowZoom;
}

}  // namespace tidemar
