#include "ui/view/NightPalette.h"

#include <optional>

#include <QApplication>

namespace tidemar {

namespace {

std::optional<QPalette>& SavedDay() {
    static std::optional<QPalette> day;
    return day;
}

}  // namespace

QPalette NightPalette() {
    const QColor window(30, 22, 22);
    const QColor base(16, 10, 10);
    const QColor text(92, 36, 28);
    const QColor grayed(52, 30, 28);
    const QColor button(40, 28, 28);
    const QColor highlight(72, 16, 12);
    QPalette palette;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        palette.setColor(group, QPalette::Window, window);
        palette.setColor(group, QPalette::WindowText, disabled ? grayed : text);
        palette.setColor(group, QPalette::Base, base);
        palette.setColor(group, QPalette::AlternateBase, window);
        palette.setColor(group, QPalette::ToolTipBase, window);
        palette.setColor(group, QPalette::ToolTipText, text);
        palette.setColor(group, QPalette::PlaceholderText, grayed);
        palette.setColor(group, QPalette::Text, disabled ? grayed : text);
        palette.setColor(group, QPalette::Button, button);
        palette.setColor(group, QPalette::ButtonText, disabled ? grayed : text);
        palette.setColor(group, QPalette::BrightText, QColor(96, 0, 0));
        palette.setColor(group, QPalette::Light, QColor(60, 44, 44));
        palette.setColor(group, QPalette::Midlight, QColor(48, 36, 36));
        palette.setColor(group, QPalette::Mid, QColor(34, 26, 26));
        palette.setColor(group, QPalette::Dark, QColor(14, 10, 10));
        palette.setColor(group, QPalette::Shadow, QColor(0, 0, 0));
        palette.setColor(group, QPalette::Highlight, highlight);
        palette.setColor(group, QPalette::HighlightedText, QColor(96, 48, 40));
        palette.setColor(group, QPalette::Link, QColor(90, 20, 20));
        palette.setColor(group, QPalette::LinkVisited, QColor(70, 20, 30));
    }
    return palette;
}

void ApplyNightPalette(bool night) {
    std::optional<QPalette>& day = SavedDay();
    if (night == day.has_value()) return;
    if (night) {
        day = QApplication::palette();
        QApplication::setPalette(NightPalette());
    } else {
        QApplication::setPalette(*day);
        day.reset();
    }
}

bool NightPaletteApplied() { return SavedDay().has_value(); }

QPalette DayPalette() { return SavedDay().value_or(QApplication::palette()); }

}  // namespace tidemar
