// Definition files: one palette per line, "count,location,name"; lines starting with ";"
// are comments.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DataFolders.h"
#include "platform/Failure.h"
#include "rom/PaletteLocation.h"
#include "util/TextColumn.h"

namespace zandrel {

inline constexpr std::size_t kMaxDefinitionEntries = 32767;

// The three parallel columns of the palette table. After a load that stopped at a line with
// one comma, `counts` and `names` hold one row more than `locations`.
struct PaletteTable {
    TextColumn counts;
    TextColumn names;
    TextColumn locations;
    // The 1-based line of each entry (one per count), for the messages about its location.
    std::vector<std::int64_t> lines;
};

// One line of a definition file, without its line end.
struct DefinitionLine {
    std::string_view text;
    std::int64_t number = 0;  // 1-based, as an editor numbers the file's lines
    bool afterLoneCr = false; // the text follows a bare CR inside the line `number`
};

// The lines of a text, in order. A line ends at LF, CR LF or a bare CR, whichever comes
// first; a final line end makes no extra empty line. Lines are numbered as an editor shows
// them: by LF when the text holds one, so a bare CR inside such a line (in a name, say)
// starts no new number; by CR in a text of CR-only line ends.
class DefinitionLineReader {
  public:
    explicit DefinitionLineReader(std::string_view text);
    // The next line, or nothing after the last.
    std::optional<DefinitionLine> Next();

  private:
    // The offset of the next `ch` in [from, to), or `to`.
    std::size_t Find(char ch, std::size_t from, std::size_t to) const;

    std::string_view text_;
    std::size_t start_ = 0;    // where the next line starts
    std::size_t lineFeed_ = 0; // the first LF at or after start_, or the end of the text
    bool numberedByLineFeed_ = false;
    std::int64_t number_ = 0;
    bool afterLoneCr_ = false; // the next line follows a bare CR inside a numbered line
};

// The fields of one line, "count,location,name": the count up to the first comma, the location
// up to the second and the name after it, each as it stands (later commas belong to the name).
struct DefinitionEntry {
    enum class Shape {
        Comment,  // ";" first: no entry
        NoComma,  // no entry, and the load stops
        OneComma, // a count and the rest of the line as its name; the load stops
        Complete,
    };
    Shape shape = Shape::Comment;
    std::string_view count;
    std::string_view location;
    std::string_view name;
};
DefinitionEntry ParseDefinitionEntry(std::string_view line);

// Reads every entry of the 8-bit text into the table, in file order, line by line as
// DefinitionLineReader splits it; a leading UTF-8 byte-order mark is skipped; the text is
// decoded as UTF-8 when it is valid UTF-8, otherwise as Windows-1252. The load stops at a
// line without a comma, after a line with one comma (its count and name added), and at the
// line of an entry past the 32767 rows the lists hold. The result says where and why it
// stopped (the line as DefinitionLineReader numbers it, the file named `name`); Result::Ok
// when every line was read.
Failure ParseDefinitions(std::string_view bytes, PaletteTable& table, const std::string& name = {});
// Reads the definition file at `path` and parses it; a file that cannot be read gives
// Result::DefinitionMissing. Failures name the file as `name`.
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
std::string DefinitionEntryText(int colours, const PaletteLocation& where, std::string_view name);

} // namespace zandrel
