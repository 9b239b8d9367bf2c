#include "TilesCommand.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "PaletteLookup.h"
#include "gfx/GraphicsLocation.h"
#include "gfx/GraphicsSource.h"
#include "gfx/TileColours.h"
#include "gfx/Tiles.h"
#include "platform/NewFile.h"
#include "platform/SameFile.h"
#include "png/Png.h"
#include "rom/PaletteAccess.h"
#include "scan/GraphicsBlocks.h"
#include "scan/PaletteScanner.h"
#include "util/Hex.h"
#include "util/Text.h"

namespace zandrel::cli {

namespace {

constexpr int kMostTiles = 65536;
constexpr int kTilesFromAnOffset = 256;

struct TilesOptions {
    TileGrid grid;
    int tiles = 0; // 0: as many as the source gives
    bool lcd = false;
    bool transparent = false;
};

Failure ReadOptions(const CommandArguments& arguments, TilesOptions& options) {
    for (const GivenOption& given : arguments.options) {
        if (given.name != "--bpp")
            continue;
        if (given.value != "4" && given.value != "8")
            return Failure::Usage(arguments.command + ": --bpp espera 4 ou 8");
        options.grid.bitsPerPixel = given.value == "8" ? 8 : 4;
    }
    for (Failure failure :
         {NumberOption(arguments, "--width", "uma largura em tiles", kNarrowestGrid, kWidestGrid,
                       options.grid.widthInTiles),
          NumberOption(arguments, "--tiles", "um número de tiles", 1, kMostTiles, options.tiles)})
        if (!failure.ok())
            return failure;
    options.lcd = arguments.Has("--lcd");
    options.transparent = arguments.Has("--transparent");
    return {};
}

Failure GraphicsOperand(const std::string& text, GraphicsLocation& where) {
    const std::optional<GraphicsLocation> parsed =
        text.starts_with('@') ? ParseGraphicsLocation(text.substr(1)) : std::nullopt;
    if (!parsed)
        return Failure::Usage("GRAPHICS " + Quoted(text) +
                              ": esperada uma localização hex de 0 a 7FFFFFFF, como @1A0, ou um "
                              "bloco comprimido, como @LZ:6290+40");
    where = *parsed;
    return {};
}

// The palette's colours (black past its count) and, for 8 bits per pixel, the fifteen after it.
Failure ReadColours(const std::string& path, const Palette& palette, const TilesOptions& options,
                    std::vector<RgbColor>& colours) {
    std::vector<ColorWord> words;
    if (Failure failure = ReadPalette(path, palette.where, static_cast<int>(palette.count), words);
        !failure.ok())
        return failure;
    FollowingWords following{};
    if (options.grid.bitsPerPixel == 8)
        if (Failure failure = ReadFollowingPalettes(path, palette.where, following); !failure.ok())
            return failure;
    colours = TileColours(WordsToColours(words), following, options.grid.bitsPerPixel, options.lcd);
    return {};
}

} // namespace

Failure Tiles(const Invocation& call) {
    TilesOptions options;
    GraphicsLocation where;
    PaletteArgument argument;
    for (Failure failure :
         {ReadOptions(call.arguments, options), GraphicsOperand(call.Operand(1), where),
          ParsePaletteArgument(call.Operand(2), argument)})
        if (!failure.ok())
            return failure;
    const std::string& path = call.Operand(0);
    const std::string& outPath = call.Operand(3);
    if (Failure failure = RefuseWritingOverOpenFile(outPath, path); !failure.ok())
        return failure;
    Palette palette;
    if (Failure failure =
            ResolvePalette(path, argument, call.folders, ColourNeed::OneOrMore, palette);
        !failure.ok())
        return failure;
    std::vector<RgbColor> colours;
    if (Failure failure = ReadColours(path, palette, options, colours); !failure.ok())
        return failure;
    GraphicsSource source;
    if (Failure failure = GraphicsSource::Open(path, where, source); !failure.ok())
        return failure;

    const std::uint64_t start = source.OffsetOf(where);
    const std::size_t inside = TilesOf(source.size() - start, options.grid.bitsPerPixel);
    const std::size_t wanted = options.tiles > 0  ? static_cast<std::size_t>(options.tiles)
                               : where.compressed ? inside
                                                  : kTilesFromAnOffset;
    const std::size_t tiles = std::min(wanted, inside);
    TileImage image;
    if (Failure failure = ReadTiles(source, start, options.grid, tiles, image); !failure.ok())
        return failure;
    std::vector<std::uint8_t> png;
    if (Failure failure = EncodeIndexedPng(
            {image.width, image.height, image.indexes, colours, options.transparent}, png);
        !failure.ok()) {
        failure.file = outPath;
        return failure;
    }
    return WriteNewFile(outPath, png);
}

Failure ScanGraphics(const Invocation& call) {
    for (const GivenOption& given : call.arguments.options)
        if (given.name != "--graphics")
            return RefuseBoth(call.arguments, "--graphics", given.name);
    std::vector<std::uint8_t> rom;
    if (Failure failure = ReadRomImage(call.Operand(0), rom); !failure.ok())
        return failure;
    for (const GraphicsBlock& block : FindGraphicsBlocks(rom))
        call.out << "LZ:" << HexText(block.location) << '\t' << block.size << '\t'
                 << block.size / kGraphicsTileBytes << '\n';
    return {};
}

std::string GraphicsNote() {
    return "@HEX, a localização hex no arquivo onde os tiles começam (ex.: @1A0),\n"
           "  ou @LZ:HEX[+DESL], os dados descomprimidos do bloco LZ77 na localização\n"
           "  HEX a partir do byte DESL (hex, até 6 dígitos; ex.: @LZ:6290+40).\n";
}

std::string TilesNote() {
    return "os tiles de GRAPHICS (8x8 pixels, da esquerda para a direita) com as\n"
           "  cores de PALETTE numa imagem PNG indexada OUT.png: --bpp 4 (padrão; 16\n"
           "  cores) ou 8 (256: a paleta e as 15 seguintes no arquivo), --width N tiles\n"
           "  por linha (" +
           std::to_string(kNarrowestGrid) + " a " + std::to_string(kWidestGrid) +
           ", padrão 16), --tiles N tiles (1 a " + std::to_string(kMostTiles) +
           "; padrão: o bloco\n"
           "  comprimido inteiro, ou " +
           std::to_string(kTilesFromAnOffset) +
           " a partir de uma localização; nunca além do fim\n"
           "  dos dados), --lcd as cores da tela do GBA, --transparent a cor 0\n"
           "  transparente.\n";
}

} // namespace zandrel::cli
