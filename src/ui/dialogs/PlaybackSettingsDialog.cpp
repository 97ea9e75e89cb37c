#include "ui/dialogs/PlaybackSettingsDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/DialogEntries.h"
#include "ui/dialogs/DialogSupport.h"
#include "ui/dialogs/PlaceDialog.h"
#include "ui_core/DialogPlacement.h"

namespace tidemar {

PlaybackSettingsDialog::PlaybackSettingsDialog(const SonarState& state, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Settings"));
    setModal(true);

    const PlaybackSettingsTexts texts = PlaybackSettingsTextsOf(state);
    auto makeBox = [this](const std::string& text) {
        QLineEdit* box = MakeValueBox(this, 12);
        box->setText(ToQString(text));
        box->setReadOnly(true);
        return box;
    };
    headId_ = makeBox(texts.HeadId);
    frequency_ = makeBox(texts.Frequency);
    absorption_ = makeBox(texts.Absorption);
    pulseLength_ = makeBox(texts.PulseLength);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Head ID:"), headId_);
    form->addRow(QStringLiteral("Frequency:"), frequency_);
    form->addRow(QStringLiteral("Absorption:"), absorption_);
    form->addRow(QStringLiteral("Pulse Length:"), pulseLength_);

    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    ok_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    PlaceDialog(this, parent, SettingsDialogUnitsWide, SettingsDialogUnitsHigh);
}

}  // namespace tidemar
