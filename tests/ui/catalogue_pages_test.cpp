#include "ui_fixture.h"

#include "library/checks/check_catalogue.h"
#include "library/checks/check_info.h"
#include "library/registry/object_database.h"
#include "library/tables/table_record.h"
#include "library/tables/table_type_question.h"
#include "library/ui/page_validator_base.h"
#include "library/ui/repair_page_factory.h"

#include <map>
#include <set>

namespace orvane::test {
namespace {

const std::string kAsciiArtPage =
    "<html lang=\"en\"><head><title>Tea</title></head><body>\n<pre>\n"
    "   ( (\n    ) )\n  ........\n  |      |]\n  \\      /\n   `----'\n  TEA ROOM\n</pre>\n"
    "<p>Green tea</p>\n</body></html>";

// For every check whose repair page is built: a page that has the problem.
// A check whose page gets built must be given one here, so that the page is
// known to open for what the check reports.
const std::map<std::string, std::string> kPagesWithTheProblem = {
    {"AnchorNewWindow",
     "<html lang=\"en\"><body><p>See the <a href=\"http://example.org/forecast\" target=\"_blank\">forecast</a>"
     "</p></body></html>"},
    {"AsciiArtDescription", kAsciiArtPage},
    {"AsciiArtSkipover", kAsciiArtPage},
    {"CheckFlicker",
     "<html lang=\"en\"><head><title>Sale</title></head><body><p><img src=\"sale.gif\" alt=\"Sale\"></p></body></html>"},
    {"BodyColorContrst",
     "<html lang=\"en\"><body bgcolor=\"#ffffff\" text=\"#777777\" link=\"#0000ff\" vlink=\"#800080\" "
     "alink=\"#ff0000\"><p>Green tea</p></body></html>"},
    {"ImgAltText", "<html lang=\"en\"><body><p><img src=\"images/logo.gif\"></p></body></html>"},
    {"ImgAltTextLong",
     "<html lang=\"en\"><body><p><img src=\"images/chart.png\" alt=\"" + std::string(171, 'x') +
         "\"></p></body></html>"},
    {"ImgAltTextSuspicious", "<html lang=\"en\"><body><p><img src=\"logo.gif\" alt=\"logo.gif\"></p></body></html>"},
    {"ImageMap",
     "<html lang=\"en\"><body><p><a href=\"/cgi-bin/imagemap/harbour.map\"><img src=\"harbour.png\" "
     "alt=\"Harbour\" longdesc=\"harbour.html\" ismap></a> <a href=\"harbour.html\">d</a></p></body></html>"},
    {"ImageMapIsmapTextLinks",
     "<html lang=\"en\"><body><p><a href=\"/cgi-bin/imagemap/harbour.map\"><img src=\"harbour.png\" "
     "alt=\"Harbour\" longdesc=\"harbour.html\" ismap></a> <a href=\"harbour.html\">d</a></p></body></html>"},
    {"ImageMapTextLinks",
     "<html lang=\"en\"><body><p><img src=\"harbour.png\" alt=\"Harbour\" usemap=\"#h\"></p>"
     "<map name=\"h\"><area shape=\"rect\" coords=\"0,0,10,10\" href=\"quay.html\" alt=\"Quay\"></map>"
     "</body></html>"},
    {"MapAltText",
     "<html lang=\"en\"><body><p><img src=\"harbour.png\" alt=\"Harbour\" usemap=\"#h\"></p>"
     "<map name=\"h\"><area shape=\"rect\" coords=\"0,0,10,10\" href=\"quay.html\"></map></body></html>"},
    {"ImgLongdesc", "<html lang=\"en\"><body><p><img src=\"chart.png\" alt=\"Passengers\"></p></body></html>"},
    {"ImageDLink",
     "<html lang=\"en\"><body><p><img src=\"chart.png\" alt=\"Passengers\" longdesc=\"chart.html\"></p>"
     "<p>Passengers per month</p></body></html>"},
    {"InputAltText",
     "<html lang=\"en\"><body><form action=\"/s\"><input type=\"image\" src=\"go.png\"></form></body></html>"},
    {"InputAltTextLong",
     "<html lang=\"en\"><body><form action=\"/s\"><input type=\"image\" src=\"go.png\" alt=\"" +
         std::string(171, 'x') + "\"></form></body></html>"},
    {"InputAltTextSuspicious",
     "<html lang=\"en\"><body><form action=\"/s\"><input type=\"image\" src=\"go.png\" alt=\"go.png\"></form>"
     "</body></html>"},
    {"InputMissingDefault",
     "<html lang=\"en\"><body><form action=\"/s\"><input type=\"text\" name=\"q\"></form></body></html>"},
    {"DeviceDependent",
     "<html lang=\"en\"><body><div onclick=\"openMenu()\">Menu</div></body></html>"},
    {"DeprecatedHtml", ReadFileBytes(std::string(ORVANE_EXAMPLES_DIR) + "/lighthouse-keeper.html")},
    {"DoctypeMissing", "<html lang=\"en\"><head><title>Tea</title></head><body><p>Green tea</p></body></html>"},
    {"FramesetNoframes",
     "<html lang=\"en\"><head><title>Map</title></head><frameset cols=\"50%,50%\"><frame src=\"a.html\">"
     "<frame src=\"b.html\"></frameset></html>"},
    {"Metadata", "<html lang=\"en\"><body><p>Green tea</p></body></html>"},
    {"MapRefresh",
     "<html lang=\"en\"><head><meta http-equiv=\"refresh\" content=\"30; URL=news.html\"><title>News</title></head>"
     "<body><p>News</p></body></html>"},
    {"MapRedirect",
     "<html lang=\"en\"><head><meta http-equiv=\"Refresh\" content=\"0; url=new/index.html\"><title>Moved</title>"
     "</head><body><p>Moved</p></body></html>"},
    {"FrameTitle",
     "<html lang=\"en\"><head><title>Tea</title></head><frameset cols=\"30%,70%\"><frame src=\"menu.html\">"
     "<frame src=\"tea.html\" title=\"Tea\"><noframes><body><p><a href=\"menu.html\">Menu</a></p></body>"
     "</noframes></frameset></html>"},
    {"FrameLongdesc",
     "<html lang=\"en\"><head><title>Tea</title></head><frameset cols=\"20%,40%,40%\"><frame src=\"menu.html\" "
     "title=\"Menu\"><frame src=\"tea.html\" title=\"Tea\"><frame src=\"cup.html\" title=\"Cup\"><noframes><body><p>"
     "<a href=\"menu.html\">Menu</a></p></body></noframes></frameset></html>"},
    {"FrameSource",
     "<html lang=\"en\"><head><title>Map</title></head><frameset cols=\"30%,70%\"><frame src=\"menu.html\" "
     "title=\"Menu\"><frame src=\"images/map.gif\" title=\"Map\"><noframes><body><p><a href=\"menu.html\">Menu</a>"
     "</p></body></noframes></frameset></html>"},
    {"AnchorTranscript",
     "<html lang=\"en\"><body><p><a href=\"sounds/news.wav\">Today's news</a></p></body></html>"},
    {"ObjectAltRep",
     "<html lang=\"en\"><body><p><object data=\"tea.mp4\" type=\"video/mp4\" title=\"Tea\"></object></p>"
     "</body></html>"},
    {"AppletAltText",
     "<html lang=\"en\"><body><p><applet code=\"Tides.class\" width=\"300\" height=\"200\"></applet></p>"
     "</body></html>"},
    {"ObjectTitle",
     "<html lang=\"en\"><body><p><object data=\"tea.mp4\" type=\"video/mp4\"><a href=\"tea.mp4\">Tea "
     "video</a></object></p></body></html>"},
    {"TextLinks",
     "<html lang=\"en\"><body><p>Our teas: <a href=\"teas.html\">click here</a></p></body></html>"},
    {"MissingLanguage", "<html><head><title>Tea</title></head><body><p>Green tea</p></body></html>"},
    {"BlinkMarquee", "<html lang=\"en\"><body><p><blink>New</blink> crossings</p></body></html>"},
    {"HeaderFormatting", "<html lang=\"en\"><body><h2>" + std::string(130, 'x') + "</h2></body></html>"},
    {"NestedHeaders", "<html lang=\"en\"><body><h1>Tea</h1><h3>Green tea</h3><p>Grown on the hills</p></body></html>"},
    {"PotentialHeaders",
     "<html lang=\"en\"><body><h1>Tea</h1><p><b>Green tea</b></p><p>Grown on the hills</p></body></html>"},
    {"QuoteFormat",
     "<html lang=\"en\"><body><p>The keeper's saying:</p><p>&quot;A lamp trimmed at dusk sees every boat home."
     "&quot;</p></body></html>"},
    {"ListForFormat", "<html lang=\"en\"><body><ul><li>Only one offer this week</ul></body></html>"},
    {"ScriptNoscript",
     "<html lang=\"en\"><body><p id=\"clock\"></p><script type=\"text/javascript\">startClock();</script>"
     "</body></html>"},
    {"ScriptSpawnNewWindow",
     "<html lang=\"en\"><head><script type=\"text/javascript\">function tides() { window.open('tides.html'); }"
     "</script></head><body><p>See the <a href=\"tides.html\" onclick=\"tides(); return false\">tides</a></p>"
     "</body></html>"},
    {"TableSummary",
     "<html lang=\"en\"><body><table><tr><th>Tea</th><th>Price</th></tr><tr><td>Green</td><td>4</td></tr>"
     "</table></body></html>"},
    {"TableHeaders",
     "<html lang=\"en\"><body><table summary=\"Teas down, prices across\"><caption>Teas</caption>"
     "<tr><td>Tea</td><td>Price</td></tr><tr><td>Green</td><td>4</td></tr></table></body></html>"},
    {"TableAbbreviations",
     "<html lang=\"en\"><body><table summary=\"Teas down, prices across\"><caption>Teas</caption>"
     "<tr><th>Tea</th><th>Price</th></tr><tr><th>Green</th><td>4</td></tr></table></body></html>"},
    {"TableMultipleTH",
     "<html lang=\"en\"><body><table summary=\"Fares of each route\"><caption>Fares</caption>"
     "<tr><th rowspan=\"2\">Route</th><th colspan=\"2\">Adults</th></tr><tr><th>Single</th><th>Return</th></tr>"
     "<tr><th>Gull Island</th><td>6</td><td>11</td></tr><tr><th>Southwick</th><td>4</td><td>7</td></tr>"
     "</table></body></html>"},
    {"TableCaption",
     "<html lang=\"en\"><body><table summary=\"Teas down, prices across\"><tr><th>Tea</th><th>Price</th></tr>"
     "<tr><td>Green</td><td>4</td></tr></table></body></html>"},
    {"TableStructMarkup",
     "<html lang=\"en\"><body><table summary=\"Layout: menu beside the news\"><tr><th>Menu</th><th>News</th></tr>"
     "<tr><td><a href=\"fares.html\">Fares</a></td><td>A new ferry</td></tr></table></body></html>"},
    {"TableLinearize",
     "<html lang=\"en\"><body><table summary=\"Layout: menu beside the news\"><tr><td>Menu</td><td>News of the week</td></tr></table>"
     "</body></html>"},
    {"TableAbsoluteUnits",
     "<html lang=\"en\"><body><table width=\"760\" summary=\"Layout: the page in a frame\"><tr><td>Menu</td></tr></table></body></html>"},
    {"FramesetAbsoluteUnits",
     "<html lang=\"en\"><head><title>Map</title></head><frameset cols=\"180,*\"><frame src=\"a.html\" "
     "title=\"Menu\"><frame src=\"b.html\" title=\"Map\"><noframes><p>The <a href=\"a.html\">menu</a> and "
     "the map.</p></noframes></frameset></html>"},
    {"LinksSkipover",
     "<html lang=\"en\"><body><p><a href=\"1.html\">1</a> <a href=\"2.html\">2</a> <a href=\"3.html\">3</a> "
     "<a href=\"4.html\">4</a> <a href=\"5.html\">5</a> <a href=\"6.html\">6</a> <a href=\"7.html\">7</a></p>"
     "<p>Green tea from the hills</p></body></html>"},
    {"TextareaText",
     "<html lang=\"en\"><body><form action=\"/s\"><textarea name=\"note\"></textarea></form></body></html>"},
    {"InputMissingLabel",
     "<html lang=\"en\"><body><form action=\"/s\"><p>Tea <input type=\"text\" name=\"tea\" value=\"Green\"></p>"
     "</form></body></html>"},
    {"InputFarLabel",
     "<html lang=\"en\"><body><form action=\"/s\"><p><label for=\"tea\">Tea</label></p><p>Which one?</p>"
     "<p><input type=\"text\" id=\"tea\" name=\"tea\" value=\"Green\"></p></form></body></html>"},
    {"SelectNoLabel",
     "<html lang=\"en\"><body><form action=\"/s\"><p>Tea <select name=\"tea\"><option>Green</option></select></p>"
     "</form></body></html>"},
    {"TextareaLabel",
     "<html lang=\"en\"><body><form action=\"/s\"><p>Note <textarea name=\"note\">None</textarea></p>"
     "</form></body></html>"},
};

struct NamedCheck {
    std::string name;
    std::string pageClass;
};

// The catalogue's checks that are repaired on a page of their own (the
// general warnings share one page, which is always built).
std::vector<NamedCheck> ChecksWithAPage()
{
    std::vector<NamedCheck> checks;
    for (const ElementPtr& element : CreateCatalogueFamilies()) {
        const auto& family = dynamic_cast<const CCatalogueElement&>(*element);
        for (const CheckInfo& info : family.CheckTable()) {
            if (!info.repairPage.empty() && family.IsGrouped(info.bit))
                checks.push_back({std::string(info.name), std::string(info.repairPage)});
        }
    }
    return checks;
}

// Whoever is asked says every table is a data table, as the data table
// checks need, but for one whose summary says it lays out the page: the
// layout table checks need a table the user called a layout table.
class CDataTables final : public ITableTypeQuestion {
public:
    void Ask(std::span<CTableRecord* const> tables) override
    {
        for (CTableRecord* table : tables)
            table->SetType(table->SummaryValue().starts_with("Layout") ? table_type::kLayout : table_type::kData);
    }
};

TEST_F(RepairRunTest, EveryCheckWhosePageIsBuiltOpensThatPageForWhatItReports)
{
    CDataTables dataTables;
    ScopedTableTypeQuestion answering(dataTables);
    std::set<std::string> given;
    for (const NamedCheck& check : ChecksWithAPage()) {
        SCOPED_TRACE(check.name + " -> " + check.pageClass);
        const auto page = kPagesWithTheProblem.find(check.name);
        if (page == kPagesWithTheProblem.end()) {
            EXPECT_FALSE(CRepairPageFactory::Builds(check.pageClass))
                << "the page is built: give the check a page with its problem above";
            continue;
        }
        given.insert(check.name);
        // The applet check runs only where decisions are remembered.
        CSrcObjectDatabase registry{"unused-registry.xml"};
        Load(page->second, &registry);
        CValidatorSheet pages;
        StartSheet(pages, "/site/forms/page.html");
        AddPages(pages, [&](std::string_view name) { return name == check.name; });
        bool served = false;
        for (const CFoundProblem& problem : found) {
            if (problem.element->GetCheckName(problem.bit) == check.name)
                served = served || problem.element->IsRepaired(problem.bit, 0);
        }
        for (int i = 0; i < pages.PageCount(); ++i)
            served = served || pages.Page(i).ClassName() == check.pageClass;
        EXPECT_TRUE(served) << "the check's problem got neither its page nor an automatic repair";
        EXPECT_TRUE(pages.ProblemsWithoutPage().empty());
    }
    // A page with the problem for a check that is gone or renamed tests nothing.
    for (const auto& [name, page] : kPagesWithTheProblem)
        EXPECT_TRUE(given.count(name)) << name << " is not a check with a page of its own";
}

} // namespace
} // namespace orvane::test
