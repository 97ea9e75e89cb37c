#pragma once
// The head as a ping source: the ping cycle over the TCP link, woken by the link thread.

#include <memory>

#include "core/Modes.h"
#include "core/PingSource.h"
#include "link/PingCycle.h"

namespace tidemar {

class LiveSource : public PingSource {
public:
    LiveSource(const SourceContext& context, int port = 4040, const LinkTimings& timings = {})
        : cycle_(context.State, context.Time, context.Target, context.Wake), port_(port), timings_(timings) {
        if (context.Message) cycle_.SetMessageSink(context.Message);
    }

    int Kind() const override { return DataSource::Head; }
    // False when the link thread could not be started (the message has gone out).
    bool Start() override { return cycle_.Start(port_, timings_); }
    void Stop() override { cycle_.Stop(); }
    bool Active() const override { return cycle_.Running(); }
    bool Linked() const override { return cycle_.Running() && cycle_.Connected(); }
    // A released hold sends the next ping; a set one lets the ping on its way come back.
    void Hold(bool held) override {
        if (!held) cycle_.Resume();
    }
    SourceStep Step() override {
        cycle_.Poll();
        return SourceStep{};
    }

    PingCycle& Cycle() { return cycle_; }

private:
    PingCycle cycle_;
    int port_;
    LinkTimings timings_;
};

// The factory of the program's own live source, towards `port` of IPAddress_Sonar1.
inline PingSourceFactory LiveSourceFactory(int port = 4040) {
    return [port](const SourceContext& context) { return std::make_unique<LiveSource>(context, port); };
}

}  // namespace tidemar
