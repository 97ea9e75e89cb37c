#include "ui/window/WindowDispatchTarget.h"

#include "core/LatencyProbe.h"
#include "core/Modes.h"
#include "gps/GpsInput.h"
#include "gps/GpsPositionBox.h"

namespace tidemar {

void WindowDispatchTarget::BlitSonarImage() {
    ++blits_;
    MarkLatency(LatencyMark::ImageChanged);
    if (view_) view_->ScheduleImageRepaint();
}

void WindowDispatchTarget::DrawPingIndicator(bool on) {
    ++pingsHeard_;
    if (view_) view_->SetPingMark(on);
}

void WindowDispatchTarget::BlinkNoConnection(bool toggle) {
    // Erased first; with toggle the text shows every other call.
    if (toggle) blink_ = !blink_;
    if (view_) view_->SetNoConnectionShown(toggle && blink_);
}

void WindowDispatchTarget::EraseLinkStatus() {
    if (!view_) return;
    view_->SetNoConnectionShown(false);
    view_->StatusChanged();  // the positioning text too, once the head is at the scan start
}

void WindowDispatchTarget::DrawGpsPosition(bool fresh) {
    const GpsBox box = DecideGpsBox(state_, fresh, gpsBlink_);
    if (view_) view_->SetGpsBox(box);
}

void WindowDispatchTarget::OnNewSecond() {
    GpsSecondTick(state_, *this);
    if (view_) view_->SchedulePanelRepaint();  // the date and time box
}

void WindowDispatchTarget::DrawDateTime() {
    if (view_) view_->SchedulePanelRepaint();
}

void WindowDispatchTarget::DrawFrequencyReadout() {
    if (view_) view_->SchedulePanelRepaint();
}

void WindowDispatchTarget::DrawUserTextBox() {
    if (view_) view_->SchedulePanelRepaint();
}

void WindowDispatchTarget::RefreshChangedReadouts() {
    // Values shown for the other data source say nothing about this one.
    if (state_.RunMode != shownRunMode_) {
        shownRunMode_ = state_.RunMode;
        shown_ = {};
    }
    // Live, the read-outs show the operator's settings and only change on a click; a
    // played record brings its own range, mode, gain, speed, sector and train.
    const ChangedReadouts changed = TakeChangedReadouts(shown_, state_);
    // The sector and train each display mode remembers are the operator's (they are saved
    // with the settings); a played file's values only pass through the read-outs.
    const int sectorSector = state_.SectorSectorSize, polarSector = state_.PolarSectorSize;
    const int sectorTrain = state_.SectorTrain, polarTrain = state_.PolarTrain;
    PanelUpdate update;
    if (changed.Range) {
        update |= RangeReadout(state_);
        update.GridLabel = true;
    }
    if (changed.ModeAndSpeed) {
        update |= ModeReadout(state_);
        update |= SpeedReadout(state_);
    }
    if (changed.Speed) update |= SpeedReadout(state_);
    if (changed.Train) update |= TrainReadout(state_);
    if (changed.Sector) update |= SectorReadout(state_);
    if (changed.Gain) update.GainReadout = true;
    if (state_.RunMode == DataSource::File) {
        state_.SectorSectorSize = sectorSector;
        state_.PolarSectorSize = polarSector;
        state_.SectorTrain = sectorTrain;
        state_.PolarTrain = polarTrain;
    }
    if (!view_) return;
    if (changed.Xdcr) view_->XdcrChanged();
    if (update.Any()) view_->ApplyReadoutUpdate(update);
}

void WindowDispatchTarget::DrawHeadPosition() {
    if (view_) view_->HeadPositionChanged();
}

void WindowDispatchTarget::RedrawMeasureLine() {
    if (view_) view_->RedrawMeasureLine();
}

void WindowDispatchTarget::RefreshMeasurementReadout() {
    if (view_) view_->RefreshMeasureReadout();
}

void WindowDispatchTarget::UpdatePixelZoom() {
    if (view_) view_->UpdatePixelZoom();
}

}  // namespace tidemar
