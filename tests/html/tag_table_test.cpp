#include "library/html/tag_table.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(TagIdOfToken, NamesAreLowerCasedBeforeLookup)
{
    EXPECT_EQ(TagIdOfToken("<P Align=center>"), 64);
    EXPECT_EQ(TagIdOfToken("</TABLE >"), 1080);
}

TEST(TagIdOfToken, NameStopsAtSlashButNotAtTab)
{
    EXPECT_EQ(TagIdOfToken("<br/>"), 13);
    EXPECT_EQ(TagIdOfToken("<img\tsrc=x>"), -3);
    EXPECT_EQ(TagIdOfToken("<img\rsrc=x>"), -3);
}

TEST(TagIdOfToken, BlanksAroundTheEndSlashAreSkipped)
{
    EXPECT_EQ(TagIdOfToken("< / a>"), 1005);
    EXPECT_EQ(TagIdOfToken("</a>"), 1005);
}

TEST(TagIdOfToken, EmptyCommentAndUnknownTokens)
{
    EXPECT_EQ(TagIdOfToken(""), -3);
    EXPECT_EQ(TagIdOfToken("<>"), -3);
    EXPECT_EQ(TagIdOfToken("< >"), -3);
    EXPECT_EQ(TagIdOfToken("<!--"), -2);
    EXPECT_EQ(TagIdOfToken("<blah>"), -3);
    EXPECT_EQ(TagIdOfToken("<!DOCTYPE html>"), 95);
}

TEST(TagIdOfToken, SharedIds)
{
    EXPECT_EQ(TagIdOfToken("<marquee>"), 11);
    EXPECT_EQ(TagIdOfToken("<ol>"), 24);
    EXPECT_EQ(TagIdOfToken("<ul>"), 24);
    EXPECT_EQ(TagIdOfToken("<head>"), 49);
    EXPECT_EQ(TagIdOfToken("<th>"), 86);
    EXPECT_EQ(TagIdOfToken("<thead>"), 85);
}

TEST(TagIdOfToken, CarriageReturnBeforeLineFeedEndsTheNameLikeTheLineFeed)
{
    EXPECT_EQ(TagIdOfToken("<table\r\nborder=1>"), 80);
    EXPECT_EQ(TagIdOfToken("<table\n>"), 80);
}

TEST(TagName, IsLookedUpByTablePosition)
{
    EXPECT_EQ(TagName(0), "abbr");
    EXPECT_EQ(TagName(39), "head");
    EXPECT_EQ(TagName(95), "!doctype");
    EXPECT_EQ(TagName(96), "");
    EXPECT_EQ(TagName(-1), "");
}

} // namespace
} // namespace orvane
