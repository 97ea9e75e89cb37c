#include "link/PingCycle.h"

#include <algorithm>

#include "core/TimeStamp.h"

namespace tidemar {

namespace {

constexpr size_t TriggerModeByte = 16;  // ExternalTriggerControl, 0..3

}  // namespace

void CountLinkError(int& counter) {
    if (counter > 100000)
        counter = 0;
    else
        ++counter;
}

PingCycle::PingCycle(SonarState& state, const Clock& clock, DispatchTarget& target, std::function<void()> wake)
    : state_(state), clock_(clock), target_(target), link_(std::move(wake)) {}

PingCycle::~PingCycle() { Stop(); }

bool PingCycle::Start(int port, const LinkTimings& timings) {
    Stop();
    PrepareReply(state_);
    connected_ = false;
    inFlight_ = false;
    lastReplyValid_ = false;
    pendingPauseMs_ = 0;
    if (link_.Start(state_.IPAddress_Sonar1, port, timings)) return true;
    Report("CreateThread Error!", "Failed to create thread!");
    return false;
}

void PingCycle::Report(const std::string& caption, const std::string& text) {
    if (messageSink_) messageSink_(caption, text);
}

void PingCycle::Stop() {
    link_.Stop();
    link_.TakeEvents();
    connected_ = false;
    inFlight_ = false;
}

void PingCycle::Poll() {
    for (const LinkEvent& event : link_.TakeEvents()) {
        switch (event.What) {
        case LinkEvent::Kind::Connected:
            connected_ = true;
            target_.BlinkNoConnection(false);
            SubmitNext(0);
            break;
        case LinkEvent::Kind::Unreachable:
            connected_ = false;
            HandleUnreachable();
            break;
        case LinkEvent::Kind::Reply: HandleReply(event); break;
        case LinkEvent::Kind::NoSocket: Report("OpenTCPConnection()", "socket() failed!"); break;
        }
    }
}

void PingCycle::Resume() {
    if (!inFlight_) SubmitNext(0);
}

void PingCycle::SubmitNext(int pauseMs) {
    pendingPauseMs_ = std::max(pendingPauseMs_, pauseMs);
    if (!connected_ || inFlight_ || state_.RunMode != DataSource::Head || state_.HoldActive) return;

    if (StampTime(state_, clock_)) target_.OnNewSecond();
    PingRequest request;
    // A head-ID change or programming request goes out to the scanned head in place of
    // the next ordinary block.
    request.Block = state_.HeadScanMode && HeadProgrammingPending(state_) ? BuildHeadProgrammingCommand(state_)
                                                                          : PrepareSend(state_);
    // Taken from the block itself: what the head was told is what it does. A programming
    // block uses this byte for the new head ID (0x80 set), never for a trigger mode.
    const uint8_t trigger = request.Block[TriggerModeByte];
    request.AwaitTrigger = trigger >= 1 && trigger <= 3;
    request.ExpectedLength = state_.ExpectedReturnLength;
    request.WaitMs = pendingPauseMs_ + state_.SendDelay + (state_.ReplyType == 'P' ? 2 : 0);
    request.LastReplyValid = lastReplyValid_;
    pendingPauseMs_ = 0;
    lastReplyValid_ = false;
    inFlight_ = true;
    link_.Submit(request);
}

void PingCycle::HandleReply(const LinkEvent& event) {
    inFlight_ = false;
    ++exchanges_;
    if (event.SendFailed) CountLinkError(state_.SendErrorCount);
    if (event.ReceiveFailed) CountLinkError(state_.RecvErrorCount);
    if (event.SendFailed || event.ReceiveFailed) {
        // The link thread has closed the connection; the buffer still holds the last good
        // reply, which must not be dispatched (or recorded) a second time.
        connected_ = false;
        lastReplyValid_ = false;
        return;
    }

    const int length = std::clamp(state_.ExpectedReturnLength, 0, MaxReplyBytes);
    const int received = std::clamp(event.Received, 0, length);
    std::copy_n(event.Bytes.begin(), received, state_.ReceiveBuffer.begin());
    // A reply cut short must fail validation, not borrow its end from the last one.
    std::fill(state_.ReceiveBuffer.begin() + received, state_.ReceiveBuffer.begin() + length, 0);

    const DispatchResult result = DispatchPing(state_, clock_, target_);
    lastReplyValid_ = state_.PingValid != 0;
    BetweenPings();
    SubmitNext(result.PauseMilliseconds);
}

void PingCycle::BetweenPings() {
    if (state_.PingValid && state_.AutoProfileActive) target_.AutoProfileCycleStep();
    state_.PingValid = 0;
    if (state_.AutoProfileRequest) {
        state_.AutoProfileRequest = 0;
        target_.RunAutoProfileDialog();
    }
    if (state_.RequestedProfile != state_.Profile) state_.Profile = state_.RequestedProfile;
}

void PingCycle::HandleUnreachable() {
    if (StampTime(state_, clock_)) target_.OnNewSecond();
    if (state_.ClockSecond != lastBlinkSecond_) {
        lastBlinkSecond_ = state_.ClockSecond;
        target_.BlinkNoConnection(true);
    }
}

}  // namespace tidemar
