#include <gtest/gtest.h>

#include <string>
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
PaletteWords16 SampleWords() {
    return {0x0000, 0x7FFF, 0x001F, 0x03E0, 0x7C00, 0x4210, 0x0421, 0x1234,
            0x7BDE, 0x0C63, 0x2108, 0x56B5, 0x0001, 0x7FFE, 0x3DEF, 0x6318};
}

std::string JascWith(const std::string& body) {
    return "JASC-PAL\r\n0100\r\n16\r\n" + body;
}

std::string Entries(int count, const std::string& entry, const std::string& end) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += entry + end;
    return text;
}

std::string GimpWith(const std::string& body) {
    return "GIMP Palette\nName: x\nColumns: 16\n#\n" + body;
}

std::vector<std::uint8_t> ActBytes(std::size_t size) {
    std::vector<std::uint8_t> bytes(size, 0);
    for (std::size_t i = 0; i < 48; ++i)
        bytes[i] = static_cast<std::uint8_t>(8 * (i % 32) + 1);
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

} // namespace

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
}

TEST(ExtraFormats, GimpPaletteNameLosesItsLineBreaksSoTheHeaderStaysFourLines) {
    const std::string text = GimpPaletteText(Palette16{}, "a\r\nb\nc");
    EXPECT_EQ(text.substr(0, 37), "GIMP Palette\nName: abc\nColumns: 16\n#\n");
}

TEST(ExtraFormats, ActIsSixteenTriplesThenZerosTo768Bytes) {
    Palette16 colours{};
    for (int i = 0; i < 16; ++i)
        colours[i] = MakeColor(i, 100 + i, 255 - i);
    const std::vector<std::uint8_t> bytes = ActPaletteBytes(colours);
    ASSERT_EQ(bytes.size(), 768u);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(bytes[3 * i], i);
        EXPECT_EQ(bytes[3 * i + 1], 100 + i);
        EXPECT_EQ(bytes[3 * i + 2], 255 - i);
    }
    EXPECT_TRUE(
        std::all_of(bytes.begin() + 48, bytes.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(ExtraFormats, FormatIsChosenByExtensionIgnoringCase) {
    const struct {
        const char* name;
        ExchangeFormat format;
    } cases[] = {
        {"a.GBAPAL", ExchangeFormat::GbaRaw},  {"a.gbapal", ExchangeFormat::GbaRaw},
        {"a.Tpl", ExchangeFormat::Tpl},        {"a.pal", ExchangeFormat::Jasc},
        {"dir.x/a.GPL", ExchangeFormat::Gimp}, {"a.act", ExchangeFormat::Act},
        {"a.txt", ExchangeFormat::None},       {"act", ExchangeFormat::None},
        {"a.pal.bak", ExchangeFormat::None},   {"", ExchangeFormat::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExchangeFormatForName(c.name), c.format) << c.name;
}

TEST(ExtraFormats, ComponentsThatAreAllMultiplesOf8AreDividedBy8) {
    Components16 colours{};
    colours[0] = Rgb{248, 0, 8};
    colours[1] = Rgb{128, 64, 240};
    const PaletteWords16 words = WordsFromComponents(colours);
    EXPECT_EQ(words[0], (1 << 10) | 31); // ReduceComponent would make 248 into 30
    EXPECT_EQ(words[1], (30 << 10) | (8 << 5) | 16);
    EXPECT_EQ(words[2], 0);
}

TEST(ExtraFormats, OneComponentOffTheMultiplesOf8MakesEveryColourUseReduceComponent) {
    Components16 colours{};
    colours[0] = Rgb{248, 0, 8};
    colours[15] = Rgb{0, 0, 1};
    const PaletteWords16 words = WordsFromComponents(colours);
    EXPECT_EQ(words[0], (ReduceComponent(8) << 10) | ReduceComponent(248));
    EXPECT_EQ(words[0], (1 << 10) | 30);
    EXPECT_EQ(words[15], 0);
}

TEST(ExtraFormats, ExpandedColoursComeBackAsTheSameWordsWhicheverRuleApplies) {
    // Components 0 to 3 expand to multiples of 8; the rest do not.
    PaletteWords16 small{};
    for (int i = 0; i < 16; ++i)
        small[i] = static_cast<ColorWord>((i % 4) | ((3 - i % 4) << 5) | ((i / 4) << 10));
    for (const PaletteWords16& words : {small, SampleWords()}) {
        Components16 components{};
        for (int i = 0; i < 16; ++i)
            components[i] = SplitColor(WordToColor(words[i]));
        EXPECT_EQ(WordsFromComponents(components), words);
    }
}

TEST(ExtraFormats, EveryFormatRoundTripsTheSameColourWords) {
    const PaletteWords16 words = SampleWords();
    for (const ExchangeFormat format :
         {ExchangeFormat::GbaRaw, ExchangeFormat::Tpl, ExchangeFormat::Jasc, ExchangeFormat::Gimp,
          ExchangeFormat::Act}) {
        const std::vector<std::uint8_t> bytes =
            ExchangeFileBytes(format, ColoursOfWords(words), "name");
        const WordsResult read = ReadExchangeFile(format, bytes);
        ASSERT_TRUE(read.ok()) << static_cast<int>(format) << ": " << read.error;
        EXPECT_EQ(read.words, words) << static_cast<int>(format);
    }
}

TEST(ExtraFormats, JascReadsTheFirstSixteenEntriesWithLfOrCrLf) {
    std::string body;
    for (int i = 0; i < 16; ++i)
        body += std::to_string(i) + " " + std::to_string(2 * i) + " " + std::to_string(255 - i) +
                "\r\n";
    body += "1 2 3\r\nnot read\r\n";
    std::string header = "JASC-PAL\r\n0100\r\n256\r\n";
    for (const std::string& text : {header + body, [&] {
                                        std::string lf = header + body;
                                        std::erase(lf, '\r');
                                        return lf;
                                    }()}) {
        const ComponentsResult read = ReadJascPalette(text);
        ASSERT_TRUE(read.ok()) << read.error;
        EXPECT_EQ(read.colours[0], (Rgb{0, 0, 255}));
        EXPECT_EQ(read.colours[15], (Rgb{15, 30, 240}));
    }
}

TEST(ExtraFormats, JascLastLineNeedsNoLineEnd) {
    std::string text = JascWith(Entries(16, "8 16 24", "\r\n"));
    text.erase(text.size() - 2);
    const ComponentsResult read = ReadJascPalette(text);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.colours[15], (Rgb{8, 16, 24}));
}

TEST(ExtraFormats, MalformedJascIsRefusedNamingTheLine) {
    const std::string good = Entries(16, "1 2 3", "\r\n");
    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {"", "linha 1: falta o cabeçalho \"JASC-PAL\""},
        {"GIMP Palette\r\n" + good, "linha 1: falta o cabeçalho \"JASC-PAL\""},
        {"JASC-PAL\r\n", "linha 2: esperada a versão \"0100\""},
        {"JASC-PAL\r\n0200\r\n16\r\n" + good, "linha 2: esperada a versão \"0100\""},
        {"JASC-PAL\r\n0100\r\nsixteen\r\n" + good, "linha 3: esperado o número de cores"},
        {"JASC-PAL\r\n0100\r\n8\r\n" + good,
         "linha 3: o arquivo declara 8 cores; são necessárias 16"},
        {JascWith(Entries(10, "1 2 3", "\r\n")),
         "linha 14: o arquivo termina depois de 10 cores; são necessárias 16"},
        {JascWith(Entries(4, "1 2 3", "\n") + "1 2\n" + good),
         "linha 8: esperados três números (vermelho verde azul)"},
        {JascWith("1 2 3 4\r\n" + good), "linha 4: esperados três números (vermelho verde azul)"},
        {JascWith("1 2.5 3\r\n" + good), "linha 4: esperados três números (vermelho verde azul)"},
        {JascWith("\r\n" + good), "linha 4: esperados três números (vermelho verde azul)"},
        {JascWith("1 256 3\r\n" + good), "linha 4: o componente 256 está fora de 0 a 255"},
        {JascWith("1 2 3\r\n-1 2 3\r\n" + good), "linha 5: o componente -1 está fora de 0 a 255"},
        {JascWith("99999999999999999999 0 0\r\n" + good),
         "linha 4: o componente 99999999999999999999 está fora de 0 a 255"},
    };
    for (const auto& c : cases) {
        const ComponentsResult read = ReadJascPalette(c.text);
        EXPECT_EQ(read.error, c.error) << c.text;
    }
}

TEST(ExtraFormats, GimpSkipsNameColumnsCommentsAndEmptyLinesAndReadsTheFirstSixteen) {
    std::string text = "GIMP Palette\r\nName: Test\r\nColumns: 4\r\n# comment\r\n\r\n";
    for (int i = 0; i < 16; ++i)
        text += "  " + std::to_string(i) + "\t" + std::to_string(i + 1) + "   " +
                std::to_string(i + 2) + "\tColour name " + std::to_string(i) + "\r\n";
    text += "300 300 300 not read\r\n";
    const ComponentsResult read = ReadGimpPalette(text);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.colours[0], (Rgb{0, 1, 2}));
    EXPECT_EQ(read.colours[15], (Rgb{15, 16, 17}));
}

TEST(ExtraFormats, MalformedGimpIsRefusedNamingTheLine) {
    const std::string good = Entries(16, "1 2 3", "\n");
    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {"", "linha 1: falta o cabeçalho \"GIMP Palette\""},
        {good, "linha 1: falta o cabeçalho \"GIMP Palette\""},
        {"JASC-PAL\n" + good, "linha 1: falta o cabeçalho \"GIMP Palette\""},
        {GimpWith(Entries(15, "1 2 3", "\n")),
         "linha 20: o arquivo termina depois de 15 cores; são necessárias 16"},
        {"GIMP Palette\n", "linha 2: o arquivo termina depois de 0 cores; são necessárias 16"},
        {GimpWith("1 2\n" + good), "linha 5: esperados três números (vermelho verde azul)"},
        {GimpWith("Black 0 0 0\n" + good), "linha 5: esperados três números (vermelho verde azul)"},
        {GimpWith("1 2 3\n0 0 256 Too bright\n" + good),
         "linha 6: o componente 256 está fora de 0 a 255"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadGimpPalette(c.text).error, c.error) << c.text;
}

TEST(ExtraFormats, ActOf768Or772BytesReadsTheFirstSixteenTriples) {
    for (const std::size_t size : {768u, 772u}) {
        std::vector<std::uint8_t> bytes = ActBytes(size);
        if (size == 772)
            bytes[769] = 16; // 16 colours, big-endian
        const ComponentsResult read = ReadActPalette(bytes);
        ASSERT_TRUE(read.ok()) << size << ": " << read.error;
        EXPECT_EQ(read.colours[0], (Rgb{1, 9, 17}));
        EXPECT_EQ(read.colours[15], (Rgb{8 * 13 + 1, 8 * 14 + 1, 8 * 15 + 1}));
    }
    // A count of 0 states nothing; 256 is a full table.
    std::vector<std::uint8_t> full = ActBytes(772);
    full[768] = 1;
    EXPECT_TRUE(ReadActPalette(ActBytes(772)).ok());
    EXPECT_TRUE(ReadActPalette(full).ok());
}

TEST(ExtraFormats, MalformedActIsRefusedNamingTheOffset) {
    std::vector<std::uint8_t> eight = ActBytes(772);
    eight[769] = 8;
    const struct {
        std::vector<std::uint8_t> bytes;
        const char* error;
    } cases[] = {
        {{}, "offset 0: o arquivo termina antes dos 768 bytes de uma tabela de cores ACT"},
        {ActBytes(500),
         "offset 500: o arquivo termina antes dos 768 bytes de uma tabela de cores ACT"},
        {ActBytes(770),
         "offset 768: o arquivo tem 770 bytes; uma tabela de cores ACT tem 768 ou 772"},
        {ActBytes(800),
         "offset 768: o arquivo tem 800 bytes; uma tabela de cores ACT tem 768 ou 772"},
        {eight, "offset 768: o arquivo declara 8 cores; são necessárias 16"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadActPalette(c.bytes).error, c.error) << c.bytes.size();
}

TEST(ExtraFormats, TplOfAtLeast52BytesReadsTheTriplesAfterTheHeader) {
    for (const std::size_t size : {52u, 100u}) {
        const ComponentsResult read = ReadTplPalette(TplBytes(size));
        ASSERT_TRUE(read.ok()) << read.error;
        EXPECT_EQ(read.colours[0], (Rgb{20, 25, 30}));
        EXPECT_EQ(read.colours[15], (Rgb{245, 250, 255}));
    }
}

TEST(ExtraFormats, MalformedTplIsRefusedNamingTheOffset) {
    std::vector<std::uint8_t> badHeader = TplBytes(52);
    badHeader[1] = 'Q';
    std::vector<std::uint8_t> badType = TplBytes(52);
    badType[3] = 2;
    const struct {
        std::vector<std::uint8_t> bytes;
        const char* error;
    } cases[] = {
        {TplBytes(51), "offset 51: o arquivo termina antes dos 52 bytes de uma paleta TPL"},
        {{}, "offset 0: o arquivo termina antes dos 52 bytes de uma paleta TPL"},
        {badHeader, "offset 0: o arquivo não começa com \"TPL\""},
        {badType, "offset 3: tipo 2 não suportado (esperado 0, cores RGB de 3 bytes)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadTplPalette(c.bytes).error, c.error);
}

TEST(ExtraFormats, RawGbaFileMustHoldItsThirtyTwoBytes) {
    std::vector<std::uint8_t> bytes(40, 0);
    bytes[0] = 0xFF;
    bytes[1] = 0xFF; // bit 15 set: dropped
    bytes[30] = 0x1F;
    bytes[32] = 0x55; // past the palette: ignored
    const WordsResult read = ReadExchangeFile(ExchangeFormat::GbaRaw, bytes);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.words[0], 0x7FFF);
    EXPECT_EQ(read.words[15], 0x001F);

    bytes.resize(31);
    EXPECT_EQ(ReadExchangeFile(ExchangeFormat::GbaRaw, bytes).error,
              "offset 31: o arquivo termina antes dos 32 bytes de uma paleta GBA");
}

TEST(ExtraFormats, ReadersPassTheirErrorsThroughAndUnknownFormatIsRefused) {
    const std::vector<std::uint8_t> empty;
    EXPECT_EQ(ReadExchangeFile(ExchangeFormat::Jasc, empty).error,
              "linha 1: falta o cabeçalho \"JASC-PAL\"");
    EXPECT_EQ(ReadExchangeFile(ExchangeFormat::None, empty).error,
              "formato de paleta desconhecido");
}
