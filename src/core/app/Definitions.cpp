#include "app/Definitions.h"

#include <sstream>

#include "app/Text.h"

namespace zandrel {

Failure ParseDefinitions(std::string_view bytes, PaletteTable& table) {
    // Valid UTF-8 (plain ASCII included) is used as it stands, without a copy.
    std::string converted;
    std::string_view text = bytes;
    if (!IsValidUtf8(bytes)) {
        converted = Windows1252ToUtf8(bytes);
        text = converted;
    }
    const auto stop = [](Result result, std::int64_t line) {
        Failure failure;
        failure.result = result;
        failure.line = line;
        return failure;
    };
    std::int64_t lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
        ++lineNumber;

        if (!line.empty() && line.front() == ';')
            continue;
        const std::size_t first = line.find(',');
        if (first == std::string_view::npos)
            return stop(Result::DefinitionNoComma, lineNumber);
        // The lists hold at most 32767 rows: the next entry cannot be added to any of them.
        if (table.counts.size() >= kMaxDefinitionEntries)
            return stop(Result::TooManyEntries, lineNumber);
        table.counts.emplace_back(line.substr(0, first));
        const std::size_t second = line.find(',', first + 1);
        if (second == std::string_view::npos) {
            table.names.emplace_back(line.substr(first + 1));
            return stop(Result::DefinitionOneComma, lineNumber);
        }
        table.names.emplace_back(line.substr(second + 1));
        table.locations.emplace_back(line.substr(first + 1, second - first - 1));
    }
    return {};
}

Failure ParseDefinitions(std::istream& in, PaletteTable& table) {
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return ParseDefinitions(bytes.view(), table);
}

} // namespace zandrel
