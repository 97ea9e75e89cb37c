#pragma once
// The Diagnostics window: a column of sixteen labelled values, the header of the last
// reply (rows 0..7) and the link settings (rows 8..15), and where each is drawn.
//
// Geometry for the window's character cell (w wide, h high), client coordinates:
//   row r at y = r * h + 6; label at x = 10, "-" at x = 7w + 12, value at x = 8w + 15;
//   the values of rows 0..7 are drawn over a background box from (8w + 11, r * h + 6)
//   to (right edge - 11, (r + 1) * h + 6), the Rep Rate value only while it is narrower
//   than 9w - 5.

#include <array>
#include <string>

#include "core/SonarState.h"
#include "ui_core/PanelLayout.h"

namespace tidemar {

inline constexpr int DiagnosticsRowCount = 16;
inline constexpr int DiagnosticsHeaderRows = 8;  // rows showing the last reply's header
inline constexpr int DiagnosticsRepRateRow = 12;
inline constexpr const char* DiagnosticsTitle = "Diagnostics";

struct DiagnosticsRow {
    const char* Label = "";
    std::string Value;
};

// "n/a" in rows 0..7 until the first reply came (the first header byte is still 0).
std::array<DiagnosticsRow, DiagnosticsRowCount> DiagnosticsRows(const SonarState& state);

struct DiagnosticsGeometry {
    int CharWidth = 8;
    int LineHeight = 16;

    Point ClientSize() const { return {18 * CharWidth, 18 * LineHeight + 3}; }
    int RowTop(int row) const { return row * LineHeight + 6; }
    int LabelLeft() const { return 10; }
    int DashLeft() const { return 7 * CharWidth + 12; }
    int ValueLeft() const { return 8 * CharWidth + 15; }
    Rect ValueBox(int row, int clientWidth) const {
        return {8 * CharWidth + 11, RowTop(row), clientWidth - 11, RowTop(row + 1)};
    }
    // The Rep Rate text gets its box only while it is narrower than this.
    int RepRateBoxLimit() const { return 9 * CharWidth - 5; }
};

}  // namespace tidemar
