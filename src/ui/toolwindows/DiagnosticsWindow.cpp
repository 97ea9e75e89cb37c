#include "ui/toolwindows/DiagnosticsWindow.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>

#include "image/ColorTables.h"
#include "image/NightColors.h"

namespace tidemar {

namespace {

QColor Palette(int index, bool night) {
    const RgbColor day = PaletteColor(0, index);
    const RgbColor c = night ? NightColor(index, day) : day;
    return QColor(c.Red, c.Green, c.Blue);
}

}  // namespace

std::pair<int, int> MainWindowCharacterCell(const QFont& font) {
    const QFontMetrics metrics(font);
    return {metrics.horizontalAdvance(QLatin1Char('X')), metrics.height()};
}

QFont FittedFont(QFont base, const std::vector<std::pair<QString, int>>& textsAndWidths) {
    base.setStyleStrategy(QFont::NoAntialias);
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QFontMetrics metrics(base);
        const bool fits = std::all_of(textsAndWidths.begin(), textsAndWidths.end(), [&](const auto& entry) {
            return metrics.horizontalAdvance(entry.first) <= entry.second;
        });
        if (fits) break;
        if (base.pointSizeF() > 0) {
            if (base.pointSizeF() <= 5.0) break;
            base.setPointSizeF(base.pointSizeF() * 0.92);
        } else {
            if (base.pixelSize() <= 7) break;
            base.setPixelSize(base.pixelSize() * 92 / 100);
        }
    }
    return base;
}

DiagnosticsWindow::DiagnosticsWindow(const SonarState& state, QWidget* parent)
    : QWidget(parent, Qt::Tool), state_(state) {
    setWindowTitle(QString::fromLatin1(DiagnosticsTitle));
    const auto [w, h] = MainWindowCharacterCell(font());
    geometry_.CharWidth = w;
    geometry_.LineHeight = h;
    const Point size = geometry_.ClientSize();
    setFixedSize(size.X, size.Y);
    setAttribute(Qt::WA_OpaquePaintEvent);

    std::vector<std::pair<QString, int>> fit;
    const int labelRoom = geometry_.DashLeft() - geometry_.LabelLeft() - 2;
    for (const DiagnosticsRow& row : DiagnosticsRows(SonarState{}))
        fit.emplace_back(QString::fromLatin1(row.Label), labelRoom);
    fit.emplace_back(QStringLiteral("0x1F (0x1F)"), size.X - 11 - geometry_.ValueLeft());
    textFont_ = FittedFont(font(), fit);
}

void DiagnosticsWindow::Refresh() {
    ++refreshes_;
    update();
}

void DiagnosticsWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // At night black text on the dark fill could not be read: it is the dim red of texts.
    const bool night = state_.NightColors == 1;
    const QColor background = Palette(PaletteReadoutFill, night);
    const QColor text =
        night ? QColor(NightTextColor.Red, NightTextColor.Green, NightTextColor.Blue) : Palette(PaletteBlack, false);
    painter.fillRect(rect(), background);
    painter.setFont(textFont_);
    painter.setPen(text);
    const QFontMetrics metrics(textFont_);
    auto draw = [&](int x, int top, const QString& s) { painter.drawText(x, top + metrics.ascent(), s); };

    const auto rows = DiagnosticsRows(state_);
    for (int r = 0; r < DiagnosticsRowCount; ++r) {
        const int top = geometry_.RowTop(r);
        const DiagnosticsRow& row = rows[static_cast<size_t>(r)];
        draw(geometry_.LabelLeft(), top, QString::fromLatin1(row.Label));
        draw(geometry_.DashLeft(), top, QStringLiteral("-"));
        const QString value = QString::fromStdString(row.Value);
        const bool boxed =
            r < DiagnosticsHeaderRows ||
            (r == DiagnosticsRepRateRow && metrics.horizontalAdvance(value) < geometry_.RepRateBoxLimit());
        if (boxed) {
            const Rect box = geometry_.ValueBox(r, width());
            painter.fillRect(QRect(box.Left, box.Top, box.Width(), box.Height()), background);
        }
        draw(geometry_.ValueLeft(), top, value);
    }
}

}  // namespace tidemar
