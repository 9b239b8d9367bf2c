#include "app/Definitions.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "app/Text.h"
#include "platform/File.h"

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
    // The offset of the next `ch` in [from, to), or `to`; memchr scans many bytes at a time.
    const auto find = [&text](char ch, std::size_t from, std::size_t to) {
        if (from >= to)
            return to;
        const void* at = std::memchr(text.data() + from, ch, to - from);
        return at == nullptr ? to
                             : static_cast<std::size_t>(static_cast<const char*>(at) - text.data());
    };
    // Room for every entry up front, one allocation per column instead of a growing copy. No
    // entry line is shorter than "1,0\n"; pages reserved beyond the real count are never
    // touched.
    const std::size_t expected = std::min(text.size() / 4 + 1, kMaxDefinitionEntries);
    table.counts.reserve(table.counts.size() + expected);
    table.names.reserve(table.names.size() + expected);
    table.locations.reserve(table.locations.size() + expected);

    std::int64_t lineNumber = 0;
    std::size_t start = 0;
    std::size_t lineFeed = find('\n', 0, text.size()); // the next LF at or after `start`
    while (start < text.size()) {
        if (lineFeed < start)
            lineFeed = find('\n', start, text.size());
        // A line ends at LF, CR LF or a bare CR, whichever comes first.
        const std::size_t end = find('\r', start, lineFeed);
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
        ++lineNumber;

        if (!line.empty() && line.front() == ';')
            continue;
        // The count and the location are a few characters each: a plain loop finds their
        // commas sooner than a library search would start.
        const auto comma = [&line](std::size_t from) {
            while (from < line.size() && line[from] != ',')
                ++from;
            return from < line.size() ? from : std::string_view::npos;
        };
        const std::size_t first = comma(0);
        if (first == std::string_view::npos)
            return stop(Result::DefinitionNoComma, lineNumber);
        // The lists hold at most 32767 rows: the next entry cannot be added to any of them.
        if (table.counts.size() >= kMaxDefinitionEntries)
            return stop(Result::TooManyEntries, lineNumber);
        table.counts.emplace_back(line.substr(0, first));
        const std::size_t second = comma(first + 1);
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
    // A file's length is known: read the rest of it at once rather than through a growing
    // buffer. Otherwise (or for what is left) read in chunks.
    std::string bytes;
    const std::istream::pos_type start = in.tellg();
    if (start != std::istream::pos_type(-1) && in.seekg(0, std::ios::end)) {
        const std::istream::pos_type end = in.tellg();
        in.seekg(start);
        if (end != std::istream::pos_type(-1) && end > start) {
            // Not zero-filled first: every byte kept is read from the stream.
            const auto size = static_cast<std::size_t>(end - start);
            std::unique_ptr<char[]> whole(new char[size]);
            in.read(whole.get(), static_cast<std::streamsize>(size));
            const auto got = static_cast<std::size_t>(in.gcount());
            in.clear(in.rdstate() & std::ios::badbit);
            if (got == size && in.peek() == std::char_traits<char>::eof())
                return ParseDefinitions(std::string_view(whole.get(), size), table);
            bytes.assign(whole.get(), got);
        }
    }
    in.clear(in.rdstate() & std::ios::badbit);
    std::array<char, 1 << 16> chunk;
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0)
        bytes.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    return ParseDefinitions(bytes, table);
}

Failure LoadDefinitionFile(const std::string& path, PaletteTable& table) {
    std::vector<std::uint8_t> bytes;
    Failure failure;
    if (const FileStatus status = ReadWholeFile(path, kMaxDefinitionFileSize, bytes);
        !status.ok()) {
        failure.result = Result::DefinitionMissing;
        failure.io = status;
    } else {
        failure = ParseDefinitions(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), table);
    }
    failure.file = path;
    return failure;
}

} // namespace zandrel
