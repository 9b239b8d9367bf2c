// The palette scan of the largest ROM (a 32 MiB synthetic image from
// tools/make_synthetic_rom.py) against a plain read of the same file into memory; bench/run.sh
// prints the ratio.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "scan/PaletteScanner.h"

namespace {

using namespace zandrel;

// Made once per machine into the benchmarks' temporary folder (bench/run.sh removes it).
const std::string& SyntheticRomPath() {
    static const std::string path = [] {
        const auto folder = std::filesystem::temp_directory_path() / "zandrel-bench";
        std::filesystem::create_directories(folder);
        const auto rom = folder / "synthetic32.gba";
        if (!std::filesystem::exists(rom)) {
            const std::string command = "python3 '" ZANDREL_SOURCE_DIR
                                        "/tools/make_synthetic_rom.py' '" +
                                        rom.string() + "' --seed 7 --size 0x2000000";
            if (std::system(command.c_str()) != 0)
                return std::string();
        }
        return rom.string();
    }();
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
void BM_ScanRomFile(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes;
        if (!ReadRomImage(SyntheticRomPath(), bytes).ok())
            state.SkipWithError("the synthetic ROM could not be read");
        const auto candidates = ScanPalettes(bytes);
        if (candidates.empty())
            state.SkipWithError("no palette found");
        benchmark::DoNotOptimize(candidates.data());
    }
}
BENCHMARK(BM_ScanRomFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
