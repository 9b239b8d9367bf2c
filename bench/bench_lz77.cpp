// Recompressing a large LZ77 block against decompressing it (bench/run.sh prints the ratio):
// 1 MiB of 17 'A's and a random byte, repeated, the data that once held a save for seconds.
// The block as stored has a KiB of room beyond its shortest stream, as a block stored by a
// less thorough encoder has, so a changed palette fits and the save looks for a stream of
// exactly the room.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "rom/CompressedPalette.h"
#include "rom/Lz77.h"
#include "rom/Lz77Encoder.h"

namespace {

using namespace zandrel;

const std::vector<std::uint8_t>& RepetitiveData() {
    static const std::vector<std::uint8_t> data = [] {
        std::vector<std::uint8_t> bytes;
        std::mt19937 random(19);
        while (bytes.size() < (std::size_t{1} << 20))
            bytes.push_back(bytes.size() % 18 == 17 ? static_cast<std::uint8_t>(random()) : 'A');
        return bytes;
    }();
    return data;
}

const std::vector<std::uint8_t>& StoredBlock() {
    static const std::vector<std::uint8_t> block = [] {
        const auto& data = RepetitiveData();
        return CompressLz77ToFit(data, CompressLz77ToFit(data, 0).shortest + 1024).stream;
    }();
    return block;
}

void BM_DecompressLz77Block(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(DecompressLz77(StoredBlock(), 0));
}
BENCHMARK(BM_DecompressLz77Block)->Unit(benchmark::kMillisecond);

// A save's work on the block: decompressed, a palette in the middle changed, recompressed
// into the room and checked by decompressing it again.
void BM_RecompressLz77Block(benchmark::State& state) {
    std::vector<ColorWord> ramp;
    for (int i = 0; i < 16; ++i)
        ramp.push_back(static_cast<ColorWord>(i * 0x0421));
    for (auto _ : state) {
        const BlockPaletteWrite write = PatchBlockPalette(StoredBlock(), 0, 0x80000, ramp);
        if (write.stream.size() != StoredBlock().size())
            state.SkipWithError("the block did not take its room");
        benchmark::DoNotOptimize(write);
    }
}
BENCHMARK(BM_RecompressLz77Block)->Unit(benchmark::kMillisecond);

// The encoder alone: the shortest stream of the same data.
void BM_CompressLz77Block(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(CompressLz77(RepetitiveData()));
}
BENCHMARK(BM_CompressLz77Block)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
