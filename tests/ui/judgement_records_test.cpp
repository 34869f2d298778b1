// Every page whose answer is a person's judgement remembers it in the page's
// registry entry, so the problem is settled when the page is checked again;
// undo, and a cancelled run whose changes are not kept, take it back.
#include "ui_fixture.h"

#include "library/html/attribute_table.h"
#include "library/html/tag_table.h"
#include "library/registry/judgement_key.h"
#include "library/registry/md5.h"
#include "library/registry/object_database.h"
#include "library/registry/object_digest.h"
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
#include "platform/hash128.h"

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

// Judgements are kept under a fast digest of what was judged; registries of
// earlier releases keep theirs under the MD5 digest of the same text as the
// page's bytes, and those records must go on settling their problems.
class JudgementKeys : public RepairRunAtLevelTest<3> {
protected:
    static constexpr std::string_view kFarLabel = "InputFarLabel";

    static std::string FarLabelPage(std::string_view charset, std::string_view value)
    {
        return "<html lang=\"fr\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=" +
               std::string(charset) +
               "\"><title>Port</title></head><body>\n<form action=\"/call\"><table>\n"
               "<tr><td colspan=\"2\"><label for=\"phone\">Phone:</label></td></tr>\n"
               "<tr><td>We call between nine and five.</td><td><input type=\"text\" id=\"phone\" name=\"phone\" "
               "value=\"" +
               std::string(value) + "\"></td></tr>\n</table></form>\n</body></html>\n";
    }

    // The page's problems as the next session finds them, with what the registry knows.
    std::unique_ptr<CProblemList> Recheck(std::string_view page)
    {
        auto again = std::make_unique<CHtmlDocument>(CFamilyElementFactory::Instance());
        LoadAs(*again, document.Name(), page);
        auto problems = std::make_unique<CProblemList>();
        problems->Prepare(*again, settings, &registry);
        m_pages.push_back(std::move(again));
        return problems;
    }
    static const CProblemEntry* ProblemOf(const CProblemList& problems, std::string_view check)
    {
        for (const auto& entry : problems.AllEntries()) {
            if (!entry->Rule() && entry->Element().GetCheckName(entry->Bit()) == check)
                return entry.get();
        }
        return nullptr;
    }
    static std::string VerdictOf(const CProblemList& problems, std::string_view check)
    {
        const CProblemEntry* problem = ProblemOf(problems, check);
        if (!problem)
            return "(no problem)";
        return problem->Settlement() ? problem->Settlement()->verdict + " by " + problem->Settlement()->by : "";
    }
    CSrcDocument& Entry() { return *registry.DocumentFor(document.Name()); }

    std::vector<std::unique_ptr<CHtmlDocument>> m_pages;
};

// The text earlier releases digested, as they gathered it: pieces with their
// runs of white space as one blank (none at a piece's end, none at the
// text's start), no more than the digest reads.
void FoldAsEarlier(std::string& text, std::string_view piece)
{
    bool blank = false;
    for (char c : piece) {
        if (text.size() >= kDigestTextLimit)
            return;
        if (std::string_view(" \t\n\r\f").find(c) != std::string_view::npos) {
            blank = true;
            continue;
        }
        if (blank && !text.empty())
            text += ' ';
        blank = false;
        text += c;
    }
}
void EndLineAsEarlier(std::string& text)
{
    if (text.size() < kDigestTextLimit)
        text += '\n';
}

// An element: its markup, a line break, its text as the page's inner text gives it.
std::string EarlierElementText(const CHtmlDocument& page, const CElement& element)
{
    std::string text;
    if (element.Kind() != tag::kHtml && element.Kind() != tag::kBody)
        FoldAsEarlier(text, element.NeedsRebuild() ? element.MarkupText() : std::string(element.Text()));
    EndLineAsEarlier(text);
    FoldAsEarlier(text, page.InnerText(element, static_cast<int>(kDigestTextLimit)));
    return text;
}

// What may flicker: each item of the flicker page, a line each.
std::string EarlierFlickerText(const CHtmlDocument& page)
{
    std::string text;
    for (const CPageFlicker::Item& item : CPageFlicker::ItemsOf(page)) {
        FoldAsEarlier(text, item.image);
        FoldAsEarlier(text, item.markup);
        EndLineAsEarlier(text);
    }
    return text;
}

TEST_F(JudgementKeys, TheKeysOfEarlierReleasesAreStillTakenOfEveryElementAndOfWhatMayFlicker)
{
    std::string spaced;
    for (int i = 0; i < 300; ++i)
        spaced += "tide \r\n      ";
    std::string dense(2600, 'w');
    for (std::size_t at = 50; at < dense.size(); at += 50)
        dense[at] = ' ';
    Load("<html lang=\"en\"><head><title>Tides \t table</title>\n<script src=\"clock.js\"></script></head>\n"
         "<body bgcolor=\"#ffffff\">\n<p class=\"a\"   id=\"x\">Line one\r\n  line\ttwo <b>bold </b> tail\v end</p>\n"
         "<div>  lead  <span>  </span>\r\n after &amp; Caf\xe9 <img src=\"spin.GIF\" alt=\"\"></div>\n"
         "<blink>  Sale\r\n now </blink>\n<pre>" +
         spaced + "</pre>\n<div><p>" + dense +
         "</p><p>more</p></div>\n"
         "<table><tr><td>cell one</td><td>cell \f two</td></tr></table>\n<p></p>\n</body></html>\n");
    ASSERT_FALSE(HasFatalFailure());
    // A repair rewrites a tag: its key reads the markup as it would be written.
    CElement* first = *std::find_if(document.Elements().begin(), document.Elements().end(),
                                    [](const CElement* e) { return e->Text().starts_with("<p class"); });
    first->FindAttribute(attr::kId)->SetFromText("y  z", document.Encoding());
    ASSERT_TRUE(first->NeedsRebuild());
    CJudgementKeys keys(document);
    int elements = 0;
    int decoded = 0;
    for (const CElement* element : document.Elements()) {
        if (element->Kind() == kind::kText || element->IsDeleted())
            continue;
        ++elements;
        SCOPED_TRACE(std::string(element->Text()));
        const std::string earlier = EarlierElementText(document, *element);
        EXPECT_EQ(Md5JudgementKey(keys.ElementDigestOf(*element, JudgementKeyForm::Md5)), ObjectDigest(earlier));
        // The fast key digests the same text, read as the user reads it:
        // where there is nothing to decode, the same bytes.
        if (CHtmlDocument::ReadsAsItsBytes(earlier))
            EXPECT_EQ(keys.ElementDigestOf(*element, JudgementKeyForm::Fast),
                      platform::HashBytes128(std::string_view(earlier).substr(0, kDigestTextLimit)));
        else
            ++decoded;
    }
    EXPECT_GE(decoded, 3);
    EXPECT_GT(elements, 15);
    ASSERT_EQ(CPageFlicker::ItemsOf(document).size(), 3u);
    EXPECT_EQ(Md5JudgementKey(keys.DigestOf("CheckFlicker", *first, JudgementKeyForm::Md5)),
              ObjectDigest(EarlierFlickerText(document)));
}

TEST_F(JudgementKeys, ARecordOfAnEarlierReleaseSettlesItsProblemUntilTheElementChangesAndIsWrittenAnewWhenJudgedAgain)
{
    LoadEmptyRegistryInFolder();
    const std::string page = FarLabelPage("utf-8", "+44");
    Load(page);
    ASSERT_FALSE(HasFatalFailure());
    const std::unique_ptr<CProblemList> before = Recheck(page);
    const CProblemEntry* problem = ProblemOf(*before, kFarLabel);
    ASSERT_NE(problem, nullptr);
    ASSERT_TRUE(problem->IsGrouped());
    const std::string md5Key = Md5JudgementKeyOf(*m_pages.back(), problem->Element(), problem->Bit());
    const std::string fastKey = JudgementKeyOf(*m_pages.back(), problem->Element(), problem->Bit());
    ASSERT_EQ(FormOfJudgementKey(md5Key), JudgementKeyForm::Md5);
    ASSERT_EQ(FormOfJudgementKey(fastKey), JudgementKeyForm::Fast);

    Entry().RecordJudgement({std::string(kFarLabel), md5Key, "label close enough", "ana", "2026-03-01"});
    EXPECT_EQ(VerdictOf(*Recheck(page), kFarLabel), "label close enough by ana");
    // Both forms of one element: the later verdict holds.
    Entry().RecordJudgement({std::string(kFarLabel), fastKey, "label close enough", "ben", "2026-03-02"});
    EXPECT_EQ(VerdictOf(*Recheck(page), kFarLabel), "label close enough by ben");
    Entry().RecordJudgement({std::string(kFarLabel), md5Key, "label close enough", "ana", "2026-03-03"});
    EXPECT_EQ(VerdictOf(*Recheck(page), kFarLabel), "label close enough by ana");

    // The field changed: asked again, whichever form its records have.
    EXPECT_EQ(VerdictOf(*Recheck(FarLabelPage("utf-8", "+49")), kFarLabel), "");
    Entry().ForgetJudgement(kFarLabel, fastKey);
    EXPECT_EQ(VerdictOf(*Recheck(FarLabelPage("utf-8", "+49")), kFarLabel), "");
    EXPECT_EQ(VerdictOf(*Recheck(page), kFarLabel), "label close enough by ana");

    // Judged again: the record is written under the fast key and the
    // earlier one goes; undone, nothing of it is left.
    ASSERT_GE(OpenSheet(page, std::string(kFarLabel)), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        w.PageWindow(0).Click(CPageLabelFarAway::kKeep);
        w.Click(kIdFinish);
    });
    RememberVerdicts(sheet, document, registry);
    EXPECT_EQ(Entry().FindJudgement(kFarLabel, md5Key), nullptr);
    ASSERT_NE(Entry().FindJudgement(kFarLabel, fastKey), nullptr);
    EXPECT_EQ(Entry().JudgementCount(), 1u);
    EXPECT_EQ(VerdictOf(*Recheck(page), kFarLabel), "label close enough by " + JudgeName());
    Entry().RecordJudgement({std::string(kFarLabel), md5Key, "label close enough", "ana", "2026-03-03"});
    ShowSheet([&](CMemoryWindow& w) {
        w.Click(kSkipUndo);
        w.PressEscape();
    });
    RememberVerdicts(sheet, document, registry);
    EXPECT_FALSE(Entry().HasJudgements());
    EXPECT_EQ(VerdictOf(*Recheck(page), kFarLabel), "");
}

TEST_F(JudgementKeys, AVerdictHoldsForThePageSavedInLatin1OrUtf8OrWithReferences)
{
    LoadEmptyRegistryInFolder();
    const std::string pages[] = {FarLabelPage("iso-8859-1", "T\xe9l. \xe0 Cr\xe9teil"),
                                 FarLabelPage("utf-8", "T\xc3\xa9l. \xc3\xa0 Cr\xc3\xa9teil"),
                                 FarLabelPage("utf-8", "T&eacute;l. &#224; Cr&#xE9;teil")};
    Load(pages[0]);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_GE(OpenSheet(pages[0], std::string(kFarLabel)), 1);
    RunSheetToFinish([&](CMemoryWindow& w) {
        w.PageWindow(0).Click(CPageLabelFarAway::kKeep);
        w.Click(kIdFinish);
    });
    RememberVerdicts(sheet, document, registry);
    ASSERT_EQ(Entry().JudgementCount(), 1u);
    std::string keys[3];
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const std::unique_ptr<CProblemList> problems = Recheck(pages[i]);
        EXPECT_EQ(VerdictOf(*problems, kFarLabel), "label close enough by " + JudgeName());
        const CProblemEntry* problem = ProblemOf(*problems, kFarLabel);
        ASSERT_NE(problem, nullptr);
        keys[i] = JudgementKeyOf(*m_pages.back(), problem->Element(), problem->Bit());
    }
    EXPECT_EQ(keys[0], keys[1]);
    EXPECT_EQ(keys[0], keys[2]);
    // Another letter is another field.
    EXPECT_EQ(VerdictOf(*Recheck(FarLabelPage("utf-8", "T&eacute;l. &#224; Cr&#xE8;teil")), kFarLabel), "");
}

} // namespace
} // namespace orvane::test
