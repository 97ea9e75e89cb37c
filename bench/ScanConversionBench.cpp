// Per-ping cost of the Sector and Polar wedges: the history shift and the plot of one ping
// into the picture, as the dispatch runs them for every live or played ping.
#include <benchmark/benchmark.h>

#include "image/PingTables.h"
#include "image/ScanConversion.h"

namespace tidemar {
namespace {

struct Scan {
    SonarState state;
    ImageState image;
    int position = 300;
    int direction = 1;

    Scan(int gridMode, int speed, int sectorSize, int samples) {
        state.GridMode = gridMode;
        state.DisplaySpeed = speed;
        state.SectorSize = sectorSize;
        state.PlotSampleCount = samples;
        state.Grid = 1;
        for (int i = 0; i < SampleLineSize; ++i) state.SampleLine[i] = static_cast<uint8_t>((i * 37) % 108);
    }
    // The head sweeping back and forth across the sector, one step per ping.
    void NextPing(int step) {
        position += direction * step;
        if (position >= 900 || position <= 300) direction = -direction;
        state.DrawDirection = direction > 0 ? 1 : 0;
        state.HeadAngleRad = static_cast<float>((position - 600) * 3.141592654 / 600);
        state.SampleLine[position % 499] ^= 0x21;
    }
};

void Run(benchmark::State& run, int gridMode, int speed, int sectorSize, int samples, int step) {
    Scan scan(gridMode, speed, sectorSize, samples);
    for (auto _ : run) {
        scan.NextPing(step);
        AdvancePingHistory(scan.image.History, scan.state);
        PlotSectorPing(scan.state, scan.image);
        benchmark::DoNotOptimize(scan.image.Image.Pixels.data());
    }
}

// The heaviest: 41 sub-lines per sample over 499 samples.
void SectorFastest(benchmark::State& run) { Run(run, DisplayMode::Sector, 4, 180, 499, 8); }
BENCHMARK(SectorFastest);

void SectorSlow(benchmark::State& run) { Run(run, DisplayMode::Sector, 0, 180, 499, 1); }
BENCHMARK(SectorSlow);

void PolarSlow(benchmark::State& run) { Run(run, DisplayMode::Polar, 0, 360, 250, 1); }
BENCHMARK(PolarSlow);

void PolarFastest(benchmark::State& run) { Run(run, DisplayMode::Polar, 4, 360, 250, 8); }
BENCHMARK(PolarFastest);

}  // namespace
}  // namespace tidemar
