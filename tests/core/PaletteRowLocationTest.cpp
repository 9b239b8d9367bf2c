// The location of a definition row as the window's palette commands take it: strict hex or
// the LZ: form of a compressed palette, nothing else.
#include <gtest/gtest.h>

#include "OpenFormFixture.h"
#include "rom/Lz77.h"
#include "special/ByteDump.h"

namespace zandrel::testing {
namespace {

using PaletteRowLocation = OpenFormTest;

// Rows 0 and 1 read and write nothing; the parse itself is in RomTest.
const char* const kRows = "16,1A0 ,a\r\n16,0x1A0,f\r\n16,1a0,g\r\n16,LZ:100+20,h\r\n";

// Issue: "1A0 ", "-1" or an empty location read as 0 and "0x1A0" as 411A0, and a save wrote
// there while the label showed the text.
TEST_F(PaletteRowLocation, DefinitionLocationsThatAreNotStrictHexReadAndWriteNothing) {
    const std::vector<std::uint8_t> before = PatternBytes(0x400);
    OpenDump(before, kRows);
    Choose(2); // "1a0": hex in either letter case
    EXPECT_EQ(model().Opt[0].backColor, WordToColor(StoredWord(before, 0x1A0)));
    const auto swatches = Swatches(model());
    for (const auto& [row, text] : {std::pair{0, "1A0 "}, {1, "0x1A0"}}) {
        services.messages.clear();
        Choose(2);
        Choose(row);
        ExpectOneMessage(services,
                         "Arquivo de definições \"MEMORYDUMP.ZNDL\", linha " +
                             std::to_string(row + 1) + ": a localização \"" + text +
                             "\" não é válida (esperado: de 1 a 8 dígitos hex até 7FFFFFFF, "
                             "como 1A0, ou um bloco comprimido, como LZ:3B8A8C ou "
                             "LZ:3B8A8C+20). Nada foi lido nem gravado.",
                         16);
        EXPECT_EQ(Swatches(model()), swatches);
        EXPECT_EQ(model().List1.selected, -1);
        EXPECT_EQ(EnabledButtons(model()), "cmdRecarrega");
    }
    EXPECT_EQ(ReadBytes(dumpPath), before);
}

TEST_F(PaletteRowLocation, ACompressedRowIsShownSavedAndShownAsBytesLikeARawOne) {
    std::vector<std::uint8_t> file = PatternBytes(0x400);
    std::vector<std::uint8_t> data(file.begin() + 0x300, file.begin() + 0x340);
    for (std::size_t i = 1; i < data.size(); i += 2)
        data[i] &= 0x7F;
    const std::vector<std::uint8_t> block = CompressLz77(data);
    std::copy(block.begin(), block.end(), file.begin() + 0x100);
    OpenDump(file, kRows);
    Choose(3);
    EXPECT_EQ(model().Opt[15].backColor, WordToColor(StoredWord(data, 0x3E)));
    EXPECT_EQ(EnabledButtons(model()), "Command2 cmdRecarrega cmdExibir cmdAmostra cmdImp cmdExp");

    model().Opt[1].backColor = WordToColor(0x7C00);
    form.Command2_Click();
    ExpectOneMessage(services, "Paleta salva.", 64);
    data[0x22] = 0x00;
    data[0x23] = 0x7C;
    EXPECT_EQ(DecompressLz77(ReadBytes(dumpPath), 0x100).data, data);
    form.cmdExibir_Click();
    EXPECT_EQ(services.byteWindowTexts,
              std::vector<std::string>{FormatByteDump(std::span(data).subspan(0x20))});
}

} // namespace
} // namespace zandrel::testing
