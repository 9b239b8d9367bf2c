#include "rom/Definitions.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/File.h"
#include "util/Text.h"

namespace zandrel {

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
    table.lines.reserve(table.lines.size() + expected);

    // A line ends at LF, CR LF or a bare CR, whichever comes first. Messages number the lines
    // as an editor shows them: by LF when the file holds one, so a bare CR inside such a line
    // (in a name, say) starts no new number; by CR in a file of CR-only line ends.
    std::size_t lineFeed = find('\n', 0, text.size()); // the next LF at or after `start`
    const bool numberedByLineFeed = lineFeed < text.size();
    std::int64_t lineNumber = 0;
    bool afterLoneCr = false; // the line read next follows a bare CR inside a numbered line
    std::size_t start = 0;
    while (start < text.size()) {
        if (lineFeed < start)
            lineFeed = find('\n', start, text.size());
        const std::size_t end = find('\r', start, lineFeed);
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        const bool crLf =
            end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n';
        if (crLf)
            ++start;
        const bool continuesNumberedLine = afterLoneCr;
        if (!continuesNumberedLine)
            ++lineNumber;
        afterLoneCr = numberedByLineFeed && end < text.size() && text[end] == '\r' && !crLf;

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
            return Failure::DefinitionNoComma(name, lineNumber, continuesNumberedLine);
        // The lists hold at most 32767 rows: the next entry cannot be added to any of them.
        if (table.counts.size() >= kMaxDefinitionEntries)
            return Failure::TooManyEntries(name, lineNumber, continuesNumberedLine);
        table.counts.emplace_back(line.substr(0, first));
        table.lines.push_back(lineNumber);
        const std::size_t second = comma(first + 1);
        if (second == std::string_view::npos) {
            table.names.emplace_back(line.substr(first + 1));
            return Failure::DefinitionOneComma(name, lineNumber, continuesNumberedLine);
        }
        table.names.emplace_back(line.substr(second + 1));
        table.locations.emplace_back(line.substr(first + 1, second - first - 1));
    }
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

// Anything at all, a link to nothing included.
bool HoldsEntry(const std::string& folder, const std::string& name) {
    std::error_code error;
    return !folder.empty() && std::filesystem::exists(std::filesystem::symlink_status(
                                  std::filesystem::path(folder) / name, error));
}

} // namespace

std::string DefinitionFolder(const std::string& name, const DataFolders& folders) {
    return HoldsEntry(folders.userData, name) ? folders.userData : folders.data;
}

bool DefinitionFileExists(const std::string& name, const DataFolders& folders) {
    return HoldsEntry(folders.userData, name) || HoldsFile(folders.data, name);
}

Failure CheckUserDefinitionFile(const std::string& name, const DataFolders& folders) {
    if (!HoldsEntry(folders.userData, name))
        return {};
    const std::filesystem::path path = std::filesystem::path(folders.userData) / name;
    FileStatus status;
    File::Open(path.string(), OpenMode::ReadOnly, status);
    std::error_code error;
    if (status.error == FileError::NotFound && std::filesystem::is_symlink(path, error))
        status = FileStatus{FileError::BrokenLink, 0};
    return status.ok() ? Failure{} : Failure::DefinitionMissing(path.string(), status);
}

std::string DefinitionLine(int colours, const PaletteLocation& where, std::string_view name) {
    return std::to_string(colours) + "," + PaletteLocationText(where) + "," + std::string(name);
}

} // namespace zandrel
