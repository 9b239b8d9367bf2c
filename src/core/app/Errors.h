// Failures the commands report to the user, as values with one message function.
#pragma once

#include <cstdint>
#include <string>

#include "platform/File.h"

namespace zandrel {

enum class Result {
    Ok,
    // A file the command works on (ROM, palette file, sample image) failed; `file` names it
    // and `io` holds the system's reason.
    CannotRead,
    CannotWrite,
    // The palette would reach past the end of the file: writing it would change its length.
    PaletteBeyondEnd,
    // Definition files (`file` is the definition file, `line` its 1-based line).
    DefinitionMissing,
    DefinitionNoComma,
    DefinitionOneComma,
    TooManyEntries,
    // Sample images of the preview.
    ImageNotGif,
    ImageNoColourTable,
    ImageSmallColourTable,
    // Shorter than its header and the first 16 colour table entries (61 bytes).
    ImageTooShort,
    // The byte viewer: a count whose byte count does not fit 16 bits.
    CountTooLarge,
};

struct Failure {
    Result result = Result::Ok;
    std::string file;
    FileStatus io;           // for CannotRead / CannotWrite / DefinitionMissing / images
    std::int64_t line = 0;   // definition line, 1-based
    std::int64_t offset = 0; // PaletteBeyondEnd: location; CountTooLarge: the count
    std::int64_t length = 0; // PaletteBeyondEnd: bytes to write
    std::uint64_t size = 0;  // PaletteBeyondEnd: file size

    bool ok() const { return result == Result::Ok; }
};

// The text of the critical box the user sees for a failure.
std::string ErrorMessage(const Failure& failure);

} // namespace zandrel
