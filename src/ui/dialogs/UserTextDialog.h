#pragma once
// The "User Text" dialog: the line of text shown under the picture and stored with every
// recorded ping.

#include <QDialog>

#include "core/SonarState.h"

class QLineEdit;
class QPushButton;

namespace tidemar {

class UserTextDialog : public QDialog {
    Q_OBJECT
public:
    UserTextDialog(SonarState& state, QWidget* parent = nullptr);

    QLineEdit* TextBox() const { return text_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    SonarState& state_;
    QLineEdit* text_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace tidemar
