// Per-ping work of the core: building the command block, validating and decoding a reply.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "files/DataRecord.h"
#include "files/Playback.h"
#include "platform/ScriptedPrompts.h"

#include "core/Clock.h"
#include "core/DispatchPing.h"
#include "core/Reply.h"
#include "core/SwitchCommand.h"

namespace tidemar {
namespace {

void FillReply(SonarState& state) {
    PrepareReply(state);
    auto& r = state.ReceiveBuffer;
    std::fill(r.begin(), r.end(), 0);
    r[0] = 'B';
    r[1] = static_cast<uint8_t>(state.ReplyType);
    r[2] = 'L';
    r[3] = 17;
    r[5] = 0x58;
    r[6] = 0x04;
    r[7] = static_cast<uint8_t>(state.RangeMeters);
    for (int i = 12; i < state.ExpectedReturnLength - 1; ++i) r[i] = static_cast<uint8_t>((i * 37) & 0xFF);
    r[state.ExpectedReturnLength - 1] = 0xFC;
}

void BuildCommandBlock(benchmark::State& run) {
    SonarState state;
    for (auto _ : run) benchmark::DoNotOptimize(PrepareSend(state));
}
BENCHMARK(BuildCommandBlock);

// The heaviest decode: 8-bit samples paired for the Polar display at a short range
// with pulse blanking and a mix shift.
void ValidateAndDecodeReply(benchmark::State& run) {
    SonarState state;
    SetRange(state, 2);
    state.GridMode = DisplayMode::Polar;
    state.Profile = 3;
    FillReply(state);
    ManualClock clock;
    for (auto _ : run) {
        benchmark::DoNotOptimize(ValidateReply(state, clock));
        clock.Tick += 1;
    }
}
BENCHMARK(ValidateAndDecodeReply);

void DispatchHeadless(benchmark::State& run) {
    SonarState state;
    SetRange(state, 9);
    FillReply(state);
    ManualClock clock;
    DispatchTarget target;
    for (auto _ : run) benchmark::DoNotOptimize(DispatchPing(state, clock, target));
}
BENCHMARK(DispatchHeadless);

// Playback stepping of a large file (20,000 Polar pings, 12.8 MB) with a headless
// dispatch: reading, loading the settings and decoding, as fast as the file allows.
void PlaybackStepLargeFile(benchmark::State& run) {
    const std::string path = (std::filesystem::temp_directory_path() / "tidemar-bench-playback.K7T").string();
    {
        SonarState state;
        SetRange(state, 9);
        FillReply(state);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        int previous = 0;
        for (int i = 0; i < 20000; ++i) {
            state.ReceiveBuffer[5] = static_cast<uint8_t>(i & 0x7F);
            const auto record = BuildDataRecord(state, previous);
            out.write(reinterpret_cast<const char*>(record.data()), static_cast<std::streamsize>(record.size()));
            previous = static_cast<int>(record.size());
        }
    }
    SonarState state;
    ScriptedPrompts prompts;
    RecordedChrome chrome;
    DispatchTarget target;
    ManualClock clock;
    Playback playback(prompts, chrome);
    if (!playback.OpenPlaybackFile(path, state, target)) {
        run.SkipWithError("cannot open the playback file");
        return;
    }
    state.RunMode = DataSource::File;
    for (auto _ : run) benchmark::DoNotOptimize(playback.PlaybackStep(state, clock, target));
    run.SetItemsProcessed(run.iterations());
    std::remove(path.c_str());
}
BENCHMARK(PlaybackStepLargeFile);

}  // namespace
}  // namespace tidemar
