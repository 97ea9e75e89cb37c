#include "ui/window/AutoProfileController.h"

#include "files/CaptureNames.h"
#include "files/XyzFile.h"
#include "image/ImageGrid.h"
#include "ui/dialogs/AutoProfileDialog.h"
#include "ui/dialogs/SaveProfileDialog.h"

namespace tidemar {

class AutoProfileController::Completion : public ScanCompletion {
public:
    explicit Completion(AutoProfileController& owner) : owner_(owner) {}

    bool ConfirmSave() override { return SaveProfileDialog::Ask(owner_.parent_); }
    void WriteXyz(const std::vector<ProfileScanRecord>& records) override {
        const std::string name = ProfileCaptureName(owner_.directory_, owner_.state_, ".XYZ");
        // A file that cannot be made is skipped; the scan goes on.
        if (WriteXyzFile(name, owner_.state_, records, owner_.prompts_) == XyzWrite::Written)
            owner_.written_.push_back(name);
    }
    void CaptureScreen() override {
        if (owner_.hooks_.CaptureScreen)
            owner_.hooks_.CaptureScreen(ProfileCaptureName(owner_.directory_, owner_.state_, ".BMP"));
    }
    void PromptForScan() override { owner_.ShowDialog(); }
    void ClearProfileMarks() override {
        owner_.image_.Profile.RecentProfilePoints.fill({});
        owner_.image_.Profile.NextRecentSlot = 0;
    }

private:
    AutoProfileController& owner_;
};

AutoProfileController::AutoProfileController(SonarState& state, ImageState& image, Prompts& prompts, QWidget* parent,
                                             std::string directory, AutoProfileHooks hooks)
    : state_(state),
      image_(image),
      prompts_(prompts),
      parent_(parent),
      directory_(std::move(directory)),
      hooks_(std::move(hooks)) {}

ScanGeometry AutoProfileController::Geometry() const {
    const SectorDial dial = ComputeSectorDial(state_);
    return {dial.ScanStartField, dial.StartPosition, dial.EndPosition};
}

void AutoProfileController::AddProfilePoint() {
    const int busy = state_.BusyCursorOn;
    RecordProfilePoint(state_, scan_);
    if (busy != state_.BusyCursorOn && hooks_.StatusChanged) hooks_.StatusChanged();
}

void AutoProfileController::AutoProfileCycleStep() {
    Completion completion(*this);
    tidemar::AutoProfileCycleStep(state_, scan_, Geometry(), completion);
}

void AutoProfileController::RunAutoProfileDialog() {
    ShowDialog();
    if (hooks_.RedrawDredgeLine) hooks_.RedrawDredgeLine();
}

void AutoProfileController::ShowDialog() {
    AutoProfileDialog dialog(state_, scan_, Geometry(), prompts_, parent_);
    dialog.exec();
    if (!state_.AutoProfileActive) {
        // Switched off, also by Defaults and a later Cancel: the next switch-on starts a scan.
        AcceptAutoProfileSettings(state_, scan_, Geometry());
    }
    if (hooks_.StatusChanged) hooks_.StatusChanged();
}

void AutoProfileController::ResetCycle() {
    ResetAutoProfileCycle(state_, scan_);
    if (hooks_.StatusChanged) hooks_.StatusChanged();
}

}  // namespace tidemar
