// Timings of the core: the codec, the definition parser, the open command on the largest ROM,
// the palette commands and a special-mode step, each beside the plain work it is measured
// against (bench/run.sh prints the ratios).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "BenchData.h"
#include "app/MainForm.h"
#include "colour/Codec.h"
#include "rom/Definitions.h"

namespace {

using namespace zandrel;
using namespace zandrel::bench;

void BM_WordToColorAllWords(benchmark::State& state) {
    for (auto _ : state) {
        RgbColor sum = 0;
        for (int w = 0; w < 32768; ++w)
            sum += WordToColor(static_cast<ColorWord>(w));
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 32768);
}
BENCHMARK(BM_WordToColorAllWords);

void BM_ColorToWordAllWords(benchmark::State& state) {
    std::vector<RgbColor> colours;
    for (int w = 0; w < 32768; ++w)
        colours.push_back(WordToColor(static_cast<ColorWord>(w)));
    for (auto _ : state) {
        unsigned sum = 0;
        for (const RgbColor c : colours)
            sum += ColorToWord(c);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 32768);
}
BENCHMARK(BM_ColorToWordAllWords);

// The plain read that the parser is measured against: the same file's bytes through an
// std::ifstream loop.
void BM_ReadDefinitionFilePlain(benchmark::State& state) {
    const auto path = LargestDefinitionFolder() / "MEMORYDUMP.ZNDL";
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::string line;
        std::size_t lines = 0;
        while (std::getline(in, line))
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
}
BENCHMARK(BM_ReadDefinitionFilePlain)->Unit(benchmark::kMillisecond);

// The read and parse of the same file into a table as the window and zandrel-cli do it
// (LoadDefinitionFile), the table then replacing the previous one, as the lists keep the last
// file's rows until the next file is read.
void BM_ParseDefinitionFile(benchmark::State& state) {
    const std::string path = (LargestDefinitionFolder() / "MEMORYDUMP.ZNDL").string();
    PaletteTable previous;
    for (auto _ : state) {
        PaletteTable table;
        benchmark::DoNotOptimize(LoadDefinitionFile(path, path, table));
        previous = std::move(table);
    }
    if (previous.names.size() != 32767)
        state.SkipWithError("the table did not fill");
}
BENCHMARK(BM_ParseDefinitionFile)->Unit(benchmark::kMillisecond);

// The same with each table freed before the next parse: the allocator gives its memory back
// to the system and the next parse faults in its ~4 MiB anew, as the first parse of a
// process does.
void BM_ParseDefinitionFileIntoFreshMemory(benchmark::State& state) {
    const std::string path = (LargestDefinitionFolder() / "MEMORYDUMP.ZNDL").string();
    for (auto _ : state) {
        PaletteTable table;
        benchmark::DoNotOptimize(LoadDefinitionFile(path, path, table));
        benchmark::DoNotOptimize(table.names.size());
    }
}
BENCHMARK(BM_ParseDefinitionFileIntoFreshMemory)->Unit(benchmark::kMillisecond);

// What the open command does after identifying: read the file and fill the three lists.
void BM_LoadPaletteDefinitionsIntoLists(benchmark::State& state) {
    NoServices services;
    AppState app;
    app.GameName = "MEMORY DUMP";
    MainForm form(app, services);
    for (auto _ : state) {
        benchmark::DoNotOptimize(form.LoadPaletteDefinitions());
        if (form.model().List1.rows.size() != 32767)
            state.SkipWithError("the lists did not fill");
    }
}
BENCHMARK(BM_LoadPaletteDefinitionsIntoLists)->Unit(benchmark::kMillisecond);

// The open command on the largest ROM: identify by its header, read the 32767-entry
// definition file and fill the three lists.
void BM_OpenLargestRomAndFillLists(benchmark::State& state) {
    NoServices services;
    services.openAnswer = LargestRomPath();
    AppState app;
    MainForm form(app, services);
    form.Form_Load(BenchStart());
    for (auto _ : state) {
        form.Command1_Click();
        if (!app.RomLoaded || form.model().List1.rows.size() != 32767)
            state.SkipWithError("the open did not complete");
    }
}
BENCHMARK(BM_OpenLargestRomAndFillLists)->Unit(benchmark::kMillisecond);

// A form with the largest ROM open and a palette in its middle chosen.
struct OpenRom {
    NoServices services;
    AppState app;
    MainForm form{app, services};
    OpenRom() {
        form.Form_Load(BenchStart());
        services.openAnswer = LargestRomPath();
        form.Command1_Click();
        form.model().List1.selected = kMiddleRow;
        form.List1_Click();
    }
};

constexpr off_t kMiddleOffset = off_t{kMiddleRow} * 1024;

// One palette read as the program does it: open the file, read 32 bytes, close it.
void BM_ReadSelectedPalette(benchmark::State& state) {
    OpenRom rom;
    for (auto _ : state)
        benchmark::DoNotOptimize(rom.form.ReadSelectedPalette());
}
BENCHMARK(BM_ReadSelectedPalette)->Unit(benchmark::kMicrosecond);

// Before each timed save: the ROM's modification time set back, as it stands when a person
// saves, long after the file last changed. The write then records a new time and the flush
// commits it to the file system's journal. Saves in a tight loop would often fall within one
// clock tick of the last, and the flush skip that commit on some runs and not others.
void AgeTheRom(benchmark::State& state) {
    state.PauseTiming();
    const timespec longAgo[2] = {{0, 0}, {0, 0}};
    ::utimensat(AT_FDCWD, LargestRomPath().c_str(), longAgo, 0);
    state.ResumeTiming();
}

// One palette saved in place: 32 bytes written and flushed to the disk, then the
// (no-op) confirmation.
void BM_WritePaletteWords(benchmark::State& state) {
    OpenRom rom;
    const PaletteLocation location{static_cast<std::uint32_t>(kMiddleOffset)};
    for (auto _ : state) {
        AgeTheRom(state);
        benchmark::DoNotOptimize(rom.form.WritePaletteWords(rom.app.RomPath, location, 16));
    }
}
BENCHMARK(BM_WritePaletteWords)->Unit(benchmark::kMicrosecond);

// One step of the special mode (keypad +): the next 32 bytes read into the swatches.
void BM_SpecialStep(benchmark::State& state) {
    NoServices services;
    services.openAnswer = LargestRomPath();
    services.inputAnswer.assign(1, '0'); // the location box: 0
    AppState app;
    app.SpecialMode = true;
    MainForm form(app, services);
    form.cmdSpecial_Click();
    if (!app.RomLoaded)
        state.SkipWithError("the special state did not start");
    for (auto _ : state) {
        form.SpecialAction(kKeyAdd);
        if (app.CurrentLocation >= kRomSize - 64)
            app.CurrentLocation = 0;
    }
}
BENCHMARK(BM_SpecialStep)->Unit(benchmark::kMicrosecond);

// The bare system calls the palette commands are measured against, on the same 32 bytes.
struct Fd {
    int fd;
    explicit Fd(int flags) : fd(::open(LargestRomPath().c_str(), flags)) {}
    ~Fd() { ::close(fd); }
};

void BM_BarePread32(benchmark::State& state) {
    Fd file(O_RDONLY);
    std::array<char, 32> bytes{};
    for (auto _ : state)
        benchmark::DoNotOptimize(::pread(file.fd, bytes.data(), bytes.size(), kMiddleOffset));
}
BENCHMARK(BM_BarePread32)->Unit(benchmark::kMicrosecond);

void BM_BareOpenPreadClose32(benchmark::State& state) {
    std::array<char, 32> bytes{};
    for (auto _ : state) {
        Fd file(O_RDONLY);
        benchmark::DoNotOptimize(::pread(file.fd, bytes.data(), bytes.size(), kMiddleOffset));
    }
}
BENCHMARK(BM_BareOpenPreadClose32)->Unit(benchmark::kMicrosecond);

void BM_BarePwrite32(benchmark::State& state) {
    Fd file(O_RDWR);
    std::array<char, 32> bytes{};
    ::pread(file.fd, bytes.data(), bytes.size(), kMiddleOffset);
    for (auto _ : state)
        benchmark::DoNotOptimize(::pwrite(file.fd, bytes.data(), bytes.size(), kMiddleOffset));
}
BENCHMARK(BM_BarePwrite32)->Unit(benchmark::kMicrosecond);

// The same durability as the save: open, write, flush to the disk, close.
void BM_BareOpenPwriteFsyncClose32(benchmark::State& state) {
    std::array<char, 32> bytes{};
    {
        Fd file(O_RDONLY);
        ::pread(file.fd, bytes.data(), bytes.size(), kMiddleOffset);
    }
    for (auto _ : state) {
        AgeTheRom(state);
        Fd file(O_RDWR);
        benchmark::DoNotOptimize(::pwrite(file.fd, bytes.data(), bytes.size(), kMiddleOffset));
        ::fsync(file.fd);
    }
}
BENCHMARK(BM_BareOpenPwriteFsyncClose32)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
