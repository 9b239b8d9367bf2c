#include "palfiles/ExtraFormats.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>

#include "util/NumberText.h"
#include "util/Text.h"

namespace zandrel {

namespace {

constexpr std::string_view kJascHeader = "JASC-PAL";
constexpr std::string_view kJascVersion = "0100";
constexpr std::string_view kGimpHeader = "GIMP Palette";

std::string LineText(std::size_t line) {
    return "linha " + std::to_string(line) + ": ";
}

std::string OffsetText(std::size_t offset) {
    return "offset " + std::to_string(offset) + ": ";
}

std::string TooFewColours(std::size_t line, std::size_t found) {
    return LineText(line) + "o arquivo termina depois de " + std::to_string(found) +
           " cores; são necessárias 16";
}

// Lines ended by LF, CR LF or a bare CR, after a leading UTF-8 byte-order mark; a final
// line end makes no extra empty line.
std::vector<std::string_view> SplitLines(std::string_view text) {
    text = WithoutUtf8Bom(text);
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

// Larger texts than a palette's are refused before they are split into lines.
std::string TextTooLong(std::string_view text, const char* format) {
    if (text.size() <= kMaxTextPaletteSize)
        return {};
    return OffsetText(kMaxTextPaletteSize) + "o arquivo tem " + std::to_string(text.size()) +
           " bytes; uma paleta " + format + " tem no máximo " + std::to_string(kMaxTextPaletteSize);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    return TrimmedOf(text, " \t");
}

// Words separated by blanks and tabs.
std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !IsBlank(text[i]))
            ++i;
        if (i > start)
            words.push_back(text.substr(start, i - start));
    }
    return words;
}

// The three components at the start of a colour line, or the reason it is refused.
std::string ReadTriple(std::span<const std::string_view> words, std::size_t line, Rgb& rgb) {
    if (words.size() < 3)
        return LineText(line) + "esperados três números (vermelho verde azul)";
    std::array<int, 3> values{};
    for (std::size_t k = 0; k < 3; ++k) {
        const std::optional<std::int64_t> value = ParseSignedDecimal(words[k]);
        if (!value)
            return LineText(line) + "esperados três números (vermelho verde azul)";
        if (*value < 0 || *value > 255)
            return LineText(line) + "o componente " + std::string(words[k]) +
                   " está fora de 0 a 255";
        values[k] = static_cast<int>(*value);
    }
    rgb = Rgb{values[0], values[1], values[2]};
    return {};
}

ComponentsResult Refused(std::string reason) {
    ComponentsResult result;
    result.failure = Failure::BadPaletteFile({}, std::move(reason));
    return result;
}

Components16 TriplesAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    Components16 colours{};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const std::size_t at = offset + 3 * i;
        colours[i] = Rgb{bytes[at], bytes[at + 1], bytes[at + 2]};
    }
    return colours;
}

} // namespace

PaletteFormat ExchangeFormatForName(std::string_view name) {
    if (const PaletteFormat format = ExportFormatForName(name); format != PaletteFormat::None)
        return format;
    if (EndsWithNoCase(name, ".GPL"))
        return PaletteFormat::Gimp;
    if (EndsWithNoCase(name, ".ACT"))
        return PaletteFormat::Act;
    return PaletteFormat::None;
}

std::string GimpPaletteText(const Palette16& colours, std::string_view name) {
    std::string oneLine;
    std::copy_if(name.begin(), name.end(), std::back_inserter(oneLine),
                 [](char c) { return c != '\r' && c != '\n'; });
    std::string text = std::string(kGimpHeader) + "\nName: " + oneLine + "\nColumns: 16\n#\n";
    for (const RgbColor colour : colours) {
        const Rgb rgb = SplitColor(colour);
        char line[32];
        std::snprintf(line, sizeof line, "%3d %3d %3d\t", rgb.red, rgb.green, rgb.blue);
        text += line + WordHexText(ColorToWord(colour)) + "\n";
    }
    return text;
}

std::vector<std::uint8_t> ActPaletteBytes(const Palette16& colours) {
    std::vector<std::uint8_t> bytes(kActPaletteSize, 0);
    const auto triples = RgbTripleBytes(colours);
    std::copy(triples.begin(), triples.end(), bytes.begin());
    return bytes;
}

ComponentsResult ReadJascPalette(std::string_view text) {
    if (std::string tooLong = TextTooLong(text, "JASC"); !tooLong.empty())
        return Refused(std::move(tooLong));
    const std::vector<std::string_view> lines = SplitLines(text);
    const auto line = [&](std::size_t number) {
        return number <= lines.size() ? TrimBlanks(lines[number - 1]) : std::string_view{};
    };
    if (lines.empty() || line(1) != kJascHeader)
        return Refused(LineText(1) + "falta o cabeçalho \"JASC-PAL\"");
    if (line(2) != kJascVersion)
        return Refused(LineText(2) + "esperada a versão \"0100\"");
    const std::optional<std::int64_t> declared = ParseSignedDecimal(line(3));
    if (!declared || *declared < 0)
        return Refused(LineText(3) + "esperado o número de cores");
    if (*declared < kPaletteColours)
        return Refused(LineText(3) + "o arquivo declara " + std::to_string(*declared) +
                       " cores; são necessárias 16");

    ComponentsResult result;
    constexpr std::size_t kFirstEntryLine = 4;
    for (std::size_t i = 0; i < result.colours.size(); ++i) {
        const std::size_t number = kFirstEntryLine + i;
        if (number > lines.size())
            return Refused(TooFewColours(number, i));
        const std::vector<std::string_view> words = Words(lines[number - 1]);
        if (words.size() > 3)
            return Refused(LineText(number) + "esperados três números (vermelho verde azul)");
        if (std::string error = ReadTriple(words, number, result.colours[i]); !error.empty())
            return Refused(std::move(error));
    }
    return result;
}

ComponentsResult ReadGimpPalette(std::string_view text) {
    if (std::string tooLong = TextTooLong(text, "GIMP"); !tooLong.empty())
        return Refused(std::move(tooLong));
    const std::vector<std::string_view> lines = SplitLines(text);
    if (lines.empty() || TrimBlanks(lines[0]) != kGimpHeader)
        return Refused(LineText(1) + "falta o cabeçalho \"GIMP Palette\"");

    ComponentsResult result;
    std::size_t found = 0;
    for (std::size_t index = 1; index < lines.size() && found < result.colours.size(); ++index) {
        const std::string_view line = TrimBlanks(lines[index]);
        if (line.empty() || line.front() == '#' || line.starts_with("Name:") ||
            line.starts_with("Columns:"))
            continue;
        const std::vector<std::string_view> words = Words(line);
        if (std::string error = ReadTriple(words, index + 1, result.colours[found]); !error.empty())
            return Refused(std::move(error));
        ++found;
    }
    if (found < result.colours.size())
        return Refused(TooFewColours(lines.size() + 1, found));
    return result;
}

ComponentsResult ReadActPalette(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kActPaletteSize)
        return Refused(OffsetText(bytes.size()) +
                       "o arquivo termina antes dos 768 bytes de uma tabela de cores ACT");
    if (bytes.size() != kActPaletteSize && bytes.size() != kActPaletteSizeWithCount)
        return Refused(OffsetText(kActPaletteSize) + "o arquivo tem " +
                       std::to_string(bytes.size()) +
                       " bytes; uma tabela de cores ACT tem 768 ou 772");
    if (bytes.size() == kActPaletteSizeWithCount) {
        const int declared = bytes[kActPaletteSize] << 8 | bytes[kActPaletteSize + 1];
        // 0 states no count at all; 1 to 15 leave part of the sixteen colours undefined.
        if (declared > 0 && declared < kPaletteColours)
            return Refused(OffsetText(kActPaletteSize) + "o arquivo declara " +
                           std::to_string(declared) + " cores; são necessárias 16");
    }
    ComponentsResult result;
    result.colours = TriplesAt(bytes, 0);
    return result;
}

ComponentsResult ReadTplPalette(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kTplPaletteSize)
        return Refused(OffsetText(bytes.size()) +
                       "o arquivo termina antes dos 52 bytes de uma paleta TPL");
    if (bytes.size() > kMaxTplPaletteSize)
        return Refused(OffsetText(kMaxTplPaletteSize) + "o arquivo tem " +
                       std::to_string(bytes.size()) + " bytes; uma paleta TPL tem no máximo " +
                       std::to_string(kMaxTplPaletteSize));
    if (!std::equal(kTplHeader.begin(), kTplHeader.begin() + 3, bytes.begin()))
        return Refused(OffsetText(0) + "o arquivo não começa com \"TPL\"");
    if (bytes[3] != kTplHeader[3])
        return Refused(OffsetText(3) + "tipo " + std::to_string(bytes[3]) +
                       " não suportado (esperado 0, cores RGB de 3 bytes)");
    ComponentsResult result;
    result.colours = TriplesAt(bytes, kTplHeader.size());
    return result;
}

PaletteWords16 WordsFromComponents(const Components16& colours) {
    const bool allMultiplesOf8 = std::all_of(colours.begin(), colours.end(), [](const Rgb& c) {
        return c.red % 8 == 0 && c.green % 8 == 0 && c.blue % 8 == 0;
    });
    PaletteWords16 words{};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const Rgb& c = colours[i];
        // c / 8 goes through its expanded colour, which ColorToWord brings back to c / 8.
        const RgbColor colour =
            allMultiplesOf8 ? MakeColor(ExpandComponent(c.red / 8), ExpandComponent(c.green / 8),
                                        ExpandComponent(c.blue / 8))
                            : MakeColor(c.red, c.green, c.blue);
        words[i] = ColorToWord(colour);
    }
    return words;
}

WordsResult ReadExchangeFile(PaletteFormat format, std::span<const std::uint8_t> bytes) {
    WordsResult result;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    ComponentsResult components;
    switch (format) {
    case PaletteFormat::None:
        result.failure = Failure::BadPaletteFile({}, "formato de paleta desconhecido");
        return result;
    case PaletteFormat::GbaRaw:
        // A short file would put black in place of the missing colours: refused.
        if (bytes.size() < kGbaPaletteSize) {
            result.failure = Failure::BadPaletteFile(
                {}, OffsetText(bytes.size()) +
                        "o arquivo termina antes dos 32 bytes de uma paleta GBA");
            return result;
        }
        if (bytes.size() > kMaxGbaPaletteFileSize) {
            result.failure = Failure::BadPaletteFile(
                {}, OffsetText(kMaxGbaPaletteFileSize) + "o arquivo tem " +
                        std::to_string(bytes.size()) + " bytes; uma paleta GBA tem no máximo " +
                        std::to_string(kMaxGbaPaletteFileSize));
            return result;
        }
        result.words = GbaPaletteWords(bytes);
        return result;
    case PaletteFormat::Tpl:
        components = ReadTplPalette(bytes);
        break;
    case PaletteFormat::Jasc:
        components = ReadJascPalette(text);
        break;
    case PaletteFormat::Gimp:
        components = ReadGimpPalette(text);
        break;
    case PaletteFormat::Act:
        components = ReadActPalette(bytes);
        break;
    }
    if (!components.ok()) {
        result.failure = components.failure;
        return result;
    }
    result.words = WordsFromComponents(components.colours);
    return result;
}

PaletteFormat PaletteFormatOfContent(std::span<const std::uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::string_view start = TrimBlanks(WithoutUtf8Bom(text));
    const auto startsWith = [&start](std::string_view word) {
        return start.size() >= word.size() && UpperCase(start.substr(0, word.size())) == word;
    };
    // An ACT table holds any bytes, so its first colours may spell a text header; at the
    // sizes an ACT table has (768 or 772 bytes, nothing else), a header decides only when
    // that text reader takes the file. A Tile Layer Pro file is 4 + 3n bytes, so never 768;
    // at 772 its "TPL" header decides. A raw palette or ACT table whose first bytes spell
    // "TPL" is taken for that format.
    const bool actSized = bytes.size() == kActPaletteSize ||
                          (bytes.size() == kActPaletteSizeWithCount && !text.starts_with("TPL"));
    // The text headers' first word in any case, so a misspelt header is refused by its
    // format's reader with the reason rather than read as colour words.
    if (startsWith("JASC") && !(actSized && !ReadJascPalette(text).ok()))
        return PaletteFormat::Jasc;
    if (startsWith("GIMP") && !(actSized && !ReadGimpPalette(text).ok()))
        return PaletteFormat::Gimp;
    // A raw GBA palette has no header, so it is what remains once the others are ruled out;
    // a raw palette of 384 or 386 colours is no size a tool writes (palettes come in banks
    // of 16 colours, and an 8-bit palette's 256 take 512 bytes).
    if (actSized)
        return PaletteFormat::Act;
    if (text.starts_with("TPL"))
        return PaletteFormat::Tpl;
    return PaletteFormat::GbaRaw;
}

WordsResult ReadPaletteOfContent(std::span<const std::uint8_t> bytes) {
    const PaletteFormat format = PaletteFormatOfContent(bytes);
    WordsResult result = ReadExchangeFile(format, bytes);
    if (!result.ok() && format == PaletteFormat::GbaRaw)
        result.failure.reason =
            "não é uma paleta JASC, GIMP, Tile Layer Pro ou ACT, nem uma paleta GBA: " +
            result.failure.reason;
    return result;
}

} // namespace zandrel
