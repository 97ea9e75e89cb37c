#pragma once
// The "Rotate Sonar Image" dialog: the angle the picture is turned by, stored on Ok.

#include <QDialog>

#include "link/SonarState.h"
#include "platform/Prompts.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tidemar {

class DialogArrows;

class OffsetAngleDialog : public QDialog {
    Q_OBJECT
public:
    OffsetAngleDialog(SonarState& state, Prompts& prompts, QWidget* parent = nullptr);

    QLineEdit* ValueBox() const { return value_; }
    DialogArrows* Arrows() const { return arrows_; }
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
    QPushButton* ok_;
    QPushButton* default_;
    QPushButton* cancel_;
};

}  // namespace tidemar
