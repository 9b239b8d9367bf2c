// Timings of the core: the codec, the definition parser and the open command's list fill.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "app/Definitions.h"
#include "app/MainForm.h"
#include "colour/Codec.h"

namespace {

using namespace zandrel;

// A definition file with the largest number of entries the lists hold.
std::string LargestDefinitionText() {
    std::string text = "; 32767 palettes\r\n";
    for (int i = 0; i < 32767; ++i)
        text += "16," + HexText(i * 32) + ",Paleta número " + std::to_string(i) + "\r\n";
    return text;
}

const std::filesystem::path& LargestDefinitionFolder() {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() / "zandrel-bench";
        std::filesystem::create_directories(path);
        std::ofstream(path / "MEMORYDUMP.ZNDL", std::ios::binary) << LargestDefinitionText();
        return path;
    }();
    return folder;
}

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

void BM_ParseDefinitionFile(benchmark::State& state) {
    const auto path = LargestDefinitionFolder() / "MEMORYDUMP.ZNDL";
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        PaletteTable table;
        benchmark::DoNotOptimize(ParseDefinitions(in, table));
        benchmark::DoNotOptimize(table.names.data());
    }
}
BENCHMARK(BM_ParseDefinitionFile)->Unit(benchmark::kMillisecond);

// What the open command does after identifying: read the file and fill the three lists.
class NoServices : public Services {
  public:
    std::string InputBox(const std::string&) override { return {}; }
    std::string ShowOpenDialog(const std::string&, const std::string&,
                               const std::string&) override {
        return {};
    }
    std::string ShowSaveDialog(const std::string&, const std::string&,
                               const std::string&) override {
        return {};
    }
    bool ChooseColor(RgbColor&, const CustomColorTable&) override { return false; }
    CustomColorTable SystemColors() override { return {}; }
    void ShowPreviewWindow(const std::string&) override {}
    void ShowByteWindow(const std::string&) override {}
    std::string ProgramFolder() override { return LargestDefinitionFolder().string(); }
    std::string CommandLine() override { return {}; }
    VersionNumbers Version() override { return {}; }

  protected:
    int ShowMessage(const std::string&, int, const std::string&) override { return 1; }
};

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

} // namespace

BENCHMARK_MAIN();
