#include "ui/SonarView.h"

#include <QPainter>
#include <QPaintEvent>

#include "image/ColorBar.h"

namespace tidemar {

namespace {
const char* const NoConnectionText = "No Connection";
const QRect ImageRect(ImageOffset, ImageOffset, ImageWidth, ImageHeight);
}  // namespace

SonarView::SonarView(const SonarImage& image, const ImageColorTable& colors, QWidget* parent)
    : QWidget(parent),
      image_(image),
      colors_(colors),
      shown_(image.Pixels.data(), ImageWidth, ImageHeight, ImageWidth, QImage::Format_Indexed8) {
    setFixedSize(ClientWidth, ClientHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    frameTimer_.setSingleShot(true);
    frameTimer_.setInterval(ImageRepaintMilliseconds);
    connect(&frameTimer_, &QTimer::timeout, this, &SonarView::ShowImage);
    ColorsChanged();
}

QColor SonarView::PaletteColor(int index) const {
    const RgbQuad& entry = colors_[static_cast<size_t>(index & 0xFF)];
    return QColor(entry.Red, entry.Green, entry.Blue);
}

void SonarView::ColorsChanged() {
    QList<QRgb> table(256);
    for (int i = 0; i < 256; ++i) table[i] = PaletteColor(i).rgb();
    shown_.setColorTable(table);
    update();
}

void SonarView::ScheduleImageRepaint() {
    if (frameTimer_.isActive()) return;
    ++repaintsScheduled_;
    frameTimer_.start();
}

void SonarView::ShowImage() { update(ImageRect); }

void SonarView::SetNoConnectionShown(bool shown) {
    if (shown == noConnection_) return;
    noConnection_ = shown;
    update(NoConnectionRect().adjusted(-1, -1, 1, 1));
}

void SonarView::SetPingMark(bool on) {
    if (on == pingMark_) return;
    pingMark_ = on;
    update(PingMarkRect());
}

QRect SonarView::NoConnectionRect() const {
    const QFontMetrics metrics(font());
    const int w = metrics.horizontalAdvance(QString::fromLatin1(NoConnectionText));
    const int h = metrics.height();
    // From x 296 - w/2 to 307 + w/2, y 512 to 513 + character height + 2.
    return QRect(QPoint(296 - w / 2, 512), QPoint(307 + w / 2 - 1, 513 + h + 2 - 1));
}

QRect SonarView::PingMarkRect() const {
    const QFontMetrics metrics(font());
    const int cw = metrics.horizontalAdvance(QLatin1Char('X'));
    return QRect(QPoint(600 - 19 * cw, 511), QPoint(600 - 17 * cw - 1, 514 + metrics.height() - 1));
}

void SonarView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.fillRect(dirty, PaletteColor(BackgroundIndex));

    painter.fillRect(QRect(FrameLeft, FrameTop, FrameWidth, FrameHeight), PaletteColor(FrameIndex));
    // The buffer is read in place: it belongs to the main thread, as does painting.
    painter.drawImage(ImageRect.topLeft(), shown_);

    // Most repaints are the image alone, many times a second: the bar only when touched.
    const QRect barRect(ColorBarLeft, ColorBarTop, ColorBarRight - ColorBarLeft + 1, ColorBarRows);
    const auto bar = ColorBarIndices();
    for (int k = 0; k < ColorBarRows && dirty.intersects(barRect); ++k)
        painter.fillRect(QRect(ColorBarLeft, ColorBarTop + k, ColorBarRight - ColorBarLeft + 1, 1),
                         PaletteColor(bar[static_cast<size_t>(k)]));

    const QFontMetrics metrics(font());
    if (noConnection_) {
        const QRect box = NoConnectionRect();
        painter.fillRect(box, PaletteColor(127));
        painter.setPen(PaletteColor(123));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setPen(Qt::white);
        const int w = metrics.horizontalAdvance(QString::fromLatin1(NoConnectionText));
        painter.drawText(301 - w / 2, 513 + metrics.ascent(), QString::fromLatin1(NoConnectionText));
    }
    if (pingMark_) {
        painter.setPen(Qt::white);
        painter.drawText(PingMarkRect(), Qt::AlignCenter, QStringLiteral("*"));
    }
}

}  // namespace tidemar
