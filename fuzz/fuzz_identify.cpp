// The open command on arbitrary file contents: the bytes become a file the command identifies
// by its header code, and must never change; the same bytes as a name go through the
// memory-dump rule.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "../tests/core/FakeServices.h"
#include "FuzzSupport.h"
#include "app/MainForm.h"
#include "rom/Games.h"
#include "rom/Identify.h"
#include "util/Messages.h"
#include "util/Text.h"

using namespace zandrel;

namespace {

const GameInfo* GameOfBytes(const std::uint8_t* data, std::size_t size) {
    for (const GameInfo& game : kGames)
        if (size >= kGameCodeOffset + 4 &&
            std::memcmp(data + kGameCodeOffset, game.code.data(), 4) == 0)
            return &game;
    return nullptr;
}

void CheckOpen(const std::uint8_t* data, std::size_t size) {
    static const bool prepared = [] {
        // One palette per definition file, named after the game, shows which file was read.
        for (const GameInfo& game : kGames)
            fuzz::WriteFile(fuzz::ScratchFolder() / game.definitionFile,
                            "16,0," + std::string(game.title) + "\r\n");
        return true;
    }();
    FUZZ_CHECK(prepared);
    const std::string path = (fuzz::ScratchFolder() / "input.gba").string();
    fuzz::WriteFile(path, fuzz::AsText(data, size));
    const GameInfo* game = GameOfBytes(data, size);

    const std::optional<Identification> identified = IdentifyFile(path);
    FUZZ_CHECK(identified.has_value() == (game != nullptr));
    if (identified)
        FUZZ_CHECK(identified->title == game->title && identified->gameIndex == game->index);

    testing::FakeServices services;
    services.programFolder = fuzz::ScratchFolder().string();
    AppState app;
    app.GameIndex = 4; // no game has it, so any change shows
    MainForm form(app, services);
    services.openAnswers.push_back(path);
    form.Command1_Click();
    if (game) {
        FUZZ_CHECK(services.messages.empty() && app.RomLoaded && app.GameName == game->title);
        FUZZ_CHECK(form.model().List1.rows.size() == 1 &&
                   form.model().List1.rows[0] == game->title);
    } else {
        FUZZ_CHECK(services.messages.size() == 1 &&
                   services.messages[0].text == text::kNotIdentified);
        FUZZ_CHECK(!app.RomLoaded && app.GameIndex == 4);
    }
    const std::vector<std::uint8_t> after = fuzz::ReadFile(path);
    FUZZ_CHECK(after.size() == size && (size == 0 || std::memcmp(after.data(), data, size) == 0));
}

void CheckDumpName(std::string_view name) {
    const bool endsInDmp = name.size() >= 4 && name[name.size() - 4] == '.' &&
                           UpperCase(name.substr(name.size() - 3)) == "DMP";
    FUZZ_CHECK(IsMemoryDumpName(name) == endsInDmp);
    // A dump is known by its name alone; nothing at that path is read.
    if (endsInDmp && name.find('\0') == std::string_view::npos) {
        const std::optional<Identification> identified = IdentifyFile(std::string(name));
        FUZZ_CHECK(identified && identified->title == text::kMemoryDump && !identified->gameIndex);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckOpen(data, size);
    CheckDumpName(fuzz::AsText(data, size));
    return 0;
}
