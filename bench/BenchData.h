// The data the benchmarks share: the largest definition file and ROM image, written once per
// run into a folder of their own, and desktop services that answer without a desktop.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "app/StartArguments.h"
#include "colour/Codec.h"
#include "platform/Services.h"

namespace zandrel::bench {

// A definition file with the largest number of entries the lists hold.
inline std::string LargestDefinitionText() {
    std::string text = "; 32767 palettes\r\n";
    for (int i = 0; i < 32767; ++i)
        text += "16," + HexText(i * 32) + ",Paleta número " + std::to_string(i) + "\r\n";
    return text;
}

inline const std::filesystem::path& LargestDefinitionFolder() {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() / "zandrel-bench";
        std::filesystem::create_directories(path);
        std::ofstream(path / "MEMORYDUMP.ZNDL", std::ios::binary) << LargestDefinitionText();
        return path;
    }();
    return folder;
}

// The largest cartridge: 32 MiB with the game code at 0xAC, beside a 32767-entry definition
// file whose palettes spread over the whole image (entry k at k * 1024).
constexpr std::int64_t kRomSize = 32 << 20;
constexpr int kMiddleRow = 20000; // a palette in the middle of the image
inline const std::string& LargestRomPath() {
    static const std::string path = [] {
        const auto folder = LargestDefinitionFolder();
        std::string definitions;
        for (int k = 0; k < 32767; ++k)
            definitions += "16," + HexText(std::int64_t{k} * 1024) + ",Paleta número " +
                           std::to_string(k) + "\r\n";
        std::ofstream(folder / "TORV_E.ZNDL", std::ios::binary) << definitions;
        const std::string rom = (folder / "rom.gba").string();
        std::ofstream out(rom, std::ios::binary | std::ios::trunc);
        std::string bytes(kRomSize, '\0');
        for (std::size_t k = 0; k < bytes.size(); ++k)
            bytes[k] = static_cast<char>(k * 7 + 3);
        bytes.replace(0xAC, 4, "AQXE");
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return rom;
    }();
    return path;
}

// A program whose data folder is the one the largest files are written to.
inline StartValues BenchStart() {
    const std::string folder = LargestDefinitionFolder().string();
    return {folder, {folder, {}, {}}, {}};
}

// Answers every dialog and box at once: the open dialog and the input box with the scripted
// texts, everything else as cancelled.
class NoServices : public Services {
  public:
    std::string openAnswer;  // every open dialog answers this
    std::string inputAnswer; // and every input box this
    std::string InputBox(const std::string&) override { return inputAnswer; }
    std::string ShowOpenDialog(const std::string&, const std::string&,
                               const std::string&) override {
        return openAnswer;
    }
    std::string ShowSaveDialog(const std::string&, const std::string&,
                               const std::string&) override {
        return {};
    }
    std::string ShowPaletteOpenDialog(const std::string&, const std::string&) override {
        return {};
    }
    std::string ShowPaletteSaveDialog(const std::string&, const std::string&) override {
        return {};
    }
    bool ChooseColor(RgbColor&, const CustomColorTable&) override { return false; }
    CustomColorTable SystemColors() override { return {}; }
    void ShowPreviewWindow(const std::string&, bool) override {}
    void ShowByteWindow(const std::string&) override {}
    std::string ClipboardText() override { return {}; }
    void SetClipboardText(const std::string&) override {}
    VersionNumbers Version() override { return {}; }
    Choice AskYesNoCancel(const std::string&) override { return Choice::Cancel; }

  protected:
    int ShowMessage(const std::string&, int, const std::string&, const std::string&) override {
        return 1;
    }
};

} // namespace zandrel::bench
