// The words after a command's name: its operands and options, and the forms PALETTE and
// INDEX=COLOUR take. Every refusal is a usage error that names the command or the word.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Failure.h"
#include "rom/PaletteLocation.h"
#include "util/ColourTypes.h"

namespace zandrel::cli {

// An operand count without an upper limit.
inline constexpr std::size_t kAnyNumber = std::numeric_limits<std::size_t>::max();

// An option a command takes. One that takes a value takes the word after it, whatever it is,
// or what follows "=" in "--min=80".
struct OptionRule {
    std::string_view name; // "--min", "-o"
    bool takesValue = false;
};

struct GivenOption {
    std::string_view name;
    std::optional<std::string> value; // nothing when the option ended the line
};

// A command's words, split by its option rules; options may stand before, between or after
// the operands.
struct CommandArguments {
    std::string command;
    std::vector<std::string> operands;
    std::vector<GivenOption> options; // in the order given

    bool Has(std::string_view option) const;
};

// A command that takes options refuses any other word starting with "--", and a value given
// with "=" to an option that takes none; one without options takes every word as an operand.
Failure SplitArguments(std::string_view command, std::span<const std::string> words,
                       std::span<const OptionRule> rules, CommandArguments& split);

// The operand count against the command's: "show: esperados 2 argumentos, recebido 1".
Failure CheckOperandCount(const CommandArguments& split, std::size_t fewest, std::size_t most);

// An empty operand where the usage's word at its place names a file (FILE, OUTFILE, INFILE,
// OUT.png):
// "scan: o nome de FILE está vazio". The usage's operands are its words outside brackets; the
// last one stands for any further operands.
Failure RefuseEmptyFileNames(const CommandArguments& split, std::string_view usage);

// A file name option (-o FILE): the last value given, which must be there and not be empty;
// without the option `value` keeps what it holds.
Failure FileNameOption(const CommandArguments& split, std::string_view option, std::string& value);

// A word option: every value given must be one of `choices`, else "scan: --sort espera best ou
// offset". The last value given wins; without the option `value` keeps what it holds.
Failure ChoiceOption(const CommandArguments& split, std::string_view option,
                     std::span<const std::string_view> choices, std::string_view& value);

// "a, b ou c": the choices as the messages and the usage list them.
std::string ChoiceList(std::span<const std::string_view> choices);

// A whole number option: every value given must be decimal and lie from `lowest` to
// `highest`, else "scan: --min espera uma pontuação de 0 a 100" (`meaning` "uma pontuação").
// The last value given wins; without the option `value` keeps what it holds.
Failure NumberOption(const CommandArguments& split, std::string_view option,
                     std::string_view meaning, int lowest, int highest, int& value);

// Two switches that cannot be given together.
Failure RefuseBoth(const CommandArguments& split, std::string_view first, std::string_view second);

// PALETTE: a 0-based entry of the definition file, or @LOCATION, a location of sixteen
// colours as people write it: a definition file's form (@1A0, @LZ:3B8A8C+20) with every hex
// number also as 0x1A0 or $1A0 and every letter in either case (@lz:3b8a8c). In a ROM image
// (`romImage`, any FILE but a memory dump) a GBA bus address 08000000 to 09FFFFFF, where the
// cartridge lies, is the file offset it maps: 08000000 is 0.
struct PaletteArgument {
    std::string text;
    bool atLocation = false;
    PaletteLocation where;
    std::size_t row = 0;
};

Failure ParsePaletteArgument(const std::string& text, bool romImage, PaletteArgument& palette);

// GRAPHICS: @LOCATION as PALETTE's, except that the byte in a block may be odd and have up to
// 6 hex digits (gfx/GraphicsLocation.h).
Failure ParseGraphicsArgument(const std::string& text, bool romImage, PaletteLocation& where);

// INDEX=COLOUR: a colour's decimal index, and its colour as the window's paste takes it
// (7FFF, $7FFF, 0x7FFF, #RRGGBB, RRGGBB) or as a word of 1 to 3 hex digits (1F).
struct Assignment {
    std::size_t index = 0;
    ColorWord word = 0;
};

Failure ParseAssignments(std::span<const std::string> texts, std::vector<Assignment>& result);

} // namespace zandrel::cli
