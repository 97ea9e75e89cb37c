#pragma once
// The menu commands that open a settings dialog, with what the window redraws after each.
// Every one runs its dialog modally over `window` (the main window) and returns what the
// window must still repaint (MainWindow::ApplyPanelUpdate); the drawing the command does
// itself goes through `target`.

#include "core/DispatchPing.h"
#include "core/SonarState.h"
#include "core/Prompts.h"
#include "ui_core/PanelActions.h"

class QWidget;

namespace tidemar {

// "&Settings": live, the transmit settings, then the frequency read-out; in playback, the
// read-only settings of the ping shown.
PanelUpdate RunSettingsCommand(QWidget* window, SonarState& state, Prompts& prompts, DispatchTarget& target);

// "&Sound Velocity...": a changed velocity with the grid on takes the grid drawn with the
// old velocity off and draws the new one.
PanelUpdate RunSoundVelocityCommand(QWidget* window, SonarState& state, Prompts& prompts, DispatchTarget& target);

// Image rotation: the picture and the head-position indicator are redrawn afterwards.
PanelUpdate RunOffsetAngleCommand(QWidget* window, SonarState& state, Prompts& prompts, DispatchTarget& target);

// "User &Text...": the user text box is redrawn afterwards.
PanelUpdate RunUserTextCommand(QWidget* window, SonarState& state, Prompts& prompts, DispatchTarget& target);

// "&Profile Setup...".
PanelUpdate RunProfileSetupCommand(QWidget* window, SonarState& state, Prompts& prompts, DispatchTarget& target);

// "&About".
void RunAboutCommand(QWidget* window);

}  // namespace tidemar
