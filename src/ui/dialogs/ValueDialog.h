#pragma once
// A dialog for one number: a value box with scroll arrows and a unit, and Ok, Default and
// Cancel. The rules (steps, limits, format, the check on Ok) come from the setting it edits;
// the value is stored only when Ok accepts it.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include <QDialog>

#include "core/Prompts.h"
#include "settings/UserConfigEntry.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tidemar {

class DialogArrows;

struct ValueRules {
    std::string_view Caption;
    int BoxCharacters = 6;
    std::string Unit;
    std::function<float()> Start;            // the value the dialog opens with
    std::function<float()> Default;          // the Default button
    std::function<float(float, int)> Step;   // one arrow step up (+1) or down (-1)
    std::function<std::string(float)> Text;  // as shown in the box
    std::function<float(std::string_view)> FromText;
    std::function<std::optional<MessageText>(float)> Accept;  // stores, or says why not
};

class ValueDialog : public QDialog {
    Q_OBJECT
public:
    ValueDialog(ValueRules rules, Prompts& prompts, QWidget* parent);

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

    ValueRules rules_;
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
