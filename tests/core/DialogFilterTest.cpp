#include <gtest/gtest.h>

#include <string>

#include "platform/DialogFilter.h"
#include "util/Messages.h"

using namespace zandrel;

TEST(DialogFilter, EveryBarBecomesANulAndOneNulIsAppended) {
    using namespace std::string_literals;
    EXPECT_EQ(BuildDialogFilter("A|*.a|B|*.b"), "A\0*.a\0B\0*.b\0"s);
    EXPECT_EQ(BuildDialogFilter(""), "\0"s);
    EXPECT_EQ(BuildDialogFilter("||"), "\0\0\0"s);
}

TEST(DialogFilter, SplitsIntoDescriptionAndPatternPairs) {
    const auto entries = SplitDialogFilter(text::kExportFilter);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].description, "GBAPAL - Paleta do GBA");
    EXPECT_EQ(entries[0].pattern, "*.GBAPAL");
    EXPECT_EQ(entries[2].description, "PAL - paleta padrão JASC");
    EXPECT_EQ(entries[2].pattern, "*.pal");
    // A description left without its pattern is not an entry.
    EXPECT_EQ(SplitDialogFilter("A|*.a|B").size(), 1u);
    EXPECT_TRUE(SplitDialogFilter("").empty());
}
