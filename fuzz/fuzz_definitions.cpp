// Definition files: any bytes give a table whose columns line up as the loader promises,
// with at most 32767 entries, and a complete table reads back the same from its own text.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "rom/Definitions.h"
#include "util/Text.h"

using namespace zandrel;

namespace {

std::size_t CountLines(std::string_view text) {
    std::size_t lines = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t end = text.find_first_of("\r\n", i);
        if (end == std::string_view::npos)
            end = text.size();
        ++lines;
        i = end + 1;
        if (end < text.size() && text[end] == '\r' && i < text.size() && text[i] == '\n')
            ++i;
    }
    return lines;
}

// The loader written out plainly, a character at a time, to hold the real one to: lines end
// at CR, LF or CR LF after a byte-order mark, and are numbered by LF when the text has one.
Failure ReferenceParse(std::string_view bytes, PaletteTable& table) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    const std::string text = DecodeEightBitText(bytes);
    const bool byLineFeed = text.find('\n') != std::string::npos;
    std::int64_t lineNumber = 0;
    bool continues = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        bool loneCr = end < text.size() && text[end] == '\r';
        if (loneCr && start < text.size() && text[start] == '\n') {
            ++start;
            loneCr = false;
        }
        Failure failure;
        failure.afterLoneCr = continues;
        if (!continues)
            ++lineNumber;
        continues = byLineFeed && loneCr;
        failure.line = lineNumber;
        if (!line.empty() && line[0] == ';')
            continue;
        const std::size_t first = line.find(',');
        if (first == std::string::npos) {
            failure.result = Result::DefinitionNoComma;
            return failure;
        }
        if (table.counts.size() == kMaxDefinitionEntries) {
            failure.result = Result::TooManyEntries;
            return failure;
        }
        table.counts.push_back(line.substr(0, first));
        const std::size_t second = line.find(',', first + 1);
        if (second == std::string::npos) {
            table.names.push_back(line.substr(first + 1));
            failure.result = Result::DefinitionOneComma;
            return failure;
        }
        table.names.push_back(line.substr(second + 1));
        table.locations.push_back(line.substr(first + 1, second - first - 1));
    }
    return {};
}

bool HasNoLineEnd(const std::string& field) {
    return field.find_first_of("\r\n") == std::string::npos;
}

void CheckTable(std::string_view bytes, bool thorough) {
    PaletteTable table;
    const Failure failure = ParseDefinitions(bytes, table);

    PaletteTable reference;
    const Failure expected = ReferenceParse(bytes, reference);
    FUZZ_CHECK(failure.result == expected.result && failure.line == expected.line &&
               failure.afterLoneCr == expected.afterLoneCr);
    FUZZ_CHECK(table.counts == reference.counts && table.names == reference.names &&
               table.locations == reference.locations);

    FUZZ_CHECK(table.counts.size() <= kMaxDefinitionEntries);
    FUZZ_CHECK(table.names.size() == table.counts.size());
    if (failure.result == Result::DefinitionOneComma)
        FUZZ_CHECK(table.locations.size() + 1 == table.counts.size());
    else
        FUZZ_CHECK(table.locations.size() == table.counts.size());

    if (failure.ok()) {
        FUZZ_CHECK(failure.line == 0);
    } else {
        FUZZ_CHECK(failure.result == Result::DefinitionNoComma ||
                   failure.result == Result::DefinitionOneComma ||
                   failure.result == Result::TooManyEntries);
        FUZZ_CHECK(failure.line >= 1);
        // Every line end before the failing line gave at most one entry.
        FUZZ_CHECK(static_cast<std::size_t>(failure.line) <= CountLines(bytes));
        FUZZ_CHECK(table.counts.size() <= CountLines(bytes));
    }
    if (failure.result == Result::TooManyEntries)
        FUZZ_CHECK(table.counts.size() == kMaxDefinitionEntries);

    for (std::size_t i = 0; i < table.counts.size(); ++i) {
        FUZZ_CHECK(table.counts[i].find(',') == std::string::npos);
        FUZZ_CHECK(HasNoLineEnd(table.counts[i]) && HasNoLineEnd(table.names[i]));
        FUZZ_CHECK(IsValidUtf8(table.counts[i]) && IsValidUtf8(table.names[i]));
        if (i < table.locations.size()) {
            FUZZ_CHECK(table.locations[i].find(',') == std::string::npos);
            FUZZ_CHECK(HasNoLineEnd(table.locations[i]));
            FUZZ_CHECK(IsValidUtf8(table.locations[i]));
        }
    }

    if (!thorough)
        return;
    // A table written back as CR LF lines reads as itself (a name may hold commas; a count
    // beginning with ";" would turn its line into a comment, and a first count beginning
    // with a byte-order mark would lose it, so such tables are left out).
    if (failure.ok()) {
        std::string text;
        bool writable = table.counts.empty() || !table.counts[0].starts_with("\xEF\xBB\xBF");
        for (std::size_t i = 0; i < table.counts.size(); ++i) {
            writable = writable && !(table.counts[i].size() > 0 && table.counts[i][0] == ';');
            text += table.counts[i] + "," + table.locations[i] + "," + table.names[i] + "\r\n";
        }
        if (writable) {
            PaletteTable again;
            FUZZ_CHECK(ParseDefinitions(text, again).ok());
            FUZZ_CHECK(again.counts == table.counts && again.names == table.names &&
                       again.locations == table.locations);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes = fuzz::AsText(data, size);
    // A first byte of 0x01 repeats the rest past the entry limit, so the limit is reached
    // from inputs of the usual length.
    if (!bytes.empty() && bytes.front() == '\x01') {
        bytes.remove_prefix(1);
        std::size_t lineEnds = 0;
        for (const char c : bytes)
            lineEnds += c == '\n' ? 1 : 0;
        const std::size_t copies = lineEnds == 0 ? 0 : (kMaxDefinitionEntries + 1) / lineEnds + 1;
        // Short lines only, so one input stays small and the run stays quick.
        if (copies == 0 || copies * bytes.size() > (1u << 18))
            return 0;
        std::string repeated;
        repeated.reserve(copies * bytes.size());
        for (std::size_t i = 0; i < copies; ++i)
            repeated += bytes;
        CheckTable(repeated, false);
        return 0;
    }
    CheckTable(bytes, true);
    return 0;
}
