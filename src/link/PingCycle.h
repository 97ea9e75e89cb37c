#pragma once
// The main thread's half of the live ping cycle: it prepares each command block from the
// state, hands it to the link thread, and dispatches the reply that comes back, then
// prepares the next. The window drives it from Qt's event loop, tidemar-cli from a plain
// loop: both call Poll() whenever the wake-up callback fired.

#include <cstdint>
#include <functional>
#include <string>

#include "core/Clock.h"
#include "core/DispatchPing.h"
#include "link/LinkThread.h"
#include "core/SonarState.h"

namespace tidemar {

class PingCycle {
public:
    PingCycle(SonarState& state, const Clock& clock, DispatchTarget& target, std::function<void()> wake);
    ~PingCycle();
    PingCycle(const PingCycle&) = delete;
    PingCycle& operator=(const PingCycle&) = delete;

    // What the link has to tell the operator goes here as a message box's caption and
    // text (exclamation icon; a thread that could not be started has no owner window).
    // Called on the main thread only, from Start() and Poll().
    using MessageSink = std::function<void(const std::string& caption, const std::string& text)>;
    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

    // Starts the link thread towards IPAddress_Sonar1. When the thread cannot be started
    // the sink hears "Failed to create thread!", nothing pings, and this returns false.
    bool Start(int port = 4040, const LinkTimings& timings = {});
    // Stops it; returns within about a second whatever the head does.
    void Stop();
    bool Running() const { return link_.Running(); }

    // Handles what the link thread sent back; call whenever the wake-up callback fired.
    void Poll();

    // Sends the next ping if none is on its way (after the hold is released, or when the
    // data source became the head again).
    void Resume();

    bool Connected() const { return connected_; }
    uint64_t Exchanges() const { return exchanges_; }

private:
    void SubmitNext(int pauseMs);
    void HandleReply(const LinkEvent& event);
    void HandleUnreachable();
    void BetweenPings();
    void Report(const std::string& caption, const std::string& text);

    SonarState& state_;
    const Clock& clock_;
    DispatchTarget& target_;
    LinkThread link_;
    MessageSink messageSink_;
    bool connected_ = false;
    bool inFlight_ = false;
    bool lastReplyValid_ = false;  // told to the link with the next ping
    int pendingPauseMs_ = 0;
    int lastBlinkSecond_ = -1;
    uint64_t exchanges_ = 0;
};

// Error counters run past 100000 once, then start again at 0.
void CountLinkError(int& counter);

}  // namespace tidemar
