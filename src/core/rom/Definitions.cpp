#include "rom/Definitions.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/File.h"
#include "util/Text.h"

namespace zandrel {

DefinitionLineReader::DefinitionLineReader(std::string_view text)
    : text_(text), lineFeed_(Find('\n', 0, text.size())),
      numberedByLineFeed_(lineFeed_ < text.size()) {}

std::size_t DefinitionLineReader::Find(char ch, std::size_t from, std::size_t to) const {
    // memchr scans many bytes at a time.
    if (from >= to)
        return to;
    const void* at = std::memchr(text_.data() + from, ch, to - from);
    return at == nullptr ? to
                         : static_cast<std::size_t>(static_cast<const char*>(at) - text_.data());
}

std::optional<DefinitionLine> DefinitionLineReader::Next() {
    if (start_ >= text_.size())
        return std::nullopt;
    if (lineFeed_ < start_)
        lineFeed_ = Find('\n', start_, text_.size());
    const std::size_t end = Find('\r', start_, lineFeed_);
    DefinitionLine line{text_.substr(start_, end - start_), 0, afterLoneCr_};
    const bool atCr = end < text_.size() && text_[end] == '\r';
    const bool crLf = atCr && end + 1 < text_.size() && text_[end + 1] == '\n';
    start_ = end + (crLf ? 2 : 1);
    if (!line.afterLoneCr)
        ++number_;
    line.number = number_;
    afterLoneCr_ = numberedByLineFeed_ && atCr && !crLf;
    return line;
}

Failure AddDefinitionEntry(const DefinitionLine& line, PaletteTable& table,
                           const std::string& name) {
    const std::string_view text = line.text;
    if (!text.empty() && text.front() == ';')
        return {};
    // The count and the location are a few characters each: a plain loop finds their commas
    // sooner than a library search would start.
    const auto comma = [&text](std::size_t from) {
        while (from < text.size() && text[from] != ',')
            ++from;
        return from < text.size() ? from : std::string_view::npos;
    };
    const std::size_t first = comma(0);
    if (first == std::string_view::npos)
        return Failure::DefinitionNoComma(name, line.number, line.afterLoneCr);
    // The lists hold at most 32767 rows: the next entry cannot be added to any of them.
    if (table.counts.size() >= kMaxDefinitionEntries)
        return Failure::TooManyEntries(name, line.number, line.afterLoneCr);
    table.counts.emplace_back(text.substr(0, first));
    table.lines.push_back(line.number);
    const std::size_t second = comma(first + 1);
    if (second == std::string_view::npos) {
        table.names.emplace_back(text.substr(first + 1));
        return Failure::DefinitionOneComma(name, line.number, line.afterLoneCr);
    }
    table.names.emplace_back(text.substr(second + 1));
    table.locations.emplace_back(text.substr(first + 1, second - first - 1));
    return {};
}

Failure ParseDefinitions(std::string_view bytes, PaletteTable& table, const std::string& name) {
    // An editor's byte-order mark would otherwise become part of the first count.
    bytes = WithoutUtf8Bom(bytes);
    // Valid UTF-8 (plain ASCII included) is used as it stands, without a copy.
    std::string converted;
    std::string_view text = bytes;
    if (!IsValidUtf8(bytes)) {
        converted = Windows1252ToUtf8(bytes);
        text = converted;
    }
    // Room for every entry up front, one allocation per column instead of a growing copy. No
    // entry line is shorter than "1,0\n"; pages reserved beyond the real count are never
    // touched.
    const std::size_t expected = std::min(text.size() / 4 + 1, kMaxDefinitionEntries);
    table.counts.reserve(table.counts.size() + expected);
    table.names.reserve(table.names.size() + expected);
    table.locations.reserve(table.locations.size() + expected);
    table.lines.reserve(table.lines.size() + expected);

    DefinitionLineReader lines(text);
    while (const std::optional<DefinitionLine> line = lines.Next())
        if (Failure failure = AddDefinitionEntry(*line, table, name); !failure.ok())
            return failure;
    return {};
}

Failure LoadDefinitionFile(const std::string& path, const std::string& name, PaletteTable& table) {
    std::vector<std::uint8_t> bytes;
    if (const FileStatus status = ReadWholeFile(path, kMaxDefinitionFileSize, bytes); !status.ok())
        return Failure::DefinitionMissing(name, status);
    return ParseDefinitions(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), table, name);
}

namespace {

bool HoldsFile(const std::string& folder, const std::string& name) {
    std::error_code error;
    return !folder.empty() &&
           std::filesystem::is_regular_file(std::filesystem::path(folder) / name, error);
}

} // namespace

std::string DefinitionFolder(const std::string& name, const DataFolders& folders) {
    return HoldsFile(folders.userData, name) ? folders.userData : folders.data;
}

bool DefinitionFileExists(const std::string& name, const DataFolders& folders) {
    return HoldsFile(folders.userData, name) || HoldsFile(folders.data, name);
}

} // namespace zandrel
