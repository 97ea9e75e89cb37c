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
    // The styles draw reliefs and handles somewhat lighter than these: none is near the
    // brightest red of the night colours.
    const QColor window(30, 22, 22);
    const QColor base(16, 10, 10);
    const QColor text(84, 34, 26);
    const QColor grayed(48, 28, 26);
    const QColor button(36, 26, 26);
    const QColor highlight(62, 14, 10);
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
        palette.setColor(group, QPalette::BrightText, QColor(84, 0, 0));
        palette.setColor(group, QPalette::Light, QColor(52, 38, 38));
        palette.setColor(group, QPalette::Midlight, QColor(44, 32, 32));
        palette.setColor(group, QPalette::Mid, QColor(34, 26, 26));
        palette.setColor(group, QPalette::Dark, QColor(14, 10, 10));
        palette.setColor(group, QPalette::Shadow, QColor(0, 0, 0));
        palette.setColor(group, QPalette::Highlight, highlight);
        palette.setColor(group, QPalette::HighlightedText, QColor(80, 40, 34));
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

QPalette DayPalette() {
    const QPalette day = SavedDay().value_or(QApplication::palette());
    // Every role set explicitly: a widget given this palette takes nothing from a parent
    // or an application in the night palette.
    QPalette all;
    for (int group = 0; group < QPalette::NColorGroups; ++group)
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = static_cast<QPalette::ColorGroup>(group);
            const auto r = static_cast<QPalette::ColorRole>(role);
            all.setBrush(g, r, day.brush(g, r));
        }
    return all;
}

}  // namespace tidemar
