// Palette exchange files: bytes written, formats by name and content, refusals; GIF headers.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "palfiles/ActPalette.h"
#include "palfiles/GbaPalette.h"
#include "palfiles/GifHeader.h"
#include "palfiles/GimpPalette.h"
#include "palfiles/JascPalette.h"
#include "palfiles/PaletteFormats.h"
#include "palfiles/PngPalette.h"
#include "palfiles/TplPalette.h"
#include "png/Png.h"

using namespace zandrel;

namespace {

using Bytes = std::vector<std::uint8_t>;
using F = PaletteFormat;

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

// An indexed PNG of one pixel whose palette entry k is (8k, 0, 248), zeros after it up to `size`.
Bytes Png(int entries, std::size_t size = 0) {
    std::vector<RgbColor> palette(entries);
    for (int k = 0; k < entries; ++k)
        palette[k] = static_cast<RgbColor>(248 << 16 | 8 * k);
    Bytes png, pixel = {0};
    EncodeIndexedPng({1, 1, pixel, palette, false}, png);
    png.resize(std::max(size, png.size()), 0);
    return png;
}

// The first and the sixteenth colour a reader took, or its reason for refusing.
template <typename Input>
std::string FirstAndLast(Failure (*reader)(Input, Components16&), Input input) {
    Components16 colours{};
    if (const Failure failure = reader(input, colours); !failure.ok())
        return failure.reason;
    const auto text = [](Rgb c) {
        return std::to_string(c.red) + " " + std::to_string(c.green) + " " + std::to_string(c.blue);
    };
    return text(colours[0]) + ", " + text(colours[15]);
}

} // namespace

// Colour i is (i, 2i, 255 - i) except 0 (248, 0, 120) and 2 (255, 255, 255).
TEST(PaletteFiles, EachFormatWritesItsExactBytes) {
    Palette16 colours{};
    for (int i = 0; i < 16; ++i)
        colours[i] = MakeColor(i, 2 * i, 255 - i);
    colours[0] = MakeColor(248, 0, 120);
    colours[2] = MakeColor(255, 255, 255);
    const Bytes tpl = TplPaletteBytes(colours);
    ASSERT_EQ(tpl.size(), 52u);
    EXPECT_EQ(Bytes(tpl.begin(), tpl.begin() + 10),
              (Bytes{'T', 'P', 'L', 0, 248, 0, 120, 1, 2, 254}));
    const Bytes jascBytes = PaletteFileBytes(F::Jasc, colours);
    const std::string jasc(jascBytes.begin(), jascBytes.end());
    EXPECT_TRUE(jasc.starts_with(kJascHead + "248 0 120\r\n1 2 254\r\n255 255 255\r\n")) << jasc;
    EXPECT_TRUE(jasc.ends_with("\r\n14 28 241\r\n15 30 240\r\n")) << jasc;
    EXPECT_EQ(std::count(jasc.begin(), jasc.end(), '\n'), 19);
    const Bytes gba = GbaPaletteBytes(colours);
    ASSERT_EQ(gba.size(), 32u);
    EXPECT_EQ(Bytes(gba.begin(), gba.begin() + 6), (Bytes{0x1E, 0x38, 0x00, 0x78, 0xFF, 0x7F}));
    const Bytes act = ActPaletteBytes(colours);
    ASSERT_EQ(act.size(), 768u);
    EXPECT_EQ(Bytes(act.begin() + 42, act.begin() + 49), (Bytes{14, 28, 241, 15, 30, 240, 0}));
    EXPECT_EQ(std::count(act.begin() + 48, act.end(), 0), 720);
    const std::string gimp = GimpPaletteText(colours, "Fundo\r\n00");
    EXPECT_TRUE(gimp.starts_with("GIMP Palette\nName: Fundo00\nColumns: 16\n#\n"
                                 "248   0 120\t381E\n  1   2 254\t7800\n255 255 255\t7FFF\n"))
        << gimp;
    EXPECT_TRUE(gimp.ends_with(" 15  30 240\t7461\n")) << gimp;
    EXPECT_TRUE(PaletteFileBytes(F::None, colours).empty());
}

TEST(PaletteFiles, EveryFormatReadsBackTheWordsItWroteAndIsKnownByItsContent) {
    PaletteWords16 words{};
    for (int i = 0; i < 16; ++i) // components 0 to 3 expand to multiples of 8, larger do not
        words[i] =
            static_cast<ColorWord>(i < 8 ? (i % 4) | (3 - i % 4) << 5 : (0x0C63 * i) & 0x7FFF);
    Palette16 colours{};
    std::transform(words.begin(), words.end(), colours.begin(), WordToColor);
    // Components all multiples of 8 are divided by 8, otherwise every one is reduced.
    Components16 components{};
    components[0] = Rgb{248, 0, 8};
    EXPECT_EQ(WordsFromComponents(components)[0], 1 << 10 | 31); // reducing would make 248 30
    components[15] = Rgb{0, 0, 1};
    EXPECT_EQ(WordsFromComponents(components)[0], 1 << 10 | 30);
    for (const F format : kEveryPaletteFormat) {
        const Bytes file = PaletteFileBytes(format, colours, "n");
        EXPECT_EQ(PaletteFormatOfContent(file), format);
        PaletteWords16 read{};
        const Failure failure = ReadInFormat(format, file, read);
        EXPECT_EQ(read, words) << static_cast<int>(format) << ": " << failure.reason;
    }
    // ACT tables whose first colours spell a header are still ACT tables, unless the text
    // reader takes them or a Tile Layer Pro file can have their size.
    std::string jasc768 = kJascHead + Lines(16, "1 2 3\r\n");
    jasc768.resize(768, ' ');
    const std::pair<Bytes, F> cases[] = {{Of("\xEF\xBB\xBF  " + kJascHead), F::Jasc},
                                         {Act(768, "JASC"), F::Act},
                                         {Of(jasc768), F::Jasc},
                                         {Act(772, "  gimp"), F::Act},
                                         {Tpl(768), F::Act},
                                         {Tpl(772), F::Tpl},
                                         {Png(16), F::Png},
                                         {Png(16, 768), F::Png},
                                         {Bytes{0x1F, 0}, F::GbaRaw}};
    for (const auto& [bytes, format] : cases)
        EXPECT_EQ(PaletteFormatOfContent(bytes), format) << std::string(bytes.begin(), bytes.end());
    PaletteWords16 none{};
    EXPECT_EQ(
        ReadPaletteOfContent(Bytes(31, 0), none).reason,
        "não é uma paleta JASC, GIMP, Tile Layer Pro, ACT ou PNG, nem uma paleta GBA: offset 31: "
        "o arquivo termina antes dos 32 bytes de uma paleta GBA");
}

// One rule, each writer with the formats it offers: the window three, zandrel-cli five.
TEST(PaletteFiles, TheNameAsksForTheFormatOfItsExtensionAmongThoseOffered) {
    const std::tuple<const char*, F, F> cases[] = {
        {"p.Tpl", F::Tpl, F::Tpl},          {"q.PAL", F::Jasc, F::Jasc},
        {"r.gbapal", F::GbaRaw, F::GbaRaw}, {"s.GPL", F::None, F::Gimp},
        {"t.act", F::None, F::Act},         {"p.tpl.bak", F::None, F::None},
        {"gbapal", F::None, F::None}};
    for (const auto& [name, window, cli] : cases) {
        EXPECT_EQ(FormatForName(name, kWindowExportFormats), window) << name;
        EXPECT_EQ(FormatForName(name, kEveryPaletteFormat), cli) << name;
    }
}

TEST(PaletteFiles, ReadersTakeTheFirstSixteenEntriesWithAnyLineEnd) {
    const std::string jasc = "JASC-PAL\r\n0100\r\n256\r\n0 0 255\r\n" + Lines(14, "1 1 1\r\n") +
                             "15 30 240\r\n9 9 9\r\nnot read\r\n";
    std::string lf = jasc;
    std::erase(lf, '\r');
    std::string cr = lf;
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    for (const std::string& text : {lf, cr, "\xEF\xBB\xBF" + jasc})
        EXPECT_EQ(FirstAndLast<std::string_view>(ReadJascPalette, text), "0 0 255, 15 30 240");
    const std::string gimp = "GIMP Palette\rName: T\rColumns: 4\r# c\r\r  0\t1   2\tBlack\r" +
                             Lines(14, "1 1 1\r") + "15 16 17 Last\r300 300 300 not read\r";
    const std::string bare =
        "\xEF\xBB\xBFGIMP Palette\n0 1 2\n" + Lines(14, "1 1 1\n") + "15 16 17\n";
    for (const std::string& text : {gimp, bare})
        EXPECT_EQ(FirstAndLast<std::string_view>(ReadGimpPalette, text), "0 1 2, 15 16 17");
    using Span = std::span<const std::uint8_t>;
    // 772 ACT bytes end in a count; 0 states nothing and 256 is a full table.
    for (const int count : {16, 0, 256}) {
        Bytes bytes = Act(772);
        bytes[768] = static_cast<std::uint8_t>(count >> 8);
        bytes[769] = static_cast<std::uint8_t>(count & 0xFF);
        EXPECT_EQ(FirstAndLast<Span>(ReadActPalette, bytes), "1 9 17, 105 113 121") << count;
    }
    EXPECT_EQ(FirstAndLast<Span>(ReadTplPalette, Tpl(100)), "20 25 30, 245 250 255");
    for (const int entries : {16, 17})
        EXPECT_EQ(FirstAndLast<Span>(ReadPngPalette, Png(entries)), "0 0 248, 120 0 248");
    EXPECT_EQ(GbaPaletteWords(Bytes{0x34, 0x12, 0x56})[1], 0x0056); // missing bytes are 0
}

// Every refusal names the line (text formats) or the offset (binary ones).
TEST(PaletteFiles, MalformedFilesAreRefusedNamingTheLineOrOffset) {
    const std::string good = Lines(16, "1 2 3\r\n");
    const std::string three = ": esperados três números (vermelho verde azul)";
    Bytes act8 = Act(772);
    act8[769] = 8;
    Bytes tplHeader = Tpl(52);
    tplHeader[1] = 'Q';
    Bytes tplType = Tpl(52);
    tplType[3] = 2;
    const std::tuple<F, Bytes, std::string> cases[] = {
        {F::Jasc, {}, "linha 1: falta o cabeçalho \"JASC-PAL\""},
        {F::Jasc, Of("JASC-PAL\r\n0200\r\n16\r\n" + good), "linha 2: esperada a versão \"0100\""},
        {F::Jasc, Of("JASC-PAL\r\n0100\r\nsixteen\r\n"), "linha 3: esperado o número de cores"},
        {F::Jasc, Of("JASC-PAL\r\n0100\r\n8\r\n" + good),
         "linha 3: o arquivo declara 8 cores; são necessárias 16"},
        {F::Jasc, Of(kJascHead + Lines(10, "1 2 3\r\n")),
         "linha 14: o arquivo termina depois de 10 cores; são necessárias 16"},
        {F::Jasc, Of(kJascHead + Lines(4, "1 2 3\n") + "1 2\n" + good), "linha 8" + three},
        {F::Jasc, Of(kJascHead + "1 256 3\r\n" + good),
         "linha 4: o componente 256 está fora de 0 a 255"},
        {F::Gimp, Of(good), "linha 1: falta o cabeçalho \"GIMP Palette\""},
        {F::Act, Act(500),
         "offset 500: o arquivo termina antes dos 768 bytes de uma tabela de cores ACT"},
        {F::Act, Act(770),
         "offset 768: o arquivo tem 770 bytes; uma tabela de cores ACT tem 768 ou 772"},
        {F::Act, act8, "offset 768: o arquivo declara 8 cores; são necessárias 16"},
        {F::Tpl, Tpl(51), "offset 51: o arquivo termina antes dos 52 bytes de uma paleta TPL"},
        {F::Tpl, tplHeader, "offset 0: o arquivo não começa com \"TPL\""},
        {F::Tpl, tplType, "offset 3: tipo 2 não suportado (esperado 0, cores RGB de 3 bytes)"},
        {F::Png, Png(15), "a paleta (PLTE) do PNG tem 15 cores; são necessárias 16"},
        {F::GbaRaw, Bytes(1025, 0),
         "offset 1024: o arquivo tem 1025 bytes; uma paleta GBA tem no máximo 1024"},
        {F::None, {}, "formato de paleta desconhecido"},
    };
    for (const auto& [format, bytes, reason] : cases) {
        PaletteWords16 words{1, 2};
        const Failure failure = ReadInFormat(format, bytes, words);
        EXPECT_EQ(failure.result, Result::FileRefused) << reason;
        EXPECT_EQ(failure.reason, reason) << std::string(bytes.begin(), bytes.end());
        EXPECT_EQ(words, (PaletteWords16{1, 2})) << reason; // unchanged
    }
}

TEST(GifHeader, AcceptsOnlyAGifWithAGlobalTableOfSixteenOrMoreInsideTheFile) {
    const auto header = [](const std::string& signature, int packed) {
        Bytes head = Of(signature + "\x93\x01\x8C");
        head.insert(head.end(), {0, static_cast<std::uint8_t>(packed), 0, 0});
        return head;
    };
    const std::string image = "A imagem de amostra \"i.gif\" ",
                      none = " Nenhuma imagem foi alterada.";
    const std::tuple<Bytes, std::uint64_t, std::string> cases[] = {
        {header("GIF89a", 0xF3), 61, ""}, // exactly the 16 entries
        {header("GIF89a", 0xF3), 60,
         image + "está incompleta: o arquivo termina antes do fim da tabela de cores." + none},
        {header("GIF88a", 0xF3), 1000, image + "não é um arquivo GIF." + none},
        {header("GIF89a", 0x73), 1000, image + "não tem tabela de cores global." + none},
        {header("GIF89a", 0x82), 1000,
         "A tabela de cores da imagem de amostra \"i.gif\" tem menos de 16 cores." + none},
    };
    for (const auto& [head, size, message] : cases)
        EXPECT_EQ(ErrorMessage(CheckGifHeader("i.gif", head, size)), message)
            << std::string(head.begin(), head.end());
}
