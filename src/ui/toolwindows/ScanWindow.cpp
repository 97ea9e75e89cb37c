#include "ui/toolwindows/ScanWindow.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "image/NightColors.h"
#include "ui/view/ControlPanelPainter.h"
#include "ui/toolwindows/DiagnosticsWindow.h"
#include "ui/toolwindows/HeadIdDialog.h"
#include "ui/view/PanelRect.h"
#include "ui/dialogs/PlaceDialog.h"
#include "ui/toolwindows/ProgramHeadDialog.h"

namespace tidemar {

ScanWindow::ScanWindow(SonarState& state, Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Tool), state_(state), prompts_(prompts) {
    setWindowTitle(QString::fromLatin1(ScanWindowTitle));
    const auto [w, h] = MainWindowCharacterCell(font());
    geometry_.CharWidth = w;
    geometry_.LineHeight = h;
    PanelMetrics cells;
    cells.CharWidth = w;
    cells.CharHeight = h;
    panelLayout_ = ComputePanelLayout(cells);
    InitImageColorTable(colors_);
    const Point size = geometry_.ClientSize();
    setFixedSize(size.X, size.Y);
    setAttribute(Qt::WA_OpaquePaintEvent);

    std::vector<std::pair<QString, int>> fit;
    fit.emplace_back(QString::fromStdString(MemoryLabel(63)), 7 * w + 1);
    fit.emplace_back(QStringLiteral("0xFF"), 4 * w - 2);
    fit.emplace_back(QStringLiteral("ComStatus"), 7 * w + 1);
    for (const char* label : HeadInformationLabels) fit.emplace_back(QString::fromLatin1(label), 10 * w + 1);
    fit.emplace_back(QStringLiteral("Profiling - (Pencil Beam)"), 14 * w - 2);
    fit.emplace_back(QString::fromLatin1(ChangeHeadIdLabel), geometry_.ChangeHeadIdButton().Width() - 6);
    textFont_ = FittedFont(font(), fit);
    values_ = ScanWindowValuesOf(state_);
}

void ScanWindow::Refresh() {
    marks_.Update(state_.ScanHeadID, state_.ReturnHeadID);
    values_ = ScanWindowValuesOf(state_);
    update();
}

void ScanWindow::ChangeHeadId() { Press(Button::ChangeHeadId); }
void ScanWindow::ProgramHead() { Press(Button::ProgramHead); }

void ScanWindow::Press(Button button) {
    if (pressed_ != Button::None) return;
    pressed_ = button;
    repaint();
    if (button == Button::ChangeHeadId) {
        HeadIdDialog dialog(state_, this);
        PlaceDialogOver(dialog, this);
        dialog.exec();
    } else {
        ProgramHeadDialog dialog(state_, prompts_, this);
        PlaceDialogOver(dialog, this);
        dialog.exec();
    }
    pressed_ = Button::None;
    update();
}

void ScanWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint p = event->position().toPoint();
    if (geometry_.HitsChangeHeadId(p.x(), p.y()))
        ChangeHeadId();
    else if (geometry_.HitsProgramHead(p.x(), p.y()))
        ProgramHead();
}

void ScanWindow::closeEvent(QCloseEvent* event) {
    state_.HeadScanMode = 0;
    state_.ScanHeadID = FirstHeadAddress;
    event->accept();
    emit Closed();
}

void ScanWindow::showEvent(QShowEvent* event) {
    // Opened (not merely restored from a minimised state): the values as they stand now and
    // the polled box marked at the first paint, without the marks of the last opening.
    if (!event->spontaneous()) marks_.Open(state_.ScanHeadID);
    values_ = ScanWindowValuesOf(state_);
    QWidget::showEvent(event);
}

void ScanWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // At night the fill is dark: the black labels become a red-grey, the white values dim red.
    const bool night = state_.NightColors == 1;
    const ImageColorTable shown = night ? NightColorTable(colors_) : colors_;
    auto color = [&shown](int index) {
        const RgbQuad& c = shown[static_cast<size_t>(index & 0xFF)];
        return QColor(c.Red, c.Green, c.Blue);
    };
    const QColor background = color(ReadoutFillIndex);
    const QColor black = night ? color(ButtonFaceIndex) : color(BlackIndex);
    const QColor white = night ? QColor(NightTextColor.Red, NightTextColor.Green, NightTextColor.Blue) : Qt::white;
    const QFontMetrics metrics(textFont_);
    painter.fillRect(rect(), background);
    painter.setFont(textFont_);
    auto draw = [&](int x, int top, const QString& s, const QColor& c) {
        painter.setPen(c);
        painter.drawText(x, top + metrics.ascent(), s);
    };
    auto box = [&](const Rect& r, int pen, int brush) {
        painter.fillRect(ToQRect(r), color(brush));
        painter.setPen(color(pen));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1);
    };
    const ScanWindowGeometry& g = geometry_;

    draw(g.ComStatusLabel().X, g.ComStatusLabel().Y, QStringLiteral("ComStatus"), black);
    draw(g.ComStatusDash().X, g.ComStatusDash().Y, QStringLiteral("-"), black);
    for (int i = 0; i < HeadAddressCount; ++i) {
        const AddressBoxLook& look = marks_.Look(i);
        box(g.AddressBox(i), look.Pen, look.Brush);
        const QString number = QString::number(i + 1);
        draw(g.AddressNumberCentre(i) - metrics.horizontalAdvance(number) / 2, g.AddressNumberTop(), number, black);
    }
    for (int row = 0; row < HeadInformationRows; ++row) {
        draw(10, g.InformationTop(row), QString::fromLatin1(HeadInformationLabels[static_cast<size_t>(row)]), black);
        draw(g.InformationDashLeft(), g.InformationTop(row), QStringLiteral("-"), black);
    }
    for (int row = 0; row < MemoryRows; ++row) {
        for (int column = 0; column < MemoryColumns; ++column) {
            draw(g.MemoryLabelLeft(column), g.MemoryTop(row), QString::fromStdString(MemoryLabel(row + 16 * column)),
                 black);
            draw(g.MemoryDashLeft(column), g.MemoryTop(row), QStringLiteral("-"), black);
        }
    }

    // The values, in white over background boxes.
    const Rect status = g.ComStatusBox();
    painter.fillRect(ToQRect(status), background);
    draw(status.Left, status.Top, QString::fromStdString(values_.ComStatus), white);
    if (values_.ShowsInformation) {
        for (int row = 0; row < HeadInformationRows; ++row) {
            const Rect r = g.InformationBox(row);
            painter.fillRect(ToQRect(r), background);
            draw(r.Left, r.Top, QString::fromStdString(values_.Information[static_cast<size_t>(row)]), white);
        }
    }
    if (values_.ShowsMemory) {
        for (int row = 0; row < MemoryRows; ++row) {
            for (int column = 0; column < MemoryColumns; ++column) {
                const Rect r = g.MemoryBox(row, column);
                painter.fillRect(ToQRect(r), background);
                draw(r.Left, r.Top, QString::fromStdString(values_.Memory[static_cast<size_t>(row + 16 * column)]),
                     white);
            }
        }
    }

    ControlPanelPainter buttons(painter, panelLayout_, shown, textFont_, textFont_, white);
    buttons.DrawFrameButton(g.ChangeHeadIdButton(), pressed_ != Button::ChangeHeadId, ChangeHeadIdLabel, true);
    buttons.DrawFrameButton(g.ProgramHeadButton(), pressed_ != Button::ProgramHead, ProgramHeadLabel, true);
}

}  // namespace tidemar
