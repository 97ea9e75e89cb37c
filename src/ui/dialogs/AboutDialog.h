#pragma once
// The about box: the program's name, logo and version.

#include <QDialog>

class QPushButton;

namespace tidemar {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
    QPushButton* OkButton() const { return ok_; }

private:
    QPushButton* ok_;
};

}  // namespace tidemar
