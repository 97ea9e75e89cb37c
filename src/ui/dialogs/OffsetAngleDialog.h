#pragma once
// The "Rotate Sonar Image" dialog: the angle the picture is turned by, stored on Ok.

#include "core/SonarState.h"
#include "ui/dialogs/ValueDialog.h"

namespace tidemar {

class OffsetAngleDialog : public ValueDialog {
    Q_OBJECT
public:
    OffsetAngleDialog(SonarState& state, Prompts& prompts, QWidget* parent = nullptr);
};

}  // namespace tidemar
