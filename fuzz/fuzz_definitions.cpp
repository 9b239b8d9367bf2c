// Definition files: any bytes give a table whose columns line up as the loader promises,
// and a complete table reads back the same from its own text.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "rom/Definitions.h"
#include "util/Text.h"

using namespace zandrel;

namespace {

bool IsField(std::string_view field) {
    return field.find_first_of("\r\n") == std::string_view::npos && IsValidUtf8(field);
}

void CheckTable(std::string_view bytes) {
    PaletteTable table;
    const Failure failure = ParseDefinitions(bytes, table);
    FUZZ_CHECK(table.counts.size() <= kMaxDefinitionEntries);
    FUZZ_CHECK(table.names.size() == table.counts.size());
    const bool oneComma = failure.result == Result::DefinitionOneComma;
    FUZZ_CHECK(table.locations.size() + (oneComma ? 1 : 0) == table.counts.size());
    FUZZ_CHECK(failure.ok() ? failure.line == 0 : failure.line >= 1);
    FUZZ_CHECK(failure.ok() || oneComma || failure.result == Result::DefinitionNoComma ||
               failure.result == Result::TooManyEntries);
    if (failure.result == Result::TooManyEntries)
        FUZZ_CHECK(table.counts.size() == kMaxDefinitionEntries);
    for (std::size_t i = 0; i < table.counts.size(); ++i) {
        FUZZ_CHECK(IsField(table.counts[i]) && table.counts[i].find(',') == std::string_view::npos);
        FUZZ_CHECK(IsField(table.names[i]));
        if (i < table.locations.size())
            FUZZ_CHECK(IsField(table.locations[i]) &&
                       table.locations[i].find(',') == std::string_view::npos);
    }
    if (!failure.ok())
        return;
    // Written back as CR LF lines, the table reads as itself (a count starting with ";" would
    // make its line a comment, and a first count starting with a byte-order mark would lose it).
    std::string text;
    for (std::size_t i = 0; i < table.counts.size(); ++i) {
        if (table.counts[i].starts_with(';') ||
            (i == 0 && table.counts[i].starts_with("\xEF\xBB\xBF")))
            return;
        text.append(table.counts[i]).append(",").append(table.locations[i]).append(",");
        text.append(table.names[i]).append("\r\n");
    }
    PaletteTable again;
    FUZZ_CHECK(ParseDefinitions(text, again).ok());
    FUZZ_CHECK(again.counts == table.counts && again.names == table.names &&
               again.locations == table.locations);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckTable(fuzz::AsText(data, size));
    return 0;
}
