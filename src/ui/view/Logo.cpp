#include "ui/view/Logo.h"

#include <algorithm>

#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainterPath>

#include "image/NightColors.h"

namespace tidemar {

namespace {

struct LogoColors {
    QColor Deep, Shallow, Fan, Echo, Name, Subtitle;
};

const LogoColors DayColors{QColor(8, 24, 48),    QColor(20, 70, 110),   QColor(20, 110, 170),
                           QColor(80, 220, 160), QColor(235, 240, 245), QColor(150, 200, 230)};

QColor Night(const QColor& day) {
    const RgbColor c = NightShade({day.red(), day.green(), day.blue()});
    return QColor(c.Red, c.Green, c.Blue);
}

LogoColors NightColors() {
    const LogoColors& d = DayColors;
    return {Night(d.Deep), Night(d.Shallow), Night(d.Fan), Night(d.Echo), Night(d.Name), Night(d.Subtitle)};
}

// A font of the given pixel size, made smaller until the text fits the width.
QFont FittingFont(const QString& text, int pixelSize, int width, bool bold) {
    QFont font(QStringLiteral("Sans Serif"));
    font.setBold(bold);
    font.setPixelSize(std::max(6, pixelSize));
    while (font.pixelSize() > 6 && QFontMetrics(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

// The fan: a sector of a sonar sweep, apex at the bottom left, with range rings and a
// bright echo line.
void PaintFan(QPainter& p, const QRectF& square, const LogoColors& colors) {
    const QPointF apex(square.left() + square.width() * 0.5, square.bottom());
    const double radius = square.height() * 0.95;
    const QRectF circle(apex.x() - radius, apex.y() - radius, 2 * radius, 2 * radius);
    QPainterPath fan;
    fan.moveTo(apex);
    fan.arcTo(circle, 45.0, 90.0);
    fan.closeSubpath();
    p.fillPath(fan, colors.Fan);
    p.setPen(QPen(colors.Echo, std::max(1.0, radius / 24)));
    for (int ring = 1; ring <= 3; ++ring) {
        const double r = radius * ring / 3.0;
        p.drawArc(QRectF(apex.x() - r, apex.y() - r, 2 * r, 2 * r), 45 * 16, 90 * 16);
    }
    p.setPen(QPen(colors.Name, std::max(1.0, radius / 16)));
    const QPointF tip(apex.x() + radius * 0.38, apex.y() - radius * 0.92);
    p.drawLine(apex, tip);
}

}  // namespace

void PaintLogo(QPainter& painter, const QRect& area, bool night) {
    if (area.width() < 4 || area.height() < 4) return;
    const LogoColors colors = night ? NightColors() : DayColors;
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    QLinearGradient sea(area.topLeft(), area.bottomLeft());
    sea.setColorAt(0.0, colors.Shallow);
    sea.setColorAt(1.0, colors.Deep);
    painter.fillRect(area, sea);

    const int margin = std::max(2, area.height() / 10);
    const QRect inner = area.adjusted(margin, margin, -margin, -margin);
    const int fan = std::min(inner.height(), inner.width() / 3);
    PaintFan(painter, QRectF(inner.left(), inner.top() + (inner.height() - fan) / 2.0, fan, fan), colors);

    const QRect text(inner.left() + fan + margin, inner.top(), inner.width() - fan - margin, inner.height());
    const QString name = QString::fromLatin1(LogoName);
    const QString subtitle = QString::fromLatin1(LogoSubtitle);
    const QFont nameFont = FittingFont(name, text.height() * 55 / 100, text.width(), true);
    const QFont subtitleFont = FittingFont(subtitle, text.height() * 32 / 100, text.width(), false);
    const QFontMetrics nameMetrics(nameFont);
    const QFontMetrics subtitleMetrics(subtitleFont);
    const int used = nameMetrics.height() + subtitleMetrics.height();
    const int top = text.top() + std::max(0, (text.height() - used) / 2);
    painter.setFont(nameFont);
    painter.setPen(colors.Name);
    painter.drawText(text.left(), top + nameMetrics.ascent(), name);
    painter.setFont(subtitleFont);
    painter.setPen(colors.Subtitle);
    painter.drawText(text.left(), top + nameMetrics.height() + subtitleMetrics.ascent(), subtitle);
    painter.restore();
}

}  // namespace tidemar
