#include "ui/window/Splash.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSplashScreen>
#include <QTimer>

#include "ui/view/Logo.h"

namespace tidemar {

QPointer<QWidget> ShowSplash(bool night) {
    // One and a half times the logo box, as the logo is shown large at start-up.
    const QSize size(480, 240);
    const qreal ratio = qApp->primaryScreen() ? qApp->primaryScreen()->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::black);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintLogo(painter, QRect(QPoint(0, 0), size), night);
    }
    auto* splash = new QSplashScreen(pixmap, Qt::WindowStaysOnTopHint);
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();
    QTimer::singleShot(SplashMilliseconds, splash, &QWidget::close);
    return splash;
}

}  // namespace tidemar
