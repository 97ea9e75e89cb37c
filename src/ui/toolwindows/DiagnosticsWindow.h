#pragma once
// The "Diagnostics" tool window: the header fields of the last reply and the link
// settings, one labelled value a row, repainted after every ping while it is shown.
// Closing it only hides it; the menu's Diagnostics command shows it again.

#include <QFont>
#include <QWidget>

#include <utility>
#include <vector>

#include "core/SonarState.h"
#include "ui_core/DiagnosticsTexts.h"

namespace tidemar {

class DiagnosticsWindow : public QWidget {
public:
    DiagnosticsWindow(const SonarState& state, QWidget* parent);

    // The values changed: repaint them.
    void Refresh();

    const DiagnosticsGeometry& Geometry() const { return geometry_; }
    int Refreshes() const { return refreshes_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const SonarState& state_;
    DiagnosticsGeometry geometry_;
    QFont textFont_;
    int refreshes_ = 0;
};

// The character cell these windows are laid out in: the width of "X" and the line
// height of the main window's font.
std::pair<int, int> MainWindowCharacterCell(const QFont& font);

// `base`, made smaller until every text fits its width (the windows' cells come from the
// main window's font; the texts are drawn in a plainer, narrower one).
QFont FittedFont(QFont base, const std::vector<std::pair<QString, int>>& textsAndWidths);

}  // namespace tidemar
