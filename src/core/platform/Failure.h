// The one error vocabulary: failures the commands report, as values made by named
// constructors, with one message function.
#pragma once

#include <cstdint>
#include <string>

#include "platform/File.h"

namespace zandrel {

enum class Result {
    Ok,
    // A file the command works on (ROM, palette file, sample image) failed; `io` holds the
    // system's reason.
    CannotRead,
    CannotWrite,
    // The palette would reach past the end of the file: writing it would change its length.
    PaletteBeyondEnd,
    // Definition files: missing or unreadable (`io`), or a line (`line`) that stops the load.
    DefinitionMissing,
    DefinitionNoComma,
    DefinitionOneComma,
    TooManyEntries,
    // The byte viewer: a colour count whose byte count does not fit 16 bits.
    CountTooLarge,
    // A file refused: a command will not work on it, or it is no palette file of its format;
    // `reason` says why.
    FileRefused,
    // A palette whose count gives no colours; `reason` names the palette and its count text.
    NoColours,
    // A definition row (`file`, `line`) whose location text (`reason`) is no location.
    BadLocation,
    // Compressed palettes: the LZ77 block at `location` does not decompress (`reason` says
    // why); the palette (`reason` its location text, `length` its bytes) does not lie inside
    // the block's `size` decompressed bytes; even the shortest recompressed block (`length`
    // bytes) is longer than the block's room (`size` bytes).
    BadBlock,
    OutsideBlock,
    DoesNotFit,
    // A command line the tool cannot follow; `reason` says what is wrong with it.
    Usage,
    // A patch (IPS or BPS) that cannot be applied; `reason` says why.
    BadPatch,
    // A failure of a layer above this one, which knows its kinds: `reason` is the whole
    // message, written where it failed.
    Described,
};

struct Failure {
    Result result = Result::Ok;
    std::string file;          // the file the failure is about; empty for Usage
    FileStatus io;             // the system's reason: CannotRead, CannotWrite, DefinitionMissing
    std::int64_t line = 0;     // the definition file's 1-based line at fault
    std::int64_t location = 0; // PaletteBeyondEnd: offset of the palette's first byte
    std::int64_t length = 0;   // PaletteBeyondEnd: the bytes to write
    std::uint64_t size = 0;    // PaletteBeyondEnd: the file's length
    std::int64_t count = 0;    // CountTooLarge: the palette's colour count
    std::string reason;        // FileRefused, NoColours, Usage, BadPatch, Described, and as
                               // the results say
    // Definition failures: the load stopped at the text after a CR inside that line.
    bool afterLoneCr = false;
    // Definition failures: the caller used none of the entries before the line.
    bool nothingLoaded = false;

    static Failure CannotRead(std::string path, FileStatus io);
    static Failure CannotWrite(std::string path, FileStatus io);
    static Failure BeyondEnd(std::string path, std::int64_t at, std::int64_t length,
                             std::uint64_t size);
    static Failure DefinitionMissing(std::string file, FileStatus io);
    static Failure DefinitionNoComma(std::string file, std::int64_t line, bool afterLoneCr = false);
    static Failure DefinitionOneComma(std::string file, std::int64_t line,
                                      bool afterLoneCr = false);
    static Failure TooManyEntries(std::string file, std::int64_t line, bool afterLoneCr = false);
    static Failure CountTooLarge(std::string path, std::int64_t count);
    static Failure FileRefused(std::string path, std::string reason);
    // `palette` as the user knows it (a row's name or number), `countText` as written.
    static Failure NoColours(std::string path, const std::string& palette,
                             const std::string& countText);
    static Failure Usage(std::string reason);
    static Failure BadPatch(std::string path, std::string reason);
    static Failure Described(std::string path, std::string message);
    static Failure BadLocation(std::string definitionFile, std::int64_t line,
                               std::string locationText);
    static Failure BadBlock(std::string path, std::int64_t block, std::string reason);
    static Failure OutsideBlock(std::string path, std::string locationText, std::int64_t length,
                                std::uint64_t dataSize);
    static Failure DoesNotFit(std::string path, std::string locationText, std::int64_t newLength,
                              std::uint64_t originalLength);

    bool ok() const { return result == Result::Ok; }
};

// The text of the critical box the user sees for a failure.
std::string ErrorMessage(const Failure& failure);

} // namespace zandrel
