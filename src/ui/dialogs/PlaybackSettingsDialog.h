#pragma once
// The read-only "Settings" dialog of playback: head ID, frequency, absorption and pulse
// length of the ping being shown.

#include <QDialog>

#include "core/SonarState.h"

class QLineEdit;
class QPushButton;

namespace tidemar {

class PlaybackSettingsDialog : public QDialog {
    Q_OBJECT
public:
    PlaybackSettingsDialog(const SonarState& state, QWidget* parent = nullptr);

    QLineEdit* HeadIdBox() const { return headId_; }
    QLineEdit* FrequencyBox() const { return frequency_; }
    QLineEdit* AbsorptionBox() const { return absorption_; }
    QLineEdit* PulseLengthBox() const { return pulseLength_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    QLineEdit* headId_;
    QLineEdit* frequency_;
    QLineEdit* absorption_;
    QLineEdit* pulseLength_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace tidemar
