// Which game a file belongs to, decided as the open command decides it: a name ending in
// ".DMP" is a memory dump, anything else by the four-character code at 0xAC.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "rom/Games.h"

namespace zandrel {

struct Identification {
    std::string title; // "Torvale (US)", "MEMORY DUMP", ...
    // The game's index; empty for a memory dump, which leaves GameIndex as it was.
    std::optional<std::int16_t> gameIndex;
};

// The game of the code at 0xAC of an existing file of at least 176 bytes; nothing for a
// missing, unreadable or shorter file or an unknown code. Never creates a file.
std::optional<GameInfo> IdentifyByHeader(const std::string& path);

// A memory dump by its name alone (nothing is read), otherwise IdentifyByHeader.
std::optional<Identification> IdentifyFile(const std::string& path);

// The definition file for an identification (see DefinitionFileFor).
std::string DefinitionFileOf(const Identification& identification);

} // namespace zandrel
