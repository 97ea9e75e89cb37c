#include "ui/toolwindows/ProgramHeadDialog.h"

#include <cctype>
#include <cstdio>

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/toolwindows/HeadIdDialog.h"

namespace tidemar {

std::optional<int> ParseSerialNumber(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    if (begin == end) return std::nullopt;
    long value = 0;
    for (size_t i = begin; i < end; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > MaxProgramSerialNumber) return std::nullopt;
    }
    return static_cast<int>(value);
}

ProgramHeadDialog::ProgramHeadDialog(SonarState& state, Prompts& prompts, QWidget* parent)
    : QDialog(parent), state_(state), prompts_(prompts) {
    setWindowTitle(QString::fromLatin1(ProgramSonarHeadTitle));
    setModal(true);

    auto* idGroup = new QGroupBox(QStringLiteral("Head ID"), this);
    ids_ = MakeHeadIdList(state.MasterHeadID, idGroup);
    auto* idLayout = new QVBoxLayout(idGroup);
    idLayout->addWidget(ids_);

    auto* serialGroup = new QGroupBox(QStringLiteral("Serial Number"), this);
    serial_ = new QLineEdit(serialGroup);
    serial_->setMaxLength(8);
    auto* serialLayout = new QVBoxLayout(serialGroup);
    serialLayout->addWidget(serial_);
    serialLayout->addStretch();

    auto* depthGroup = new QGroupBox(QStringLiteral("Depth Rating"), this);
    depths_ = new QListWidget(depthGroup);
    depths_->addItem(QStringLiteral("1000 Meters"));
    depths_->addItem(QStringLiteral("3000 Meters"));
    depths_->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* depthLayout = new QVBoxLayout(depthGroup);
    depthLayout->addWidget(depths_);

    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    // "Default" is there but does nothing: there are no factory values to program a head
    // with, and the fields already start from the values last given.
    default_ = new QPushButton(QStringLiteral("Default"), this);
    ok_->setDefault(true);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addWidget(default_);
    buttons->addStretch();

    auto* fields = new QVBoxLayout;
    fields->addWidget(serialGroup);
    fields->addWidget(depthGroup);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(idGroup);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);
    const QFontMetrics metrics(font());
    resize(52 * metrics.averageCharWidth(), 16 * metrics.height());

    ShowStartValues();
    connect(ok_, &QPushButton::clicked, this, &ProgramHeadDialog::AcceptProgramming);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void ProgramHeadDialog::ShowStartValues() {
    const int row = state_.MasterHeadID - 16;
    ids_->clearSelection();
    if (row >= 0 && row < ids_->count()) ids_->setCurrentRow(row);
    char text[16];
    std::snprintf(text, sizeof text, "%04d", state_.ProgramSerialNumber);
    serial_->setText(QString::fromLatin1(text));
    depths_->clearSelection();
    if (state_.ProgramDepthRating >= 0 && state_.ProgramDepthRating < depths_->count())
        depths_->setCurrentRow(state_.ProgramDepthRating);
}

void ProgramHeadDialog::AcceptProgramming() {
    const int id = SelectedHeadId(ids_);
    state_.HeadIdChangeRequest = id != 0 ? 1 : 0;
    if (id != 0) state_.NewHeadID = id;

    const std::optional<int> serial = ParseSerialNumber(serial_->text().toStdString());
    if (serial) state_.ProgramSerialNumber = *serial;
    const QList<QListWidgetItem*> depth = depths_->selectedItems();
    if (!depth.isEmpty()) state_.ProgramDepthRating = depths_->row(depth.front());

    state_.HeadProgramRequest = (id != 0 && serial && !depth.isEmpty()) ? 1 : 0;
    if (!serial) prompts_.Message(ProgramSonarHeadTitle, SerialNumberRangeMessage, MessageIcon::Exclamation);
    accept();
}

}  // namespace tidemar
