#pragma once
// "Save This Profile?": asked after each scan when the scan confirmation is on.

#include <QDialog>

class QLabel;
class QPushButton;

namespace tidemar {

inline constexpr const char* SaveProfileQuestion = "Save This Profile?";

class SaveProfileDialog : public QDialog {
    Q_OBJECT
public:
    explicit SaveProfileDialog(QWidget* parent = nullptr);

    QLabel* Question() const { return question_; }
    QPushButton* YesButton() const { return yes_; }
    QPushButton* NoButton() const { return no_; }

    // Shows the dialog modally: true for Yes; No and closing the dialog mean no.
    static bool Ask(QWidget* parent);

private:
    QLabel* question_;
    QPushButton* yes_;
    QPushButton* no_;
};

}  // namespace tidemar
