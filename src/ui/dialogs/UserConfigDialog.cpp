#include "ui/dialogs/UserConfigDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/ConfigEditor.h"
#include "ui/dialogs/DialogSupport.h"

namespace tidemar {

namespace {

constexpr int CellCharacters[3] = {5, 7, 5};

}  // namespace

UserConfigDialog::UserConfigDialog(SonarState& state, Prompts& prompts, QWidget* parent)
    : QDialog(parent), state_(state), prompts_(prompts) {
    setWindowTitle(QStringLiteral("User Configuration"));
    setModal(true);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel(QStringLiteral("Range"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Frequency (kHz)"), this), 0, 1, 1, 3);
    auto* absorptionTitle = new QLabel(QStringLiteral("Absorption"), this);
    absorptionHeader_ = new QLabel(ToQString(AbsorptionColumnLabel(state_.Units)), this);
    auto* absorptionHeading = new QHBoxLayout;
    absorptionHeading->setSpacing(4);
    absorptionHeading->addWidget(absorptionTitle);
    absorptionHeading->addWidget(absorptionHeader_);
    absorptionHeading->addStretch();
    grid->addLayout(absorptionHeading, 0, 4, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Pulse Length (usec)"), this), 0, 7, 1, 3);

    for (int r = 0; r < UserConfigUsedRows; ++r) {
        rowLabels_[r] = new QLabel(ToQString(RowLabel(r, state_.Units)), this);
        grid->addWidget(rowLabels_[r], r + 1, 0);
        for (int c = FrequencyColumn; c <= PulseLengthColumn; ++c) {
            const auto column = static_cast<UserConfigColumn>(c);
            CellControls& cell = cells_[r][c];
            cell.Box = MakeValueBox(this, CellCharacters[c]);
            cell.Arrows = new DialogArrows(this);
            cell.Default = new QPushButton(QStringLiteral("D"), this);
            cell.Default->setFixedWidth(cell.Default->fontMetrics().horizontalAdvance(QStringLiteral("D")) + 14);
            cell.Default->setAutoDefault(false);
            grid->addWidget(cell.Box, r + 1, 1 + c * 3);
            grid->addWidget(cell.Arrows, r + 1, 2 + c * 3);
            grid->addWidget(cell.Default, r + 1, 3 + c * 3);
            connect(cell.Arrows, &DialogArrows::stepped, this, [this, r, column](int direction) {
                StepConfigCell(state_, r, column, direction);
                ShowCell(r, column);
            });
            connect(cell.Default, &QPushButton::clicked, this, [this, r, column] {
                DefaultConfigCell(state_, r, column);
                ShowCell(r, column);
            });
        }
    }

    configName_ = new QLineEdit(this);
    configName_->setReadOnly(true);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("Current Configuration:"), this));
    nameRow->addWidget(configName_, 1);

    load_ = new QPushButton(QStringLiteral("Load..."), this);
    saveAs_ = new QPushButton(QStringLiteral("Save As..."), this);
    default_ = new QPushButton(QStringLiteral("Default"), this);
    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    for (QPushButton* button : {load_, saveAs_, default_, cancel_}) button->setAutoDefault(false);
    ok_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {load_, saveAs_, default_, ok_, cancel_}) buttons->addWidget(button);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(new QLabel(QStringLiteral("*Note: Pulse Length is multiplied by 2 in Polar Mode"), this));
    layout->addLayout(nameRow);
    layout->addLayout(buttons);

    connect(load_, &QPushButton::clicked, this, &UserConfigDialog::LoadConfiguration);
    connect(saveAs_, &QPushButton::clicked, this, &UserConfigDialog::SaveConfigurationAs);
    connect(default_, &QPushButton::clicked, this, &UserConfigDialog::ResetToDefault);
    connect(ok_, &QPushButton::clicked, this, &UserConfigDialog::AcceptCells);
    connect(cancel_, &QPushButton::clicked, this, &UserConfigDialog::reject);

    ShowName(state_.ConfigFile);
    opening_ = OpenConfigEditor(state_);
    ShowCells();
}

UserConfigCellTexts UserConfigDialog::CellTexts() const {
    UserConfigCellTexts texts;
    for (int r = 0; r < UserConfigUsedRows; ++r)
        for (int c = FrequencyColumn; c <= PulseLengthColumn; ++c) texts[r][c] = cells_[r][c].Box->text().toStdString();
    return texts;
}

void UserConfigDialog::ShowCell(int row, UserConfigColumn column) {
    cells_[row][column].Box->setText(ToQString(CellTextOf(state_.UserConfig.Working, row, column, state_.Units)));
}

void UserConfigDialog::ShowCells() {
    for (int r = 0; r < UserConfigUsedRows; ++r)
        for (int c = FrequencyColumn; c <= PulseLengthColumn; ++c) ShowCell(r, static_cast<UserConfigColumn>(c));
}

void UserConfigDialog::ShowName(const std::string& name) { configName_->setText(ToQString(ShortConfigName(name))); }

void UserConfigDialog::LoadConfiguration() {
    const std::optional<std::string> path = prompts_.OpenFileName(LoadConfigRequest(state_));
    if (!path) return;
    std::vector<MessageText> messages;
    const bool loaded = LoadConfigFromEditor(state_, *path, messages);
    ShowMessages(prompts_, messages);
    if (loaded) ShowCells();
    ShowName(state_.EditConfigName);
}

void UserConfigDialog::SaveConfigurationAs() {
    const std::optional<std::string> path = prompts_.SaveFileName(SaveConfigRequest(state_));
    if (!path) return;
    std::vector<MessageText> messages;
    SaveConfigFromEditor(state_, *path, CellTexts(), messages);
    ShowMessages(prompts_, messages);
    ShowName(state_.EditConfigName);
}

void UserConfigDialog::ResetToDefault() {
    ResetConfigInEditor(state_);
    ShowName(state_.EditConfigName);
    ShowCells();
}

// Escape and the close button come here as well as Cancel.
void UserConfigDialog::reject() {
    CancelConfigEditor(state_, opening_);
    QDialog::reject();
}

void UserConfigDialog::AcceptCells() {
    std::vector<MessageText> messages;
    const bool accepted = AcceptConfigEditor(state_, CellTexts(), messages);
    ShowMessages(prompts_, messages);
    if (accepted) accept();
}

}  // namespace tidemar
