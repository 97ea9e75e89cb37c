#include "ui/OffsetAngleDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/DialogEntries.h"
#include "ui/DialogSupport.h"

namespace tidemar {

OffsetAngleDialog::OffsetAngleDialog(SonarState& state, Prompts& prompts, QWidget* parent)
    : QDialog(parent), state_(state), prompts_(prompts) {
    setWindowTitle(QString::fromLatin1(OffsetAngleCaption.data(), OffsetAngleCaption.size()));
    setModal(true);

    value_ = MakeValueBox(this, OffsetAngleBoxCharacters);
    arrows_ = new DialogArrows(this);
    auto* row = new QHBoxLayout;
    row->addWidget(value_);
    row->addWidget(arrows_);
    row->addWidget(new QLabel(QStringLiteral("Deg"), this));
    row->addStretch();

    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    default_ = new QPushButton(QStringLiteral("Default"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    ok_->setDefault(true);
    default_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(default_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);

    connect(value_, &QLineEdit::textEdited, this,
            [this](const QString& text) { working_ = OffsetAngleFromText(text.toStdString()); });
    connect(arrows_, &DialogArrows::stepped, this, [this](int direction) {
        working_ = StepOffsetAngle(working_, direction);
        ShowWorking();
    });
    connect(default_, &QPushButton::clicked, this, [this] {
        working_ = 0.0f;
        ShowWorking();
    });
    connect(ok_, &QPushButton::clicked, this, &OffsetAngleDialog::AcceptValue);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    working_ = state_.ImageRotation;
    ShowWorking();
}

void OffsetAngleDialog::ShowWorking() { value_->setText(ToQString(OffsetAngleText(working_))); }

void OffsetAngleDialog::AcceptValue() {
    if (const auto refusal = AcceptOffsetAngle(state_, working_)) {
        ShowMessages(prompts_, {*refusal});
        working_ = state_.ImageRotation;
        ShowWorking();
        return;
    }
    accept();
}

}  // namespace tidemar
