#include "PaletteLookup.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/File.h"
#include "rom/Identify.h"
#include "rom/PaletteAccess.h"
#include "rom/PaletteIO.h"
#include "special/ByteDump.h"
#include "util/Messages.h"
#include "util/NumberText.h"
#include "util/Text.h"

namespace zandrel::cli {

Failure CheckReadable(const std::string& path) {
    std::vector<std::uint8_t> none;
    return ReadFileBytes(path, 0, 0, none);
}

Failure IdentifyGame(const std::string& path, const DataFolders& folders,
                     Identification& identification) {
    std::optional<Identification> found;
    if (Failure failure = IdentifyFile(path, folders, found); !failure.ok())
        return failure;
    if (!found)
        return Failure::FileRefused(path, std::string(text::kNotIdentified) + " " +
                                              NotIdentifiedDetails(path, folders));
    identification = *found;
    return {};
}

std::string DefinitionPath(const Identification& identification, const DataFolders& folders) {
    const std::string name = DefinitionFileOf(identification);
    return (std::filesystem::path(DefinitionFolder(name, folders)) / name).string();
}

Failure LoadDefinitions(const std::string& path, const DataFolders& folders,
                        Definitions& definitions) {
    Identification identification;
    if (Failure failure = IdentifyGame(path, folders, identification); !failure.ok())
        return failure;
    definitions.name = DefinitionFileOf(identification);
    definitions.path = DefinitionPath(identification, folders);
    // A definition file that stops early is reported, not half used: its message says so.
    Failure failure = LoadDefinitionFile(definitions.path, definitions.path, definitions.table);
    failure.nothingLoaded = !failure.ok();
    return failure;
}

Failure ResolvePalette(const std::string& path, const PaletteArgument& argument,
                       const DataFolders& folders, ColourNeed need, Palette& palette) {
    if (Failure failure = CheckReadable(path); !failure.ok())
        return failure;
    if (argument.atLocation) {
        palette.name = "@" + PaletteLocationText(argument.where);
        palette.where = argument.where;
        palette.count = kPaletteColours;
        return {};
    }
    Definitions definitions;
    if (Failure failure = LoadDefinitions(path, folders, definitions); !failure.ok())
        return failure;
    const PaletteTable& table = definitions.table;
    const std::size_t rows = table.locations.size();
    if (argument.row >= rows)
        return Failure::FileRefused(path, "não há paleta " + argument.text + "; " +
                                              Quoted(definitions.name) + " tem " +
                                              std::to_string(rows) + " paletas");
    // A location text that is no location reads and writes nothing.
    const std::string locationText(table.locations[argument.row]);
    const std::optional<PaletteLocation> where = ParsePaletteLocation(locationText);
    if (!where)
        return Failure::BadLocation(definitions.path, table.lines[argument.row], locationText);
    palette.name = table.names[argument.row];
    palette.where = *where;
    const std::string countText(table.counts[argument.row]);
    if (need == ColourNeed::ViewerCount) {
        palette.count = ViewerColourCount(countText);
        return {};
    }
    palette.count = PaletteColourCount(countText);
    if (palette.count < 1)
        return Failure::NoColours(path, argument.text, countText);
    if (need == ColourNeed::Sixteen && palette.count < kPaletteColours)
        return Failure::FileRefused(path, text::kFewerThan16);
    return {};
}

Failure CheckInsideFile(const std::string& path, const PaletteLocation& where,
                        std::int64_t colours) {
    FileStatus status;
    const File file = File::Open(path, OpenMode::ReadOnly, status);
    std::uint64_t size = 0;
    if (status.ok())
        status = file.Size(size);
    if (!status.ok())
        return Failure::CannotRead(path, status);
    const std::int64_t length = 2 * std::max<std::int64_t>(colours, 0);
    if (!where.compressed && where.location + static_cast<std::uint64_t>(length) > size)
        return Failure::BeyondEnd(path, where.location, length, size);
    return {};
}

Failure ReadWholePalette(const std::string& path, const PaletteLocation& where,
                         std::int64_t colours, std::vector<ColorWord>& words) {
    if (Failure failure = CheckInsideFile(path, where, colours); !failure.ok())
        return failure;
    return ReadPalette(path, where, static_cast<int>(colours), words);
}

} // namespace zandrel::cli
