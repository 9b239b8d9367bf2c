#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/Definitions.h"
#include "app/Games.h"

using namespace zandrel;

namespace {
PaletteTable Parse(const std::string& text, Failure& failure) {
    PaletteTable table;
    std::istringstream in(text);
    failure = ParseDefinitions(in, table);
    return table;
}
} // namespace

TEST(Definitions, EntriesFillTheThreeColumnsInFileOrder) {
    Failure failure;
    const PaletteTable table =
        Parse("; comment\r\n16,1A0,Herói\r\n;another\r\n4,0,  Nome, com, vírgulas\r\n", failure);
    EXPECT_TRUE(failure.ok());
    EXPECT_EQ(table.counts, (std::vector<std::string>{"16", "4"}));
    EXPECT_EQ(table.locations, (std::vector<std::string>{"1A0", "0"}));
    // The name keeps its blanks and every comma after the second.
    EXPECT_EQ(table.names, (std::vector<std::string>{"Herói", "  Nome, com, vírgulas"}));
}

TEST(Definitions, FieldsAreNotTrimmed) {
    Failure failure;
    const PaletteTable table = Parse(" 16 , 1A0 ,x", failure);
    EXPECT_TRUE(failure.ok());
    EXPECT_EQ(table.counts.at(0), " 16 ");
    EXPECT_EQ(table.locations.at(0), " 1A0 ");
}

TEST(Definitions, LineEndsOfEitherKindGiveTheSameEntries) {
    for (const std::string text :
         {"16,0,A\r\n16,20,B\r\n", "16,0,A\n16,20,B\n", "16,0,A\n16,20,B", "16,0,A\r16,20,B\r"}) {
        Failure failure;
        const PaletteTable table = Parse(text, failure);
        EXPECT_TRUE(failure.ok());
        EXPECT_EQ(table.names, (std::vector<std::string>{"A", "B"}));
    }
}

TEST(Definitions, MalformedLinesStopTheLoadWhereTheyStand) {
    struct Case {
        std::string text;
        Result stop;
        std::int64_t line;
        std::size_t counts, names, locations;
    };
    const Case cases[] = {
        // An empty line holds no comma; the entries before it stay.
        {"16,0,A\r\n\r\n16,20,B\r\n", Result::DefinitionNoComma, 2, 1, 1, 1},
        {"16,0,A\r\n16,20,B\r\n\r\n", Result::DefinitionNoComma, 3, 2, 2, 2},
        {"garbage\r\n16,0,A\r\n", Result::DefinitionNoComma, 1, 0, 0, 0},
        // One comma: the count and the rest of the line are added, the location is not.
        {"16,0,A\r\n16,rest of line\r\n16,40,C", Result::DefinitionOneComma, 2, 2, 2, 1},
    };
    for (const Case& c : cases) {
        Failure failure;
        const PaletteTable table = Parse(c.text, failure);
        EXPECT_EQ(failure.result, c.stop) << c.text;
        EXPECT_EQ(failure.line, c.line) << c.text;
        EXPECT_EQ(table.counts.size(), c.counts) << c.text;
        EXPECT_EQ(table.names.size(), c.names) << c.text;
        EXPECT_EQ(table.locations.size(), c.locations) << c.text;
    }
    Failure failure;
    EXPECT_EQ(Parse("16,rest", failure).names.back(), "rest");
}

TEST(Definitions, AtMost32767EntriesAreLoaded) {
    std::string text = ";header\r\n";
    for (int i = 0; i < 32768; ++i)
        text += "16," + std::to_string(i) + ",P\r\n";
    Failure failure;
    const PaletteTable table = Parse(text, failure);
    EXPECT_EQ(failure.result, Result::TooManyEntries);
    EXPECT_EQ(failure.line, 32769); // the 32768th entry, after one comment line
    EXPECT_EQ(table.counts.size(), 32767u);
    EXPECT_EQ(table.names.size(), 32767u);
    EXPECT_EQ(table.locations.size(), 32767u);

    text.resize(text.rfind("16,"));
    const PaletteTable full = Parse(text, failure);
    EXPECT_TRUE(failure.ok());
    EXPECT_EQ(full.names.size(), 32767u);
}

TEST(Definitions, OnlyCommentsGiveAnEmptyTable) {
    Failure failure;
    const PaletteTable table = Parse(";a\r\n;b\r\n", failure);
    EXPECT_TRUE(failure.ok());
    EXPECT_TRUE(table.names.empty());
}

TEST(Definitions, Windows1252NamesAreDecoded) {
    Failure failure;
    const PaletteTable table = Parse("16,0,Cora\xE7\xE3o\r\n", failure);
    EXPECT_EQ(table.names.at(0), "Cora\xC3\xA7\xC3\xA3o");
}

TEST(Games, CodesAreMatchedExactly) {
    const auto code = [](const char* text) { return std::vector<std::uint8_t>(text, text + 4); };
    struct Case {
        const char* code;
        int index;
        const char* title;
    };
    for (const Case c : {Case{"AQXE", 0, "Torvale (US)"},
                         {"AWQE", 1, "Torvale 2 (US)"},
                         {"BZQE", 2, "Torvale 3 (US)"},
                         {"BKRJ", 3, "Kemrith (J)"},
                         {"AQXJ", 5, "Torvale (J)"}}) {
        const auto game = FindGameByCode(code(c.code));
        ASSERT_TRUE(game) << c.code;
        EXPECT_EQ(game->index, c.index);
        EXPECT_EQ(game->title, c.title);
    }
    EXPECT_FALSE(FindGameByCode(code("aqxe")));
    EXPECT_FALSE(FindGameByCode(code("AQXF")));
}

TEST(Games, DefinitionFileFollowsTheLatestIdentification) {
    EXPECT_EQ(DefinitionFileFor("MEMORY DUMP", 3), "MEMORYDUMP.ZNDL");
    EXPECT_EQ(DefinitionFileFor("Kemrith (J)", 3), "KEMR_J.ZNDL");
    EXPECT_EQ(DefinitionFileFor("", 5), "TORV_J.ZNDL"); // a failed attempt: by index alone
    EXPECT_EQ(DefinitionFileFor("", 4), "");
    EXPECT_TRUE(IsMemoryDumpName("/x/ram.DmP"));
    EXPECT_FALSE(IsMemoryDumpName("/x/ram.dmp.gba"));
    EXPECT_FALSE(IsMemoryDumpName("dmp"));
}
