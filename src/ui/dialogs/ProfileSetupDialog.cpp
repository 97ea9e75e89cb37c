#include "ui/dialogs/ProfileSetupDialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/DialogEntries.h"
#include "ui/dialogs/DialogSupport.h"
#include "ui/dialogs/PlaceDialog.h"
#include "ui_core/DialogPlacement.h"

namespace tidemar {

ProfileSetupDialog::ProfileSetupDialog(SonarState& state, Prompts& prompts, QWidget* parent)
    : QDialog(parent), state_(state), prompts_(prompts) {
    setWindowTitle(QString::fromLatin1(ProfileSetupCaption.data(), ProfileSetupCaption.size()));
    setModal(true);

    auto* sourceBox = new QGroupBox(QStringLiteral("Digitization Source"), this);
    sonarHead_ = new QRadioButton(QStringLiteral("Sonar Head"), sourceBox);
    surface_ = new QRadioButton(QStringLiteral("Surface"), sourceBox);
    auto* sources = new QButtonGroup(this);
    sources->addButton(sonarHead_, 0);
    sources->addButton(surface_, 1);
    auto* sourceLayout = new QVBoxLayout(sourceBox);
    sourceLayout->addWidget(sonarHead_);
    sourceLayout->addWidget(surface_);

    auto* detectionBox = new QGroupBox(QStringLiteral("Detection"), this);
    startOfPulse_ = new QRadioButton(QStringLiteral("Start of Pulse"), detectionBox);
    centerOfPulse_ = new QRadioButton(QStringLiteral("Center of Pulse"), detectionBox);
    detection_ = new QButtonGroup(this);
    detection_->addButton(startOfPulse_, 0);
    detection_->addButton(centerOfPulse_, 1);
    auto* detectionLayout = new QVBoxLayout(detectionBox);
    detectionLayout->addWidget(startOfPulse_);
    detectionLayout->addWidget(centerOfPulse_);

    auto* radios = new QHBoxLayout;
    radios->addWidget(sourceBox);
    radios->addWidget(detectionBox);

    range_ = MakeValueBox(this, 8);
    level_ = MakeValueBox(this, 3);
    rangeArrows_ = new DialogArrows(this);
    levelArrows_ = new DialogArrows(this);
    rangeUnit_ = new QLabel(ToQString(ProfileRangeUnitLabel(state_.Units)), this);
    auto* values = new QGridLayout;
    values->addWidget(new QLabel(QStringLiteral("Minimum Range:"), this), 0, 0);
    values->addWidget(range_, 0, 1);
    values->addWidget(rangeArrows_, 0, 2);
    values->addWidget(rangeUnit_, 0, 3);
    values->addWidget(new QLabel(QStringLiteral("Minimum Level:"), this), 1, 0);
    values->addWidget(level_, 1, 1);
    values->addWidget(levelArrows_, 1, 2);
    values->addWidget(new QLabel(QStringLiteral("%"), this), 1, 3);
    values->setColumnStretch(4, 1);

    const DialogButtons actions = MakeDialogButtons(this, QStringLiteral("Defaults"));
    ok_ = actions.Ok;
    defaults_ = actions.Defaults;
    cancel_ = actions.Cancel;
    QHBoxLayout* buttons = actions.Row;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(radios);
    layout->addLayout(values);
    layout->addStretch();
    layout->addLayout(buttons);

    auto chooseSource = [this](int source) {
        state_.ProfileDigitizationSource = source;
        SetControlStates();
    };
    connect(sonarHead_, &QRadioButton::clicked, this, [chooseSource] { chooseSource(0); });
    connect(surface_, &QRadioButton::clicked, this, [chooseSource] { chooseSource(1); });
    connect(startOfPulse_, &QRadioButton::clicked, this, [this] {
        if (state_.ProfileDigitizationSource == 1) state_.ProfileDetectionType = 0;
        SetControlStates();
    });
    connect(centerOfPulse_, &QRadioButton::clicked, this, [this] {
        if (state_.ProfileDigitizationSource == 1) state_.ProfileDetectionType = 1;
        SetControlStates();
    });
    connect(rangeArrows_, &DialogArrows::stepped, this, [this](int direction) {
        workingRange_ = StepProfileMinimumRange(workingRange_, direction, state_.Units);
        range_->setText(ToQString(ProfileMinimumRangeText(workingRange_)));
    });
    connect(levelArrows_, &DialogArrows::stepped, this, [this](int direction) {
        workingLevel_ = StepProfileMinimumLevel(workingLevel_, direction);
        level_->setText(ToQString(ProfileMinimumLevelText(workingLevel_)));
    });
    connect(defaults_, &QPushButton::clicked, this, [this] {
        workingRange_ = DefaultProfileMinimumRange;
        workingLevel_ = DefaultProfileMinimumLevel;
        state_.ProfileDetectionType = 0;
        ShowWorking();
        SetControlStates();
    });
    connect(ok_, &QPushButton::clicked, this, &ProfileSetupDialog::AcceptValues);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    PlaceDialog(this, parent, ProfileSetupDialogUnitsWide, ProfileSetupDialogUnitsHigh);
    (state_.ProfileDigitizationSource == 1 ? surface_ : sonarHead_)->setChecked(true);
    OpenProfileSetup(state_);
    workingRange_ = state_.ProfileMinimumRange;
    workingLevel_ = state_.ProfileMinimumLevel;
    SetControlStates();
    ShowWorking();
}

void ProfileSetupDialog::SetControlStates() {
    const ProfileSetupControls controls = ProfileSetupControlStates(state_);
    range_->setReadOnly(!controls.RangeEditable);
    rangeArrows_->setEnabled(controls.RangeEditable);
    level_->setReadOnly(!controls.LevelEditable);
    levelArrows_->setEnabled(controls.LevelEditable);
    startOfPulse_->setEnabled(controls.DetectionEnabled);
    centerOfPulse_->setEnabled(controls.DetectionEnabled);
    // Inactive buttons show no choice: the group lets go of exclusivity while both are cleared.
    detection_->setExclusive(false);
    startOfPulse_->setChecked(controls.DetectionEnabled && state_.ProfileDetectionType == 0);
    centerOfPulse_->setChecked(controls.DetectionEnabled && state_.ProfileDetectionType == 1);
    detection_->setExclusive(true);
}

void ProfileSetupDialog::ShowWorking() {
    range_->setText(ToQString(ProfileMinimumRangeText(workingRange_)));
    level_->setText(ToQString(ProfileMinimumLevelText(workingLevel_)));
}

void ProfileSetupDialog::AcceptValues() {
    const std::vector<MessageText> refusals =
        AcceptProfileSetup(state_, range_->text().toStdString(), level_->text().toStdString());
    if (!refusals.empty()) {
        ShowMessages(prompts_, refusals);
        ShowWorking();
        return;
    }
    accept();
}

}  // namespace tidemar
