// The graphics viewer's drawing: a 64 KiB view (2048 tiles of 4 bits per pixel) read, decoded
// and painted into an image, and the redraw every swatch change asks for (the kept indexes
// mapped again); bench/run.sh holds them against a 16 ms frame.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "gfx/TileViewer.h"

namespace {

using namespace zandrel;

constexpr int kViewWidth = 32; // tiles: 32 x 64 rows = 2048 tiles = 64 KiB of 4bpp
constexpr int kViewRows = 64;
constexpr std::size_t kFileSize = 1 << 20;

// 1 MiB of pattern bytes, made once into the benchmarks' temporary folder.
const std::string& TilesPath() {
    static const std::string path = [] {
        const auto folder = std::filesystem::temp_directory_path() / "zandrel-bench";
        std::filesystem::create_directories(folder);
        const std::string file = (folder / "tiles.gba").string();
        std::string bytes(kFileSize, '\0');
        for (std::size_t k = 0; k < bytes.size(); ++k)
            bytes[k] = static_cast<char>(k * 7 + k / 4096);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        return file;
    }();
    return path;
}

Palette16 Swatches() {
    Palette16 swatches{};
    for (int i = 0; i < kPaletteColours; ++i)
        swatches[i] = MakeColor(16 * i, 255 - 16 * i, 8 * i);
    return swatches;
}

TileViewer OpenViewer(int bitsPerPixel) {
    TileViewer viewer;
    const int width = bitsPerPixel == 8 ? kViewWidth / 2 : kViewWidth;
    if (!viewer.SetGrid({bitsPerPixel, width}).ok() || !viewer.SetRows(kViewRows).ok() ||
        !viewer.Open(TilesPath(), GraphicsLocation{0x1000, false, 0}).ok() ||
        !viewer.UsePalette(TilesPath(), {0, false, 0}).ok())
        return {};
    return viewer;
}

// A new view: a step of one tile reads the view's 64 KiB from the file, decodes its tiles
// and paints them.
void BM_DrawView64KiB(benchmark::State& state) {
    TileViewer viewer = OpenViewer(4);
    const Palette16 swatches = Swatches();
    std::int64_t step = 32;
    for (auto _ : state) {
        if (!viewer.StepStart(step).ok())
            state.SkipWithError("the view could not be read");
        step = -step;
        viewer.Paint(swatches, false);
        benchmark::DoNotOptimize(viewer.Pixels().data());
    }
}
BENCHMARK(BM_DrawView64KiB)->Unit(benchmark::kMicrosecond);

// A slider moved: one swatch changes and the same view is painted again, on a PC's colours or
// the GBA's screen, 4 or 8 bits per pixel (8: 256 colours, the fifteen following palettes').
void BM_RedrawAfterSlider(benchmark::State& state) {
    TileViewer viewer = OpenViewer(static_cast<int>(state.range(0)));
    const bool gbaScreen = state.range(1) != 0;
    Palette16 swatches = Swatches();
    int red = 0;
    for (auto _ : state) {
        red = (red + 8) % 256;
        swatches[3] = MakeColor(red, 40, 200);
        viewer.Paint(swatches, gbaScreen);
        benchmark::DoNotOptimize(viewer.Pixels().data());
    }
    if (viewer.Pixels().size() != 2048u * 64 / static_cast<std::size_t>(state.range(0) / 4))
        state.SkipWithError("the view is not the size it should be");
}
BENCHMARK(BM_RedrawAfterSlider)
    ->ArgNames({"bpp", "gba"})
    ->Args({4, 0})
    ->Args({4, 1})
    ->Args({8, 1})
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
