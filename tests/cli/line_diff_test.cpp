#include "common/line_diff.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane {
namespace {

std::string Lines(int from, int to, const char* end = "\n")
{
    std::string text;
    for (int i = from; i <= to; ++i)
        text += "line " + std::to_string(i) + end;
    return text;
}

TEST(UnifiedDiff, EqualTextsGiveNothing)
{
    EXPECT_EQ(UnifiedDiff("", "", "a", "b"), "");
    EXPECT_EQ(UnifiedDiff(Lines(1, 5), Lines(1, 5), "a", "b"), "");
}

TEST(UnifiedDiff, AChangeIsShownWithThreeLinesAroundIt)
{
    const std::string before = Lines(1, 10);
    std::string after = before;
    after.replace(after.find("line 5\n"), 7, "LINE 5\nnew\n");
    EXPECT_EQ(UnifiedDiff(before, after, "page.html", "page.html"),
              "--- page.html\n+++ page.html\n@@ -2,7 +2,8 @@\n line 2\n line 3\n line 4\n-line 5\n+LINE 5\n+new\n"
              " line 6\n line 7\n line 8\n");
}

TEST(UnifiedDiff, ChangesCloseTogetherShareAHunkAndFarOnesDoNot)
{
    const std::string before = Lines(1, 30);
    std::string near = before;
    near.replace(near.find("line 1\n"), 7, "");             // removed at the start
    near.replace(near.find("line 7\n"), 7, "line seven\n"); // six lines on: the same hunk
    near += "line 31\n";                                    // added at the end: a hunk of its own
    EXPECT_EQ(UnifiedDiff(before, near, "a", "b"),
              "--- a\n+++ b\n@@ -1,10 +1,9 @@\n-line 1\n line 2\n line 3\n line 4\n line 5\n line 6\n-line 7\n"
              "+line seven\n line 8\n line 9\n line 10\n@@ -28,3 +27,4 @@\n line 28\n line 29\n line 30\n+line 31\n");
}

TEST(UnifiedDiff, LineEndsStayThePagesOwn)
{
    const std::string before = Lines(1, 2, "\r\n") + "last";
    const std::string after = Lines(1, 2, "\r\n") + "last\r\n";
    EXPECT_EQ(UnifiedDiff(before, after, "a", "b"),
              "--- a\n+++ b\n@@ -1,3 +1,3 @@\n line 1\r\n line 2\r\n-last\n\\ No newline at end of file\n+last\r\n");
    // A page made from nothing: the range before it is empty.
    EXPECT_EQ(UnifiedDiff("", "one\n", "a", "b"), "--- a\n+++ b\n@@ -0,0 +1 @@\n+one\n");
}

TEST(UnifiedDiff, APageRewrittenThroughoutIsStillACorrectDiff)
{
    // More differing lines than the search follows: removed and added whole.
    std::string before, after;
    for (int i = 0; i < 3000; ++i) {
        before += "a" + std::to_string(i) + "\n";
        after += "b" + std::to_string(i) + "\n";
    }
    const std::string diff = UnifiedDiff(before, after, "a", "b");
    EXPECT_EQ(diff.rfind("--- a\n+++ b\n@@ -1,3000 +1,3000 @@\n-a0\n", 0), 0u);
    EXPECT_EQ(diff.size(), std::string("--- a\n+++ b\n@@ -1,3000 +1,3000 @@\n").size() + before.size() + after.size() + 6000);
}

} // namespace
} // namespace orvane
