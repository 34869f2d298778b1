// Every page whose answer is a person's judgement remembers it in the page's
// registry entry, so the problem is settled when the page is checked again;
// undo, and a cancelled run whose changes are not kept, take it back.
#include "ui_fixture.h"

#include "library/registry/object_database.h"
#include "library/ui/judgement_records.h"
#include "library/ui/pages/forms/page_label_far_away.h"
#include "library/ui/pages/frames/page_frame_source.h"
#include "library/ui/pages/judgements/page_flicker.h"
#include "library/ui/pages/judgements/page_headings_maybe.h"
#include "library/ui/pages/judgements/page_quote_maybe.h"
#include "library/ui/pages/judgements/page_warnings.h"
#include "library/ui/pages/scripts/page_script_new_window.h"
#include "library/ui/problem_list.h"
#include "library/ui/repair_run.h"
#include "common/orvane_settings.h"
#include "library/rules/rule.h"

#include <functional>

namespace orvane::test {
namespace {

struct Judged {
    const char* check;
    std::string page;
    std::function<void(CMemoryWindow& page)> answer;
    const char* verdict;
};

void PrintTo(const Judged& judged, std::ostream* out) { *out << judged.check; }

std::string Page(std::string_view body)
{
    return "<html lang=\"en\"><head><title>Harbour</title></head><body>\n" + std::string(body) + "\n</body></html>\n";
}

std::vector<Judged> EveryJudgement()
{
    return {
        {"CheckFlicker", Page("<p><img src=\"sale.gif\" alt=\"Ferry sale\"></p>"),
         [](CMemoryWindow& p) { p.Click(CPageFlicker::kNoFlicker); }, "nothing flickers"},
        {"UsingColor", Page("<p style=\"color: #800000\">The harbour opens at nine.</p>"),
         [](CMemoryWindow& p) { p.SetChecked(CPageWarnings::kConfirmBox, true); }, "warnings considered"},
        {"QuoteFormat", ExamplePage("lighthouse-keeper.html"),
         [](CMemoryWindow& p) { p.Click(CPageQuoteMaybe::kNoQuote); }, "not a quotation"},
        {"PotentialHeaders", ExamplePage("harbour-museum.html"),
         [](CMemoryWindow& p) {
             for (int row = 0; row < p.ItemCount(CPageHeadingsMaybe::kParagraphs); ++row) {
                 p.SelectOnlyRows(CPageHeadingsMaybe::kParagraphs, {row});
                 p.Click(CPageHeadingsMaybe::kKeep);
             }
         },
         "not a heading"},
        {"InputFarLabel",
         Page("<form action=\"/call\"><table>\n<tr><td colspan=\"2\"><label for=\"phone\">Phone:</label></td></tr>\n"
              "<tr><td>We call between nine and five.</td><td><input type=\"text\" id=\"phone\" name=\"phone\" "
              "value=\"+44\"></td></tr>\n</table></form>"),
         [](CMemoryWindow& p) { p.Click(CPageLabelFarAway::kKeep); }, "label close enough"},
        {"FrameSource",
         "<html lang=\"en\"><head><title>Harbour</title></head>\n<frameset cols=\"50%,50%\">\n"
         "<frame src=\"menu.html\" title=\"Menu\">\n<frame src=\"images/harbour-map.gif\" title=\"Map\">\n"
         "<noframes><body><p><a href=\"menu.html\">Menu</a></p></body></noframes>\n</frameset></html>\n",
         [](CMemoryWindow& p) { p.Click(CPageFrameSource::kKeep); }, "keep the frame's file"},
        {"TextLinks", Page("<p><a href=\"tides.html\">Tides</a> and <a href=\"ferries.html\">Ferries</a></p>"),
         [](CMemoryWindow&) {}, "link texts reviewed"},
        {"ScriptSpawnNewWindow",
         "<html lang=\"en\"><head><title>Tides</title>\n<script type=\"text/javascript\">\n"
         "function tides() { window.open('tides.html', 'tides'); }\n</script>\n</head>\n"
         "<body onload=\"tides()\"><p>The tide table opens beside this page.</p></body></html>\n",
         [](CMemoryWindow& p) { p.SetChecked(CPageScriptNewWindow::kElsewhere, true); },
         "new window announced elsewhere"},
    };
}

class JudgementRecords : public RepairRunAtLevelTest<3>, public ::testing::WithParamInterface<Judged> {
protected:
    // The page checked again as the next session checks it: the verdict its
    // first problem of the check is settled by, "" when it is open.
    std::string SettledOnRecheck(std::string_view check)
    {
        const std::vector<std::string> verdicts = VerdictsOnRecheck(check);
        return verdicts.empty() ? "(no problem of the check)" : verdicts.front();
    }
    std::vector<std::string> VerdictsOnRecheck(std::string_view check)
    {
        RememberVerdicts(sheet, document, registry);
        CHtmlDocument again(CFamilyElementFactory::Instance());
        LoadAs(again, document.Name(), document.Text());
        CProblemList problems;
        problems.Prepare(again, settings, &registry);
        std::vector<std::string> verdicts;
        for (const auto& entry : problems.AllEntries()) {
            if (entry->Element().GetCheckName(entry->Bit()) == check)
                verdicts.push_back(entry->Settlement() ? entry->Settlement()->verdict : "");
        }
        return verdicts;
    }
};

TEST_P(JudgementRecords, TheVerdictIsRememberedAndUndoOrACancelledRunTakesItBack)
{
    const Judged& judged = GetParam();
    LoadEmptyRegistryInFolder();
    ASSERT_GE(OpenSheet(judged.page, judged.check), 1);
    ASSERT_TRUE(sheet.Page(0).GivesVerdicts());
    const std::string original = document.Text();
    RunSheetToFinish([&](CMemoryWindow& w) {
        judged.answer(w.PageWindow(0));
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), original);
    RememberVerdicts(sheet, document, registry);
    const CSrcDocument* entry = registry.FindDocument(document.Name());
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(entry->HasJudgements());
    EXPECT_EQ(entry->Judgements().front()->verdict, judged.verdict);
    EXPECT_EQ(SettledOnRecheck(judged.check), judged.verdict);

    // Undone: asked again.
    ShowSheet([&](CMemoryWindow& w) {
        w.Click(kSkipUndo);
        w.PressEscape();
    });
    EXPECT_EQ(SettledOnRecheck(judged.check), "");
    EXPECT_FALSE(entry->HasJudgements());

    // Judged again, then the run cancelled without keeping what it did.
    RunSheetToFinish([&](CMemoryWindow& w) {
        judged.answer(w.PageWindow(0));
        w.Click(kIdFinish);
    });
    EXPECT_EQ(SettledOnRecheck(judged.check), judged.verdict);
    windows.AnswerNextMessage(platform::kAnswerNo);
    EXPECT_EQ(ShowSheet([&](CMemoryWindow& w) { w.PressEscape(); }), platform::kIdCancel);
    EXPECT_EQ(SettledOnRecheck(judged.check), "");
    EXPECT_EQ(document.Text(), original);
}

INSTANTIATE_TEST_SUITE_P(EveryPage, JudgementRecords, ::testing::ValuesIn(EveryJudgement()),
                         [](const ::testing::TestParamInfo<Judged>& info) { return std::string(info.param.check); });

// At a WCAG 2.2 target, what a rule cannot tell is a warning: judged on the
// warnings page, remembered under the rule's id for that element, so the
// next session sees it settled; undo takes the verdict back.
class RuleJudgementRecords : public RepairRunAtLevelTest<level::kWcag22AA> {
protected:
    // The page's findings of the rule as a session finds them, with what the registry knows.
    std::vector<std::unique_ptr<CProblemList>> m_lists;
    std::vector<CProblemEntry*> FindingsOf(CHtmlDocument& page, std::string_view rule)
    {
        m_lists.push_back(std::make_unique<CProblemList>());
        m_lists.back()->Prepare(page, settings, &registry);
        m_lists.back()->Group(settings);
        std::vector<CProblemEntry*> findings;
        for (const auto& entry : m_lists.back()->AllEntries()) {
            if (entry->Rule() && entry->Rule()->id == rule)
                findings.push_back(entry.get());
        }
        return findings;
    }
    std::string SettledOnRecheck(std::string_view rule)
    {
        RememberVerdicts(sheet, document, registry);
        CHtmlDocument again(CFamilyElementFactory::Instance());
        LoadAs(again, document.Name(), document.Text());
        const std::vector<CProblemEntry*> findings = FindingsOf(again, rule);
        if (findings.size() != 1)
            return "(" + std::to_string(findings.size()) + " findings)";
        return findings.front()->Settlement() ? findings.front()->Settlement()->verdict : "";
    }
};

TEST_F(RuleJudgementRecords, AFindingARuleCannotTellIsSettledOnTheWarningsPageAndUndoTakesItBack)
{
    constexpr std::string_view kRule = "visible-label-in-accessible-name";
    LoadEmptyRegistryInFolder();
    Load(Page("<p><button aria-label=\"Close the dialog\">X</button> <button>Open</button></p>"));
    const std::vector<CProblemEntry*> findings = FindingsOf(document, kRule);
    ASSERT_EQ(findings.size(), 1u);
    CProblemEntry& finding = *findings.front();
    ASSERT_TRUE(finding.IsJudgement());
    EXPECT_FALSE(finding.IsClosed());
    StartSheet();
    AddRepairPagesOf(sheet, document, finding);
    ASSERT_EQ(sheet.PageCount(), 1);
    ASSERT_TRUE(sheet.Page(0).GivesVerdicts());
    const std::string original = document.Text();
    RunSheetToFinish([&](CMemoryWindow& w) {
        CMemoryWindow& page = w.PageWindow(0);
        ASSERT_EQ(page.ItemCount(CPageWarnings::kWarningList), 1);
        EXPECT_EQ(page.ItemText(CPageWarnings::kWarningList, 0), finding.Name());
        EXPECT_EQ(page.Text(CPageWarnings::kExplanation), finding.Description(document.Encoding()));
        page.SetChecked(CPageWarnings::kConfirmBox, true);
        w.Click(kIdFinish);
    });
    EXPECT_EQ(document.Text(), original);
    EXPECT_EQ(SettledOnRecheck(kRule), "warnings considered");
    ASSERT_NE(registry.FindDocument(document.Name()), nullptr);
    EXPECT_NE(registry.FindDocument(document.Name())->FindJudgement(kRule, finding.RuleJudgementKey()), nullptr);

    // The element changed: asked again.
    CHtmlDocument changed(CFamilyElementFactory::Instance());
    std::string other = original;
    other.replace(other.find("Close the dialog"), 16, "Close the window");
    LoadAs(changed, document.Name(), other);
    const std::vector<CProblemEntry*> changedFindings = FindingsOf(changed, kRule);
    ASSERT_EQ(changedFindings.size(), 1u);
    EXPECT_EQ(changedFindings.front()->Settlement(), nullptr);

    ShowSheet([&](CMemoryWindow& w) {
        w.Click(kSkipUndo);
        w.PressEscape();
    });
    EXPECT_EQ(SettledOnRecheck(kRule), "");
}

} // namespace
} // namespace orvane::test
