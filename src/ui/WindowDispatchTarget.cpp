#include "ui/WindowDispatchTarget.h"

#include "gps/GpsInput.h"
#include "gps/GpsPositionBox.h"

namespace tidemar {

void WindowDispatchTarget::BlitSonarImage() {
    ++blits_;
    if (view_) view_->ScheduleImageRepaint();
}

void WindowDispatchTarget::DrawPingIndicator(bool on) {
    if (view_) view_->SetPingMark(on);
}

void WindowDispatchTarget::BlinkNoConnection(bool toggle) {
    // Erased first; with toggle the text shows every other call.
    if (toggle) blink_ = !blink_;
    if (view_) view_->SetNoConnectionShown(toggle && blink_);
}

void WindowDispatchTarget::EraseLinkStatus() {
    if (view_) view_->SetNoConnectionShown(false);
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
    // Live, the read-outs show the operator's settings and only change on a click; a
    // played record brings its own range, mode, gain, speed, sector and train.
    if (view_ && state_.RunMode == 1) view_->SchedulePanelRepaint();
}

}  // namespace tidemar
