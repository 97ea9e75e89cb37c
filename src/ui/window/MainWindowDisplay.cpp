// MainWindow: how large and in which colours the window is shown, and where.
#include <algorithm>

#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>

#include "ui/view/NightPalette.h"
#include "ui/window/MainMenu.h"
#include "ui/window/MainWindow.h"
#include "ui_core/WindowZoom.h"

namespace tidemar {

void MainWindow::ShowDisplayMarks() {
    Check(Command::Zoom100, state_.WindowZoom == 100);
    Check(Command::Zoom150, state_.WindowZoom == 150);
    Check(Command::Zoom200, state_.WindowZoom == 200);
    Check(Command::ZoomFit, state_.WindowZoom == WindowZoomFit);
    Check(Command::NightColors, state_.NightColors == 1);
}

void MainWindow::SetWindowZoom(int windowZoom) {
    state_.WindowZoom = windowZoom;
    ShowDisplayMarks();
    ApplyDisplaySettings();
}

void MainWindow::SetNightColors(bool night) {
    state_.NightColors = night ? 1 : 0;
    ShowDisplayMarks();
    ApplyDisplaySettings();
}

void MainWindow::ApplyDisplaySettings() {
    const int percent = ZoomPercentFor(state_.WindowZoom, FittingZoom());
    if (percent != view_->ZoomPercent()) {
        view_->SetZoom(percent);
        // The window follows its client area at once, not when the layout next runs.
        if (layout()) layout()->activate();
    }
    view_->SetNightColors(state_.NightColors == 1);
    ApplyNightPalette(state_.NightColors == 1);
    diagnostics_->update();
    scanWindow_->update();
}

int MainWindow::FittingZoom() const {
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!shown) return 100;
    const QRect available = shown->availableGeometry();
    // What does not scale: the frame and caption (known once shown; a guess before) and the menu bar.
    const QSize frame = isVisible() ? frameGeometry().size() - geometry().size() : QSize(16, 40);
    const int menu = menuBar() ? menuBar()->sizeHint().height() : 0;
    return FitWindowZoom(available.width(), available.height(), frame.width(), frame.height() + menu);
}

void MainWindow::RestoreWindowPosition() {
    if (state_.WindowX == NoWindowPosition || state_.WindowY == NoWindowPosition) return;
    // A screen unplugged since, or a smaller desktop: the window system places it instead.
    const QPoint corner(state_.WindowX, state_.WindowY);
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().contains(corner)) {
            move(corner);
            return;
        }
    }
}

void MainWindow::KeepWindowPosition() {
    if (!isVisible()) return;  // never shown: nothing to remember
    const QPoint corner = pos();
    state_.WindowX = std::clamp(corner.x(), NoWindowPosition + 1, 32767);
    state_.WindowY = std::clamp(corner.y(), NoWindowPosition + 1, 32767);
}

}  // namespace tidemar
