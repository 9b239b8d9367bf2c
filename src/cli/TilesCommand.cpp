#include "TilesCommand.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "PaletteLookup.h"
#include "gfx/GraphicsSource.h"
#include "gfx/TileColours.h"
#include "gfx/Tiles.h"
#include "platform/NewFile.h"
#include "platform/SameFile.h"
#include "png/Png.h"
#include "rom/Games.h"
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

constexpr std::string_view kDepths[] = {"4", "8"};

Failure ReadOptions(const CommandArguments& arguments, TilesOptions& options) {
    std::string_view depth = kDepths[0];
    for (Failure failure :
         {NumberOption(arguments, "--width", "uma largura em tiles", kNarrowestGrid, kWidestGrid,
                       options.grid.widthInTiles),
          NumberOption(arguments, "--tiles", "um número de tiles", 1, kMostTiles, options.tiles),
          ChoiceOption(arguments, "--bpp", kDepths, depth)})
        if (!failure.ok())
            return failure;
    options.grid.bitsPerPixel = depth == "8" ? 8 : 4;
    options.lcd = arguments.Has("--lcd");
    options.transparent = arguments.Has("--transparent");
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
    const std::string& path = call.Operand(0);
    const bool romImage = !IsMemoryDumpName(path);
    for (Failure failure : {ReadOptions(call.arguments, options),
                            ParseGraphicsArgument(call.Operand(1), romImage, where),
                            ParsePaletteArgument(call.Operand(2), romImage, argument)})
        if (!failure.ok())
            return failure;
    const std::string& outPath = call.Operand(3);
    const bool toOut = outPath == kStandardStream;
    if (Failure failure = toOut ? Failure{} : RefuseWritingOverOpenFile(outPath, path);
        !failure.ok())
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
    if (toOut) {
        call.out.write(reinterpret_cast<const char*>(png.data()),
                       static_cast<std::streamsize>(png.size()));
        return {};
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
           "  HEX a partir do byte DESL (hex, até 6 dígitos; ex.: @LZ:6290+40); os\n"
           "  números escritos como os de PALETTE.\n";
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
