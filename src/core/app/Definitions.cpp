#include "app/Definitions.h"

#include <iterator>

#include "app/Text.h"

namespace zandrel {

std::vector<std::string> SplitDefinitionLines(std::string_view bytes) {
    const std::string text = DecodeEightBitText(bytes);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

Failure ParseDefinitions(std::string_view bytes, PaletteTable& table) {
    const std::vector<std::string> lines = SplitDefinitionLines(bytes);
    const auto stop = [](Result result, std::size_t lineIndex) {
        Failure failure;
        failure.result = result;
        failure.line = static_cast<std::int64_t>(lineIndex) + 1;
        return failure;
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (!line.empty() && line.front() == ';')
            continue;
        const std::size_t first = line.find(',');
        if (first == std::string::npos)
            return stop(Result::DefinitionNoComma, i);
        // The lists hold at most 32767 rows: the next entry cannot be added to any of them.
        if (table.counts.size() >= kMaxDefinitionEntries)
            return stop(Result::TooManyEntries, i);
        table.counts.push_back(line.substr(0, first));
        const std::size_t second = line.find(',', first + 1);
        if (second == std::string::npos) {
            table.names.push_back(line.substr(first + 1));
            return stop(Result::DefinitionOneComma, i);
        }
        table.names.push_back(line.substr(second + 1));
        table.locations.push_back(line.substr(first + 1, second - first - 1));
    }
    return {};
}

Failure ParseDefinitions(std::istream& in, PaletteTable& table) {
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return ParseDefinitions(bytes, table);
}

} // namespace zandrel
