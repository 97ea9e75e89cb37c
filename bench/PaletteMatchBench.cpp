// Cost of turning a whole 800 x 600 screen capture into palette indexes: a window of
// palette colours with a played picture in it (the usual case), and a worst case where
// nearly every pixel is a colour of its own.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "image/DisplayPalette.h"
#include "image/ImageColorTable.h"
#include "image/PaletteMatch.h"

namespace tidemar {
namespace {

constexpr int Width = 800;
constexpr int Height = 600;

DisplayPalette WindowPalette() {
    ImageColorTable table{};
    InitImageColorTable(table);
    return BuildDisplayPalette(table);
}

uint32_t Rgb(const PaletteEntry& e) { return (uint32_t{e.Red} << 16) | (uint32_t{e.Green} << 8) | e.Blue; }

// Background and panel in interface colours, a 596 x 506 picture of echo levels, and a
// sprinkle of blended text edges as a font renderer leaves them.
std::vector<uint32_t> WindowScreen(const DisplayPalette& palette) {
    std::vector<uint32_t> screen(Width * Height, Rgb(palette.Entries[121]));
    std::mt19937 random(5);
    for (int y = 3; y < 509; ++y)
        for (int x = 3; x < 599; ++x) screen[y * Width + x] = Rgb(palette.Entries[random() % 108]);
    for (int n = 0; n < 20000; ++n) {
        const int x = 620 + static_cast<int>(random() % 170), y = static_cast<int>(random() % 600);
        const uint32_t grey = random() % 256;
        screen[y * Width + x] = (grey << 16) | (grey << 8) | grey;
    }
    return screen;
}

void MapScreen(benchmark::State& run, const std::vector<uint32_t>& screen, const DisplayPalette& palette) {
    std::vector<uint8_t> indexes(Width * Height);
    for (auto _ : run) {
        PaletteMatch match(palette);  // a fresh cache per capture, as the program makes it
        for (int y = 0; y < Height; ++y) match.MapRow(screen.data() + y * Width, Width, indexes.data() + y * Width);
        benchmark::DoNotOptimize(indexes.data());
    }
    run.SetItemsProcessed(run.iterations() * Width * Height);
}

void BM_CaptureWindowColours(benchmark::State& run) {
    const DisplayPalette palette = WindowPalette();
    MapScreen(run, WindowScreen(palette), palette);
}
BENCHMARK(BM_CaptureWindowColours)->Unit(benchmark::kMillisecond);

void BM_CaptureAllColoursDistinct(benchmark::State& run) {
    const DisplayPalette palette = WindowPalette();
    std::vector<uint32_t> screen(Width * Height);
    for (size_t i = 0; i < screen.size(); ++i) screen[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
    MapScreen(run, screen, palette);
}
BENCHMARK(BM_CaptureAllColoursDistinct)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tidemar
