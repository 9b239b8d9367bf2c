// Which game a file belongs to, decided as the open command decides it: a name ending in
// ".DMP" is a memory dump, anything else by the four-character code at 0xAC. A ROM of none of
// the five games is known when a definition file named after its code lies in the user's data
// folder or the program's data folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/DataFolders.h"
#include "platform/Failure.h"
#include "rom/Games.h"

namespace zandrel {

struct Identification {
    // "Torvale (US)", "MEMORY DUMP", or a ROM's internal title and code: "SYNTHETIC (ZNDL)".
    std::string title;
    // The game's index; empty for a memory dump and a ROM known by its code, which leave
    // GameIndex as it was.
    std::optional<std::int16_t> gameIndex;
    // "<CODE>.ZNDL" for a ROM known by its code; empty otherwise.
    std::string codeDefinitionFile;
    // The four characters of the header's code; empty for a memory dump.
    std::string code;

    bool IsMemoryDump() const { return !gameIndex && codeDefinitionFile.empty(); }
};

// A memory dump by its name alone (nothing is read), otherwise one of the five games by its
// header code, otherwise a ROM whose code names a definition file in `folders`. Nothing for a
// missing file or an unknown code; CannotRead when the file exists but cannot be read; the
// failure of CheckUserDefinitionFile when the user's definition file of that name is faulty.
Failure IdentifyFile(const std::string& path, const DataFolders& folders,
                     std::optional<Identification>& identification);
// The same, with a file that cannot be read taken as not identified. Without folders only
// memory dumps and the five games are known.
std::optional<Identification> IdentifyFile(const std::string& path,
                                           const DataFolders& folders = {});

// The definition file for an identification: the code's, or see DefinitionFileFor.
std::string DefinitionFileOf(const Identification& identification);

// Why IdentifyFile found no game at `path`, for the details under the not-identified message
// (the window's box, zandrel-cli identify): the file is missing or too short to hold a code;
// or the code read at 0xAC, and for a code of letters and digits the folders where
// "<CODE>.ZNDL" was looked for and, after a line break, the zandrel-cli scan command that
// makes one.
std::string NotIdentifiedDetails(const std::string& path, const DataFolders& folders);

} // namespace zandrel
