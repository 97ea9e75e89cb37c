#pragma once
// The "Auto-Profile" dialog: auto-profile on or off, where the cross-section lies (chainage
// y, sonar elevation z, sonar offset x), the dredge line's depth, and what happens after
// each scan. Ok stores everything and, live, starts a scan when auto-profile has just been
// switched on; Defaults takes effect at once for the switch and the four "After each
// scan" boxes; Cancel leaves the rest as it was.

#include <QDialog>

#include <array>
#include <optional>

#include "core/AutoProfile.h"
#include "core/SonarState.h"
#include "core/Prompts.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tidemar {

class DialogArrows;

inline constexpr const char* AutoProfileCaption = "Auto-Profile";
inline constexpr int AutoProfileDialogUnitsWide = 180, AutoProfileDialogUnitsHigh = 204;

// The four value boxes, in the order of their controls (100, 200, 300, 400).
enum AutoProfileValue { ChainageValue, ElevationValue, OffsetValue, DredgeDepthValue, AutoProfileValueCount };

class AutoProfileDialog : public QDialog {
    Q_OBJECT
public:
    // `geometry` is where a scan started by Ok begins and ends.
    AutoProfileDialog(SonarState& state, ProfileScan& scan, const ScanGeometry& geometry, Prompts& prompts,
                      QWidget* parent = nullptr);

    QCheckBox* EnableBox() const { return enable_; }
    QLineEdit* ValueBox(AutoProfileValue which) const { return values_[which]; }
    QLabel* UnitLabel(AutoProfileValue which) const { return units_[which]; }
    DialogArrows* Arrows(AutoProfileValue which) const { return arrows_[which]; }
    QCheckBox* XyzBox() const { return xyz_; }
    QCheckBox* BmpBox() const { return bmp_; }
    QCheckBox* ConfirmationBox() const { return confirmation_; }
    QCheckBox* PromptBox() const { return prompt_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* DefaultsButton() const { return defaults_; }
    QPushButton* CancelButton() const { return cancel_; }

    // True when Ok started a scan (the head is on its way to the start).
    bool ScanStarted() const { return scanStarted_; }

private:
    void ShowValue(AutoProfileValue which, float value);
    void StepValue(AutoProfileValue which, int direction);
    void FileTypesChanged();
    void ConfirmationClicked();
    void ShowConfirmationInactive();
    void RestoreDefaults();
    void AcceptValues();

    SonarState& state_;
    ProfileScan& scan_;
    ScanGeometry geometry_;
    Prompts& prompts_;
    bool scanStarted_ = false;
    QCheckBox* enable_;
    std::array<QLineEdit*, AutoProfileValueCount> values_{};
    std::array<QLabel*, AutoProfileValueCount> units_{};
    std::array<DialogArrows*, AutoProfileValueCount> arrows_{};
    QCheckBox* xyz_;
    QCheckBox* bmp_;
    QCheckBox* confirmation_;
    QCheckBox* prompt_;
    QPushButton* ok_;
    QPushButton* defaults_;
    QPushButton* cancel_;
};

// A value box's text as the dialog reads it: its first 8 characters as a decimal number.
// Nothing when they are not a number.
std::optional<float> AutoProfileValueOf(const QString& text);

}  // namespace tidemar
