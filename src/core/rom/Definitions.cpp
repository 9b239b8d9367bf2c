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

DefinitionEntry ParseDefinitionEntry(std::string_view line) {
    using Shape = DefinitionEntry::Shape;
    if (!line.empty() && line.front() == ';')
        return {};
    // The count and the location are a few characters each: a plain loop finds their commas
    // sooner than a library search would start.
    const auto comma = [&line](std::size_t from) {
        while (from < line.size() && line[from] != ',')
            ++from;
        return from;
    };
    const std::size_t first = comma(0);
    if (first == line.size())
        return {Shape::NoComma, {}, {}, {}};
    const std::size_t second = comma(first + 1);
    if (second == line.size())
        return {Shape::OneComma, line.substr(0, first), {}, line.substr(first + 1)};
    return {Shape::Complete, line.substr(0, first), line.substr(first + 1, second - first - 1),
            line.substr(second + 1)};
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
    // Room for every row up front: no entry line is shorter than "1,0\n". The names, the bulk
    // of the text, take no more than the whole text; pages reserved beyond what they use are
    // never touched. The short counts and locations grow as they need.
    const std::size_t expected = std::min(text.size() / 4 + 1, kMaxDefinitionEntries);
    table.counts.reserve(expected, 0);
    table.names.reserve(expected, text.size());
    table.locations.reserve(expected, 0);
    table.lines.reserve(table.lines.size() + expected);

    using Shape = DefinitionEntry::Shape;
    DefinitionLineReader lines(text);
    while (const std::optional<DefinitionLine> line = lines.Next()) {
        const DefinitionEntry entry = ParseDefinitionEntry(line->text);
        if (entry.shape == Shape::Comment)
            continue;
        if (entry.shape == Shape::NoComma)
            return Failure::DefinitionNoComma(name, line->number, line->afterLoneCr);
        // The lists hold at most 32767 rows: the next entry cannot be added to any of them.
        if (table.counts.size() >= kMaxDefinitionEntries)
            return Failure::TooManyEntries(name, line->number, line->afterLoneCr);
        table.counts.push_back(entry.count);
        table.names.push_back(entry.name);
        table.lines.push_back(line->number);
        if (entry.shape == Shape::OneComma)
            return Failure::DefinitionOneComma(name, line->number, line->afterLoneCr);
        table.locations.push_back(entry.location);
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

std::string DefinitionEntryText(int colours, const PaletteLocation& where, std::string_view name) {
    return std::to_string(colours) + "," + PaletteLocationText(where) + "," + std::string(name);
}

} // namespace zandrel
