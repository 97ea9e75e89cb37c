#pragma once
// The "Profile Setup" dialog: where profile points come from (the head's own range or the
// program's search of the echo data) and the search's detection point, minimum range and
// minimum level. The radio buttons take effect at once; the two numbers only on Ok.

#include <QDialog>

#include "core/SonarState.h"
#include "core/Prompts.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tidemar {

class DialogArrows;

class ProfileSetupDialog : public QDialog {
    Q_OBJECT
public:
    ProfileSetupDialog(SonarState& state, Prompts& prompts, QWidget* parent = nullptr);

    QRadioButton* SonarHeadButton() const { return sonarHead_; }
    QRadioButton* SurfaceButton() const { return surface_; }
    QRadioButton* StartOfPulseButton() const { return startOfPulse_; }
    QRadioButton* CenterOfPulseButton() const { return centerOfPulse_; }
    QLineEdit* RangeBox() const { return range_; }
    QLineEdit* LevelBox() const { return level_; }
    DialogArrows* RangeArrows() const { return rangeArrows_; }
    DialogArrows* LevelArrows() const { return levelArrows_; }
    QLabel* RangeUnit() const { return rangeUnit_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* DefaultsButton() const { return defaults_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    void SetControlStates();
    void ShowWorking();
    void AcceptValues();

    SonarState& state_;
    Prompts& prompts_;
    float workingRange_ = 0.0f;
    int workingLevel_ = 0;
    QRadioButton* sonarHead_;
    QRadioButton* surface_;
    QRadioButton* startOfPulse_;
    QRadioButton* centerOfPulse_;
    QButtonGroup* detection_;
    QLineEdit* range_;
    QLineEdit* level_;
    DialogArrows* rangeArrows_;
    DialogArrows* levelArrows_;
    QLabel* rangeUnit_;
    QPushButton* ok_;
    QPushButton* defaults_;
    QPushButton* cancel_;
};

}  // namespace tidemar
