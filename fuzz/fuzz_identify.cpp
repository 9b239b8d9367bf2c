// The open command on arbitrary file contents: the bytes become a file that the command
// identifies by its header code; the same bytes as a file name go through the memory-dump
// rule. The command must never change the file it reads.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "../tests/core/FakeServices.h"
#include "FuzzSupport.h"
#include "app/MainForm.h"
#include "rom/Games.h"
#include "util/Messages.h"

#if __has_include("rom/Identify.h")
#include "rom/Identify.h"
#define ZANDREL_FUZZ_IDENTIFY_FILE 1
#endif

using namespace zandrel;

namespace {

const GameInfo* GameOfBytes(const std::uint8_t* data, std::size_t size) {
    if (size < kGameCodeOffset + 4)
        return nullptr;
    for (const GameInfo& game : kGames)
        if (std::memcmp(data + kGameCodeOffset, game.code.data(), 4) == 0)
            return &game;
    return nullptr;
}

bool EndsInDmp(std::string_view name) {
    if (name.size() < 4)
        return false;
    const std::string_view tail = name.substr(name.size() - 4);
    return tail[0] == '.' && (tail[1] | 0x20) == 'd' && (tail[2] | 0x20) == 'm' &&
           (tail[3] | 0x20) == 'p';
}

void PrepareFolder() {
    static bool done = false;
    if (done)
        return;
    done = true;
    // Each definition file holds one palette, so a completed open shows which file it read.
    for (const GameInfo& game : kGames)
        fuzz::WriteFile(fuzz::ScratchFolder() / game.definitionFile,
                        "16,0," + std::string(game.title) + "\r\n");
    fuzz::WriteFile(fuzz::ScratchFolder() / kMemoryDumpDefinitionFile, "16,0,MEMORY DUMP\r\n");
}

void CheckOpen(const std::uint8_t* data, std::size_t size) {
    const std::string path = (fuzz::ScratchFolder() / "input.gba").string();
    fuzz::WriteFile(path, fuzz::AsText(data, size));
    const GameInfo* game = GameOfBytes(data, size);

    testing::FakeServices services;
    services.programFolder = fuzz::ScratchFolder().string();
    AppState app;
    app.GameIndex = 4; // no game has it, so any change shows
    MainForm form(app, services);

    FUZZ_CHECK(form.IdentifyGame(path) == (game ? game->title : ""));
    FUZZ_CHECK(app.GameIndex == (game ? game->index : 4));
#ifdef ZANDREL_FUZZ_IDENTIFY_FILE
    const std::optional<Identification> identified = IdentifyFile(path);
    FUZZ_CHECK(identified.has_value() == (game != nullptr));
    if (identified)
        FUZZ_CHECK(identified->title == game->title && identified->gameIndex == game->index);
#endif

    app.GameIndex = 4;
    services.openAnswers.push_back(path);
    form.Command1_Click();
    if (game) {
        FUZZ_CHECK(services.messages.empty());
        FUZZ_CHECK(app.RomLoaded && app.RomPath == path && app.GameName == game->title);
        FUZZ_CHECK(form.model().List1.rows.size() == 1 &&
                   form.model().List1.rows[0] == game->title);
    } else {
        FUZZ_CHECK(services.messages.size() == 1);
        FUZZ_CHECK(services.messages[0].text == text::kNotIdentified);
        FUZZ_CHECK(services.messages[0].style == kStyleCritical);
        FUZZ_CHECK(!app.RomLoaded && app.RomPath.empty() && app.GameIndex == 4);
    }
    // Reading a header writes nothing.
    const std::vector<std::uint8_t> after = fuzz::ReadFile(path);
    FUZZ_CHECK(after.size() == size && (size == 0 || std::memcmp(after.data(), data, size) == 0));
}

void CheckDumpName(std::string_view name) {
    const bool dump = IsMemoryDumpName(name);
    FUZZ_CHECK(dump == EndsInDmp(name));
#ifdef ZANDREL_FUZZ_IDENTIFY_FILE
    // A dump is known by its name alone; nothing at that path is read.
    if (dump && name.find('\0') == std::string_view::npos) {
        const std::optional<Identification> identified = IdentifyFile(std::string(name));
        FUZZ_CHECK(identified && identified->title == text::kMemoryDump && !identified->gameIndex);
    }
#endif
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PrepareFolder();
    CheckOpen(data, size);
    CheckDumpName(fuzz::AsText(data, size));
    return 0;
}
