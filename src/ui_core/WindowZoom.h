#pragma once
// How large the window is drawn: the zoom levels of the Zoom menu and the choice of
// "Fit to Screen".

namespace tidemar {

// The largest zoom level (percent) at which the window, 800 x 600 client pixels scaled
// plus `extraWidth` x `extraHeight` that do not scale (frame, caption, menu bar), fits an
// area of `availableWidth` x `availableHeight`; 100 when none does.
int FitWindowZoom(int availableWidth, int availableHeight, int extraWidth, int extraHeight);

// The zoom level a WindowZoom setting asks for (WindowZoomFit: the fitting one).
int ZoomPercentFor(int windowZoom, int fittingPercent);

}  // namespace tidemar
