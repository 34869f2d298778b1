#include "platform/services.h"
#include "platform/string_table.h"

#include <gtest/gtest.h>

namespace orvane::platform {
namespace {

TEST(StringTable, ReadsNumberedLinesWithEscapes)
{
    CStringTable table;
    int bad = -1;
    EXPECT_EQ(table.Parse("# comment\n\n111\tOrvane\r\n150\tLine one\\nline two\\t\\\\end\n", &bad), 2);
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(table.Get(111), "Orvane");
    EXPECT_EQ(table.Get(150), "Line one\nline two\t\\end");
    EXPECT_EQ(table.Get(999), "");
}

TEST(StringTable, ReportsTheFirstBadLineAndKeepsTheRest)
{
    CStringTable table;
    int bad = 0;
    EXPECT_EQ(table.Parse("1\tone\nnot a number\tx\n2 no tab\n3\tthree", &bad), 2);
    EXPECT_EQ(bad, 2);
    EXPECT_EQ(table.Get(3), "three");
}

TEST(StringTable, FormatReplacesNumberedArguments)
{
    EXPECT_EQ(FormatMessage("%1 of %2, %1 again, %3 missing, 100%", {"a", "b"}), "a of b, a again,  missing, 100%");
    CStringTable table;
    table.Parse("441\tImage %1 has no text.\n");
    EXPECT_EQ(table.Format(441, {"logo.gif"}), "Image logo.gif has no text.");
}

TEST(Services, DefaultsAreSilentAndEmptyAndScopesRestore)
{
    EXPECT_EQ(Strings().Get(111), "");
    EXPECT_EQ(Prompt().Show("c", "t", PromptIcon::Exclamation, PromptButtons::Ok), kAnswerOk);
    CStringTable table;
    table.Parse("111\tcaption\n");
    {
        ScopedStrings scope(table);
        EXPECT_EQ(Strings().Get(111), "caption");
    }
    EXPECT_EQ(Strings().Get(111), "");
}

} // namespace
} // namespace orvane::platform
