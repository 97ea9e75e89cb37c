#pragma once
// The "Sound Velocity" dialog: the speed of sound in m/s or ft/s, stored on Ok.

#include "core/SonarState.h"
#include "ui/dialogs/ValueDialog.h"

namespace tidemar {

class SoundVelocityDialog : public ValueDialog {
    Q_OBJECT
public:
    SoundVelocityDialog(SonarState& state, Prompts& prompts, QWidget* parent = nullptr);
};

}  // namespace tidemar
