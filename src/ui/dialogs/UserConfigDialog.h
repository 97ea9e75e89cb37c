#pragma once
// The "User Configuration" dialog: the frequency, absorption and pulse length of each of
// the 15 ranges, with arrows and a "D" (built-in value) button per cell, Load and Save As
// of .CFG files, and Default. Ok takes the cells into the table in force.

#include <QDialog>

#include <array>

#include "core/SonarState.h"
#include "core/Prompts.h"
#include "settings/ConfigEditor.h"
#include "settings/UserConfigEntry.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tidemar {

class DialogArrows;

class UserConfigDialog : public QDialog {
    Q_OBJECT
public:
    UserConfigDialog(SonarState& state, Prompts& prompts, QWidget* parent = nullptr);

    // Rows 0..14 (1 M .. 200 M).
    QLineEdit* Cell(int row, UserConfigColumn column) const { return cells_[row][column].Box; }
    DialogArrows* Arrows(int row, UserConfigColumn column) const { return cells_[row][column].Arrows; }
    QPushButton* DefaultCellButton(int row, UserConfigColumn column) const { return cells_[row][column].Default; }
    QLabel* RowLabelOf(int row) const { return rowLabels_[row]; }
    QLabel* AbsorptionHeader() const { return absorptionHeader_; }
    QLineEdit* ConfigNameBox() const { return configName_; }
    QPushButton* LoadButton() const { return load_; }
    QPushButton* SaveAsButton() const { return saveAs_; }
    QPushButton* DefaultButton() const { return default_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    UserConfigCellTexts CellTexts() const;
    void reject() override;

private:
    struct CellControls {
        QLineEdit* Box = nullptr;
        DialogArrows* Arrows = nullptr;
        QPushButton* Default = nullptr;
    };

    void ShowCell(int row, UserConfigColumn column);
    void ShowCells();
    void ShowName(const std::string& name);
    void LoadConfiguration();
    void SaveConfigurationAs();
    void ResetToDefault();
    void AcceptCells();

    SonarState& state_;
    Prompts& prompts_;
    ConfigEditorOpening opening_;
    std::array<std::array<CellControls, 3>, UserConfigUsedRows> cells_{};
    std::array<QLabel*, UserConfigUsedRows> rowLabels_{};
    QLabel* absorptionHeader_;
    QLineEdit* configName_;
    QPushButton* load_;
    QPushButton* saveAs_;
    QPushButton* default_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace tidemar
