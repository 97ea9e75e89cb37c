#pragma once
// Where pings come from: the head over the link, or a recorded file played back. The
// window and tidemar-cli choose a source once and drive it through this interface; every
// ping a source yields goes down DispatchPing to the owner's DispatchTarget, so nothing
// above this line needs to know which kind it has.
//
// A source is driven by Step() on the main thread. A live source is woken by its own
// thread (the wake-up callback it was built with) and then stepped; a played file is
// stepped whenever its owner is idle, paced by the wait each step asks for.

#include <functional>
#include <memory>
#include <string>

#include "core/Clock.h"
#include "core/DispatchPing.h"
#include "core/SonarState.h"

namespace tidemar {

struct SourceStep {
    // When the next step is due: 0 as soon as the owner is idle again, > 0 after that many
    // milliseconds, WaitForWake not before the source's wake-up callback fired.
    static constexpr int WaitForWake = -1;
    int WaitMilliseconds = WaitForWake;
    bool Dispatched = false;  // a ping went through DispatchPing
    // A file reached its end and started over: the next wedge is not blended with the
    // last ping of the file.
    bool Rewound = false;
};

class PingSource {
public:
    virtual ~PingSource() = default;

    // DataSource::Head or DataSource::File.
    virtual int Kind() const = 0;

    // Starts yielding pings (connects, or opens the file); false when there is nothing to
    // take pings from (no file chosen, a file that cannot be played). Starting a running
    // source starts it afresh.
    virtual bool Start() = 0;
    // Stops; returns promptly whatever the head or the file does.
    virtual void Stop() = 0;
    // Started and able to yield pings.
    virtual bool Active() const = 0;
    // Able to be asked for a ping right now: a head between two connections is not, and
    // its silence then is no missing reply.
    virtual bool Linked() const { return Active(); }

    // The operator's hold was set or released. Owners do not step a held source on idle.
    virtual void Hold(bool held) = 0;

    // Takes what is due and dispatches it.
    virtual SourceStep Step() = 0;

    // How far through its pings the source is, 0..100, for the position slider; a live
    // source has no position.
    virtual int Percent() const { return 0; }
};

// What an owner lends the source it builds: the state the pings are read into, the clock,
// where they are dispatched, `Wake`, which the source calls from any thread when it has
// something for Step(), and `Message`, where it tells the operator of a fault (a message
// box's caption and text; called on the owner's thread only; may be empty).
struct SourceContext {
    SonarState& State;
    const Clock& Time;
    DispatchTarget& Target;
    std::function<void()> Wake;
    std::function<void(const std::string& caption, const std::string& text)> Message = {};
};

using PingSourceFactory = std::function<std::unique_ptr<PingSource>(const SourceContext& context)>;

}  // namespace tidemar
