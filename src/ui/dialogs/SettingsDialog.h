#pragma once
// The "Settings" dialog of live mode: the transmit frequency, absorption and pulse length,
// either from the user configuration table (auto setup) or typed in (manual setup). The
// setup-type buttons take effect at once; the typed values only on Ok.

#include <QDialog>

#include "core/DispatchPing.h"
#include "core/SonarState.h"
#include "core/Prompts.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tidemar {

class DialogArrows;

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    // `parent` is the main window: the dialog and the table editor open over it.
    SettingsDialog(SonarState& state, Prompts& prompts, DispatchTarget& target, QWidget* parent = nullptr);

    QRadioButton* AutoButton() const { return auto_; }
    QRadioButton* ManualButton() const { return manual_; }
    QPushButton* EditConfigButton() const { return editConfig_; }
    QLineEdit* ConfigNameBox() const { return configName_; }
    QLineEdit* HeadIdBox() const { return headId_; }
    QLineEdit* FrequencyBox() const { return frequency_; }
    QLineEdit* AbsorptionBox() const { return absorption_; }
    QLineEdit* PulseLengthBox() const { return pulseLength_; }
    DialogArrows* FrequencyArrows() const { return frequencyArrows_; }
    DialogArrows* AbsorptionArrows() const { return absorptionArrows_; }
    DialogArrows* PulseLengthArrows() const { return pulseLengthArrows_; }
    QLabel* AbsorptionUnit() const { return absorptionUnit_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* DefaultsButton() const { return defaults_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    void ChooseSetupType(int configType);
    void EditConfiguration();
    void SetControlStates();
    void ShowCurrentValues();  // the values in force become the working values, shown
    void ShowWorkingValues();
    void AcceptEntries();

    SonarState& state_;
    Prompts& prompts_;
    DispatchTarget& target_;
    int workingFrequency_ = 0;
    int workingAbsorption_ = 0;
    int workingPulseLength_ = 0;

    QRadioButton* auto_;
    QRadioButton* manual_;
    QPushButton* editConfig_;
    QLineEdit* configName_;
    QLineEdit* headId_;
    QLineEdit* frequency_;
    QLineEdit* absorption_;
    QLineEdit* pulseLength_;
    DialogArrows* frequencyArrows_;
    DialogArrows* absorptionArrows_;
    DialogArrows* pulseLengthArrows_;
    QLabel* absorptionUnit_;
    QPushButton* ok_;
    QPushButton* defaults_;
    QPushButton* cancel_;
};

}  // namespace tidemar
