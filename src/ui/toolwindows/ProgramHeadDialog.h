#pragma once
// "Program Sonar Head": a new head ID, the serial number (0..9999) and the depth rating
// to be written into the scanned head's memory. Ok records the ID change as "Set New
// Head ID" does, keeps an accepted serial number and the depth rating, and asks for the
// programming only when all three are given; a serial number it cannot accept is named
// in a message and programs nothing. Cancel changes nothing; Default has no effect.

#include <QDialog>

#include <optional>
#include <string>

#include "core/SonarState.h"
#include "core/Prompts.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace tidemar {

inline constexpr const char* ProgramSonarHeadTitle = "Program Sonar Head";
inline constexpr const char* SerialNumberRangeMessage = "Serial Number is out of range!\nUse 0 to 9999.";
inline constexpr int MaxProgramSerialNumber = 9999;

// The serial number box read as an unsigned decimal number of 0..9999 (blanks around it
// allowed); nothing for anything else.
std::optional<int> ParseSerialNumber(const std::string& text);

class ProgramHeadDialog : public QDialog {
public:
    ProgramHeadDialog(SonarState& state, Prompts& prompts, QWidget* parent = nullptr);

    QListWidget* IdList() const { return ids_; }
    QLineEdit* SerialNumberBox() const { return serial_; }
    QListWidget* DepthRatingList() const { return depths_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    QPushButton* DefaultButton() const { return default_; }

private:
    void ShowStartValues();
    void AcceptProgramming();

    SonarState& state_;
    Prompts& prompts_;
    QListWidget* ids_;
    QLineEdit* serial_;
    QListWidget* depths_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* default_;
};

}  // namespace tidemar
