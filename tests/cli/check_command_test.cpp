#include "command_fixture.h"

#include "cli/check_report.h"
#include "cli/commands.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/html/page_encoding.h"
#include "platform/bundle_strings.h"
#include "platform/services.h"
#include "tests/support/test_support.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// Nothing of priority 1 is open: the page reaches level A.
const char* const kGoodPage =
    "<!DOCTYPE html>\n<html lang=\"en\">\n<head><title>Fine</title></head>\n<body>\n<p>Short.</p>\n</body>\n</html>\n";
const char* const kBadPage = "<html>\n<body>\n<img src=\"logo.gif\">\n<p>Text</p>\n</body>\n</html>\n";

class CheckCommand : public test::CommandFixture {
protected:
    std::string Page(const std::string& name, const std::string& bytes) { return Write(name, bytes); }
    int Run(Arguments args)
    {
        args.insert(args.begin(), {"check", "--no-registry"});
        return CommandFixture::Run(args);
    }
    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    json Json(Arguments args, int status = kExitFindings)
    {
        args.insert(args.begin(), {"--format", "json"});
        // A report that cannot be read would pass every test that only
        // looks inside its lists: the run must have checked the pages.
        EXPECT_EQ(Run(args), status) << err.str();
        json report = json::parse(out.str());
        EXPECT_FALSE(report["files"].empty());
        return report;
    }
};

TEST_F(CheckCommand, ExitStatusTellsWhetherAPageHasProblemsAtTheTarget)
{
    std::string bad = Page("bad.html", kBadPage);
    EXPECT_EQ(Run({"--level", "A", bad}), kExitFindings);
    EXPECT_NE(out.str().find(bad + ":3:1: 1 [508] "), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("(ImgAltText)"), std::string::npos);
    EXPECT_EQ(Run({"--level", "A", "--jobs", "1", Page("good.html", kGoodPage)}), kExitOk) << out.str();
}

TEST_F(CheckCommand, AriaNamesCountOnlyWhenAskedFor)
{
    const std::string page = Page("aria.html", "<html>\n<body>\n<img src=\"logo.png\" aria-label=\"Harbour shop\">\n"
                                               "<img src=\"map.png\" aria-labelledby=\"gone\">\n</body>\n</html>\n");
    EXPECT_EQ(Run({"--level", "A", page}), kExitFindings);
    EXPECT_NE(out.str().find("(ImgAltText): logo.png ["), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("(ImgAltText): map.png ["), std::string::npos) << out.str();

    EXPECT_EQ(Run({"--level", "A", "--aria", page}), kExitFindings);
    EXPECT_EQ(out.str().find("(ImgAltText): logo.png"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("(ImgAltText): map.png - aria-labelledby names the id \"gone\", which no element of this page has"),
              std::string::npos)
        << out.str();
    // The run's choice is not stored.
    COrvaneSettings stored;
    stored.Load();
    EXPECT_FALSE(stored.GetAriaNames());
}

TEST_F(CheckCommand, ARegistryIsAlwaysThereAndANamedOneMustBeReadable)
{
    std::string applet = Page("applet.html", "<html><body><applet code=a.class></applet></body></html>\n");
    EXPECT_EQ(Run({"--all", applet}), kExitFindings);
    EXPECT_NE(out.str().find("(AppletAltText)"), std::string::npos) << out.str();

    const std::string missing = (folder / "none.xml").string();
    const std::string junk = Page("junk.xml", "not a registry\n");
    for (const std::string& file : {missing, junk}) {
        out.str("");
        err.str("");
        EXPECT_EQ(RunMain({"check", "--registry", file, applet}, out, err), kExitError) << file;
        EXPECT_NE(err.str().find(file), std::string::npos) << err.str();
    }
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_EQ(test::ReadFileBytes(junk), "not a registry\n");
}

TEST_F(CheckCommand, TheLevelDecidesWhatCountsAndAllShowsTheRest)
{
    std::string page = Page("p.html", "<html lang=en><body><table><tr><td>x</td></tr></table></body></html>");
    json atA = Json({"--level", "A", page});
    for (const json& problem : atA["files"][0]["problems"])
        EXPECT_TRUE(problem["atLevel"].get<bool>());
    bool summaryAtA = false;
    for (const json& problem : atA["files"][0]["problems"])
        summaryAtA = summaryAtA || problem["check"] == "TableSummary";
    EXPECT_FALSE(summaryAtA);  // a priority 3 check
    json all = Json({"--level", "A", "--all", page});
    bool summaryOutside = false;
    for (const json& problem : all["files"][0]["problems"])
        summaryOutside = summaryOutside || (problem["check"] == "TableSummary" && !problem["atLevel"].get<bool>());
    EXPECT_TRUE(summaryOutside);
    json atAAA = Json({"--level", "AAA", page});
    EXPECT_EQ(atAAA["files"][0]["target"], "AAA");
    EXPECT_EQ(atAAA["files"][0]["unclassifiedTables"], 1);
}

TEST_F(CheckCommand, JsonCarriesTheLocationsOfTheProblems)
{
    json report = Json({"--level", "AAA", Page("bad.html", kBadPage)});
    ASSERT_EQ(report["files"].size(), 1u);
    const json& file = report["files"][0];
    EXPECT_EQ(file["achieved"], "none");
    EXPECT_TRUE(file.contains("achievedIfWarningsConfirmed"));
    bool found = false;
    for (const json& problem : file["problems"]) {
        if (problem["check"] == "ImgAltText") {
            found = true;
            EXPECT_EQ(problem["line"], 3);
            EXPECT_EQ(problem["column"], 1);
            EXPECT_EQ(problem["family"], 44);
            EXPECT_EQ(problem["text"], "logo.gif");
            EXPECT_EQ(problem["helpTopic"], "1-1-1.html");
        }
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(report["summary"]["files"], 1);
}

TEST_F(CheckCommand, SarifListsTheCatalogueAsRules)
{
    EXPECT_EQ(Run({"--format", "sarif", "--level", "AAA", Page("bad.html", kBadPage)}), kExitFindings) << err.str();
    json sarif = json::parse(out.str());
    EXPECT_EQ(sarif["version"], "2.1.0");
    const json& run = sarif["runs"][0];
    EXPECT_EQ(run["tool"]["driver"]["rules"].size(), 67u);  // pre and xmp share two checks
    bool located = false;
    for (const json& result : run["results"]) {
        if (result["ruleId"] == "ImgAltText") {
            located = result["locations"][0]["physicalLocation"]["region"]["startLine"] == 3;
            EXPECT_EQ(run["tool"]["driver"]["rules"][result["ruleIndex"].get<int>()]["id"], "ImgAltText");
        }
    }
    EXPECT_TRUE(located);
}

TEST_F(CheckCommand, JunitHasATestCasePerApplicableCheck)
{
    EXPECT_EQ(Run({"--format", "junit", "--level", "A", Page("bad.html", kBadPage)}), kExitFindings) << err.str();
    std::string xml = out.str();
    EXPECT_NE(xml.find("<testcase name=\"ImgAltText\""), std::string::npos);
    EXPECT_NE(xml.find("<failure message="), std::string::npos);
    EXPECT_EQ(xml.find("name=\"TableSummary\""), std::string::npos);  // not at level A
}

// Each format names the WCAG 2.2 success criteria of a problem's check, and
// says so when a check has none (a missing document type: its criterion,
// 4.1.1 Parsing, was removed from 2.2).
TEST_F(CheckCommand, EveryFormatCarriesTheWcag2CriteriaOfTheChecks)
{
    const std::string bad = Page("bad.html", kBadPage);

    json report = Json({"--level", "AAA", bad});
    std::map<std::string, json> byCheck;
    for (const json& problem : report["files"][0]["problems"])
        byCheck[problem["check"]] = problem["wcag2"];
    EXPECT_EQ(byCheck["ImgAltText"],
              json::parse(R"j([{"level": "A", "name": "Non-text Content", "number": "1.1.1"},
                              {"level": "A", "name": "Link Purpose (In Context)", "number": "2.4.4"}])j"));
    ASSERT_TRUE(byCheck.contains("DoctypeMissing"));
    EXPECT_EQ(byCheck["DoctypeMissing"], json::array());

    EXPECT_EQ(Run({"--format", "sarif", "--level", "AAA", bad}), kExitFindings) << err.str();
    json sarif = json::parse(out.str());
    std::map<std::string, json> rules;
    for (const json& rule : sarif["runs"][0]["tool"]["driver"]["rules"])
        rules[rule["id"]] = rule;
    EXPECT_EQ(rules["ImgAltText"]["properties"]["tags"],
              json::parse(R"(["accessibility", "WCAG2.2:1.1.1", "WCAG2.2:A", "WCAG2.2:2.4.4"])"));
    EXPECT_EQ(rules["ImgAltText"]["help"]["text"],
              "WCAG 2.2 success criteria:\n- 1.1.1 Non-text Content (A)\n- 2.4.4 Link Purpose (In Context) (A)");
    // A check WCAG 2 does not require as such names its closest criterion as
    // only that, so that nobody files it as a failure of the criterion.
    EXPECT_EQ(rules["TableCaption"]["help"]["text"],
              "WCAG 2.2 has no counterpart; closest success criteria:\n- 1.3.1 Info and Relationships (A)");
    EXPECT_EQ(rules["TableSummary"]["help"]["text"], "WCAG 2.2: no WCAG 2 counterpart.");
    EXPECT_EQ(rules["BodyColorContrst"]["properties"]["tags"],
              json::parse(R"(["accessibility", "WCAG2.2:1.4.3", "WCAG2.2:AA", "WCAG2.2:1.4.6", "WCAG2.2:AAA"])"));
    EXPECT_EQ(rules["DoctypeMissing"]["help"]["text"], "WCAG 2.2: no WCAG 2 counterpart.");

    EXPECT_EQ(Run({"--format", "junit", "--level", "A", bad}), kExitFindings) << err.str();
    EXPECT_NE(out.str().find("<testcase name=\"ImgAltText\" classname=\"" + bad + "\">\n"
                             "      <properties><property name=\"wcag2\" value=\"1.1.1 Non-text Content (A); 2.4.4 Link Purpose "
                             "(In Context) (A)\"/>"
                             "</properties>\n      <failure message="),
              std::string::npos)
        << out.str();

    // The text format names them only when asked, as its lines are read by people.
    EXPECT_EQ(Run({"--level", "AAA", bad}), kExitFindings) << err.str();
    EXPECT_EQ(out.str().find("WCAG 2"), std::string::npos);
    EXPECT_EQ(Run({"--level", "AAA", "--wcag2", bad}), kExitFindings) << err.str();
    EXPECT_NE(out.str().find("(ImgAltText): logo.gif [help: 1-1-1.html] [WCAG 2: 1.1.1 Non-text Content (A); "
                             "2.4.4 Link Purpose (In Context) (A)]\n"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("(DoctypeMissing): "), std::string::npos);
    EXPECT_NE(out.str().find("[WCAG 2: no WCAG 2 counterpart]\n"), std::string::npos);

    // The HTML report: a column of the problems, the criteria in the check's
    // facts, and a summary per criterion.
    const std::string html = (folder / "report.html").string();
    EXPECT_EQ(Run({"--format", "html", "--output", html, "--level", "AAA", "--help-base", "", bad}), kExitFindings) << err.str();
    const std::string page = ReadFile(html);
    EXPECT_NE(page.find("<th scope=\"col\">WCAG 2</th>"), std::string::npos);
    EXPECT_NE(page.find("<td><abbr title=\"Non-text Content\">1.1.1</abbr>\u00a0A</td>"), std::string::npos);
    EXPECT_NE(page.find("WCAG 2.2: 1.1.1 Non-text Content (A)"), std::string::npos);
    const std::size_t summary = page.find("<h3 id=\"by-wcag2\">");
    ASSERT_NE(summary, std::string::npos);
    const std::size_t row = page.find("<tr><th scope=\"row\">1.1.1 Non-text Content</th><td>A</td>", summary);
    ASSERT_NE(row, std::string::npos);
    EXPECT_LT(row, page.find("</table>", summary));
    EXPECT_NE(page.find("<tr><th scope=\"row\">No WCAG 2 counterpart</th>", summary), std::string::npos);
}

TEST_F(CheckCommand, AnUnreadableFileIsNamedAndTheOthersAreChecked)
{
    std::string good = Page("a/good.html", kGoodPage);
    std::string missing = (folder / "a" / "missing.html").string();
    json report = Json({"--level", "A", good, missing}, kExitError);
    EXPECT_NE(err.str().find(missing), std::string::npos);
    ASSERT_EQ(report["files"].size(), 2u);
    EXPECT_EQ(report["files"][0]["achieved"], "A");
    EXPECT_TRUE(report["files"][1].contains("error"));
    EXPECT_EQ(Run({"--level", "A", good, missing}), kExitError);
}

TEST_F(CheckCommand, FoldersAreSearchedForPagesInNameOrder)
{
    Page("site/b.html", kGoodPage);
    Page("site/a.htm", kGoodPage);
    Page("site/deep/c.SHTML", kGoodPage);
    Page("site/notes.txt", "no page");
    json report = Json({"--level", "A", (folder / "site").string()}, kExitOk);
    ASSERT_EQ(report["files"].size(), 3u);
    EXPECT_NE(report["files"][0]["path"].get<std::string>().find("a.htm"), std::string::npos);
    EXPECT_NE(report["files"][1]["path"].get<std::string>().find("b.html"), std::string::npos);
    EXPECT_NE(report["files"][2]["path"].get<std::string>().find("deep"), std::string::npos);
}

TEST_F(CheckCommand, ParallelChecksKeepTheOrderOfTheFiles)
{
    std::vector<std::string> pages;
    for (int i = 0; i < 12; ++i)
        pages.push_back(Page("p" + std::to_string(10 + i) + ".html", i % 2 ? kGoodPage : kBadPage));
    Arguments args{"--format", "json", "--level", "A", "--jobs", "4"};
    args.insert(args.end(), pages.begin(), pages.end());
    EXPECT_EQ(Run(args), kExitFindings) << err.str();
    json report = json::parse(out.str());
    ASSERT_EQ(report["files"].size(), pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(report["files"][i]["path"], pages[i]);
        EXPECT_EQ(report["files"][i]["achieved"], i % 2 ? "A" : "none");
    }
}

TEST_F(CheckCommand, TheHtmlReportPassesItsOwnChecks)
{
    std::string report = (folder / "report.html").string();
    EXPECT_EQ(Run({"--format", "html", "--output", report, "--level", "AAA", "--all", Page("bad.html", kBadPage),
         Page("good.html", kGoodPage)}), kExitFindings) << err.str();
    ASSERT_TRUE(fs::exists(report));
    EXPECT_EQ(Run({"--format", "json", "--level", "AAA", report}), kExitFindings) << err.str();
    json checked = json::parse(out.str());
    for (const json& problem : checked["files"][0]["problems"]) {
        bool allowed = !problem["grouped"].get<bool>() || problem["check"] == "TextLinks";
        EXPECT_TRUE(allowed) << problem.dump();
    }
}

TEST_F(CheckCommand, TheHtmlReportOverviewsThePagesAndShowsTheMarkupAtFault)
{
    std::string twoImages = Page("two <images>.html", "<html>\n<body>\n  <p>See <img src=\"a&b.gif\"> and\n"
                                                       "<img src=\"c.gif\"></p>\n</body>\n</html>\n");
    std::string good = Page("good.html", kGoodPage);
    std::string report = (folder / "report.html").string();
    EXPECT_EQ(Run({"--format", "html", "--output", report, "--level", "A", "--help-base", "https://example.org/help",
                   twoImages, good}),
              kExitFindings);
    std::string html = ReadFile(report);
    auto count = [&](const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = html.find(what); at != std::string::npos; at = html.find(what, at + 1))
            ++n;
        return n;
    };
    auto before = [&](const std::string& first, const std::string& second) {
        return html.find(first) != std::string::npos && html.find(first) < html.find(second);
    };
    // The overview links every page to its section, escaped, in each order of the sortable table.
    EXPECT_NE(html.find("<a href=\"#p1\">two &lt;images&gt;.html</a>"), std::string::npos);
    EXPECT_EQ(count("<a href=\"#p2\">"), count("<a href=\"#p1\">"));
    EXPECT_NE(html.find("<th scope=\"col\">Level reached</th>"), std::string::npos);
    EXPECT_NE(html.find("id=\"p2\""), std::string::npos);
    EXPECT_TRUE(before("href=\"#pages\"", "<h2 id=\"overview\">"));  // the skip link comes first
    // The chart: one bar per check, the check with the most problems first.
    EXPECT_NE(html.find("<svg"), std::string::npos);
    EXPECT_TRUE(before("Images without a text alternative (WCAG 1.0 checkpoint 1.1): 2", "</desc>")) << html;
    // The check is described once for its two problems, each with its line, column and source.
    EXPECT_EQ(count("<h4>Images without a text alternative (WCAG 1.0 checkpoint 1.1) (2)</h4>"), 1u);
    EXPECT_EQ(count("<a class=\"help\" href=\"https://example.org/help/1-1-1.html\">Help topic 1-1-1.html</a>"), 1u);
    EXPECT_NE(html.find("<td class=\"num\">3</td><td class=\"num\">10</td>"), std::string::npos);
    EXPECT_NE(html.find("<code>&lt;p&gt;See <mark>&lt;img src=&quot;a&amp;b.gif&quot;&gt;</mark> and</code>"),
              std::string::npos);
    EXPECT_EQ(html.find("<script"), std::string::npos);

    // Without a help address the topics are named, not linked.
    EXPECT_EQ(Run({"--format", "html", "--output", report, "--level", "A", "--help-base", "", twoImages}), kExitFindings) << err.str();
    html = ReadFile(report);
    EXPECT_NE(html.find("Help topic 1-1-1.html"), std::string::npos);
    EXPECT_EQ(html.find("1-1-1.html\""), std::string::npos);
}

// Page text reaches every report decoded from the page's own encoding, its
// references resolved; the reports themselves are UTF-8 whatever the pages are.
TEST_F(CheckCommand, PageTextIsReadInThePagesOwnEncodingInEveryFormat)
{
    const std::string latin1 = Page("latin1.html",
                                    "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                                    "charset=iso-8859-1\"></head>\n<body>\n<img src=\"gr\xF6\xDF" "e.gif\">\n</body>\n</html>\n");
    const std::string windows1252 = Page("cp1252.html",
                                         "<html>\n<head><meta charset=\"windows-1252\"></head>\n<body>\n"
                                         "<img src=\"\x80-Preise&amp;Kosten.gif\">\n</body>\n</html>\n");
    const std::string utf8 = Page("utf8.html", "<html>\n<body>\n<img src=\"gr\xC3\xB6\xC3\x9F" "e.gif\">\n</body>\n</html>\n");

    json report = Json({"--level", "A", latin1, windows1252, utf8});
    std::map<std::string, std::pair<std::string, std::string>> found;  // file name: encoding, image text
    for (const json& file : report["files"]) {
        const std::string name = fs::path(file["path"].get<std::string>()).filename().string();
        for (const json& problem : file["problems"]) {
            if (problem["check"] == "ImgAltText")
                found[name] = {file["encoding"].get<std::string>(), problem["text"].get<std::string>()};
        }
    }
    using Found = std::pair<std::string, std::string>;
    EXPECT_EQ(found["latin1.html"], Found("windows-1252", "gr\u00f6\u00dfe.gif"));
    EXPECT_EQ(found["cp1252.html"], Found("windows-1252", "\u20ac-Preise&Kosten.gif"));
    EXPECT_EQ(found["utf8.html"], Found("UTF-8", "gr\u00f6\u00dfe.gif"));

    for (const char* format : {"sarif", "junit", "text"}) {
        EXPECT_EQ(Run({"--format", format, "--level", "A", latin1, windows1252}), kExitFindings) << err.str();
        EXPECT_TRUE(IsValidUtf8(out.str())) << format;
        EXPECT_NE(out.str().find("gr\u00f6\u00dfe.gif"), std::string::npos) << format << out.str();
        EXPECT_NE(out.str().find("\u20ac-Preise"), std::string::npos) << format;
        if (std::string_view(format) == "sarif") {
            EXPECT_TRUE(json::accept(out.str())) << format;
        }
    }

    // The HTML report shows the markup at fault as the page writes it, in UTF-8.
    const std::string html = (folder / "report.html").string();
    EXPECT_EQ(Run({"--format", "html", "--output", html, "--level", "A", latin1, windows1252}), kExitFindings);
    const std::string written = ReadFile(html);
    EXPECT_TRUE(IsValidUtf8(written));
    EXPECT_NE(written.find("<mark>&lt;img src=&quot;gr\u00f6\u00dfe.gif&quot;&gt;</mark>"), std::string::npos);
    EXPECT_NE(written.find("<mark>&lt;img src=&quot;\u20ac-Preise&amp;amp;Kosten.gif&quot;&gt;</mark>"),
              std::string::npos);
}

TEST(SourceExcerpt, LongLinesAreCutAroundTheProblemBetweenCharacters)
{
    std::string page = "<p>\r\n\t  <b>bold</b>\r\nnext";
    SourceExcerpt line = ExcerptAround(page, page.find("<b>"), 3);
    EXPECT_EQ(line.text, "<b>bold</b>");  // without indentation and line break
    EXPECT_EQ(line.markStart, 0u);
    EXPECT_EQ(line.markLength, 3u);
    EXPECT_FALSE(line.cutBefore || line.cutAfter);

    std::string accented;
    for (int i = 0; i < 200; ++i)
        accented += "\xc3\xa9";  // é
    std::string minified = accented + "<img src=x>" + accented;
    SourceExcerpt cut = ExcerptAround(minified, accented.size(), 11);
    EXPECT_TRUE(cut.cutBefore && cut.cutAfter);
    EXPECT_LE(cut.text.size(), 200u);
    EXPECT_EQ(cut.text.substr(cut.markStart, cut.markLength), "<img src=x>");
    EXPECT_EQ(cut.text.front(), '\xc3');
    EXPECT_EQ(cut.text.back(), '\xa9');
}

TEST_F(CheckCommand, UsageErrors)
{
    EXPECT_EQ(Run({}), kExitError);
    EXPECT_EQ(Run({"--level", "B", "x.html"}), kExitError);
    EXPECT_EQ(Run({"--format", "pdf", "x.html"}), kExitError);
    EXPECT_EQ(Run({"--jobs", "0", "x.html"}), kExitError);
    EXPECT_EQ(Run({"--bogus", "x.html"}), kExitError);
    EXPECT_EQ(Run({"x.html", "--help-base"}), kExitError);
    EXPECT_NE(err.str().find("usage"), std::string::npos);
}

} // namespace
} // namespace orvane::cli
