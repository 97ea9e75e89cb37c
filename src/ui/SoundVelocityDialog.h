#pragma once
// The "Sound Velocity" dialog: the speed of sound in m/s or ft/s, stored on Ok.

#include <QDialog>

#include "link/SonarState.h"
#include "platform/Prompts.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tidemar {

class DialogArrows;

class SoundVelocityDialog : public QDialog {
    Q_OBJECT
public:
    SoundVelocityDialog(SonarState& state, Prompts& prompts, QWidget* parent = nullptr);

    QLineEdit* ValueBox() const { return value_; }
    DialogArrows* Arrows() const { return arrows_; }
    QLabel* UnitLabel() const { return unit_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* DefaultButton() const { return default_; }
    QPushButton* CancelButton() const { return cancel_; }
    float WorkingValue() const { return working_; }

private:
    void ShowWorking();
    void AcceptValue();

    SonarState& state_;
    Prompts& prompts_;
    float working_ = 0.0f;
    QLineEdit* value_;
    DialogArrows* arrows_;
    QLabel* unit_;
    QPushButton* ok_;
    QPushButton* default_;
    QPushButton* cancel_;
};

}  // namespace tidemar
