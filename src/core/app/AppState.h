// The application state: one record for the whole run, shared by every command.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DataFolders.h"

namespace zandrel {

// What the game label shows, and so how the commands that depend on it behave: nothing
// identified yet (closing asks nothing), a game, a memory dump (the byte viewer is offered)
// or the special state (keys step through the file, the location label asks for a location,
// the export needs no full palette).
enum class Shown { Nothing, Game, MemoryDump, SpecialState };

struct AppState {
    std::int16_t GameIndex = 0; // last identified game: 0, 1, 2, 3 or 5
    std::string RomPath;        // file being edited
    bool RomLoaded = false;     // a file is open and its palette list loaded
    std::string GameName;       // result of the latest identification attempt
    // The program was started with the special-mode word, so the special button shows. Set
    // once at start; whether the special state is shown is `shown`.
    bool SpecialMode = false;
    // Where the program runs from and where its data files lie, found once at start.
    std::string ProgramFolder;
    DataFolders Folders;
    std::int32_t CurrentLocation = 0; // offset of the palette shown in the special state
    std::string ByteDumpText;         // what the byte viewer shows
    // "<CODE>.ZNDL" when the open found the ROM by the definition file named after its header
    // code (none of the five games); empty for the five games and memory dumps.
    std::string GameCodeFile;
    // The definition file the palette lists were loaded from, by its full path, and the line of
    // each row's entry, so a row whose location is no location is reported by file and line.
    std::string DefinitionFile;
    std::vector<std::int64_t> DefinitionLines;
    // Set together with the game label's caption and never read back from the caption.
    Shown shown = Shown::Nothing;

    bool NothingIdentified() const { return shown == Shown::Nothing; }
    bool ShowsMemoryDump() const { return shown == Shown::MemoryDump; }
    bool InSpecialState() const { return shown == Shown::SpecialState; }
};

} // namespace zandrel
