// The application state: one record for the whole run, shared by every command.
#pragma once

#include <cstdint>
#include <string>

namespace zandrel {

struct AppState {
    std::int16_t GameIndex = 0;       // last identified game: 0, 1, 2, 3 or 5
    std::string RomPath;              // file being edited
    bool RomLoaded = false;           // a file is open and its palette list loaded
    std::string GameName;             // result of the latest identification attempt
    bool SpecialMode = false;         // started with the special-mode word
    std::int32_t CurrentLocation = 0; // offset of the palette shown in the special state
    std::string ByteDumpText;         // what the byte viewer shows
};

} // namespace zandrel
