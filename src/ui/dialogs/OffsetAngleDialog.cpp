#include "ui/dialogs/OffsetAngleDialog.h"

#include "settings/DialogEntries.h"

namespace tidemar {

namespace {

ValueRules OffsetAngleRules(SonarState& state) {
    ValueRules rules;
    rules.Caption = OffsetAngleCaption;
    rules.BoxCharacters = OffsetAngleBoxCharacters;
    rules.Unit = "Deg";
    rules.Start = [&state] { return state.ImageRotation; };
    rules.Default = [] { return 0.0f; };
    rules.Step = StepOffsetAngle;
    rules.Text = OffsetAngleText;
    rules.FromText = OffsetAngleFromText;
    rules.Accept = [&state](float value) { return AcceptOffsetAngle(state, value); };
    return rules;
}

}  // namespace

OffsetAngleDialog::OffsetAngleDialog(SonarState& state, Prompts& prompts, QWidget* parent)
    : ValueDialog(OffsetAngleRules(state), prompts, parent) {}

}  // namespace tidemar
