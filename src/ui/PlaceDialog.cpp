#include "ui/PlaceDialog.h"

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
    if (const auto* main = qobject_cast<const QMainWindow*>(window))
        if (const QWidget* menu = main->menuWidget()) in.MenuHeight = menu->height();
    in.ScreenWidth = screenRect.width();
    in.ScreenHeight = screenRect.height();
    const DialogPosition position = PlaceDialogPosition(in);
    dialog->move(screenRect.left() + position.X, screenRect.top() + position.Y + drop);
}

}  // namespace tidemar
