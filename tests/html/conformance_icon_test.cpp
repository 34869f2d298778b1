#include "page_fixture.h"

#include "library/html/conformance_icon.h"
#include "platform/services.h"
#include "platform/string_table.h"

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

class ConformanceIcon : public ::testing::Test {
protected:
    ConformanceIcon() { strings.Parse("110\tOrvane\n360\t%1: conforms to level %2\n"); }

    // A page as it is read from a file (the document element comes first).
    CHtmlDocument& Load(const std::string& text)
    {
        EXPECT_EQ(page.FromFile(text), 1);
        page.document.SetOriginFlag(1);
        return page.document;
    }

    platform::CStringTable strings;
    platform::ScopedStrings useStrings{strings};
    CParsedPage page;
};

TEST_F(ConformanceIcon, IsInsertedBeforeEveryBodyEndTag)
{
    CHtmlDocument& doc = Load("<body>a</body><body>b</body>");
    InsertConformanceIcon(doc, 2, "http://icons.example/img");
    std::string written = page.Written();
    const std::string icon =
        "<a href=\"https://orvane.example.org\" title=\"Link to Orvane site\"><img "
        "src=\"http://icons.example/img/IconAA.png\" alt=\"Orvane: conforms to level double A\" "
        "longdesc=\"https://orvane.example.org/Icon-LONGDESC.html\" width=\"102\" height=\"32\" border=\"2\" "
        "/></a><a href=\"https://orvane.example.org/Icon-LONGDESC.html\">d</a>";
    EXPECT_EQ(written, "<body>a" + icon + "</body><body>b" + icon + "</body>");
}

TEST_F(ConformanceIcon, NothingForAWholeTextAnEmptyLocationOrNoBodyEnd)
{
    page.FromText("<body>a</body>");
    InsertConformanceIcon(page.document, 3, "icons");
    EXPECT_EQ(page.Written(), "<body>a</body>");
    Load("<body>a</body>");
    InsertConformanceIcon(page.document, 3, "");
    EXPECT_EQ(page.Written(), "<body>a</body>");
    Load("<body>a");
    InsertConformanceIcon(page.document, 3, "icons");
    EXPECT_EQ(page.Written(), "<body>a");
    Load("<body>a</body>");
    InsertConformanceIcon(page.document, 4, "icons");
    EXPECT_EQ(page.Written(), "<body>a</body>");
}

TEST_F(ConformanceIcon, AnExistingIconIsBroughtToTheAchievedLevel)
{
    Load("<body><img src=\"/icons/ICONAA.PNG\" width=102></body>");
    InsertConformanceIcon(page.document, 3, "icons");
    EXPECT_EQ(page.Written(),
              "<body><img src=\"/icons/IconAAA.png\" alt=\"Orvane: conforms to level triple A\" width=\"102\" "
              "longdesc=\"https://orvane.example.org/Icon-LONGDESC.html\"></body>");
}

TEST_F(ConformanceIcon, AnIconAtTheAchievedLevelIsLeftAlone)
{
    Load("<body><img src='IconA.png'></body>");
    InsertConformanceIcon(page.document, 1, "icons");
    EXPECT_EQ(page.Written(), "<body><img src='IconA.png'></body>");
}

TEST_F(ConformanceIcon, AnIconWithOnlyALeadingSlashLosesIt)
{
    Load("<body><img src='/IconA.png'></body>");
    InsertConformanceIcon(page.document, 2, "icons");
    EXPECT_NE(page.Written().find("src=\"IconAA.png\""), std::string::npos);
}

TEST_F(ConformanceIcon, LevelZeroRemovesTheIconWithTheLinksThisSystemInserted)
{
    Load("<body>a</body>");
    InsertConformanceIcon(page.document, 1, "icons");
    // Saved and read again, the icon is separate elements.
    std::string saved = page.Written();
    Load(saved);
    InsertConformanceIcon(page.document, 0, "icons");
    EXPECT_EQ(page.Written(), "<body>a</body>");
}

TEST_F(ConformanceIcon, LevelZeroKeepsAPagesOwnLinkAroundTheIcon)
{
    Load("<body><a href=\"/about\"><img src=IconA.png></a></body>");
    InsertConformanceIcon(page.document, 0, "icons");
    EXPECT_EQ(page.Written(), "<body><a href=\"/about\"></a></body>");
}

} // namespace
} // namespace orvane::test
