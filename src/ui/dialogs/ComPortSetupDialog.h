#pragma once
// The "ComPort Setup" dialog: GPS input on or off, the serial port and the sentence type.
// The controls show ComPortSetup's pending values; Ok hands them to it, which closes and
// reopens the port; Cancel leaves everything as it was.

#include <QDialog>

#include "gps/ComPortSetup.h"

class QButtonGroup;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace tidemar {

class ComPortSetupDialog : public QDialog {
    Q_OBJECT
public:
    ComPortSetupDialog(SonarState& state, GpsInput& gps, DispatchTarget& target, QWidget* parent = nullptr);

    const ComPortSetup& Setup() const { return setup_; }
    QRadioButton* EnableButton() const { return enable_; }
    QRadioButton* DisableButton() const { return disable_; }
    QRadioButton* GllButton() const { return gll_; }
    QRadioButton* GgaButton() const { return gga_; }
    QListWidget* PortList() const { return list_; }
    QLabel* ParameterLabel() const { return parameters_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    // Over the picture of `over` (the main window), like the other settings dialogs.
    void PlaceOver(const QWidget* over);

private:
    void ShowPending();
    void AcceptPending();

    SonarState& state_;
    GpsInput& gps_;
    DispatchTarget& target_;
    ComPortSetup setup_;
    QRadioButton* enable_;
    QRadioButton* disable_;
    QRadioButton* gll_;
    QRadioButton* gga_;
    QButtonGroup* types_;
    QListWidget* list_;
    QLabel* parameters_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace tidemar
