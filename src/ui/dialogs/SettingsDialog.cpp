#include "ui/dialogs/SettingsDialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/ConfigEditor.h"
#include "settings/UserConfigEntry.h"
#include "ui/dialogs/DialogSupport.h"
#include "ui/dialogs/PlaceDialog.h"
#include "ui/dialogs/UserConfigDialog.h"
#include "ui_core/DialogPlacement.h"

namespace tidemar {

SettingsDialog::SettingsDialog(SonarState& state, Prompts& prompts, DispatchTarget& target, QWidget* parent)
    : QDialog(parent), state_(state), prompts_(prompts), target_(target) {
    setWindowTitle(QStringLiteral("Settings"));
    setModal(true);

    auto* autoBox = new QGroupBox(QStringLiteral("Auto Setup"), this);
    auto_ = new QRadioButton(QStringLiteral("Enable"), autoBox);
    editConfig_ = new QPushButton(QStringLiteral("Edit Configuration..."), autoBox);
    configName_ = new QLineEdit(autoBox);
    auto* autoLayout = new QGridLayout(autoBox);
    autoLayout->addWidget(auto_, 0, 0);
    autoLayout->addWidget(editConfig_, 0, 1);
    autoLayout->addWidget(new QLabel(QStringLiteral("Current Configuration:"), autoBox), 1, 0, 1, 2);
    autoLayout->addWidget(configName_, 2, 0, 1, 2);

    auto* manualBox = new QGroupBox(QStringLiteral("Manual Setup"), this);
    manual_ = new QRadioButton(QStringLiteral("Enable"), manualBox);
    headId_ = MakeValueBox(manualBox, 4);
    headId_->setReadOnly(true);
    frequency_ = MakeValueBox(manualBox, 5);
    absorption_ = MakeValueBox(manualBox, 7);
    pulseLength_ = MakeValueBox(manualBox, 5);
    frequencyArrows_ = new DialogArrows(manualBox);
    absorptionArrows_ = new DialogArrows(manualBox);
    pulseLengthArrows_ = new DialogArrows(manualBox);
    absorptionUnit_ = new QLabel(manualBox);
    auto* manualLayout = new QGridLayout(manualBox);
    manualLayout->addWidget(manual_, 0, 0, 1, 4);
    auto addRow = [&](int row, const char* label, QLineEdit* box, DialogArrows* arrows, QLabel* unit) {
        manualLayout->addWidget(new QLabel(QString::fromLatin1(label), manualBox), row, 0);
        manualLayout->addWidget(box, row, 1);
        if (arrows) manualLayout->addWidget(arrows, row, 2);
        if (unit) manualLayout->addWidget(unit, row, 3);
    };
    addRow(1, "Head ID:", headId_, nullptr, nullptr);
    addRow(2, "Frequency:", frequency_, frequencyArrows_, new QLabel(QStringLiteral("kHz"), manualBox));
    addRow(3, "Absorption:", absorption_, absorptionArrows_, absorptionUnit_);
    addRow(4, "Pulse Length:", pulseLength_, pulseLengthArrows_, new QLabel(QStringLiteral("usec"), manualBox));
    manualLayout->setColumnStretch(4, 1);

    // One group: the two "Enable" buttons sit in different boxes but exclude each other.
    auto* types = new QButtonGroup(this);
    types->addButton(manual_, 0);
    types->addButton(auto_, 1);

    const DialogButtons actions = MakeDialogButtons(this, QStringLiteral("Defaults"));
    ok_ = actions.Ok;
    defaults_ = actions.Defaults;
    cancel_ = actions.Cancel;
    QHBoxLayout* buttons = actions.Row;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(autoBox);
    layout->addWidget(manualBox);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(manual_, &QRadioButton::clicked, this, [this] { ChooseSetupType(0); });
    connect(auto_, &QRadioButton::clicked, this, [this] { ChooseSetupType(1); });
    connect(editConfig_, &QPushButton::clicked, this, &SettingsDialog::EditConfiguration);
    connect(frequencyArrows_, &DialogArrows::stepped, this, [this](int direction) {
        workingFrequency_ = StepFrequency(workingFrequency_, direction);
        frequency_->setText(QString::number(workingFrequency_));
    });
    connect(absorptionArrows_, &DialogArrows::stepped, this, [this](int direction) {
        workingAbsorption_ = StepAbsorption(workingAbsorption_, direction);
        absorption_->setText(ToQString(AbsorptionText(workingAbsorption_, state_.Units)));
    });
    connect(pulseLengthArrows_, &DialogArrows::stepped, this, [this](int direction) {
        workingPulseLength_ = StepPulseLength(workingPulseLength_, direction);
        pulseLength_->setText(QString::number(workingPulseLength_));
    });
    connect(defaults_, &QPushButton::clicked, this, [this] {
        if (state_.ConfigType != 0) return;
        ResetManualSetup(state_);
        ShowCurrentValues();
    });
    connect(ok_, &QPushButton::clicked, this, &SettingsDialog::AcceptEntries);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    PlaceDialog(this, parent, SettingsDialogUnitsWide, SettingsDialogUnitsHigh);
    (state_.ConfigType == 0 ? manual_ : auto_)->setChecked(true);
    configName_->setText(ToQString(ShortConfigName(state_.ConfigFile)));
    headId_->setText(QString::number(state_.MasterHeadID - 15));
    absorptionUnit_->setText(ToQString(AbsorptionUnitLabel(state_.Units)));
    SetControlStates();
    ShowCurrentValues();
}

void SettingsDialog::ChooseSetupType(int configType) {
    if (configType == 0)
        SelectManualSetup(state_);
    else
        SelectAutoSetup(state_);
    SetControlStates();
    ShowCurrentValues();
    target_.DrawFrequencyReadout();
}

void SettingsDialog::EditConfiguration() {
    if (state_.ConfigType != 1) return;
    UserConfigDialog editor(state_, prompts_, this);
    PlaceDialog(&editor, parentWidget(), UserConfigDialogUnitsWide, UserConfigDialogUnitsHigh, UserConfigDialogDrop);
    editor.exec();
    configName_->setText(ToQString(ShortConfigName(state_.ConfigFile)));
    ApplyUserConfig(state_);
    ShowCurrentValues();
    target_.DrawFrequencyReadout();
}

void SettingsDialog::SetControlStates() {
    const bool manual = state_.ConfigType == 0;
    configName_->setReadOnly(manual);
    editConfig_->setEnabled(!manual);
    defaults_->setEnabled(manual);
    for (QLineEdit* box : {frequency_, absorption_, pulseLength_}) box->setReadOnly(!manual);
    for (DialogArrows* arrows : {frequencyArrows_, absorptionArrows_, pulseLengthArrows_}) arrows->setEnabled(manual);
}

void SettingsDialog::ShowCurrentValues() {
    workingFrequency_ = state_.Frequency;
    workingAbsorption_ = state_.Absorption;
    workingPulseLength_ = state_.PulseLength;
    ShowWorkingValues();
}

void SettingsDialog::ShowWorkingValues() {
    frequency_->setText(QString::number(workingFrequency_));
    absorption_->setText(ToQString(AbsorptionText(workingAbsorption_, state_.Units)));
    pulseLength_->setText(QString::number(workingPulseLength_));
}

void SettingsDialog::AcceptEntries() {
    if (state_.ConfigType != 0) {
        accept();
        return;
    }
    const ManualSetupTexts texts{frequency_->text().toStdString(), absorption_->text().toStdString(),
                                 pulseLength_->text().toStdString()};
    std::vector<MessageText> messages;
    const bool accepted = CommitManualSetup(state_, texts, messages);
    ShowMessages(prompts_, messages);
    if (accepted) accept();
}

}  // namespace tidemar
