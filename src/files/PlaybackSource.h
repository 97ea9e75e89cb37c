#pragma once
// A recorded .K7T file as a ping source: each step plays one record down the same road as
// a live ping, paced by PlotSpeed. The file is the one named beforehand (tidemar-cli), or
// the one the operator picks in the playback dialog when the source starts.

#include <string>

#include "core/Modes.h"
#include "core/PingSource.h"
#include "files/Playback.h"

namespace tidemar {

class PlaybackSource : public PingSource {
public:
    PlaybackSource(Playback& playback, const SourceContext& context)
        : playback_(playback), state_(context.State), clock_(context.Time), target_(context.Target) {}

    // The file Start() opens without asking; empty: the playback dialog asks.
    void SetFileName(const std::string& name) { fileName_ = name; }

    int Kind() const override { return DataSource::File; }
    bool Start() override;
    // Copying ends with the playback it copies.
    void Stop() override;
    bool Active() const override { return playback_.PlaybackOpen(); }
    // Playback only moves when stepped; a held file is simply not stepped.
    void Hold(bool) override {}
    SourceStep Step() override;
    int Percent() const override { return playback_.PlaybackPercent(); }

private:
    Playback& playback_;
    SonarState& state_;
    const Clock& clock_;
    DispatchTarget& target_;
    std::string fileName_;
};

}  // namespace tidemar
