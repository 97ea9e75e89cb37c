#include "ui/window/DialogCommands.h"

#include "core/Modes.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/OffsetAngleDialog.h"
#include "ui/dialogs/PlaybackSettingsDialog.h"
#include "ui/dialogs/ProfileSetupDialog.h"
#include "ui/dialogs/SettingsDialog.h"
#include "ui/dialogs/SoundVelocityDialog.h"
#include "ui/dialogs/UserTextDialog.h"

namespace tidemar {

PanelUpdate RunSettingsCommand(QWidget* window, SonarState& state, Prompts& prompts, DispatchTarget& target) {
    PanelUpdate update;
    if (state.RunMode == DataSource::File) {
        PlaybackSettingsDialog dialog(state, window);
        dialog.exec();
        return update;
    }
    SettingsDialog dialog(state, prompts, target, window);
    dialog.exec();
    target.DrawFrequencyReadout();
    update.FrequencyReadout = true;
    return update;
}

PanelUpdate RunSoundVelocityCommand(QWidget* window, SonarState& state, Prompts& prompts, DispatchTarget& target) {
    PanelUpdate update;
    const float before = state.SoundVelocityMeters;
    SoundVelocityDialog dialog(state, prompts, window);
    dialog.exec();
    const float after = state.SoundVelocityMeters;
    if (after != before && state.Grid) {
        state.SoundVelocityMeters = before;
        target.RemoveGrid();
        state.SoundVelocityMeters = after;
        target.DrawGrid();
        update.GridLabel = true;
    }
    return update;
}

PanelUpdate RunOffsetAngleCommand(QWidget* window, SonarState& state, Prompts& prompts, DispatchTarget& target) {
    OffsetAngleDialog dialog(state, prompts, window);
    dialog.exec();
    target.RedrawSonarImage();
    target.DrawHeadPosition();
    PanelUpdate update;
    update.HeadIndicator = true;
    return update;
}

PanelUpdate RunUserTextCommand(QWidget* window, SonarState& state, Prompts& prompts, DispatchTarget& target) {
    UserTextDialog dialog(state, prompts, window);
    dialog.exec();
    target.DrawUserTextBox();
    return {};
}

PanelUpdate RunProfileSetupCommand(QWidget* window, SonarState& state, Prompts& prompts, DispatchTarget& /*target*/) {
    ProfileSetupDialog dialog(state, prompts, window);
    dialog.exec();
    return {};
}

void RunAboutCommand(QWidget* window) {
    AboutDialog dialog(window);
    dialog.exec();
}

}  // namespace tidemar
