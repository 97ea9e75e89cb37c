#include "ui/dialogs/PlaceDialog.h"

#include <algorithm>

#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QWidget>

#include "ui_core/DialogPlacement.h"

namespace tidemar {

void PlaceDialog(QWidget* dialog, const QWidget* window, int widthUnits, int heightUnits, int drop) {
    const QFontMetrics metrics(dialog->font());
    const QSize templateSize(DialogUnitsToPixelsX(widthUnits, metrics.averageCharWidth()),
                             DialogUnitsToPixelsY(heightUnits, metrics.height()));
    dialog->resize(templateSize.expandedTo(dialog->minimumSizeHint()));
    if (!window) return;

    const QScreen* screen = window->screen();
    const QRect screenRect = screen ? screen->geometry() : QRect(0, 0, 1 << 16, 1 << 16);
    const QRect frame = window->frameGeometry();
    DialogPlacementInput in;
    in.Width = dialog->width();
    in.Height = dialog->height();
    in.WindowLeft = frame.left() - screenRect.left();
    in.WindowTop = frame.top() - screenRect.top();
    in.CaptionHeight = std::max(0, window->geometry().top() - frame.top());
    if (const auto* main = qobject_cast<const QMainWindow*>(window)) {
        if (const QWidget* menu = main->menuWidget()) in.MenuHeight = menu->height();
        // The client area is 800 pixels wide at 100%, wider as the window's zoom draws it.
        if (const QWidget* client = main->centralWidget()) in.ZoomPercent = client->width() * 100 / 800;
    }
    in.ScreenWidth = screenRect.width();
    in.ScreenHeight = screenRect.height();
    const DialogPosition position = PlaceDialogPosition(in);
    dialog->move(screenRect.left() + position.X, screenRect.top() + position.Y + drop);
}

void PlaceDialogOver(QWidget& dialog, const QWidget* over) {
    if (!over) return;
    QRect placed(QPoint(0, 0), dialog.size());
    placed.moveCenter(over->frameGeometry().center());
    if (const QScreen* screen = over->screen()) {
        const QRect available = screen->availableGeometry();
        placed.moveLeft(std::max(available.left(), std::min(placed.left(), available.right() - placed.width())));
        placed.moveTop(std::max(available.top(), std::min(placed.top(), available.bottom() - placed.height())));
    }
    dialog.move(placed.topLeft());
}

}  // namespace tidemar
