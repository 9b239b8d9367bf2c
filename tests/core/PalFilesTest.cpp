// The palette exchange files: exact bytes written, formats chosen by name and by content,
// and every refusal with its reason; the GIF header an image preview needs.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "palfiles/ExtraFormats.h"
#include "palfiles/GifHeader.h"
#include "palfiles/PaletteFormats.h"

using namespace zandrel;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Of(const std::string& text) {
    return {text.begin(), text.end()};
}

std::string Lines(int count, const std::string& line) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += line;
    return text;
}

const std::string kJascHead = "JASC-PAL\r\n0100\r\n16\r\n";
const std::string kGimpHead = "GIMP Palette\nName: x\nColumns: 16\n#\n";

// Colour i is (i, 2i, 255 - i) except 0 (248, 0, 120) and 2 (255, 255, 255).
Palette16 Sample() {
    Palette16 colours{};
    for (int i = 0; i < 16; ++i)
        colours[i] = MakeColor(i, 2 * i, 255 - i);
    colours[0] = MakeColor(248, 0, 120);
    colours[2] = MakeColor(255, 255, 255);
    return colours;
}

// Sixteen triples of 8k + 1, then zeros; the first bytes may be replaced.
Bytes Act(std::size_t size, const std::string& first = {}) {
    Bytes bytes(size, 0);
    for (std::size_t i = 0; i < 48; ++i)
        bytes[i] = static_cast<std::uint8_t>(8 * (i % 32) + 1);
    std::copy(first.begin(), first.end(), bytes.begin());
    return bytes;
}

// "TPL", type 0, then component k is 5k.
Bytes Tpl(std::size_t size) {
    Bytes bytes(size, 0);
    for (std::size_t i = 4; i < std::min<std::size_t>(size, 52); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 5);
    std::copy_n("TPL", std::min<std::size_t>(size, 3), bytes.begin());
    return bytes;
}

} // namespace

TEST(PaletteFiles, EachFormatWritesItsExactBytes) {
    const Palette16 colours = Sample();
    const Bytes tpl = TplPaletteBytes(colours);
    ASSERT_EQ(tpl.size(), 52u);
    EXPECT_EQ(Bytes(tpl.begin(), tpl.begin() + 13),
              (Bytes{0x54, 0x50, 0x4C, 0x00, 248, 0, 120, 1, 2, 254, 255, 255, 255}));
    EXPECT_EQ(tpl.back(), 240);

    std::string jasc = kJascHead + "248 0 120\r\n1 2 254\r\n255 255 255\r\n";
    for (int i = 3; i < 16; ++i)
        jasc += std::to_string(i) + " " + std::to_string(2 * i) + " " + std::to_string(255 - i) +
                "\r\n";
    EXPECT_EQ(JascPaletteText(colours), jasc);
    EXPECT_EQ(PaletteFileBytes(PaletteFormat::Jasc, colours), Of(jasc));

    // Words low byte first: (248, 0, 120) reduces to 30, 0, 14 = 381E.
    const Bytes gba = GbaPaletteBytes(colours);
    ASSERT_EQ(gba.size(), 32u);
    EXPECT_EQ(Bytes(gba.begin(), gba.begin() + 6), (Bytes{0x1E, 0x38, 0x00, 0x78, 0xFF, 0x7F}));

    const Bytes act = ActPaletteBytes(colours);
    ASSERT_EQ(act.size(), 768u);
    EXPECT_EQ(Bytes(act.begin() + 42, act.begin() + 49), (Bytes{14, 28, 241, 15, 30, 240, 0}));
    EXPECT_EQ(std::count(act.begin() + 48, act.end(), 0), 720);

    // GIMP: right-aligned components and the colour word as name; line ends leave the name.
    const std::string gimp = GimpPaletteText(colours, "Fundo\r\n00");
    EXPECT_TRUE(gimp.starts_with("GIMP Palette\nName: Fundo00\nColumns: 16\n#\n"
                                 "248   0 120\t381E\n  1   2 254\t7800\n255 255 255\t7FFF\n"))
        << gimp;
    EXPECT_TRUE(gimp.ends_with(" 15  30 240\t7461\n")) << gimp;
    EXPECT_TRUE(PaletteFileBytes(PaletteFormat::None, colours).empty());
}

TEST(PaletteFiles, FormatIsChosenByTheNameEndIgnoringCase) {
    using F = PaletteFormat; // the window's export format and the command line's
    const std::tuple<const char*, F, F> cases[] = {
        {"a.Tpl", F::Tpl, F::Tpl},          {"b.PaL", F::Jasc, F::Jasc},
        {"c.gbapal", F::GbaRaw, F::GbaRaw}, {"c.gbapal.tpl", F::Tpl, F::Tpl},
        {"d.x/a.GPL", F::None, F::Gimp},    {"a.act", F::None, F::Act},
        {"tpl", F::None, F::None},          {"e.gbapal ", F::None, F::None},
        {"a.pal.bak", F::None, F::None},    {"", F::None, F::None}};
    for (const auto& [name, window, exchange] : cases) {
        EXPECT_EQ(ExportFormatForName(name), window) << name;
        EXPECT_EQ(ExchangeFormatForName(name), exchange) << name;
    }
}

TEST(PaletteFiles, ComponentsAllMultiplesOf8AreDividedBy8OtherwiseEveryOneIsReduced) {
    Components16 colours{};
    colours[0] = Rgb{248, 0, 8};
    colours[1] = Rgb{128, 64, 240};
    EXPECT_EQ(WordsFromComponents(colours)[0], 1 << 10 | 31); // reducing would make 248 30
    EXPECT_EQ(WordsFromComponents(colours)[1], 30 << 10 | 8 << 5 | 16);
    colours[15] = Rgb{0, 0, 1};
    EXPECT_EQ(WordsFromComponents(colours)[0], 1 << 10 | 30);
}

TEST(PaletteFiles, EveryFormatReadsBackTheWordsItWrote) {
    PaletteWords16 words{};
    for (int i = 0; i < 16; ++i) // components 0 to 3 expand to multiples of 8, larger do not
        words[i] =
            static_cast<ColorWord>(i < 8 ? (i % 4) | (3 - i % 4) << 5 : (0x0C63 * i) & 0x7FFF);
    Palette16 colours{};
    std::transform(words.begin(), words.end(), colours.begin(), WordToColor);
    for (const PaletteFormat format :
         {PaletteFormat::GbaRaw, PaletteFormat::Tpl, PaletteFormat::Jasc, PaletteFormat::Gimp,
          PaletteFormat::Act}) {
        const Bytes file = PaletteFileBytes(format, colours, "n");
        EXPECT_EQ(PaletteFormatOfContent(file), format);
        const WordsResult read = ReadExchangeFile(format, file);
        ASSERT_TRUE(read.ok()) << static_cast<int>(format) << ": " << read.failure.reason;
        EXPECT_EQ(read.words, words) << static_cast<int>(format);
    }
}

// The first and the sixteenth colour a reader took, or its reason for refusing.
template <typename Input> std::string FirstAndLast(ComponentsResult (*reader)(Input), Input input) {
    const ComponentsResult read = reader(input);
    if (!read.ok())
        return read.failure.reason;
    const auto text = [](Rgb c) {
        return std::to_string(c.red) + " " + std::to_string(c.green) + " " + std::to_string(c.blue);
    };
    return text(read.colours[0]) + ", " + text(read.colours[15]);
}

TEST(PaletteFiles, TextFormatsReadTheFirstSixteenEntriesWithAnyLineEnd) {
    const std::string jasc = "JASC-PAL\r\n0100\r\n256\r\n0 0 255\r\n" + Lines(14, "1 1 1\r\n") +
                             "15 30 240\r\n9 9 9\r\nnot read\r\n";
    std::string lf = jasc;
    std::erase(lf, '\r');
    std::string cr = lf;
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    const std::string cut = jasc.substr(0, jasc.find("9 9 9") - 2); // the last line unended
    for (const std::string& text : {jasc, lf, cr, cut, "\xEF\xBB\xBF" + jasc})
        EXPECT_EQ(FirstAndLast<std::string_view>(ReadJascPalette, text), "0 0 255, 15 30 240");
    // GIMP: name, columns, comments and empty lines skipped, and needed by none; names after
    // the triples are skipped too.
    const std::string gimp = "GIMP Palette\r\nName: T\r\nColumns: 4\r\n# c\r\n\r\n" +
                             std::string("  0\t1   2\tBlack\r\n") + Lines(14, "1 1 1\r\n") +
                             "15 16 17 Last\r\n300 300 300 not read\r\n";
    std::string gimpCr = gimp;
    std::erase(gimpCr, '\n');
    const std::string bare = "GIMP Palette\n0 1 2\n" + Lines(14, "1 1 1\n") + "15 16 17\n";
    for (const std::string& text : {gimp, gimpCr, "\xEF\xBB\xBF" + gimp, bare})
        EXPECT_EQ(FirstAndLast<std::string_view>(ReadGimpPalette, text), "0 1 2, 15 16 17");
}

TEST(PaletteFiles, BinaryFormatsReadTheFirstSixteenTriplesOrWords) {
    using Span = std::span<const std::uint8_t>;
    // ACT: 768 bytes, or 772 with a count; 0 states nothing and 256 is a full table.
    EXPECT_EQ(FirstAndLast<Span>(ReadActPalette, Act(768)), "1 9 17, 105 113 121");
    for (const int count : {16, 0, 256}) {
        Bytes bytes = Act(772);
        bytes[768] = static_cast<std::uint8_t>(count >> 8);
        bytes[769] = static_cast<std::uint8_t>(count & 0xFF);
        EXPECT_EQ(FirstAndLast<Span>(ReadActPalette, bytes), "1 9 17, 105 113 121") << count;
    }
    for (const std::size_t size : {52u, 100u}) // TPL: the triples after the header
        EXPECT_EQ(FirstAndLast<Span>(ReadTplPalette, Tpl(size)), "20 25 30, 245 250 255");
    // Raw GBA: words low byte first, missing bytes 0, bytes past the palette ignored.
    Bytes raw(40, 0x11);
    raw[31] = 0x12;
    EXPECT_EQ(GbaPaletteWords(raw)[15], 0x1211);
    EXPECT_EQ(GbaPaletteWords(Bytes{0x34, 0x12, 0x56})[1], 0x0056);
    EXPECT_EQ(GbaPaletteWords(Bytes{0x34, 0x12, 0x56})[2], 0);
}

// Import read any file as raw colour words. The content decides, the name plays no part.
TEST(PaletteFiles, ContentDecidesTheFormatOneSizeOneFormat) {
    const std::string jasc = kJascHead + Lines(16, "1 2 3\r\n");
    // A misspelt header is JASC, refused with its reason; ACT tables whose first colours
    // spell a header are still ACT tables.
    using F = PaletteFormat;
    const std::pair<Bytes, F> cases[] = {{Of("\xEF\xBB\xBF  " + jasc), F::Jasc},
                                         {Of("jasc-pal 1\r\n"), F::Jasc},
                                         {Of(kGimpHead + Lines(16, "1 2 3\n")), F::Gimp},
                                         {Tpl(52), F::Tpl},
                                         {Tpl(772), F::Tpl},
                                         {Act(772), F::Act},
                                         {Act(768, "JASC"), F::Act},
                                         {Act(772, "  gimp"), F::Act},
                                         {Bytes(32, 0x54), F::GbaRaw},
                                         {Bytes{0x1F, 0}, F::GbaRaw}};
    for (const auto& [bytes, format] : cases)
        EXPECT_EQ(PaletteFormatOfContent(bytes), format) << std::string(bytes.begin(), bytes.end());
    EXPECT_EQ(ReadPaletteOfContent(Bytes(31, 0)).failure.reason,
              "não é uma paleta JASC, GIMP, Tile Layer Pro ou ACT, nem uma paleta GBA: offset 31: "
              "o arquivo termina antes dos 32 bytes de uma paleta GBA");
}

// Every refusal names the line (text formats) or the offset (binary ones).
TEST(PaletteFiles, MalformedFilesAreRefusedNamingTheLineOrOffset) {
    const std::string jascGood = Lines(16, "1 2 3\r\n");
    const std::string gimpGood = Lines(16, "1 2 3\n");
    const std::string three = ": esperados três números (vermelho verde azul)";
    Bytes act8 = Act(772);
    act8[769] = 8;
    Bytes tplHeader = Tpl(52);
    tplHeader[1] = 'Q';
    Bytes tplType = Tpl(52);
    tplType[3] = 2;
    using F = PaletteFormat;
    const std::tuple<F, Bytes, std::string> cases[] = {
        {F::Jasc, {}, "linha 1: falta o cabeçalho \"JASC-PAL\""},
        {F::Jasc, Of("JASC-PAL\r\n0200\r\n16\r\n" + jascGood),
         "linha 2: esperada a versão \"0100\""},
        {F::Jasc, Of("JASC-PAL\r\n0100\r\nsixteen\r\n"), "linha 3: esperado o número de cores"},
        {F::Jasc, Of("JASC-PAL\r\n0100\r\n8\r\n" + jascGood),
         "linha 3: o arquivo declara 8 cores; são necessárias 16"},
        {F::Jasc, Of(kJascHead + Lines(10, "1 2 3\r\n")),
         "linha 14: o arquivo termina depois de 10 cores; são necessárias 16"},
        {F::Jasc, Of(kJascHead + Lines(4, "1 2 3\n") + "1 2\n" + jascGood), "linha 8" + three},
        {F::Jasc, Of(kJascHead + "1 2 3 4\r\n" + jascGood), "linha 4" + three},
        {F::Jasc, Of(kJascHead + "1 2.5 3\r\n" + jascGood), "linha 4" + three},
        {F::Jasc, Of(kJascHead + "1 256 3\r\n" + jascGood),
         "linha 4: o componente 256 está fora de 0 a 255"},
        {F::Jasc, Of(kJascHead + "1 2 3\r\n-1 2 3\r\n" + jascGood),
         "linha 5: o componente -1 está fora de 0 a 255"},
        {F::Jasc, Of(kJascHead + "99999999999999999999 0 0\r\n" + jascGood),
         "linha 4: o componente 99999999999999999999 está fora de 0 a 255"},
        {F::Gimp, Of(gimpGood), "linha 1: falta o cabeçalho \"GIMP Palette\""},
        {F::Gimp, Of(kGimpHead + Lines(15, "1 2 3\n")),
         "linha 20: o arquivo termina depois de 15 cores; são necessárias 16"},
        {F::Gimp, Of(kGimpHead + "Black 0 0 0\n" + gimpGood), "linha 5" + three},
        {F::Gimp, Of(kGimpHead + "1 2 3\n0 0 256 Too bright\n"),
         "linha 6: o componente 256 está fora de 0 a 255"},
        {F::Act, Act(500),
         "offset 500: o arquivo termina antes dos 768 bytes de uma tabela de cores ACT"},
        {F::Act, Act(770),
         "offset 768: o arquivo tem 770 bytes; uma tabela de cores ACT tem 768 ou 772"},
        {F::Act, Act(800),
         "offset 768: o arquivo tem 800 bytes; uma tabela de cores ACT tem 768 ou 772"},
        {F::Act, act8, "offset 768: o arquivo declara 8 cores; são necessárias 16"},
        {F::Tpl, Tpl(51), "offset 51: o arquivo termina antes dos 52 bytes de uma paleta TPL"},
        {F::Tpl, tplHeader, "offset 0: o arquivo não começa com \"TPL\""},
        {F::Tpl, tplType, "offset 3: tipo 2 não suportado (esperado 0, cores RGB de 3 bytes)"},
        {F::GbaRaw, Bytes(31, 0),
         "offset 31: o arquivo termina antes dos 32 bytes de uma paleta GBA"},
        // Each format is refused above the largest file it can be.
        {F::GbaRaw, Bytes(1025, 0),
         "offset 1024: o arquivo tem 1025 bytes; uma paleta GBA tem no máximo 1024"},
        {F::Tpl, Tpl(773), "offset 772: o arquivo tem 773 bytes; uma paleta TPL tem no máximo 772"},
        {F::Jasc, Of((kJascHead + jascGood + std::string(65536, ' ')).substr(0, 65537)),
         "offset 65536: o arquivo tem 65537 bytes; uma paleta JASC tem no máximo 65536"},
        {F::None, {}, "formato de paleta desconhecido"},
    };
    for (const auto& [format, bytes, reason] : cases) {
        const WordsResult read = ReadExchangeFile(format, bytes);
        EXPECT_FALSE(read.ok()) << reason;
        EXPECT_EQ(read.failure.reason, reason) << std::string(bytes.begin(), bytes.end());
    }
}

TEST(GifHeader, AcceptsOnlyAGifWithAGlobalTableOfSixteenOrMoreInsideTheFile) {
    const auto header = [](const std::string& signature, int packed) {
        Bytes head = Of(signature + "\x93\x01\x8C");
        head.insert(head.end(), {0, static_cast<std::uint8_t>(packed), 0, 0});
        return head;
    };
    const std::tuple<const char*, Bytes, std::uint64_t, Result> cases[] = {
        {"GIF89a, 16 entries", header("GIF89a", 0xF3), 1000, Result::Ok},
        {"GIF87a, 256 entries", header("GIF87a", 0x87), 1000, Result::Ok},
        {"exactly the 16 entries", header("GIF89a", 0xF3), 61, Result::Ok},
        {"table cut short", header("GIF89a", 0xF3), 60, Result::ImageTooShort},
        {"signature only", Of("GIF89a"), 6, Result::ImageTooShort},
        {"signature cut short", Of("GIF89"), 5, Result::ImageNotGif},
        {"unknown version", header("GIF88a", 0xF3), 1000, Result::ImageNotGif},
        {"lower case", header("gif89a", 0xF3), 1000, Result::ImageNotGif},
        {"no global table", header("GIF89a", 0x73), 1000, Result::ImageNoColourTable},
        {"8 entries", header("GIF89a", 0x82), 1000, Result::ImageSmallColourTable},
    };
    for (const auto& [what, head, size, result] : cases)
        EXPECT_EQ(CheckGifHeader(head, size), result) << what;
}
