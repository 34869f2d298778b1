// Decisions people make in a session, remembered in a site's registry and
// trusted by the command line wherever the site is checked out.
#include "cli/commands.h"
#include "cli/page_loading.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/family_factory.h"
#include "library/html/html_document.h"
#include "library/registry/object_database.h"
#include "library/rules/rule.h"
#include "library/registry/judgement_key.h"
#include "library/ui/judgement_keys.h"
#include "library/ui/overview_dialog.h"
#include "library/ui/pages/judgements/page_flicker.h"
#include "library/ui/pages/judgements/page_warnings.h"
#include "library/ui/problem_list.h"
#include "library/ui/validator_sheet.h"
#include "platform/bundle_strings.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "tests/support/memory_window.h"
#include "tests/support/test_support.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using test::CMemoryWindow;

enum : int { kOverview = 229, kTree = 1107, kList = 1267, kRepair = 1043, kTableQuestion = 239,
             kLayoutTable = 1147, kTableFinish = 1318 };

// A German timetable whose clock may flicker; the page uses colours and may
// change its language: three things a person judges, nothing to repair.
const char* const kTimetable =
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\n"
    "<html lang=\"de\"><head><title>Fahrplan der F\xc3\xa4hre</title></head>\n"
    "<body><h1>Fahrplan</h1><p>Die F\xc3\xa4hre f\xc3\xa4hrt jeden Tag um neun Uhr ab, bei jedem Wetter und auch an "
    "Feiertagen.</p>\n"
    "<p><object data=\"uhr.swf\" type=\"application/x-shockwave-flash\">Die Uhr zeigt die Abfahrtszeit.</object></p>\n"
    "%TABLE%</body></html>\n";

std::string TimetablePage(const std::string& table = {})
{
    std::string page = kTimetable;
    page.replace(page.find("%TABLE%"), 7, table);
    return page;
}

std::string PricesTable(const std::string& price)
{
    return "<table><tr><td>Hinfahrt</td><td>" + price + "</td></tr><tr><td>R\xc3\xbc" "ckfahrt</td><td>3 Euro</td></tr>"
           "</table>\n";
}

class Decisions : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        platform::InstallBundleStrings("OrvaneResources.rcc");
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
    }

    void SetUp() override
    {
        home = std::getenv("ORVANE_HOME");
        m_store = platform::CreateFileRegistry((home / "UserRegistry.reg").string());
        m_storeScope.emplace(*m_store);
        settings.Load();
        settings.SetConformanceLevel(1);
        setenv("ORVANE_USER", "alice", 1);
    }

    void TearDown() override
    {
        unsetenv("ORVANE_USER");
        fs::current_path(m_startFolder);
    }

    static fs::path Write(const fs::path& path, const std::string& bytes)
    {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // A site with a registry of its own that knows nothing yet.
    static void MakeSite(const fs::path& site)
    {
        Write(site / ".orvane" / "registry.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n</root>");
    }

    // The head in the overview's tree whose check is named so; 0 when none.
    static platform::TreeItem NodeOf(CMemoryWindow& w, const std::function<bool(const CProblemEntry&)>& wanted)
    {
        for (auto root : w.TreeChildren(kTree, 0)) {
            for (auto node : w.TreeChildren(kTree, root)) {
                if (wanted(*reinterpret_cast<CProblemEntry*>(w.TreeItemData(kTree, node))))
                    return node;
            }
        }
        return 0;
    }

    // Every row of the node chosen and repaired on the sheet with the steps.
    void Repair(CMemoryWindow& w, platform::TreeItem node, const std::function<void(CMemoryWindow& page)>& steps)
    {
        ASSERT_NE(node, 0);
        w.SelectTreeItemAsUser(kTree, node);
        for (int row = 0; row < w.ItemCount(kList); ++row)
            w.SelectRow(kList, row);
        windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& sheet) {
            steps(sheet.PageWindow(0));
            sheet.Click(platform::kIdFinish);
        });
        w.Click(kRepair);
    }

    // A session in the desktop checker on the page at path: the user judges
    // that nothing flickers and that the general warnings are considered,
    // answers an unknown table as a layout table, and closes with OK. The level reached.
    int JudgeInSession(const fs::path& path, bool tableAsked = false)
    {
        CHtmlDocument document(CFamilyElementFactory::Instance());
        std::ostringstream error;
        EXPECT_TRUE(LoadPage(document, path.string(), error)) << error.str();
        if (tableAsked) {
            windows.WhenShown(kTableQuestion, [](CMemoryWindow& w) {
                w.Click(kLayoutTable);
                w.Click(kTableFinish);
            });
        }
        windows.WhenShown(kOverview, [&](CMemoryWindow& w) {
            Repair(w,
                   NodeOf(w, [](const CProblemEntry& e) { return e.Element().GetCheckName(e.Bit()) == "CheckFlicker"; }),
                   [](CMemoryWindow& page) { page.Click(CPageFlicker::kNoFlicker); });
            Repair(w, NodeOf(w, [](const CProblemEntry& e) { return !e.IsGrouped(); }),
                   [](CMemoryWindow& page) { page.SetChecked(CPageWarnings::kConfirmBox, true); });
            w.Click(platform::kIdOk);
        });
        COverviewDialog overview;
        overview.Prepare(document, settings, path.string());
        overview.RunModal();
        return overview.AchievedLevel();
    }

    // `orvane check` run in the folder on the page, as CI runs it.
    int CheckIn(const fs::path& folder, Arguments args)
    {
        out.str("");
        err.str("");
        fs::current_path(folder);
        args.insert(args.begin(), {"check", "--level", "A"});
        const int status = RunMain(args, out, err);
        fs::current_path(m_startFolder);
        return status;
    }

    fs::path home;
    COrvaneSettings settings;
    test::CMemoryWindows windows;
    std::ostringstream out;
    std::ostringstream err;

private:
    fs::path m_startFolder = fs::current_path();
    std::unique_ptr<platform::IRegistry> m_store;
    std::optional<platform::ScopedRegistry> m_storeScope;
};

TEST_F(Decisions, WhatIsJudgedInASessionIsSettledInCiOnTheRelativePathAndOpenWithoutTheRegistry)
{
    const fs::path site = home / "site";
    MakeSite(site);
    const fs::path page = Write(site / "fahrplan" / "index.html", TimetablePage());
    EXPECT_EQ(JudgeInSession(page), kLevelA);

    // Kept with the site, by the page's path within it, one record a line, by key.
    const std::string registry = Read(site / ".orvane" / "registry.xml");
    EXPECT_NE(registry.find("<document filename=\"fahrplan/index.html\""), std::string::npos) << registry;
    EXPECT_NE(registry.find("check=\"CheckFlicker\""), std::string::npos) << registry;
    EXPECT_NE(registry.find("verdict=\"nothing flickers\" by=\"alice\""), std::string::npos) << registry;
    EXPECT_NE(registry.find("<judgement check=\"UsingColor\" key=\"page\" verdict=\"warnings considered\""),
              std::string::npos)
        << registry;
    EXPECT_EQ(Read(page), TimetablePage());

    // The next session shows them settled, with who and when, and asks nothing again.
    CHtmlDocument again(CFamilyElementFactory::Instance());
    std::ostringstream error;
    ASSERT_TRUE(LoadPage(again, page.string(), error)) << error.str();
    windows.WhenShown(kOverview, [&](CMemoryWindow& w) {
        w.SelectTreeItemAsUser(
            kTree, NodeOf(w, [](const CProblemEntry& e) { return e.Element().GetCheckName(e.Bit()) == "CheckFlicker"; }));
        ASSERT_EQ(w.ItemCount(kList), 1);
        EXPECT_EQ(w.ItemText(kList, 0, 1), "settled");
        // Its own icon, read out as its state; the check's head in the tree too.
        EXPECT_EQ(w.ItemStateText(kList, 0), "settled");
        EXPECT_EQ(w.ItemIcon(kList, 0), 11);
        EXPECT_EQ(w.TreeItemImage(kTree, NodeOf(w, [](const CProblemEntry& e) {
                      return e.Element().GetCheckName(e.Bit()) == "CheckFlicker";
                  })),
                  10);
        EXPECT_NE(w.ItemText(kList, 0, 0).find("Settled: nothing flickers (by alice on "), std::string::npos)
            << w.ItemText(kList, 0, 0);
        w.SelectRow(kList, 0);
        w.Click(kRepair);  // a sheet opened here would fail the test: it has no script
        w.Click(platform::kIdOk);
    });
    {
        COverviewDialog overview;
        overview.Prepare(again, settings, page.string());
        overview.RunModal();
        EXPECT_EQ(overview.AchievedLevel(), kLevelA);
    }

    EXPECT_EQ(CheckIn(site, {"fahrplan/index.html"}), kExitOk) << out.str() << err.str();
    EXPECT_NE(out.str().find("target A, achieved A"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("settled: Content that may make the screen flicker"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("3 settled by remembered verdicts"), std::string::npos) << out.str();

    // The formats CI reads say so in their own way.
    EXPECT_EQ(CheckIn(site / "fahrplan", {"--format", "sarif", "index.html"}), kExitOk) << err.str();
    const json sarif = json::parse(out.str());
    int dismissed = 0;
    for (const json& result : sarif["runs"][0]["results"]) {
        ASSERT_TRUE(result.contains("suppressions")) << result.dump();
        EXPECT_EQ(result["suppressions"][0]["kind"], "external");
        dismissed += result["suppressions"][0]["justification"] == "nothing flickers" ? 1 : 0;
    }
    EXPECT_EQ(dismissed, 1);
    EXPECT_EQ(CheckIn(site, {"--format", "junit", "fahrplan/index.html"}), kExitOk);
    EXPECT_NE(out.str().find("<skipped message=\"settled: nothing flickers by alice on "), std::string::npos)
        << out.str();

    EXPECT_EQ(CheckIn(site, {"--no-registry", "--format", "json", "fahrplan/index.html"}), kExitFindings);
    const json open = json::parse(out.str());
    EXPECT_EQ(open["files"][0]["achieved"], "none");
    for (const json& problem : open["files"][0]["problems"])
        EXPECT_FALSE(problem.contains("settled"));
}

// At a WCAG 2.2 target what a rule cannot tell is judged in the session and
// settled for CI at the same target; without the registry it is open again.
TEST_F(Decisions, ARuleFindingJudgedInASessionAtAWcag22TargetIsSettledInCi)
{
    constexpr const char* kRule = "visible-label-in-accessible-name";
    const fs::path site = home / "site22";
    MakeSite(site);
    const fs::path page = Write(site / "index.html",
                                "<!DOCTYPE html>\n<html lang=\"en\"><head><title>Ferry</title></head>\n<body>\n"
                                "<p><button aria-label=\"Close the timetable\">X</button></p>\n</body></html>\n");
    settings.SetConformanceLevel(level::kWcag22AA);
    {
        CHtmlDocument document(CFamilyElementFactory::Instance());
        std::ostringstream error;
        ASSERT_TRUE(LoadPage(document, page.string(), error)) << error.str();
        windows.WhenShown(kOverview, [&](CMemoryWindow& w) {
            Repair(w, NodeOf(w, [&](const CProblemEntry& e) { return e.Rule() && e.Rule()->id == kRule; }),
                   [](CMemoryWindow& warnings) { warnings.SetChecked(CPageWarnings::kConfirmBox, true); });
            w.Click(platform::kIdOk);
        });
        COverviewDialog overview;
        overview.Prepare(document, settings, page.string());
        overview.RunModal();
    }
    const std::string registry = Read(site / ".orvane" / "registry.xml");
    EXPECT_NE(registry.find(std::string("check=\"") + kRule + "\""), std::string::npos) << registry;

    auto problemOfRule = [&](const std::vector<std::string>& options) {
        out.str("");
        err.str("");
        fs::current_path(site);
        Arguments args{"check", "--level", "2.2-AA", "--format", "json"};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back("index.html");
        RunMain(args, out, err);
        fs::current_path(home);
        const json report = json::parse(out.str());
        for (const json& problem : report["files"][0]["problems"]) {
            if (problem["check"] == kRule)
                return problem;
        }
        return json();
    };
    const json judged = problemOfRule({});
    ASSERT_TRUE(judged.contains("settled")) << out.str() << err.str();
    EXPECT_EQ(judged["settled"]["verdict"], "warnings considered");
    EXPECT_EQ(judged["settled"]["by"], "alice");
    const json open = problemOfRule({"--no-registry"});
    ASSERT_TRUE(open.is_object()) << out.str();
    EXPECT_FALSE(open.contains("settled"));
}

TEST_F(Decisions, AFirstSessionWithoutARegistryFileSeesItsVerdictSettledAtOnceAndWritesIt)
{
    // No site registry and the user's own not made yet: the session writes it.
    const fs::path own = CSrcObjectDatabase::DefaultFilePath();
    fs::remove(own);
    const fs::path page = Write(home / "loose" / "fahrplan.html", TimetablePage());
    CHtmlDocument document(CFamilyElementFactory::Instance());
    std::ostringstream error;
    ASSERT_TRUE(LoadPage(document, page.string(), error)) << error.str();
    auto flicker = [](const CProblemEntry& e) { return e.Element().GetCheckName(e.Bit()) == "CheckFlicker"; };
    windows.WhenShown(kOverview, [&](CMemoryWindow& w) {
        Repair(w, NodeOf(w, flicker), [](CMemoryWindow& sheet) { sheet.Click(CPageFlicker::kNoFlicker); });
        // Looked up again after the run: the verdict just given is found.
        const platform::TreeItem node = NodeOf(w, flicker);
        ASSERT_NE(node, 0);
        const auto* judged = reinterpret_cast<CProblemEntry*>(w.TreeItemData(kTree, node));
        ASSERT_NE(judged->Settlement(), nullptr);
        EXPECT_EQ(judged->Settlement()->verdict, "nothing flickers");
        w.Click(platform::kIdOk);
    });
    {
        COverviewDialog overview;
        overview.Prepare(document, settings, page.string());
        overview.RunModal();
    }
    CSrcObjectDatabase written;
    ASSERT_EQ(written.Load(), 1);
    ASSERT_NE(written.FindDocument(page.string()), nullptr);
    EXPECT_TRUE(written.FindDocument(page.string())->HasJudgements());
}

TEST_F(Decisions, TheOverviewStartsASiteRegistryWhereThePageIsAndNeverOverAnotherOne)
{
    constexpr int kSiteRegistry = 1289;
    const fs::path site = home / "new-site";
    const fs::path page = Write(site / "fahrplan.html", TimetablePage());
    const fs::path file = site / ".orvane" / "registry.xml";
    CHtmlDocument document(CFamilyElementFactory::Instance());
    std::ostringstream error;
    ASSERT_TRUE(LoadPage(document, page.string(), error)) << error.str();
    const auto overview = [&](const std::function<void(CMemoryWindow&)>& steps) {
        windows.WhenShown(kOverview, [&](CMemoryWindow& w) {
            steps(w);
            w.Click(platform::kIdOk);
        });
        COverviewDialog dialog;
        dialog.Prepare(document, settings, page.string());
        dialog.RunModal();
    };

    // Declined: nothing made.
    overview([&](CMemoryWindow& w) {
        ASSERT_TRUE(w.IsEnabled(kSiteRegistry));
        windows.AnswerNextMessage(platform::kAnswerNo);
        w.Click(kSiteRegistry);
    });
    ASSERT_FALSE(windows.prompt.messages.empty());
    EXPECT_NE(windows.prompt.messages.back().text.find(site.string()), std::string::npos);
    EXPECT_FALSE(fs::exists(file));

    // Accepted: made empty in the page's folder, and the user told where.
    overview([&](CMemoryWindow& w) {
        windows.AnswerNextMessage(platform::kAnswerYes);
        w.Click(kSiteRegistry);
    });
    ASSERT_TRUE(fs::exists(file));
    EXPECT_NE(windows.prompt.messages.back().text.find(file.string() + " was created"), std::string::npos)
        << windows.prompt.messages.back().text;
    CSrcObjectDatabase made;
    made.UseSiteRegistry(file.string());
    EXPECT_EQ(made.Load(), 1);

    // The next session keeps its verdicts there, by the page's path in the site.
    EXPECT_EQ(JudgeInSession(page), kLevelA);
    const std::string judged = Read(file);
    EXPECT_NE(judged.find("<document filename=\"fahrplan.html\""), std::string::npos) << judged;

    // Asked again, from a page further down: the registry above is named and left as it is.
    const fs::path deeper = Write(site / "archiv" / "alt.html", TimetablePage());
    CHtmlDocument old(CFamilyElementFactory::Instance());
    ASSERT_TRUE(LoadPage(old, deeper.string(), error)) << error.str();
    const std::size_t told = windows.prompt.messages.size();
    windows.WhenShown(kOverview, [&](CMemoryWindow& w) {
        w.Click(kSiteRegistry);
        w.Click(platform::kIdOk);
    });
    {
        COverviewDialog dialog;
        dialog.Prepare(old, settings, deeper.string());
        dialog.RunModal();
    }
    ASSERT_EQ(windows.prompt.messages.size(), told + 1);
    EXPECT_NE(windows.prompt.messages.back().text.find(file.string()), std::string::npos);
    EXPECT_FALSE(fs::exists(site / "archiv" / ".orvane"));
    EXPECT_EQ(Read(file), judged);
}

// A site registry started from an open session takes what the session decides
// next; what the user's own registry knew of the page is copied, not moved.
TEST_F(Decisions, ASiteRegistryStartedInASessionKeepsItsNextVerdictsWithACopyOfThePagesRecords)
{
    constexpr int kSiteRegistry = 1289;
    const fs::path site = home / "started-site";
    const fs::path page = Write(site / "fahrplan.html", TimetablePage());
    const fs::path file = site / ".orvane" / "registry.xml";
    const auto session = [&](const std::function<void(CMemoryWindow&)>& steps) {
        CHtmlDocument document(CFamilyElementFactory::Instance());
        std::ostringstream error;
        ASSERT_TRUE(LoadPage(document, page.string(), error)) << error.str();
        windows.WhenShown(kOverview, [&](CMemoryWindow& w) {
            steps(w);
            w.Click(platform::kIdOk);
        });
        COverviewDialog overview;
        overview.Prepare(document, settings, page.string());
        overview.RunModal();
    };
    const auto flicker = [](const CProblemEntry& e) { return e.Element().GetCheckName(e.Bit()) == "CheckFlicker"; };
    const auto warnings = [](const CProblemEntry& e) { return !e.IsGrouped(); };

    // Without a site registry the flicker verdict goes to the user's own.
    session([&](CMemoryWindow& w) {
        Repair(w, NodeOf(w, flicker), [](CMemoryWindow& p) { p.Click(CPageFlicker::kNoFlicker); });
    });
    ASSERT_FALSE(fs::exists(file));

    // The site registry is started, then the general warnings are judged.
    session([&](CMemoryWindow& w) {
        windows.AnswerNextMessage(platform::kAnswerYes);
        w.Click(kSiteRegistry);
        Repair(w, NodeOf(w, warnings), [](CMemoryWindow& p) { p.SetChecked(CPageWarnings::kConfirmBox, true); });
    });
    ASSERT_TRUE(fs::exists(file));
    bool told = false;
    for (const auto& message : windows.prompt.messages)
        told = told || (message.text.find(file.string() + " was created. This session") != std::string::npos &&
                        message.text.find("remembered of this page (records: 1) was copied") != std::string::npos);
    EXPECT_TRUE(told);

    CSrcObjectDatabase siteRegistry;
    siteRegistry.UseSiteRegistry(file.string());
    ASSERT_EQ(siteRegistry.Load(), 1);
    const CSrcDocument* kept = siteRegistry.FindDocument("fahrplan.html");
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->Name(), "fahrplan.html");
    EXPECT_NE(kept->FindJudgement("UsingColor", "page"), nullptr);
    std::size_t flickerVerdicts = 0;
    for (const CSrcJudgement* judgement : kept->Judgements())
        flickerVerdicts += judgement->check == "CheckFlicker" && judgement->verdict == "nothing flickers";
    EXPECT_EQ(flickerVerdicts, 1u);

    // The user's own registry keeps its verdict, and is given none of the site's.
    CSrcObjectDatabase own;
    ASSERT_EQ(own.Load(), 1);
    const CSrcDocument* mine = own.FindDocument(page.string());
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(mine->JudgementCount(), 1u);
    EXPECT_EQ(mine->FindJudgement("UsingColor", "page"), nullptr);

    // The next session settles both from the site registry.
    CHtmlDocument document(CFamilyElementFactory::Instance());
    std::ostringstream error;
    ASSERT_TRUE(LoadPage(document, page.string(), error)) << error.str();
    windows.WhenShown(kOverview, [](CMemoryWindow& w) { w.Click(platform::kIdOk); });
    COverviewDialog overview;
    overview.Prepare(document, settings, page.string());
    overview.RunModal();
    EXPECT_EQ(overview.AchievedLevel(), kLevelA);
}

TEST_F(Decisions, AnotherCheckoutTrustsTheSiteRegistryUntilAJudgedTableChanges)
{
    // Alice judges on her machine, by the page's absolute path.
    const fs::path alice = home / "alice" / "site";
    MakeSite(alice);
    Write(alice / "index.html", TimetablePage(PricesTable("4 Euro")));
    EXPECT_EQ(JudgeInSession(alice / "index.html", true), kLevelA);

    // The registry committed with the site; CI has it at another path.
    const fs::path ci = home / "ci" / "work" / "site";
    fs::create_directories(ci.parent_path());
    fs::copy(alice, ci, fs::copy_options::recursive);
    EXPECT_EQ(CheckIn(ci, {"--format", "json", "index.html"}), kExitOk) << out.str() << err.str();
    json report = json::parse(out.str());
    EXPECT_EQ(report["files"][0]["achieved"], "A");
    EXPECT_EQ(report["files"][0]["unclassifiedTables"], 0);
    int byAlice = 0;
    for (const json& problem : report["files"][0]["problems"])
        byAlice += problem.contains("settled") && problem["settled"]["by"] == "alice" ? 1 : 0;
    EXPECT_EQ(byAlice, 3);

    // A cell edited: the table is a new one, to be asked about again.
    Write(ci / "index.html", TimetablePage(PricesTable("5 Euro")));
    EXPECT_EQ(CheckIn(ci, {"--format", "json", "index.html"}), kExitOk);
    report = json::parse(out.str());
    EXPECT_EQ(report["files"][0]["unclassifiedTables"], 1);
}

TEST_F(Decisions, ARecordKeptUnderAnAbsolutePathInsideTheSiteIsFoundByTheRelativePath)
{
    const fs::path site = home / "site";
    Write(site / ".orvane" / "registry.xml",
          "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n<document filename=\"" +
              (site / "a" / "page.html").string() +
              "\" framesneeddescription=\"false\">\n"
              "<judgement check=\"UsingColor\" key=\"page\" verdict=\"warnings considered\" by=\"bob\" />\n"
              "</document>\n</root>");
    Write(site / "a" / "page.html", TimetablePage());
    EXPECT_EQ(CheckIn(site / "a", {"--format", "json", "page.html"}), kExitFindings);
    const json report = json::parse(out.str());
    int settled = 0;
    for (const json& problem : report["files"][0]["problems"])
        settled += problem.contains("settled") ? 1 : 0;
    EXPECT_EQ(settled, 1);
}

TEST_F(Decisions, ASiteRegistryLeftInAMergeConflictIsNamedAndNeverWrittenOver)
{
    const fs::path site = home / "site";
    const std::string conflicted = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n<<<<<<< HEAD\n"
                                   "<document filename=\"index.html\" framesneeddescription=\"false\">\n</document>\n"
                                   "=======\n>>>>>>> theirs\n</root>";
    const fs::path file = Write(site / ".orvane" / "registry.xml", conflicted);
    Write(site / "index.html", TimetablePage());

    EXPECT_EQ(CheckIn(site, {"index.html"}), kExitFindings);
    EXPECT_NE(err.str().find("unfinished merge"), std::string::npos) << err.str();
    EXPECT_EQ(Read(file), conflicted);

    // The session judges and saves: the conflicted file is kept aside whole first.
    JudgeInSession(site / "index.html");
    bool keptWhole = false;
    for (const auto& entry : fs::directory_iterator(site / ".orvane"))
        keptWhole = keptWhole || (entry.path() != file && Read(entry.path()) == conflicted);
    EXPECT_TRUE(keptWhole);
    ASSERT_FALSE(windows.prompt.messages.empty());
    EXPECT_NE(windows.prompt.messages.back().text.find("<<<<<<<"), std::string::npos);
}

std::string RegistryOf(const std::string& documents);

// A site registry that cannot be read is said so by the command line, kept
// whole aside by the session that saves, and never written over.
TEST_F(Decisions, ADamagedOrUnreadableSiteRegistryIsSaidSoSetAsideAndNeverWrittenOver)
{
    const std::string damaged = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n<document filename=\"index.html\"";
    for (const bool locked : {false, true}) {
        SCOPED_TRACE(locked ? "no permission" : "damaged XML");
        const fs::path site = home / (locked ? "locked-site" : "damaged-site");
        const std::string bytes = locked ? RegistryOf("") : damaged;
        const fs::path file = Write(site / ".orvane" / "registry.xml", bytes);
        Write(site / "index.html", TimetablePage());
        std::optional<platform::ScopedUnreadableFile> unreadable;
        if (locked) {
            fs::permissions(file, fs::perms::none);
            if (std::ifstream(file).is_open()) {
                // Rights to read any file (as in CI): reading it fails as
                // permission would make it fail.
                fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
                unreadable.emplace(file.string());
            }
        }
        EXPECT_EQ(CheckIn(site, {"index.html"}), kExitFindings);
        EXPECT_NE(err.str().find(file.string() + " cannot be read"), std::string::npos) << err.str();
        EXPECT_EQ(err.str().find("unfinished merge"), std::string::npos) << err.str();

        JudgeInSession(site / "index.html");
        if (locked)
            fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
        int keptWhole = 0;
        for (const auto& entry : fs::directory_iterator(site / ".orvane")) {
            if (entry.path() != file && Read(entry.path()) == bytes) {
                ++keptWhole;
                fs::permissions(entry.path(), fs::perms::owner_read | fs::perms::owner_write);
            }
        }
        EXPECT_EQ(keptWhole, 1);
        ASSERT_FALSE(windows.prompt.messages.empty());
        EXPECT_NE(windows.prompt.messages.back().text.find(file.string() + " could not be read. It was kept as"),
                  std::string::npos)
            << windows.prompt.messages.back().text;
        // The new registry holds what the session decided.
        EXPECT_NE(Read(file).find("nothing flickers"), std::string::npos);
    }
}

// Two registries as two people left them.
std::string RegistryOf(const std::string& documents)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n" + documents + "</root>";
}
// The same as an older version wrote it.
std::string LegacyRegistryOf(const std::string& documents)
{
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n" + documents + "</root>";
}
std::string Judged(const std::string& page, const std::string& verdict, const std::string& by, const std::string& date)
{
    return "<document filename=\"" + page + "\" framesneeddescription=\"false\">\n"
           "<judgement check=\"UsingColor\" key=\"page\" verdict=\"" + verdict + "\" by=\"" + by +
           "\" date=\"" + date + "\" />\n</document>\n";
}

TEST_F(Decisions, MergedRegistriesSettleThePagesOfBothAndTheLaterVerdictWinsAConflict)
{
    const fs::path site = home / "site";
    const fs::path a = Write(home / "a.xml", RegistryOf(Judged("one.html", "warnings considered", "alice", "2026-01-05") +
                                                       Judged("both.html", "warnings considered", "alice", "2026-03-01")));
    const fs::path b = Write(home / "b.xml", LegacyRegistryOf(Judged("two.html", "warnings considered", "bob", "2026-02-01") +
                                                       Judged("both.html", "colours carry nothing", "bob", "2026-02-01")));
    const fs::path merged = site / ".orvane" / "registry.xml";
    fs::create_directories(merged.parent_path());
    out.str("");
    EXPECT_EQ(RunMain({"registry", "merge", a.string(), b.string(), "-o", merged.string()}, out, err), kExitOk)
        << err.str();
    EXPECT_EQ(out.str(), "conflict: both.html UsingColor page: kept \"warnings considered\" (alice, 2026-03-01), "
                         "dropped \"colours carry nothing\" (bob, 2026-02-01)\n");
    for (const char* page : {"one.html", "two.html"})
        Write(site / page, TimetablePage());
    EXPECT_EQ(CheckIn(site, {"--format", "json", "one.html", "two.html"}), kExitFindings);
    const json report = json::parse(out.str());
    for (const json& file : report["files"]) {
        int settled = 0;
        for (const json& problem : file["problems"])
            settled += problem.contains("settled") ? 1 : 0;
        EXPECT_EQ(settled, 1) << file["path"];
    }

    // What is remembered is shown, and forgotten on request.
    out.str("");
    fs::current_path(site);
    EXPECT_EQ(RunMain({"registry", "show", "two.html"}, out, err), kExitOk) << err.str();
    EXPECT_NE(out.str().find("UsingColor page: warnings considered by bob on 2026-02-01"), std::string::npos)
        << out.str();
    EXPECT_EQ(RunMain({"registry", "forget", "two.html", "--check", "UsingColor"}, out, err), kExitOk) << err.str();
    CSrcObjectDatabase after;
    after.UseSiteRegistry(merged.string());
    ASSERT_EQ(after.Load(), 1);
    EXPECT_FALSE(after.FindDocument("two.html")->HasJudgements());
    EXPECT_TRUE(after.FindDocument("one.html")->HasJudgements());
}

TEST_F(Decisions, JudgementsAreWrittenOneALineByKeyAndARegistryWithoutThemReadsBackByteForByte)
{
    const std::string records =
        "<image filename=\"ferry.gif\" needlongdesc=\"false\">\n<alt value=\"The ferry\" />\n</image>\n"
        "<document filename=\"/old/page.html\" framesneeddescription=\"true\">\n"
        "<table id=\"0123456789abcdef0123456789abcdef\" type=\"data\" rowheaders=\"false\" colheaders=\"true\" "
        "rowheaders_abbrev=\"false\" colheaders_abbrev=\"false\" linearize=\"false\" />\n</document>\n";
    const std::string old = RegistryOf(records);
    // An older version's file is written again in UTF-8, its records unchanged.
    const fs::path legacy = Write(home / "legacy.xml", LegacyRegistryOf(records));
    CSrcObjectDatabase older(legacy.string());
    ASSERT_EQ(older.Load(), 1);
    CSrcObjectDatabase::SetChanged(true);
    ASSERT_EQ(older.Save(), 1);
    EXPECT_EQ(Read(legacy), old);

    const fs::path file = Write(home / "old.xml", old);
    CSrcObjectDatabase registry(file.string());
    ASSERT_EQ(registry.Load(), 1);
    CSrcObjectDatabase::SetChanged(true);
    ASSERT_EQ(registry.Save(), 1);
    EXPECT_EQ(Read(file), old);

    CSrcDocument* page = registry.FindDocument("/old/page.html");
    ASSERT_NE(page, nullptr);
    page->RecordJudgement({"QuoteMaybe", "ffff", "not a quotation", "alice", "2026-12-01"});
    page->RecordJudgement({"CheckFlicker", "aaaa", "nothing flickers", "", ""});
    page->RecordJudgement({"QuoteMaybe", "ffff", "not a quotation", "bob", "2026-12-02"});
    ASSERT_EQ(registry.Save(), 1);
    const std::string text = Read(file);
    const auto flicker = text.find("<judgement check=\"CheckFlicker\" key=\"aaaa\" verdict=\"nothing flickers\" />\n");
    const auto quote = text.find(
        "<judgement check=\"QuoteMaybe\" key=\"ffff\" verdict=\"not a quotation\" by=\"bob\" date=\"2026-12-02\" />\n");
    ASSERT_NE(flicker, std::string::npos) << text;
    ASSERT_NE(quote, std::string::npos) << text;
    EXPECT_LT(flicker, quote);
    EXPECT_EQ(text.find("alice"), std::string::npos);
}

// Registries of earlier releases keep judgements under the MD5 digest of what
// was judged; this release writes a fast digest. Both settle the problem, and
// `orvane registry` shows, merges and forgets them alike.
TEST_F(Decisions, RecordsUnderTheKeysOfAnEarlierReleaseAreSettledShownMergedAndForgottenAlike)
{
    const fs::path site = home / "keys-site";
    const fs::path page = Write(site / "index.html", TimetablePage());
    CHtmlDocument document(CFamilyElementFactory::Instance());
    std::ostringstream error;
    ASSERT_TRUE(LoadPage(document, page.string(), error)) << error.str();
    CJudgementKeys keys(document);
    const CElement& any = *document.Elements().front();
    const std::string md5Key = Md5JudgementKey(keys.DigestOf("CheckFlicker", any, JudgementKeyForm::Md5));
    const std::string fastKey = FastJudgementKey(keys.DigestOf("CheckFlicker", any, JudgementKeyForm::Fast));
    auto flicker = [](const std::string& key, const std::string& by, const std::string& date) {
        return RegistryOf("<document filename=\"index.html\" framesneeddescription=\"false\">\n"
                          "<judgement check=\"CheckFlicker\" key=\"" + key + "\" verdict=\"nothing flickers\" by=\"" +
                          by + "\" date=\"" + date + "\" />\n</document>\n");
    };
    auto flickerSettledBy = [&]() -> std::string {
        CheckIn(site, {"--format", "json", "index.html"});
        const json report = json::parse(out.str());
        for (const json& problem : report["files"][0]["problems"]) {
            if (problem["check"] == "CheckFlicker")
                return problem.contains("settled") ? problem["settled"]["by"].get<std::string>() : "open";
        }
        return "no problem";
    };
    const fs::path registry = Write(site / ".orvane" / "registry.xml", flicker(md5Key, "alice", "2026-01-05"));
    EXPECT_EQ(flickerSettledBy(), "alice");

    const fs::path a = Write(home / "keys-a.xml", flicker(md5Key, "alice", "2026-01-05"));
    const fs::path b = Write(home / "keys-b.xml", flicker(fastKey, "bob", "2026-02-01"));
    out.str("");
    ASSERT_EQ(RunMain({"registry", "merge", a.string(), b.string(), "-o", registry.string()}, out, err), kExitOk)
        << err.str();
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(flickerSettledBy(), "bob");

    fs::current_path(site);
    out.str("");
    EXPECT_EQ(RunMain({"registry", "show", "index.html"}, out, err), kExitOk) << err.str();
    EXPECT_NE(out.str().find("CheckFlicker " + md5Key + ": nothing flickers by alice on 2026-01-05"), std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("CheckFlicker " + fastKey + ": nothing flickers by bob on 2026-02-01"), std::string::npos)
        << out.str();
    out.str("");
    EXPECT_EQ(RunMain({"registry", "forget", "index.html", "--check", "CheckFlicker"}, out, err), kExitOk)
        << err.str();
    EXPECT_NE(out.str().find(": 2 judgement(s) of CheckFlicker"), std::string::npos) << out.str();
    EXPECT_EQ(flickerSettledBy(), "open");
}

} // namespace
} // namespace orvane::cli
