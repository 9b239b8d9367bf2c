// Definition files: one palette per line, "count,location,name"; lines starting with ";"
// are comments.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DataFolders.h"
#include "platform/Failure.h"
#include "rom/PaletteLocation.h"

namespace zandrel {

inline constexpr std::size_t kMaxDefinitionEntries = 32767;

// The three parallel columns of the palette table. After a load that stopped at a line with
// one comma, `counts` and `names` hold one row more than `locations`.
struct PaletteTable {
    std::vector<std::string> counts;
    std::vector<std::string> names;
    std::vector<std::string> locations;
    // The 1-based line of each entry (one per count), for the messages about its location.
    std::vector<std::int64_t> lines;
};

// Reads every entry of the 8-bit text into the table, in file order. Lines end with CR LF (a
// bare LF or CR also ends a line; a final line end makes no extra empty line); a leading
// UTF-8 byte-order mark is skipped; the text is decoded as UTF-8 when it is valid UTF-8,
// otherwise as Windows-1252. The result says where and why the load stopped early (line is
// 1-based as an editor numbers it, the file named `name`); Result::Ok when every line was
// read.
Failure ParseDefinitions(std::string_view bytes, PaletteTable& table, const std::string& name = {});
// Reads the definition file at `path` and parses it; a file that cannot be read gives
// Result::DefinitionMissing. Failures name the file as `name` (the window names it as the
// user knows it, by its bare name).
Failure LoadDefinitionFile(const std::string& path, const std::string& name, PaletteTable& table);

// The folder a definition file named `name` is read from: the user's data folder when anything
// of that name lies there, so a user adds palettes without writing to the program's folder and
// a fault of theirs is reported, not passed over; otherwise the program's data folder.
std::string DefinitionFolder(const std::string& name, const DataFolders& folders);
// True when the user's data folder holds anything named `name` or the program's data folder
// holds a regular file `name`.
bool DefinitionFileExists(const std::string& name, const DataFolders& folders);
// The user's own definition file `name`: nothing there, or a regular file that opens for
// reading. Anything else of that name in the user's data folder (a named pipe, a device, a
// folder, a file without read permission, a link to nothing) is DefinitionMissing naming it
// by its full path, with what is wrong.
Failure CheckUserDefinitionFile(const std::string& name, const DataFolders& folders);

// One entry as ParseDefinitions reads it back, without its line end:
// "16,LZ:3B8A8C+20,Paleta comprimida LZ77 3B8A8C+20 (pontuação 91)". The name is written as
// given, so it must hold no line end.
std::string DefinitionLine(int colours, const PaletteLocation& where, std::string_view name);

} // namespace zandrel
