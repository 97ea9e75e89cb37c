#include "ui/dialogs/ComPortSetupDialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/dialogs/PlaceDialog.h"

namespace tidemar {

namespace {

QString EntryText(const ComPortListEntry& entry) {
    QString text = QString::fromStdString(entry.Name);
    if (!entry.Path.empty()) text += QStringLiteral("  ") + QString::fromStdString(entry.Path);
    return text;
}

}  // namespace

ComPortSetupDialog::ComPortSetupDialog(SonarState& state, GpsInput& gps, DispatchTarget& target, QWidget* parent)
    : QDialog(parent), state_(state), gps_(gps), target_(target), setup_(state, gps.Ports()) {
    setWindowTitle(QString::fromLatin1(ComPortSetup::Title));
    setModal(true);

    auto* input = new QGroupBox(QStringLiteral("GPS Input"), this);
    enable_ = new QRadioButton(QStringLiteral("Enable"), input);
    disable_ = new QRadioButton(QStringLiteral("Disable"), input);
    auto* inputLayout = new QVBoxLayout(input);
    inputLayout->addWidget(enable_);
    inputLayout->addWidget(disable_);

    auto* port = new QGroupBox(QStringLiteral("Port"), this);
    list_ = new QListWidget(port);
    int widest = 0;
    for (const ComPortListEntry& entry : setup_.PortList()) {
        list_->addItem(EntryText(entry));
        widest = std::max(widest, list_->fontMetrics().horizontalAdvance(EntryText(entry)));
    }
    // Device paths such as /dev/serial/by-id/... are long: the list shows them whole.
    list_->setMinimumWidth(widest + 2 * list_->frameWidth() + list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                           4 * list_->fontMetrics().averageCharWidth());
    parameters_ = new QLabel(QString::fromLatin1(ComPortSetup::ParameterLabel), port);
    auto* portLayout = new QVBoxLayout(port);
    portLayout->addWidget(list_);
    portLayout->addWidget(parameters_);

    auto* sentence = new QGroupBox(QStringLiteral("Sentence"), this);
    gll_ = new QRadioButton(QStringLiteral("GLL"), sentence);
    gga_ = new QRadioButton(QStringLiteral("GGA"), sentence);
    types_ = new QButtonGroup(this);
    types_->addButton(gll_, GpsTypeGLL);
    types_->addButton(gga_, GpsTypeGGA);
    auto* sentenceLayout = new QVBoxLayout(sentence);
    sentenceLayout->addWidget(gll_);
    sentenceLayout->addWidget(gga_);

    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    ok_->setDefault(true);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(input);
    layout->addWidget(port, 1);
    layout->addWidget(sentence);
    layout->addLayout(buttons);

    // The template's size in dialog units: a quarter of the average character width
    // across, an eighth of the character height down.
    const QFontMetrics metrics(font());
    resize(ComPortSetup::DialogWidth * metrics.averageCharWidth() / 4,
           ComPortSetup::DialogHeight * metrics.height() / 8);

    connect(enable_, &QRadioButton::clicked, this, [this] {
        setup_.ChooseEnable();
        ShowPending();
    });
    connect(disable_, &QRadioButton::clicked, this, [this] {
        setup_.ChooseDisable();
        ShowPending();
    });
    connect(gll_, &QRadioButton::clicked, this, [this] {
        setup_.ChooseType(GpsTypeGLL);
        ShowPending();
    });
    connect(gga_, &QRadioButton::clicked, this, [this] {
        setup_.ChooseType(GpsTypeGGA);
        ShowPending();
    });
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { setup_.SelectListIndex(row); });
    connect(ok_, &QPushButton::clicked, this, &ComPortSetupDialog::AcceptPending);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    if (setup_.SelectedListIndex() >= 0) list_->setCurrentRow(setup_.SelectedListIndex());
    ShowPending();
}

void ComPortSetupDialog::ShowPending() {
    enable_->setChecked(setup_.EnableChecked());
    disable_->setChecked(!setup_.EnableChecked());
    const bool inactive = setup_.SentenceButtonsInactive();
    gll_->setEnabled(!inactive);
    gga_->setEnabled(!inactive);
    // Neither may be checked: the group lets go of exclusivity while both are cleared.
    types_->setExclusive(false);
    gll_->setChecked(setup_.CheckedType() == GpsTypeGLL);
    gga_->setChecked(setup_.CheckedType() == GpsTypeGGA);
    types_->setExclusive(true);
}

void ComPortSetupDialog::AcceptPending() {
    setup_.Ok(state_, gps_, target_);
    accept();
}

void ComPortSetupDialog::PlaceOver(const QWidget* over) {
    PlaceDialog(this, over, ComPortSetup::DialogWidth, ComPortSetup::DialogHeight);
}

}  // namespace tidemar
