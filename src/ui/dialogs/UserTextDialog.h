#pragma once
// The "User Text" dialog: the line of text shown under the picture and stored with every
// recorded ping. The text is kept in Windows-1252: Ok refuses characters it cannot hold.

#include <QDialog>

#include "core/Prompts.h"
#include "core/SonarState.h"

class QLineEdit;
class QPushButton;

namespace tidemar {

class UserTextDialog : public QDialog {
    Q_OBJECT
public:
    UserTextDialog(SonarState& state, Prompts& prompts, QWidget* parent = nullptr);

    QLineEdit* TextBox() const { return text_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    void AcceptText();

    SonarState& state_;
    Prompts& prompts_;
    QLineEdit* text_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace tidemar
