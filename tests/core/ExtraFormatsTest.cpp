#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "palfiles/ExtraFormats.h"

using namespace zandrel;

namespace {

Palette16 ColoursOfWords(const PaletteWords16& words) {
    Palette16 colours{};
    for (std::size_t i = 0; i < words.size(); ++i)
        colours[i] = WordToColor(words[i]);
    return colours;
}

// Extremes, single components and mixed words.
constexpr PaletteWords16 kSampleWords{0x0000, 0x7FFF, 0x001F, 0x03E0, 0x7C00, 0x4210,
                                      0x0421, 0x1234, 0x7BDE, 0x0C63, 0x2108, 0x56B5,
                                      0x0001, 0x7FFE, 0x3DEF, 0x6318};

std::string Entries(int count, const std::string& entry, const std::string& end) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += entry + end;
    return text;
}

std::string JascWith(const std::string& body) {
    return "JASC-PAL\r\n0100\r\n16\r\n" + body;
}

std::string GimpWith(const std::string& body) {
    return "GIMP Palette\nName: x\nColumns: 16\n#\n" + body;
}

// Sixteen triples of distinct components, then zeros.
std::vector<std::uint8_t> ActBytes(std::size_t size, std::string_view firstBytes = {}) {
    std::vector<std::uint8_t> bytes(size, 0);
    for (std::size_t i = 0; i < 48; ++i)
        bytes[i] = static_cast<std::uint8_t>(8 * (i % 32) + 1);
    std::copy(firstBytes.begin(), firstBytes.end(), bytes.begin());
    return bytes;
}

std::vector<std::uint8_t> TplBytes(std::size_t size) {
    std::vector<std::uint8_t> bytes(size, 0);
    bytes[0] = 0x54;
    bytes[1] = 0x50;
    bytes[2] = 0x4C;
    for (std::size_t i = 4; i < std::min<std::size_t>(size, 52); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 5);
    return bytes;
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(ExtraFormats, GimpPaletteIsHeaderNameColumnsThenAlignedTriplesNamedByTheirWord) {
    PaletteWords16 words{};
    words[0] = 0x7C1F; // blue 31, red 31
    words[1] = 0x0421;
    words[15] = 0x7FFF;
    std::string expected = "GIMP Palette\nName: Fundo 00\nColumns: 16\n#\n"
                           "255   0 255\t7C1F\n"
                           "  8   8   8\t0421\n";
    for (int i = 2; i < 15; ++i)
        expected += "  0   0   0\t0000\n";
    expected += "255 255 255\t7FFF\n";
    EXPECT_EQ(GimpPaletteText(ColoursOfWords(words), "Fundo 00"), expected);
    // The name loses its line breaks, so the header stays four lines.
    EXPECT_TRUE(GimpPaletteText(Palette16{}, "a\r\nb\nc")
                    .starts_with("GIMP Palette\nName: abc\nColumns: 16\n#\n  0"));
}

TEST(ExtraFormats, ActIsSixteenTriplesThenZerosTo768Bytes) {
    Palette16 colours{};
    for (int i = 0; i < 16; ++i)
        colours[i] = MakeColor(i, 100 + i, 255 - i);
    std::vector<std::uint8_t> expected(768, 0);
    for (int i = 0; i < 16; ++i) {
        expected[3 * i] = static_cast<std::uint8_t>(i);
        expected[3 * i + 1] = static_cast<std::uint8_t>(100 + i);
        expected[3 * i + 2] = static_cast<std::uint8_t>(255 - i);
    }
    EXPECT_EQ(ActPaletteBytes(colours), expected);
}

TEST(ExtraFormats, FormatIsChosenByExtensionIgnoringCase) {
    const struct {
        const char* name;
        PaletteFormat format;
    } cases[] = {
        {"a.GBAPAL", PaletteFormat::GbaRaw},  {"a.gbapal", PaletteFormat::GbaRaw},
        {"a.Tpl", PaletteFormat::Tpl},        {"a.pal", PaletteFormat::Jasc},
        {"dir.x/a.GPL", PaletteFormat::Gimp}, {"a.act", PaletteFormat::Act},
        {"a.txt", PaletteFormat::None},       {"act", PaletteFormat::None},
        {"a.pal.bak", PaletteFormat::None},   {"", PaletteFormat::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExchangeFormatForName(c.name), c.format) << c.name;
}

TEST(ExtraFormats, ComponentsAllMultiplesOf8AreDividedBy8OtherwiseEveryOneIsReduced) {
    Components16 colours{};
    colours[0] = Rgb{248, 0, 8};
    colours[1] = Rgb{128, 64, 240};
    PaletteWords16 words = WordsFromComponents(colours);
    EXPECT_EQ(words[0], (1 << 10) | 31); // reducing would make 248 into 30
    EXPECT_EQ(words[1], (30 << 10) | (8 << 5) | 16);
    EXPECT_EQ(words[2], 0);

    colours[15] = Rgb{0, 0, 1};
    words = WordsFromComponents(colours);
    EXPECT_EQ(words[0], (1 << 10) | 30);
    EXPECT_EQ(words[15], 0);

    // Expanded colours come back as their words whichever rule applies: components 0 to 3
    // expand to multiples of 8, the rest do not.
    PaletteWords16 small{};
    for (int i = 0; i < 16; ++i)
        small[i] = static_cast<ColorWord>((i % 4) | ((3 - i % 4) << 5) | ((i / 4) << 10));
    for (const PaletteWords16& expected : {small, kSampleWords}) {
        Components16 components{};
        for (int i = 0; i < 16; ++i)
            components[i] = SplitColor(WordToColor(expected[i]));
        EXPECT_EQ(WordsFromComponents(components), expected);
    }
}

TEST(ExtraFormats, EveryFormatRoundTripsTheSameColourWords) {
    for (const PaletteFormat format :
         {PaletteFormat::GbaRaw, PaletteFormat::Tpl, PaletteFormat::Jasc, PaletteFormat::Gimp,
          PaletteFormat::Act}) {
        const WordsResult read =
            ReadExchangeFile(format, PaletteFileBytes(format, ColoursOfWords(kSampleWords), "n"));
        ASSERT_TRUE(read.ok()) << static_cast<int>(format) << ": " << read.failure.reason;
        EXPECT_EQ(read.words, kSampleWords) << static_cast<int>(format);
    }
}

TEST(ExtraFormats, TextFormatsReadTheFirstSixteenEntriesWithEitherLineEnd) {
    std::string body;
    for (int i = 0; i < 16; ++i)
        body += std::to_string(i) + " " + std::to_string(2 * i) + " " + std::to_string(255 - i) +
                "\r\n";
    const std::string jasc = "JASC-PAL\r\n0100\r\n256\r\n" + body;
    std::string lf = jasc + "1 2 3\r\nnot read\r\n";
    std::erase(lf, '\r');
    std::string cr = lf;
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    // The last line needs no line end. A byte-order mark was read as part of the header.
    for (const std::string& text : {jasc + "1 2 3\r\nnot read\r\n", lf, cr,
                                    jasc.substr(0, jasc.size() - 2), "\xEF\xBB\xBF" + jasc}) {
        const ComponentsResult read = ReadJascPalette(text);
        ASSERT_TRUE(read.ok()) << read.failure.reason;
        EXPECT_EQ(read.colours[0], (Rgb{0, 0, 255}));
        EXPECT_EQ(read.colours[15], (Rgb{15, 30, 240}));
    }

    // GIMP: name, columns, comments and empty lines are skipped; names after the triples too.
    std::string gimp = "GIMP Palette\r\nName: Test\r\nColumns: 4\r\n# comment\r\n\r\n";
    for (int i = 0; i < 16; ++i)
        gimp += "  " + std::to_string(i) + "\t" + std::to_string(i + 1) + "   " +
                std::to_string(i + 2) + "\tColour name " + std::to_string(i) + "\r\n";
    gimp += "300 300 300 not read\r\n";
    // GIMP palettes with CR-only line ends or a byte-order mark were refused.
    std::string gimpCr = gimp;
    std::erase(gimpCr, '\n');
    for (const std::string& text : {gimp, gimpCr, "\xEF\xBB\xBF" + gimp}) {
        const ComponentsResult read = ReadGimpPalette(text);
        ASSERT_TRUE(read.ok()) << read.failure.reason;
        EXPECT_EQ(read.colours[0], (Rgb{0, 1, 2}));
        EXPECT_EQ(read.colours[15], (Rgb{15, 16, 17}));
    }
}

// Import read any file as raw colour words. The content decides, the name plays no part.
TEST(ExtraFormats, ContentDecidesTheFormatOneSizeOneFormat) {
    const std::string jasc = JascWith(Entries(16, "1 2 3", "\r\n"));
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        PaletteFormat format;
    } cases[] = {
        {"JASC", Bytes(jasc), PaletteFormat::Jasc},
        {"JASC after a mark and blanks", Bytes("\xEF\xBB\xBF  " + jasc), PaletteFormat::Jasc},
        {"misspelt JASC header", Bytes("jasc-pal 1\r\n"), PaletteFormat::Jasc},
        {"GIMP", Bytes(GimpWith(Entries(16, "1 2 3", "\n"))), PaletteFormat::Gimp},
        {"TPL", TplBytes(52), PaletteFormat::Tpl},
        {"ACT", ActBytes(768), PaletteFormat::Act},
        {"ACT with a count", ActBytes(772), PaletteFormat::Act},
        {"ACT whose first colours spell JASC", ActBytes(768, "JASC"), PaletteFormat::Act},
        {"ACT whose first colours spell gimp", ActBytes(772, "  gimp"), PaletteFormat::Act},
        {"raw, 32 bytes", std::vector<std::uint8_t>(32, 0x54), PaletteFormat::GbaRaw},
        {"raw, too short", {0x1F, 0, 0xE0, 3}, PaletteFormat::GbaRaw},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PaletteFormatOfContent(c.bytes), c.format) << c.what;
}

TEST(ExtraFormats, BinaryFormatsReadTheFirstSixteenTriplesOrWords) {
    // ACT: 768 bytes, or 772 with a count; 0 states nothing and 256 is a full table.
    for (const int count : {-1, 16, 0, 256}) {
        std::vector<std::uint8_t> bytes = ActBytes(count < 0 ? 768 : 772);
        if (count >= 0) {
            bytes[768] = static_cast<std::uint8_t>(count >> 8);
            bytes[769] = static_cast<std::uint8_t>(count & 0xFF);
        }
        const ComponentsResult read = ReadActPalette(bytes);
        ASSERT_TRUE(read.ok()) << count << ": " << read.failure.reason;
        EXPECT_EQ(read.colours[0], (Rgb{1, 9, 17}));
        EXPECT_EQ(read.colours[15], (Rgb{8 * 13 + 1, 8 * 14 + 1, 8 * 15 + 1}));
    }
    // TPL: the triples after the header, however long the file.
    for (const std::size_t size : {52u, 100u}) {
        const ComponentsResult read = ReadTplPalette(TplBytes(size));
        ASSERT_TRUE(read.ok()) << read.failure.reason;
        EXPECT_EQ(read.colours[0], (Rgb{20, 25, 30}));
        EXPECT_EQ(read.colours[15], (Rgb{245, 250, 255}));
    }
    // Raw GBA: bit 15 dropped, bytes past the palette ignored.
    std::vector<std::uint8_t> raw(40, 0);
    raw[0] = 0xFF;
    raw[1] = 0xFF;
    raw[30] = 0x1F;
    raw[32] = 0x55;
    const WordsResult read = ReadExchangeFile(PaletteFormat::GbaRaw, raw);
    ASSERT_TRUE(read.ok()) << read.failure.reason;
    EXPECT_EQ(read.words[0], 0x7FFF);
    EXPECT_EQ(read.words[15], 0x001F);
}

// Every refusal names the line (text formats) or the offset (binary ones).
TEST(ExtraFormats, MalformedFilesAreRefusedNamingTheLineOrOffset) {
    const std::string jascGood = Entries(16, "1 2 3", "\r\n");
    const std::string gimpGood = Entries(16, "1 2 3", "\n");
    const char* const kThree = "esperados três números (vermelho verde azul)";
    std::vector<std::uint8_t> act8 = ActBytes(772);
    act8[769] = 8;
    std::vector<std::uint8_t> tplHeader = TplBytes(52);
    tplHeader[1] = 'Q';
    std::vector<std::uint8_t> tplType = TplBytes(52);
    tplType[3] = 2;
    const std::string jascLong = (JascWith(jascGood) + std::string(65536, ' ')).substr(0, 65537);
    const struct {
        PaletteFormat format;
        std::vector<std::uint8_t> bytes;
        std::string error;
    } cases[] = {
        {PaletteFormat::Jasc, {}, "linha 1: falta o cabeçalho \"JASC-PAL\""},
        {PaletteFormat::Jasc, Bytes("JASC-PAL\r\n"), "linha 2: esperada a versão \"0100\""},
        {PaletteFormat::Jasc, Bytes("JASC-PAL\r\n0200\r\n16\r\n" + jascGood),
         "linha 2: esperada a versão \"0100\""},
        {PaletteFormat::Jasc, Bytes("JASC-PAL\r\n0100\r\nsixteen\r\n" + jascGood),
         "linha 3: esperado o número de cores"},
        {PaletteFormat::Jasc, Bytes("JASC-PAL\r\n0100\r\n8\r\n" + jascGood),
         "linha 3: o arquivo declara 8 cores; são necessárias 16"},
        {PaletteFormat::Jasc, Bytes(JascWith(Entries(10, "1 2 3", "\r\n"))),
         "linha 14: o arquivo termina depois de 10 cores; são necessárias 16"},
        {PaletteFormat::Jasc, Bytes(JascWith(Entries(4, "1 2 3", "\n") + "1 2\n" + jascGood)),
         std::string("linha 8: ") + kThree},
        {PaletteFormat::Jasc, Bytes(JascWith("1 2 3 4\r\n" + jascGood)),
         std::string("linha 4: ") + kThree},
        {PaletteFormat::Jasc, Bytes(JascWith("1 2.5 3\r\n" + jascGood)),
         std::string("linha 4: ") + kThree},
        {PaletteFormat::Jasc, Bytes(JascWith("\r\n" + jascGood)),
         std::string("linha 4: ") + kThree},
        {PaletteFormat::Jasc, Bytes(JascWith("1 256 3\r\n" + jascGood)),
         "linha 4: o componente 256 está fora de 0 a 255"},
        {PaletteFormat::Jasc, Bytes(JascWith("1 2 3\r\n-1 2 3\r\n" + jascGood)),
         "linha 5: o componente -1 está fora de 0 a 255"},
        {PaletteFormat::Jasc, Bytes(JascWith("99999999999999999999 0 0\r\n" + jascGood)),
         "linha 4: o componente 99999999999999999999 está fora de 0 a 255"},
        {PaletteFormat::Gimp, {}, "linha 1: falta o cabeçalho \"GIMP Palette\""},
        {PaletteFormat::Gimp, Bytes(gimpGood), "linha 1: falta o cabeçalho \"GIMP Palette\""},
        {PaletteFormat::Gimp, Bytes(GimpWith(Entries(15, "1 2 3", "\n"))),
         "linha 20: o arquivo termina depois de 15 cores; são necessárias 16"},
        {PaletteFormat::Gimp, Bytes("GIMP Palette\n"),
         "linha 2: o arquivo termina depois de 0 cores; são necessárias 16"},
        {PaletteFormat::Gimp, Bytes(GimpWith("1 2\n" + gimpGood)),
         std::string("linha 5: ") + kThree},
        {PaletteFormat::Gimp, Bytes(GimpWith("Black 0 0 0\n" + gimpGood)),
         std::string("linha 5: ") + kThree},
        {PaletteFormat::Gimp, Bytes(GimpWith("1 2 3\n0 0 256 Too bright\n" + gimpGood)),
         "linha 6: o componente 256 está fora de 0 a 255"},
        {PaletteFormat::Act,
         {},
         "offset 0: o arquivo termina antes dos 768 bytes de uma tabela de cores ACT"},
        {PaletteFormat::Act, ActBytes(500),
         "offset 500: o arquivo termina antes dos 768 bytes de uma tabela de cores ACT"},
        {PaletteFormat::Act, ActBytes(770),
         "offset 768: o arquivo tem 770 bytes; uma tabela de cores ACT tem 768 ou 772"},
        {PaletteFormat::Act, ActBytes(800),
         "offset 768: o arquivo tem 800 bytes; uma tabela de cores ACT tem 768 ou 772"},
        {PaletteFormat::Act, act8, "offset 768: o arquivo declara 8 cores; são necessárias 16"},
        {PaletteFormat::Tpl, TplBytes(51),
         "offset 51: o arquivo termina antes dos 52 bytes de uma paleta TPL"},
        {PaletteFormat::Tpl,
         {},
         "offset 0: o arquivo termina antes dos 52 bytes de uma paleta TPL"},
        {PaletteFormat::Tpl, tplHeader, "offset 0: o arquivo não começa com \"TPL\""},
        {PaletteFormat::Tpl, tplType,
         "offset 3: tipo 2 não suportado (esperado 0, cores RGB de 3 bytes)"},
        {PaletteFormat::GbaRaw, std::vector<std::uint8_t>(31, 0),
         "offset 31: o arquivo termina antes dos 32 bytes de uma paleta GBA"},
        // Each format is refused above the largest file it can be.
        {PaletteFormat::GbaRaw, std::vector<std::uint8_t>(1025, 0),
         "offset 1024: o arquivo tem 1025 bytes; uma paleta GBA tem no máximo 1024"},
        {PaletteFormat::Tpl, TplBytes(773),
         "offset 772: o arquivo tem 773 bytes; uma paleta TPL tem no máximo 772"},
        {PaletteFormat::Jasc, Bytes(jascLong),
         "offset 65536: o arquivo tem 65537 bytes; uma paleta JASC tem no máximo 65536"},
        {PaletteFormat::None, {}, "formato de paleta desconhecido"},
    };
    for (const auto& c : cases) {
        const WordsResult read = ReadExchangeFile(c.format, c.bytes);
        EXPECT_FALSE(read.ok()) << c.error;
        EXPECT_EQ(read.failure.reason, c.error) << std::string(c.bytes.begin(), c.bytes.end());
    }
}

} // namespace
