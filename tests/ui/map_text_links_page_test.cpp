#include "ui_fixture.h"

#include "library/registry/object_database.h"
#include "library/registry/src_document.h"
#include "library/registry/src_image_map.h"
#include "library/ui/pages/text_alternatives/page_img_usemap_textlinks.h"
#include "library/ui/pages/text_alternatives/page_ismap_textlinks.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace orvane::test {
namespace {

constexpr std::uint32_t kMapTextLinksBit = 0x10;
constexpr std::uint32_t kIsmapTextLinksBit = 0x20;

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Whether the registry records that the page's map has its text links; none
// when it holds no record of the map.
std::optional<bool> RecordedTextLinks(const CSrcObjectDatabase& registry, std::string_view document,
                                      std::string_view map)
{
    const CSrcDocument* known = registry.FindDocument(document);
    if (!known)
        return std::nullopt;
    for (const auto& record : known->ImageMaps()) {
        if (record->Title() == map)
            return record->HasTextLinks();
    }
    return std::nullopt;
}

// The harbour's map stands at the top and again, smaller, at the bottom:
// both images use one map, whose areas link without text links anywhere.
constexpr char kHarbourMap[] =
    "<html lang=\"en\"><head><title>Harbour</title></head><body>\n"
    "<p><img src=\"harbour-map.png\" alt=\"Map of the harbour\" usemap=\"#harbour\"></p>\n"
    "<map name=\"harbour\">\n"
    "<area shape=\"rect\" coords=\"0,0,10,10\" href=\"tickets.html\" alt=\"Ticket office\">\n"
    "<area shape=\"circle\" coords=\"30,30,5\" href=\"lighthouse.html?tour=1&amp;lang=en\" title=\"Lighthouse\">\n"
    "<area shape=\"rect\" coords=\"40,40,50,50\" href=\"market.html\">\n"
    "<area shape=\"rect\" coords=\"60,60,70,70\" nohref alt=\"Sea\">\n"
    "</map>\n"
    "<p>The same map, smaller: <img src=\"harbour-small.png\" alt=\"Map\" usemap=\"#harbour\"></p>\n"
    "</body></html>\n";

TEST_F(RepairRunTest, AClientSideMapGetsOneRowOfTextLinksAfterItsFirstImageRememberedAndTakenBackByUndo)
{
    Load(kHarbourMap);
    StartSheet();
    const std::string registryFile = ::testing::TempDir() + "usemap-text-links.xml";
    std::ofstream(registryFile, std::ios::binary) << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n</root>";
    CSrcObjectDatabase registry(registryFile);
    ASSERT_EQ(registry.Load(), 1);
    sheet.SetObjectRegistry(&registry);
    // One page for the map, though two images use it.
    ASSERT_EQ(AddPages("ImageMapTextLinks"), 1);
    using Page = CPageImgUsemapTextlinks;
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& p = w.PageWindow(0);
        EXPECT_EQ(p.Text(1001), Strings(900));
        EXPECT_EQ(p.ItemTexts(Page::kLinks), (std::vector<std::string>{"Ticket office", "Lighthouse", "market.html"}));
        EXPECT_EQ(p.ItemTexts(Page::kLinks, Page::kTargetColumn),
                  (std::vector<std::string>{"tickets.html", "lighthouse.html?tour=1&lang=en", "market.html"}));
        EXPECT_EQ(p.EditableColumn(Page::kLinks), Page::kTextColumn);
        EXPECT_NE(FileText(p.Browser(Page::kImagePreview)->Address()).find("/site/forms/harbour-map.png"),
                  std::string::npos);
        w.PressHelp();

        // A link without a text is refused, and the row without one chosen.
        p.EditRowInPlace(Page::kLinks, 2, "");
        w.Click(kIdFinish);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_TRUE(ToldLast(1, Strings(902)));
        EXPECT_EQ(p.SelectedRows(Page::kLinks), std::vector<int>{2});
        EXPECT_EQ(document.Text(), kHarbourMap);

        p.EditRowInPlace(Page::kLinks, 2, "Fish market & quay");
        EXPECT_EQ(FileText(p.Browser(Page::kRowPreview)->Address()),
                  "<HTML><HEAD></HEAD><BODY>[ <a href=\"tickets.html\">Ticket office</a> | "
                  "<a href=\"lighthouse.html?tour=1&amp;lang=en\">Lighthouse</a> | "
                  "<a href=\"market.html\">Fish market &amp; quay</a> ]\n</BODY></HTML>");
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"1-5-1.html"});
    std::string repaired = kHarbourMap;
    const std::string image = "usemap=\"#harbour\">";
    repaired.insert(repaired.find(image) + image.size(),
                    "\n<br />[ <a href=\"tickets.html\">Ticket office</a> | "
                    "<a href=\"lighthouse.html?tour=1&amp;lang=en\">Lighthouse</a> | "
                    "<a href=\"market.html\">Fish market &amp; quay</a> ]\n");
    EXPECT_EQ(document.Text(), repaired);
    int images = 0;
    for (const CFoundProblem& problem : found) {
        if (problem.bit != kMapTextLinksBit || problem.element->GetCheckName(problem.bit) != "ImageMapTextLinks")
            continue;
        ++images;
        EXPECT_TRUE(problem.element->IsRepaired(kMapTextLinksBit, 0)) << problem.element->Text();
    }
    EXPECT_EQ(images, 2);
    EXPECT_EQ(RecordedTextLinks(registry, document.Name(), "harbour"), true);
    ASSERT_EQ(registry.Save(), 1);
    {
        CSrcObjectDatabase next(registryFile);
        ASSERT_EQ(next.Load(), 1);
        EXPECT_EQ(RecordedTextLinks(next, document.Name(), "harbour"), true);
    }

    // Undo takes the row out and the mark off both images.
    ShowSheet([&](CMemoryWindow& w) {
        EXPECT_EQ(w.PageWindow(0).ItemText(Page::kLinks, 2), "Fish market & quay");
        w.Click(kSkipUndo);
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kHarbourMap);
    for (const CFoundProblem& problem : found) {
        if (problem.element->GetCheckName(problem.bit) == "ImageMapTextLinks") {
            EXPECT_FALSE(problem.element->IsRepaired(kMapTextLinksBit, 0)) << problem.element->Text();
        }
    }
    EXPECT_EQ(RecordedTextLinks(registry, document.Name(), "harbour"), false);
    std::filesystem::remove(registryFile);
}

// The harbour map answered by the server, in CRLF lines.
constexpr char kServerMap[] =
    "<html lang=\"en\"><head><title>Harbour</title></head><body>\r\n"
    "<p><a href=\"/cgi-bin/imagemap/harbour.map\"><img src=\"harbour-map.png\" alt=\"Map of the harbour\" "
    "ismap></a></p>\r\n"
    "</body></html>\r\n";

TEST_F(RepairRunTest, AServerSideMapGetsTheTextLinksTheUserAddsAfterItsLinkAndUndoTakesThemOut)
{
    Load(kServerMap);
    StartSheet();
    const std::string registryFile = ::testing::TempDir() + "ismap-text-links.xml";
    std::ofstream(registryFile, std::ios::binary) << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n</root>";
    CSrcObjectDatabase registry(registryFile);
    ASSERT_EQ(registry.Load(), 1);
    std::filesystem::remove(registryFile);
    sheet.SetObjectRegistry(&registry);
    ASSERT_EQ(AddPages("ImageMapIsmapTextLinks"), 1);
    using Page = CPageIsmapTextlinks;
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& p = w.PageWindow(0);
        EXPECT_EQ(p.Text(1001), Strings(903));
        EXPECT_EQ(p.Text(Page::kServerMap), "/cgi-bin/imagemap/harbour.map");
        EXPECT_EQ(p.ItemCount(Page::kLinks), 0);
        EXPECT_FALSE(p.IsEnabled(Page::kRemove));
        w.PressHelp();

        // Nothing to write yet: the user is told and stays.
        w.Click(kIdFinish);
        EXPECT_EQ(w.CurrentPage(), 0);
        ASSERT_TRUE(ToldLast(1, Strings(904)));

        // A link needs both its text and its address.
        p.Type(Page::kText, "Ticket office");
        p.Click(Page::kAdd);
        ASSERT_TRUE(ToldLast(2, Strings(905)));
        EXPECT_EQ(p.ItemCount(Page::kLinks), 0);
        p.Type(Page::kAddress, "tickets.html");
        p.Click(Page::kAdd);
        EXPECT_EQ(p.Text(Page::kText), "");
        p.Type(Page::kText, "Ferries");
        p.Type(Page::kAddress, "ferries.html");
        p.Click(Page::kAdd);
        p.Type(Page::kText, "Fish \"market\"");
        p.Type(Page::kAddress, "market.html?day=sat&time=8");
        p.Click(Page::kAdd);
        EXPECT_EQ(p.ItemTexts(Page::kLinks), (std::vector<std::string>{"Ticket office", "Ferries", "Fish \"market\""}));
        p.SelectOnlyRows(Page::kLinks, {1});
        p.Click(Page::kRemove);
        p.EditRowInPlace(Page::kLinks, 0, "Tickets");
        w.Click(kIdFinish);
    });
    ExpectHelpShown({"1-2-1.html"});
    std::string repaired = kServerMap;
    const std::string link = "ismap></a>";
    repaired.insert(repaired.find(link) + link.size(),
                    "\r\n<br />[ <a href=\"tickets.html\">Tickets</a> | "
                    "<a href=\"market.html?day=sat&amp;time=8\">Fish &quot;market&quot;</a> ]\r\n");
    EXPECT_EQ(document.Text(), repaired);
    EXPECT_TRUE(sheet.Page(0).Element()->IsRepaired(kIsmapTextLinksBit, 0));
    // The server's map is known by its image.
    EXPECT_EQ(RecordedTextLinks(registry, document.Name(), "harbour-map.png"), true);

    ShowSheet([&](CMemoryWindow& w) {
        EXPECT_EQ(w.PageWindow(0).ItemTexts(Page::kLinks), (std::vector<std::string>{"Tickets", "Fish \"market\""}));
        w.Click(kSkipUndo);
        w.PressEscape();
    });
    EXPECT_EQ(document.Text(), kServerMap);
    EXPECT_FALSE(sheet.Page(0).Element()->IsRepaired(kIsmapTextLinksBit, 0));
    EXPECT_EQ(RecordedTextLinks(registry, document.Name(), "harbour-map.png"), false);
}

} // namespace
} // namespace orvane::test
