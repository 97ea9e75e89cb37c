#include "ui/SoundVelocityDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/DialogEntries.h"
#include "ui/DialogSupport.h"

namespace tidemar {

SoundVelocityDialog::SoundVelocityDialog(SonarState& state, Prompts& prompts, QWidget* parent)
    : QDialog(parent), state_(state), prompts_(prompts) {
    setWindowTitle(QString::fromLatin1(SoundVelocityCaption.data(), SoundVelocityCaption.size()));
    setModal(true);

    value_ = MakeValueBox(this, SoundVelocityBoxCharacters);
    arrows_ = new DialogArrows(this);
    unit_ = new QLabel(ToQString(SoundVelocityUnitLabel(state_.Units)), this);
    auto* row = new QHBoxLayout;
    row->addWidget(value_);
    row->addWidget(arrows_);
    row->addWidget(unit_);
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

    // Only what the operator types is read back: the shown text is rounded to 0.1, and
    // reading it back would change the stored velocity by merely opening and closing.
    connect(value_, &QLineEdit::textEdited, this,
            [this](const QString& text) { working_ = SoundVelocityFromText(text.toStdString()); });
    connect(arrows_, &DialogArrows::stepped, this, [this](int direction) {
        working_ = StepSoundVelocity(working_, direction, state_.Units);
        ShowWorking();
    });
    connect(default_, &QPushButton::clicked, this, [this] {
        working_ = SoundVelocityDefault(state_.Units);
        ShowWorking();
    });
    connect(ok_, &QPushButton::clicked, this, &SoundVelocityDialog::AcceptValue);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    working_ = SoundVelocityStart(state_);
    ShowWorking();
}

void SoundVelocityDialog::ShowWorking() { value_->setText(ToQString(SoundVelocityText(working_))); }

void SoundVelocityDialog::AcceptValue() {
    if (const auto refusal = AcceptSoundVelocity(state_, working_)) {
        ShowMessages(prompts_, {*refusal});
        working_ = SoundVelocityStart(state_);
        ShowWorking();
        return;
    }
    accept();
}

}  // namespace tidemar
