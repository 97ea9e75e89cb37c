#include "ui/view/ImageCursor.h"

#include <QPainter>
#include <QPixmap>

namespace tidemar {

QCursor MakeImageCursor() {
    constexpr int Size = 32;
    constexpr int Centre = 15;
    constexpr int Gap = 3;  // the pixel under the hot spot stays visible
    constexpr int Arm = 11;
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    auto arms = [&](const QColor& color, int widen) {
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawRect(Centre - Arm - widen, Centre - widen, Arm - Gap + 1 + 2 * widen - 1, 1 + 2 * widen);
        p.drawRect(Centre + Gap - widen, Centre - widen, Arm - Gap + 1 + 2 * widen - 1, 1 + 2 * widen);
        p.drawRect(Centre - widen, Centre - Arm - widen, 1 + 2 * widen, Arm - Gap + 1 + 2 * widen - 1);
        p.drawRect(Centre - widen, Centre + Gap - widen, 1 + 2 * widen, Arm - Gap + 1 + 2 * widen - 1);
    };
    arms(Qt::black, 1);
    arms(Qt::white, 0);
    p.end();
    return QCursor(pixmap, Centre, Centre);
}

}  // namespace tidemar
