#pragma once
// A ping source that plays a script instead of a head: each Step() after a wake-up
// dispatches the next queued echo level as a whole reply of the kind the state asks for,
// and every call the owner makes is counted, so a test sees how the owner drives it.

#include <deque>
#include <memory>

#include "ReplyTestSupport.h"
#include "core/Modes.h"
#include "core/PingSource.h"
#include "core/SwitchCommand.h"

namespace tidemar::sourcetest {

class ScriptedSource : public PingSource {
public:
    explicit ScriptedSource(const SourceContext& context) : context_(context) {}

    // Queues pings of echo level `fill` and wakes the owner, as a link thread would.
    void Deliver(int pings, uint8_t fill) {
        for (int i = 0; i < pings; ++i) script_.push_back(fill);
        context_.Wake();
    }

    int Kind() const override { return DataSource::Head; }
    bool Start() override {
        ++Starts;
        active_ = true;
        return true;
    }
    void Stop() override {
        ++Stops;
        active_ = false;
    }
    bool Active() const override { return active_; }
    void Hold(bool held) override { Held = held; }
    SourceStep Step() override {
        ++Steps;
        SourceStep step;
        while (active_ && !script_.empty()) {
            PrepareSend(context_.State);
            const int dataBytes = context_.State.ExpectedReturnLength - 13;
            replytest::Receive(context_.State,
                               replytest::FramedReply(context_.State.ReplyType, dataBytes, script_.front()));
            script_.pop_front();
            DispatchPing(context_.State, context_.Time, context_.Target);
            ++Dispatched;
            step.Dispatched = true;
        }
        return step;
    }

    int Starts = 0, Stops = 0, Steps = 0, Dispatched = 0;
    bool Held = false;

private:
    SourceContext context_;
    bool active_ = false;
    std::deque<uint8_t> script_;
};

// A factory that builds a ScriptedSource and keeps a pointer to it for the test.
inline PingSourceFactory ScriptedSourceFactory(ScriptedSource*& built) {
    return [&built](const SourceContext& context) {
        auto source = std::make_unique<ScriptedSource>(context);
        built = source.get();
        return source;
    };
}

}  // namespace tidemar::sourcetest
