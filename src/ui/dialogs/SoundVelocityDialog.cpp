#include "ui/dialogs/SoundVelocityDialog.h"

#include "settings/DialogEntries.h"

namespace tidemar {

namespace {

ValueRules SoundVelocityRules(SonarState& state) {
    ValueRules rules;
    rules.Caption = SoundVelocityCaption;
    rules.BoxCharacters = SoundVelocityBoxCharacters;
    rules.Unit = SoundVelocityUnitLabel(state.Units);
    rules.Start = [&state] { return SoundVelocityStart(state); };
    rules.Default = [&state] { return SoundVelocityDefault(state.Units); };
    rules.Step = [&state](float value, int direction) { return StepSoundVelocity(value, direction, state.Units); };
    rules.Text = SoundVelocityText;
    rules.FromText = SoundVelocityFromText;
    rules.Accept = [&state](float value) { return AcceptSoundVelocity(state, value); };
    return rules;
}

}  // namespace

SoundVelocityDialog::SoundVelocityDialog(SonarState& state, Prompts& prompts, QWidget* parent)
    : ValueDialog(SoundVelocityRules(state), prompts, parent) {}

}  // namespace tidemar
