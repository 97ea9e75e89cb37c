// The setup-type choice, "Defaults" and the scroll arrows of the transmit settings, and the
// editor's per-cell steps and file dialogs.
#include <gtest/gtest.h>

#include "core/SonarState.h"
#include "settings/ConfigEditor.h"
#include "settings/UserConfigEntry.h"

namespace tidemar {
namespace {

SonarState AutoState() {
    SonarState state;
    ResetUserConfig(state.UserConfig);
    state.Range = 13;
    state.GridMode = DisplayMode::Sector;
    ApplyUserConfig(state);
    return state;
}

TEST(SetupType, SwitchingKeepsTheManualValues) {
    SonarState state = AutoState();
    state.ManualFrequency = 500;
    state.ManualAbsorption = 33;
    state.ManualPulseLength = 250;

    SelectManualSetup(state);
    EXPECT_EQ(state.ConfigType, 0);
    EXPECT_EQ(state.Frequency, 500);
    EXPECT_EQ(state.Absorption, 33);
    EXPECT_EQ(state.PulseLength, 250);

    state.Frequency = 520;  // as if accepted by Ok
    state.ManualFrequency = 520;
    SelectAutoSetup(state);
    EXPECT_EQ(state.ConfigType, 1);
    EXPECT_EQ(state.ManualFrequency, 520);
    EXPECT_EQ(state.ManualPulseLength, 250);
    EXPECT_EQ(state.Frequency, 310) << "row 13 of the table";
    EXPECT_EQ(state.PulseLength, 400);

    SelectAutoSetup(state);
    EXPECT_EQ(state.ManualFrequency, 520) << "choosing auto again keeps the manual values";
    EXPECT_EQ(state.ManualPulseLength, 250);

    SelectManualSetup(state);
    EXPECT_EQ(state.Frequency, 520);
}

TEST(SetupType, AutoInPolarDoublesThePulseLengthUpTo1000) {
    SonarState state = AutoState();
    state.ConfigType = 0;
    state.GridMode = DisplayMode::Polar;
    SelectAutoSetup(state);
    EXPECT_EQ(state.PulseLength, 800);
    state.Range = 14;
    SelectAutoSetup(state);
    EXPECT_EQ(state.PulseLength, 1000);
}

TEST(SetupType, DefaultsSetInForceAndManualValues) {
    SonarState state;
    state.ConfigType = 0;
    state.Frequency = state.ManualFrequency = 900;
    state.Absorption = state.ManualAbsorption = 3;
    state.PulseLength = state.ManualPulseLength = 990;
    ResetManualSetup(state);
    EXPECT_EQ(state.Frequency, 675);
    EXPECT_EQ(state.ManualFrequency, 675);
    EXPECT_EQ(state.Absorption, 20);
    EXPECT_EQ(state.ManualAbsorption, 20);
    EXPECT_EQ(state.PulseLength, 100);
    EXPECT_EQ(state.ManualPulseLength, 100);
}

TEST(ScrollArrows, StepWithinLimits) {
    EXPECT_EQ(StepFrequency(675, 1), 680);
    EXPECT_EQ(StepFrequency(1100, 1), 1100);
    EXPECT_EQ(StepFrequency(280, -1), 280);
    EXPECT_EQ(StepAbsorption(255, 1), 255);
    EXPECT_EQ(StepAbsorption(1, -1), 1);
    EXPECT_EQ(StepAbsorption(20, -1), 19);
    EXPECT_EQ(StepPulseLength(1000, 1), 1000);
    EXPECT_EQ(StepPulseLength(10, -1), 10);
    EXPECT_EQ(StepPulseLength(100, 1), 110);
    EXPECT_EQ(StepUserConfigValue(AbsorptionColumn, 60, 1), 61);
}

TEST(ConfigEditorCells, OpenStepAndDefault) {
    SonarState state;
    ResetUserConfig(state.UserConfig);
    state.UserConfig.Active[4] = {5, 1100, 255, 1000};
    state.UserConfig.Working[4] = {0, 0, 0, 0};
    OpenConfigEditor(state);
    EXPECT_EQ(state.UserConfig.Working[4].RangeLabel, 5);
    EXPECT_EQ(state.UserConfig.Working[4].Frequency, 1100);

    // The editor's name is its own: opening again does not take ConfigFile over it.
    state.ConfigFile = "/data/in-force.cfg";
    state.EditConfigName = "/data/loaded-then-cancelled.cfg";
    OpenConfigEditor(state);
    EXPECT_EQ(state.EditConfigName, "/data/loaded-then-cancelled.cfg");

    StepConfigCell(state, 4, FrequencyColumn, 1);
    StepConfigCell(state, 4, AbsorptionColumn, 1);
    StepConfigCell(state, 4, PulseLengthColumn, -1);
    EXPECT_EQ(state.UserConfig.Working[4].Frequency, 1100);
    EXPECT_EQ(state.UserConfig.Working[4].Absorption, 255);
    EXPECT_EQ(state.UserConfig.Working[4].PulseLength, 990);
    EXPECT_EQ(state.UserConfig.Active[4].PulseLength, 1000) << "the table in force waits for Ok";

    DefaultConfigCell(state, 4, PulseLengthColumn);
    EXPECT_EQ(state.UserConfig.Working[4].PulseLength, 30);
    EXPECT_EQ(state.UserConfig.Working[4].Frequency, 1100) << "only the cell of the button";
    EXPECT_EQ(CellTextOf(state.UserConfig.Working, 4, AbsorptionColumn, 0), "2.55");
}

TEST(ConfigEditorCells, FileDialogRequests) {
    SonarState state;
    state.ConfigPathBuffer = "/data/site.cfg";
    const FileDialogRequest load = LoadConfigRequest(state);
    EXPECT_EQ(load.Title, "Load Configuration");
    EXPECT_EQ(load.FilterName, "SK7T Config File (*.CFG)");
    EXPECT_EQ(load.Pattern, "*.CFG");
    EXPECT_EQ(load.DefaultExtension, "CFG");
    EXPECT_EQ(load.InitialName, "/data/site.cfg");
    EXPECT_TRUE(load.FileMustExist && load.PathMustExist && load.HideReadOnly);
    EXPECT_FALSE(load.PromptOverwrite);

    const FileDialogRequest save = SaveConfigRequest(state);
    EXPECT_EQ(save.Title, "Save Configuration As");
    EXPECT_EQ(save.InitialName, "");
    EXPECT_EQ(state.ConfigPathBuffer, "") << "emptied before the dialog";
    EXPECT_TRUE(save.PromptOverwrite && save.PathMustExist && save.HideReadOnly);
    EXPECT_FALSE(save.FileMustExist);
}

}  // namespace
}  // namespace tidemar
