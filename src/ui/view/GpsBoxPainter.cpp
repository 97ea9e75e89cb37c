#include "ui/view/GpsBoxPainter.h"

#include <QFontMetrics>

namespace tidemar {

QRect GpsBoxRect(const QFont& font) {
    const QFontMetrics metrics(font);
    using G = GpsBoxGeometry;
    return QRect(QPoint(G::Left, G::Top), QPoint(G::Right - 1, metrics.height() + G::BottomBelowLine - 1));
}

void PaintGpsBox(QPainter& painter, const QFont& font, const GpsBox& box,
                 const std::function<QColor(int)>& paletteColor) {
    using G = GpsBoxGeometry;
    const QRect rect = GpsBoxRect(font);
    painter.save();
    if (!box.Shown) {
        painter.fillRect(rect, paletteColor(G::HiddenColor));
        painter.restore();
        return;
    }
    painter.fillRect(rect, paletteColor(G::FillColor));
    painter.setPen(paletteColor(G::FrameColor));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));

    painter.setFont(font);
    painter.setPen(paletteColor(G::TextColor));
    const int baseline = G::TextTop + QFontMetrics(font).ascent();
    const auto text = [&](int left, const std::string& s) {
        painter.drawText(left, baseline, QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())));
    };
    if (box.NotAvailable) {
        text(G::NotAvailableLeft, GpsNotAvailableText);
    } else {
        text(G::LatitudeLeft, box.LatitudeText);
        text(G::LongitudeLeft, box.LongitudeText);
        if (box.Star) text(G::StarLeft, "*");
    }
    painter.restore();
}

}  // namespace tidemar
