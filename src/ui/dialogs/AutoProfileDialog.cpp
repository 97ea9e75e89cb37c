#include "ui/dialogs/AutoProfileDialog.h"

#include <cstdio>

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "settings/NumberText.h"
#include "ui/dialogs/DialogSupport.h"
#include "ui/dialogs/PlaceDialog.h"

namespace tidemar {

namespace {

constexpr int ValueBoxCharacters = 8;
constexpr float SpinStep = 0.1f;

// The check box cycles as a three-state box of the platform does: unchecked, checked,
// the third state, unchecked again.
class ThreeStateBox : public QCheckBox {
public:
    ThreeStateBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) { setTristate(true); }

protected:
    void nextCheckState() override {
        switch (checkState()) {
        case Qt::Unchecked: setCheckState(Qt::Checked); break;
        case Qt::Checked: setCheckState(Qt::PartiallyChecked); break;
        default: setCheckState(Qt::Unchecked); break;
        }
    }
};

const char* const ValueNames[AutoProfileValueCount] = {"Chainage", "Sonar Elevation", "Sonar Offset",
                                                       "Depth Below Sonar"};

float& SettingOf(SonarState& state, AutoProfileValue which) {
    switch (which) {
    case ChainageValue: return state.ProfileChainage;
    case ElevationValue: return state.ProfileElevation;
    case OffsetValue: return state.ProfileXOffset;
    default: return state.ProfileDredgeDepth;
    }
}

QString ValueText(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%6.2f", value);
    return QString::fromLatin1(text);
}

}  // namespace

std::optional<float> AutoProfileValueOf(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)\\s*$"));
    const QString read = text.left(ValueBoxCharacters);
    if (!number.match(read).hasMatch()) return std::nullopt;
    return static_cast<float>(ParseDecimal(read.toStdString()));
}

AutoProfileDialog::AutoProfileDialog(SonarState& state, ProfileScan& scan, const ScanGeometry& geometry,
                                     Prompts& prompts, QWidget* parent)
    : QDialog(parent), state_(state), scan_(scan), geometry_(geometry), prompts_(prompts) {
    setWindowTitle(QString::fromLatin1(AutoProfileCaption));
    setModal(true);

    enable_ = new QCheckBox(QStringLiteral("Auto-Profile Enable"), this);

    const QString unit = state_.Units == 1 ? QStringLiteral("Feet") : QStringLiteral("Meters");
    const QString labels[AutoProfileValueCount] = {
        QStringLiteral("Chainage (y)"), QStringLiteral("Sonar Elevation (z)"), QStringLiteral("Sonar Offset (x)"),
        QStringLiteral("Depth Below Sonar")};
    auto* section = new QGridLayout;
    auto* dredge = new QGroupBox(QStringLiteral("Dredge Line"), this);
    auto* dredgeLayout = new QGridLayout(dredge);
    for (int i = 0; i < AutoProfileValueCount; ++i) {
        QWidget* owner = i == DredgeDepthValue ? static_cast<QWidget*>(dredge) : this;
        values_[i] = MakeValueBox(owner, ValueBoxCharacters);
        values_[i]->setMaxLength(ValueBoxCharacters);
        arrows_[i] = new DialogArrows(owner);
        units_[i] = new QLabel(unit, owner);
        QGridLayout* grid = i == DredgeDepthValue ? dredgeLayout : section;
        const int row = i == DredgeDepthValue ? 0 : i;
        grid->addWidget(new QLabel(labels[i], owner), row, 0);
        grid->addWidget(values_[i], row, 1);
        grid->addWidget(arrows_[i], row, 2);
        grid->addWidget(units_[i], row, 3);
        const auto which = static_cast<AutoProfileValue>(i);
        connect(arrows_[i], &DialogArrows::stepped, this,
                [this, which](int direction) { StepValue(which, direction); });
    }
    section->setColumnStretch(4, 1);
    dredgeLayout->setColumnStretch(4, 1);

    auto* after = new QGroupBox(QStringLiteral("After each scan..."), this);
    xyz_ = new QCheckBox(QStringLiteral("Generate ASCII file (.XYZ)"), after);
    bmp_ = new QCheckBox(QStringLiteral("Generate screen capture (.BMP)"), after);
    confirmation_ = new ThreeStateBox(QStringLiteral("Save scan confirmation"), after);
    prompt_ = new QCheckBox(QStringLiteral("Prompt for another scan"), after);
    auto* afterLayout = new QVBoxLayout(after);
    for (QCheckBox* box : {xyz_, bmp_, confirmation_, prompt_}) afterLayout->addWidget(box);

    const DialogButtons actions = MakeDialogButtons(this, QStringLiteral("Defaults"));
    ok_ = actions.Ok;
    defaults_ = actions.Defaults;
    cancel_ = actions.Cancel;
    QHBoxLayout* buttons = actions.Row;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(enable_);
    layout->addLayout(section);
    layout->addWidget(dredge);
    layout->addWidget(after);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(xyz_, &QCheckBox::clicked, this, &AutoProfileDialog::FileTypesChanged);
    connect(bmp_, &QCheckBox::clicked, this, &AutoProfileDialog::FileTypesChanged);
    connect(confirmation_, &QCheckBox::clicked, this, &AutoProfileDialog::ConfirmationClicked);
    connect(defaults_, &QPushButton::clicked, this, &AutoProfileDialog::RestoreDefaults);
    connect(ok_, &QPushButton::clicked, this, &AutoProfileDialog::AcceptValues);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    PlaceDialog(this, parent, AutoProfileDialogUnitsWide, AutoProfileDialogUnitsHigh);

    enable_->setChecked(state_.AutoProfileActive != 0);
    for (int i = 0; i < AutoProfileValueCount; ++i)
        ShowValue(static_cast<AutoProfileValue>(i), SettingOf(state_, static_cast<AutoProfileValue>(i)));
    xyz_->setChecked(state_.AutoProfileXYZ == 1);
    bmp_->setChecked(state_.AutoProfileBMP == 1);
    confirmation_->setCheckState(state_.AutoProfileSaveConfirmation == 1 ? Qt::Checked : Qt::Unchecked);
    prompt_->setChecked(state_.AutoProfilePromptForScan == 1);
    if (!xyz_->isChecked() && !bmp_->isChecked()) ShowConfirmationInactive();
}

void AutoProfileDialog::ShowValue(AutoProfileValue which, float value) { values_[which]->setText(ValueText(value)); }

void AutoProfileDialog::StepValue(AutoProfileValue which, int direction) {
    // The box as it reads now, so a typed value is stepped from.
    const float value = static_cast<float>(ParseDecimal(values_[which]->text().left(ValueBoxCharacters).toStdString()));
    ShowValue(which, direction > 0 ? value + SpinStep : value - SpinStep);
}

// Without a file to save there is nothing to confirm: the box is shown pushed and empty.
void AutoProfileDialog::ShowConfirmationInactive() {
    confirmation_->setCheckState(Qt::Unchecked);
    confirmation_->setDown(true);
}

void AutoProfileDialog::FileTypesChanged() {
    if (xyz_->isChecked() || bmp_->isChecked()) {
        confirmation_->setDown(false);
        confirmation_->setCheckState(Qt::Checked);
    } else {
        ShowConfirmationInactive();
    }
}

void AutoProfileDialog::ConfirmationClicked() {
    if (!xyz_->isChecked() && !bmp_->isChecked()) ShowConfirmationInactive();
}

void AutoProfileDialog::RestoreDefaults() {
    enable_->setChecked(false);
    state_.AutoProfileActive = 0;
    for (int i = 0; i < AutoProfileValueCount; ++i) ShowValue(static_cast<AutoProfileValue>(i), 0.0f);
    confirmation_->setDown(false);
    for (QCheckBox* box : {xyz_, bmp_, prompt_}) box->setChecked(true);
    confirmation_->setCheckState(Qt::Checked);
    state_.AutoProfileXYZ = 1;
    state_.AutoProfileBMP = 1;
    state_.AutoProfileSaveConfirmation = 1;
    state_.AutoProfilePromptForScan = 1;
}

void AutoProfileDialog::AcceptValues() {
    std::array<float, AutoProfileValueCount> read{};
    for (int i = 0; i < AutoProfileValueCount; ++i) {
        const std::optional<float> value = AutoProfileValueOf(values_[i]->text());
        if (!value) {
            // Nothing is stored until every box holds a number.
            prompts_.Message(AutoProfileCaption, std::string(ValueNames[i]) + " must be a number.",
                             MessageIcon::Exclamation);
            values_[i]->setFocus();
            values_[i]->selectAll();
            return;
        }
        read[i] = *value;
    }
    state_.AutoProfileActive = enable_->isChecked() ? 1 : 0;
    for (int i = 0; i < AutoProfileValueCount; ++i) SettingOf(state_, static_cast<AutoProfileValue>(i)) = read[i];
    state_.AutoProfileXYZ = xyz_->isChecked() ? 1 : 0;
    state_.AutoProfileBMP = bmp_->isChecked() ? 1 : 0;
    const bool fileChosen = xyz_->isChecked() || bmp_->isChecked();
    state_.AutoProfileSaveConfirmation = fileChosen && confirmation_->checkState() == Qt::Checked ? 1 : 0;
    state_.AutoProfilePromptForScan = prompt_->isChecked() ? 1 : 0;
    scanStarted_ = AcceptAutoProfileSettings(state_, scan_, geometry_);
    accept();
}

}  // namespace tidemar
