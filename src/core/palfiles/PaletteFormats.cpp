#include "palfiles/PaletteFormats.h"

#include <algorithm>
#include <string>
#include <type_traits>

#include "palfiles/ActPalette.h"
#include "palfiles/GbaPalette.h"
#include "palfiles/GimpPalette.h"
#include "palfiles/JascPalette.h"
#include "palfiles/PngPalette.h"
#include "palfiles/Refusals.h"
#include "palfiles/TextPalette.h"
#include "palfiles/TplPalette.h"
#include "png/Png.h"
#include "util/Text.h"

namespace zandrel {

namespace {

using Bytes = std::span<const std::uint8_t>;

std::vector<std::uint8_t> BytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

// A reader of 8-bit components, of the bytes or of their text, as a reader of colour words.
template <auto Read> Failure ReadWords(Bytes bytes, PaletteWords16& words) {
    Components16 colours{};
    Failure failure;
    if constexpr (std::is_invocable_v<decltype(Read), std::string_view, Components16&>)
        failure = Read(TextOf(bytes), colours);
    else
        failure = Read(bytes, colours);
    if (failure.ok())
        words = WordsFromComponents(colours);
    return failure;
}

template <auto Read> bool ReaderTakes(Bytes bytes) {
    PaletteWords16 words{};
    return Read(bytes, words).ok();
}

struct FormatRow {
    PaletteFormat format;
    std::string_view extension;   // a name ends with it in any letter case
    std::string_view description; // the file dialogs' name for the format
    // None for a format read only.
    std::vector<std::uint8_t> (*write)(const Palette16& colours, std::string_view name);
    Failure (*read)(Bytes bytes, PaletteWords16& words);
    // By content. A format with a header: whether the bytes begin with it, and whether the
    // header still decides at a size that a format without one has. A format known by its
    // size alone: whether the bytes have a size of its.
    bool (*startsAsIt)(Bytes bytes);
    bool (*winsAtSharedSize)(Bytes bytes);
    bool (*hasItsSize)(std::size_t size);
};

constexpr FormatRow kFormats[] = {
    {PaletteFormat::GbaRaw, ".GBAPAL", "GBAPAL - Paleta do GBA",
     [](const Palette16& colours, std::string_view) { return GbaPaletteBytes(colours); },
     ReadGbaPalette, nullptr, nullptr, nullptr},
    {PaletteFormat::Tpl, ".tpl", "TPL - paleta do Tile Layer Pro",
     [](const Palette16& colours, std::string_view) { return TplPaletteBytes(colours); },
     ReadWords<ReadTplPalette>, StartsAsTpl, [](Bytes bytes) { return IsTplSize(bytes.size()); },
     nullptr},
    {PaletteFormat::Jasc, ".pal", "PAL - paleta padrão JASC",
     [](const Palette16& colours, std::string_view) { return BytesOf(JascPaletteText(colours)); },
     ReadWords<ReadJascPalette>, StartsAsJasc, ReaderTakes<ReadWords<ReadJascPalette>>, nullptr},
    {PaletteFormat::Gimp, ".gpl", "GPL - paleta do GIMP",
     [](const Palette16& colours, std::string_view name) {
         return BytesOf(GimpPaletteText(colours, name));
     },
     ReadWords<ReadGimpPalette>, StartsAsGimp, ReaderTakes<ReadWords<ReadGimpPalette>>, nullptr},
    // A raw palette of 384 or 386 colours is no size a tool writes (palettes come in banks of
    // 16 colours, and an 8-bit palette's 256 take 512 bytes).
    {PaletteFormat::Act, ".act", "ACT - tabela de cores do Adobe",
     [](const Palette16& colours, std::string_view) { return ActPaletteBytes(colours); },
     ReadWords<ReadActPalette>, nullptr, nullptr, IsActSize},
    // No colour table's first colours spell the PNG signature: it decides at any size.
    {PaletteFormat::Png, ".png", "PNG - imagem com paleta", nullptr, ReadWords<ReadPngPalette>,
     StartsAsPng, [](Bytes) { return true; }, nullptr},
};

const FormatRow* RowOf(PaletteFormat format) {
    const auto row = std::find_if(std::begin(kFormats), std::end(kFormats),
                                  [format](const FormatRow& r) { return r.format == format; });
    return row == std::end(kFormats) ? nullptr : row;
}

} // namespace

PaletteFormat FormatForName(std::string_view name, std::span<const PaletteFormat> offered) {
    for (const PaletteFormat format : offered)
        if (const FormatRow* row = RowOf(format); row && EndsWithNoCase(name, row->extension))
            return format;
    return PaletteFormat::None;
}

std::string PaletteDialogFilter(std::span<const PaletteFormat> formats) {
    std::string filter;
    for (const PaletteFormat format : formats)
        if (const FormatRow* row = RowOf(format))
            filter += (filter.empty() ? "" : "|") + std::string(row->description) + "|*" +
                      std::string(row->extension);
    return filter;
}

std::string PalettePatterns(std::span<const PaletteFormat> formats) {
    std::string patterns;
    for (const PaletteFormat format : formats)
        if (const FormatRow* row = RowOf(format))
            patterns += (patterns.empty() ? "*" : ";*") + std::string(row->extension);
    return patterns;
}

std::vector<std::uint8_t> PaletteFileBytes(PaletteFormat format, const Palette16& colours,
                                           std::string_view name) {
    const FormatRow* row = RowOf(format);
    return row && row->write ? row->write(colours, name) : std::vector<std::uint8_t>{};
}

Failure ReadInFormat(PaletteFormat format, Bytes bytes, PaletteWords16& words) {
    const FormatRow* row = RowOf(format);
    if (!row)
        return Refused("formato de paleta desconhecido");
    return row->read(bytes, words);
}

PaletteFormat PaletteFormatOfContent(Bytes bytes) {
    const FormatRow* bySize =
        std::find_if(std::begin(kFormats), std::end(kFormats), [&bytes](const FormatRow& r) {
            return r.hasItsSize && r.hasItsSize(bytes.size());
        });
    const bool sizeShared = bySize != std::end(kFormats);
    for (const FormatRow& row : kFormats)
        if (row.startsAsIt && row.startsAsIt(bytes) && (!sizeShared || row.winsAtSharedSize(bytes)))
            return row.format;
    // A raw GBA palette has no header and no size of its own: it is what remains.
    return sizeShared ? bySize->format : PaletteFormat::GbaRaw;
}

Failure ReadPaletteOfContent(Bytes bytes, PaletteWords16& words) {
    const PaletteFormat format = PaletteFormatOfContent(bytes);
    Failure failure = ReadInFormat(format, bytes, words);
    if (!failure.ok() && format == PaletteFormat::GbaRaw)
        failure.reason =
            "não é uma paleta JASC, GIMP, Tile Layer Pro, ACT ou PNG, nem uma paleta GBA: " +
            failure.reason;
    return failure;
}

} // namespace zandrel
