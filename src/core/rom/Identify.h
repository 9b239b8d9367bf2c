// Which game a file belongs to, decided as the open command decides it: a name ending in
// ".DMP" is a memory dump, anything else by the four-character code at 0xAC.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Failure.h"
#include "platform/File.h"
#include "rom/Games.h"

namespace zandrel {

struct Identification {
    std::string title; // "Torvale (US)", "MEMORY DUMP", ...
    // The game's index; empty for a memory dump, which leaves GameIndex as it was.
    std::optional<std::int16_t> gameIndex;
};

// The game of the code at 0xAC of the open file at `path`; nothing for a file shorter than
// 176 bytes (no complete code) or an unknown code. CannotRead when the file cannot be read.
Failure ReadGameCode(const File& file, const std::string& path, std::optional<GameInfo>& game);

// The game of the code at 0xAC of the file at `path`, as ReadGameCode; nothing for a missing
// file, which is never created. CannotRead when the file exists but cannot be opened or read.
Failure IdentifyByHeader(const std::string& path, std::optional<GameInfo>& game);

// A memory dump by its name alone (nothing is read), otherwise IdentifyByHeader.
Failure IdentifyFile(const std::string& path, std::optional<Identification>& identification);
// The same, with a file that cannot be read taken as not identified.
std::optional<Identification> IdentifyFile(const std::string& path);

// The definition file for an identification (see DefinitionFileFor).
std::string DefinitionFileOf(const Identification& identification);

} // namespace zandrel
