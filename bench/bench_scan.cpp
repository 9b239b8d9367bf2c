// The palette scan of the largest ROMs (32 MiB images from tools/make_synthetic_rom.py and
// tools/make_real_rom.py) against a plain read of a file that size into memory, and the scan of
// hostile inputs against that of random 15-bit words of the same size; bench/run.sh prints the
// ratios.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "rom/Lz77.h"
#include "rom/Lz77Encoder.h"
#include "scan/PaletteFind.h"
#include "scan/PaletteScanner.h"

namespace {

using namespace zandrel;

// A 32 MiB ROM one of the generators in tools/ makes (python3), once per machine into the
// benchmarks' temporary folder (bench/run.sh removes it); empty when it cannot be made.
std::string MadeRom(const char* name, const char* generator, const char* seed) {
    const auto folder = std::filesystem::temp_directory_path() / "zandrel-bench";
    std::filesystem::create_directories(folder);
    const auto rom = folder / name;
    if (!std::filesystem::exists(rom)) {
        const std::string command = std::string("python3 '" ZANDREL_SOURCE_DIR "/tools/") +
                                    generator + "' '" + rom.string() + "' --seed " + seed +
                                    " --size 0x2000000 >/dev/null";
        if (std::system(command.c_str()) != 0)
            return std::string();
    }
    return rom.string();
}

const std::string& SyntheticRomPath() {
    static const std::string path = MadeRom("synthetic32.gba", "make_synthetic_rom.py", "7");
    return path;
}

// Art, code, sound and tables of real games' kind hold more windows that look like colours
// than the synthetic generator's filler, so they cost the scan more.
const std::string& RealRomPath() {
    static const std::string path = MadeRom("real32.gba", "make_real_rom.py", "9001");
    return path;
}

// open, read the whole file into fresh memory, close.
void BM_ReadRomPlain(benchmark::State& state) {
    for (auto _ : state) {
        const int fd = ::open(SyntheticRomPath().c_str(), O_RDONLY);
        const off_t size = ::lseek(fd, 0, SEEK_END);
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n =
                ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
        benchmark::DoNotOptimize(bytes.data());
        if (done != bytes.size() || done == 0)
            state.SkipWithError("the synthetic ROM could not be read");
    }
}
BENCHMARK(BM_ReadRomPlain)->Unit(benchmark::kMillisecond);

// What `scan` does: read the file (bounded to 32 MiB) and find its palettes.
void ScanRomFile(benchmark::State& state, const std::string& (*romPath)()) {
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes;
        if (!ReadRomImage(romPath(), bytes).ok())
            state.SkipWithError("the ROM could not be read");
        const auto candidates = ScanPalettes(bytes);
        if (candidates.empty())
            state.SkipWithError("no palette found");
        benchmark::DoNotOptimize(candidates.data());
    }
}
void BM_ScanRomFile(benchmark::State& state) {
    ScanRomFile(state, SyntheticRomPath);
}
BENCHMARK(BM_ScanRomFile)->Unit(benchmark::kMillisecond);
void BM_ScanRealRomFile(benchmark::State& state) {
    ScanRomFile(state, RealRomPath);
}
BENCHMARK(BM_ScanRealRomFile)->Unit(benchmark::kMillisecond);

// What `find --tolerance 2` does: read the file and look for the 16 words at 1 MiB in it, raw
// and in every LZ77 block.
void BM_FindPaletteInRomFile(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes;
        if (!ReadRomImage(SyntheticRomPath(), bytes).ok() || bytes.size() < (2u << 20))
            state.SkipWithError("the synthetic ROM could not be read");
        PaletteWords16 wanted{};
        for (std::size_t i = 0; i < wanted.size(); ++i)
            wanted[i] = static_cast<ColorWord>(bytes[(1u << 20) + 2 * i] |
                                               bytes[(1u << 20) + 2 * i + 1] << 8);
        const FindResult result = FindPalette(bytes, wanted, {2, 16, false});
        if (result.matches.empty())
            state.SkipWithError("the palette was not found");
        benchmark::DoNotOptimize(result.matches.data());
    }
}
BENCHMARK(BM_FindPaletteInRomFile)->Unit(benchmark::kMillisecond);

// Hostile inputs, 8 MiB each, made in memory.
constexpr std::size_t kHostileSize = std::size_t{8} << 20;

struct Words {
    std::uint32_t seed = 12345;
    std::uint32_t Next() { return (seed = seed * 1103515245 + 12345) >> 8; }
    static void Put(std::vector<std::uint8_t>& bytes, unsigned word) {
        bytes.push_back(static_cast<std::uint8_t>(word));
        bytes.push_back(static_cast<std::uint8_t>(word >> 8));
    }
};

std::vector<std::uint8_t> RandomWords() {
    std::vector<std::uint8_t> bytes;
    Words words;
    while (bytes.size() < kHostileSize)
        Words::Put(bytes, words.Next() & 0x7FFF);
    return bytes;
}

// `10 00 02 00` over and over: a header of a 512-byte block at every aligned word, and each
// decompresses cleanly.
std::vector<std::uint8_t> RepeatedHeaders() {
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < kHostileSize)
        bytes.insert(bytes.end(), {0x10, 0x00, 0x02, 0x00});
    return bytes;
}

// Ramps of one hue after a shared colour 0, one after another: every window of every run
// looks like a palette.
std::vector<std::uint8_t> TableOfRamps() {
    std::vector<std::uint8_t> bytes;
    Words words;
    while (bytes.size() < kHostileSize) {
        const unsigned red = words.Next() % 4 + 1, green = words.Next() % 4 + 1,
                       blue = words.Next() % 4 + 1;
        Words::Put(bytes, 0x1234);
        for (unsigned i = 1; i < 16; ++i)
            Words::Put(bytes,
                       (i * 2 * red / 4) | (i * 2 * green / 4) << 5 | (i * 2 * blue / 4) << 10);
    }
    return bytes;
}

// LZ77 blocks of 16 random palettes, back to back: every header is a real one.
std::vector<std::uint8_t> CompressedBlocks() {
    std::vector<std::uint8_t> bytes;
    Words words;
    while (bytes.size() < kHostileSize) {
        std::vector<std::uint8_t> block;
        for (int i = 0; i < 256; ++i)
            Words::Put(block, words.Next() & 0x7FFF);
        const std::vector<std::uint8_t> stream = CompressLz77(block);
        bytes.insert(bytes.end(), stream.begin(), stream.end());
    }
    bytes.resize(kHostileSize);
    return bytes;
}

void ScanInMemory(benchmark::State& state, std::vector<std::uint8_t> (*make)()) {
    const std::vector<std::uint8_t> bytes = make();
    for (auto _ : state) {
        const auto candidates = ScanPalettes(bytes);
        benchmark::DoNotOptimize(candidates.data());
    }
}
BENCHMARK_CAPTURE(ScanInMemory, RandomWords, RandomWords)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScanInMemory, RepeatedHeaders, RepeatedHeaders)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScanInMemory, TableOfRamps, TableOfRamps)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScanInMemory, CompressedBlocks, CompressedBlocks)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
