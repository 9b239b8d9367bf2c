// Definition row locations as the palette commands take them (the parse is in RomTest).
#include <gtest/gtest.h>

#include "OpenFormFixture.h"

namespace zandrel::testing {
namespace {

using PaletteRowLocation = OpenFormTest;

// "0x1A0" read as 411A0, and a save wrote there while the label showed the text.
TEST_F(PaletteRowLocation, ALocationThatIsNotStrictHexReadsAndWritesNothing) {
    const std::vector<std::uint8_t> before = PatternBytes(0x400);
    OpenDump(before, "16,1a0,g\r\n16,0x1A0,f\r\n");
    Choose(0);
    const auto swatches = Swatches(model());
    EXPECT_EQ(model().Opt[0].backColor, WordToColor(StoredWord(before, 0x1A0)));
    Choose(1);
    ExpectOneMessage(
        services,
        "Arquivo de definições \"" + dir.File("MEMORYDUMP.ZNDL") +
            "\", linha 2: a localização \"0x1A0\" "
            "não é válida (esperado: de 1 a 8 dígitos hex até 7FFFFFFF, como 1A0, ou um "
            "bloco comprimido, como LZ:3B8A8C ou LZ:3B8A8C+20). Nada foi lido nem gravado.",
        16);
    EXPECT_EQ(Swatches(model()), swatches);
    EXPECT_EQ(model().List1.selected, -1);
    EXPECT_EQ(EnabledButtons(model()), "cmdRecarrega");
    EXPECT_EQ(ReadBytes(dumpPath), before);
}

} // namespace
} // namespace zandrel::testing
