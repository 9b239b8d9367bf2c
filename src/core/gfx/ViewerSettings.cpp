#include "gfx/ViewerSettings.h"

#include <charconv>
#include <filesystem>
#include <vector>

#include "platform/FolderWrites.h"
#include "platform/NewFile.h"
#include "util/Text.h"

namespace zandrel {

namespace {

constexpr std::uint64_t kLargestSettingsFile = 1 << 20;
constexpr std::string_view kHeading =
    "# Zandrel: gráficos mostrados com cada paleta (paleta, gráficos, bits por pixel, largura)\n";
constexpr std::string_view kBlanks = " \t\r";

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    while (true) {
        const std::size_t first = line.find_first_not_of(kBlanks);
        if (first == std::string_view::npos)
            return fields;
        line.remove_prefix(first);
        const std::size_t end = std::min(line.find_first_of(kBlanks), line.size());
        fields.push_back(line.substr(0, end));
        line.remove_prefix(end);
    }
}

// One line's palette and place; nothing for a note or a damaged line.
std::optional<std::pair<std::string, ViewerPlace>> ParseLine(std::string_view line) {
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.size() != 4 || fields[0].starts_with('#'))
        return std::nullopt;
    const std::optional<PaletteLocation> palette = ParsePaletteLocation(fields[0]);
    const std::optional<GraphicsLocation> start = ParseGraphicsLocation(fields[1]);
    const std::optional<int> bits = Number(fields[2]);
    const std::optional<int> width = Number(fields[3]);
    if (!palette || !start || (bits != 4 && bits != 8) || !width || *width < kNarrowestGrid ||
        *width > kWidestGrid)
        return std::nullopt;
    return std::pair{PaletteLocationText(*palette), ViewerPlace{*start, {*bits, *width}}};
}

} // namespace

RememberedPlaces ParseViewerSettings(std::string_view text) {
    RememberedPlaces places;
    while (!text.empty() && places.size() < kMostRememberedPlaces) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        if (auto entry = ParseLine(text.substr(0, end)))
            places.insert_or_assign(std::move(entry->first), entry->second);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return places;
}

std::string ViewerSettingsText(const RememberedPlaces& places) {
    std::string text(kHeading);
    for (const auto& [palette, place] : places)
        text += palette + ' ' + PaletteLocationText(place.start) + ' ' +
                std::to_string(place.grid.bitsPerPixel) + ' ' +
                std::to_string(place.grid.widthInTiles) + '\n';
    return text;
}

std::string ViewerSettingsPath(const std::string& userData, const std::string& definitionFile) {
    const std::string game = std::filesystem::path(definitionFile).stem().string();
    if (userData.empty() || game.empty())
        return {};
    return (std::filesystem::path(userData) / (game + ".graficos")).string();
}

RememberedPlaces ReadViewerSettings(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (path.empty() || !ReadWholeFile(path, kLargestSettingsFile, bytes).ok())
        return {};
    return ParseViewerSettings({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

Failure WriteViewerSettings(const std::string& path, const RememberedPlaces& places) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    if (const FileStatus made = CreateFolders(folder); !made.ok())
        return Failure::CannotWrite(folder, made);
    const std::string text = ViewerSettingsText(places);
    return WriteNewFile(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

} // namespace zandrel
