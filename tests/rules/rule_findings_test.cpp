#include "library/rules/rule_findings.h"
#include "library/rules/rule_table.h"
#include "platform/services.h"
#include "platform/string_table.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvane::rules {
namespace {

class Wcag22Findings : public ::testing::Test {
protected:
    Wcag22Findings() : m_scope(Load()) {}

    const platform::IStringTable& Load()
    {
        m_strings.Parse(test::ReadFileBytes(std::string(ORVANE_SOURCE_DIR) + "/resources/strings/" + m_language));
        return m_strings;
    }

    std::vector<RuleFinding> Check(const std::string& page, Wcag22Target target)
    {
        m_document.Start(1, false);
        std::istringstream in(page);
        EXPECT_EQ(m_document.Load(in), 1);
        return CheckWcag22(m_document, target);
    }

    std::string m_language = "en.txt";
    platform::CStringTable m_strings;
    platform::ScopedStrings m_scope;
    CHtmlDocument m_document;
};

const char* const kPage = "<!DOCTYPE html>\n<html lang=en>\n<head><title>T</title>"
                          "<meta http-equiv=refresh content=30></head>\n<body><main>\n"
                          "<p><a href=x><img src=a.png></a></p>\n<input id=a><input id=a>\n</main></body></html>\n";

std::vector<std::string_view> Ids(const std::vector<RuleFinding>& findings)
{
    std::vector<std::string_view> ids;
    for (const RuleFinding& f : findings)
        ids.push_back(f.rule->id);
    return ids;
}

TEST_F(Wcag22Findings, AreProblemRecordsWithRuleElementPositionAndText)
{
    const std::vector<RuleFinding> findings = Check(kPage, Wcag22Target::kAA);
    const std::vector<std::string_view> expected = {"meta-refresh-no-delay", "link-non-empty-accessible-name",
                                                    "image-non-empty-accessible-name",
                                                    "form-field-non-empty-accessible-name",
                                                    "form-field-non-empty-accessible-name"};
    EXPECT_EQ(Ids(findings), expected);
    const RuleFinding& link = findings[1];
    ASSERT_NE(link.element, nullptr);
    EXPECT_EQ(link.element->WrittenTagName(), "a");
    EXPECT_EQ(link.position.line, 5u);
    EXPECT_EQ(link.position.column, 4u);
    EXPECT_EQ(link.rule->actId, "c487ae");
    EXPECT_EQ(link.text, "Links without an accessible name (WCAG 2.2: 2.4.4 4.1.2)");
    EXPECT_EQ(link.helpTopic, "act-link-name.html");
    EXPECT_FALSE(link.cannotTell);
}

TEST_F(Wcag22Findings, TheTargetChoosesTheRulesThatCount)
{
    // 4.1.1 Parsing left WCAG 2.2: duplicate ids count as best practice, at AAA only.
    const std::vector<std::string_view> atA = Ids(Check(kPage, Wcag22Target::kA));
    const std::vector<std::string_view> atAAA = Ids(Check(kPage, Wcag22Target::kAAA));
    EXPECT_EQ(std::count(atA.begin(), atA.end(), "id-value-unique"), 0);
    EXPECT_EQ(std::count(atAAA.begin(), atAAA.end(), "id-value-unique"), 2);  // both elements carry it
    EXPECT_EQ(std::count(atA.begin(), atA.end(), "meta-refresh-no-delay-no-exception"), 0);
    EXPECT_EQ(std::count(atAAA.begin(), atAAA.end(), "meta-refresh-no-delay-no-exception"), 1);
    for (const RuleDefinition& rule : RuleTable())
        EXPECT_NE(RuleTitle(rule), rule.id) << rule.id << " has a title in the string table";
}

TEST_F(Wcag22Findings, WhatAPersonMustJudgeIsAWarning)
{
    const std::vector<RuleFinding> findings =
        Check("<html lang=en><head><title>T</title></head><body><h1>News</h1><p>Text</p></body></html>",
              Wcag22Target::kA);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].rule->id, "bypass-blocks");
    EXPECT_TRUE(findings[0].cannotTell);
    EXPECT_EQ(findings[0].text.rfind("Please judge: ", 0), 0u) << findings[0].text;
}

TEST_F(Wcag22Findings, NamingIsProhibitedOnGenericElementsOnlyNotOnEmbeddedContent)
{
    // The name an object is given for its own rule must not be reported by another.
    const std::vector<std::string_view> ids =
        Ids(Check("<!DOCTYPE html><html lang=en><head><title>T</title></head><body><main>"
                  "<object aria-label=\"Moon speech\" data=\"moon.mp3\"></object>"
                  "<video aria-label=\"Tour\" src=\"tour.mp4\" controls></video>"
                  "<div aria-label=\"News\">Text</div></main></body></html>",
                  Wcag22Target::kAAA));
    EXPECT_EQ(std::count(ids.begin(), ids.end(), "aria-state-or-property-permitted"), 1) << "the div only";
}

// The rules share what they learn of a page as a whole (its landmarks, its
// tab order, its first refresh) and of each table: learnt anew for each page,
// the content of a nested table left to that table.
TEST_F(Wcag22Findings, PageFactsAndTableLayoutsAreEachPagesOwn)
{
    auto count = [](const std::vector<RuleFinding>& findings, std::string_view id) {
        return std::count_if(findings.begin(), findings.end(), [&](const RuleFinding& f) { return f.rule->id == id; });
    };
    const std::string head = "<!DOCTYPE html><html lang=en><head><title>T</title>";
    const std::vector<RuleFinding> first =
        Check(head + "<meta http-equiv=refresh content=30>\n<meta http-equiv=refresh content=40></head><body><main>"
                     "<div aria-hidden=true><div aria-hidden=true><a href=x>x</a></div></div>"
                     "<div aria-hidden=true><p>t</p></div><a href=y>y</a>"
                     "<button>b</button><a href=z>z</a><button><a href=w>w</a></button>"
                     "<table><tr><th>A</th><th>B</th>\n<th>C</th></tr>"
                     "<tr><td rowspan=2>1</td><td><table><tr><td>x</td><td>y</td><td>z</td></tr></table></td></tr>"
                     "<tr><td>3</td></tr></table></main></body></html>",
              Wcag22Target::kAA);
    EXPECT_EQ(count(first, "meta-refresh-no-delay"), 1) << "the first refresh alone";
    EXPECT_EQ(first[0].position.line, 1u);
    EXPECT_EQ(count(first, "aria-hidden-no-focusable-content"), 2) << "both hidden blocks around the link";
    EXPECT_EQ(count(first, "presentational-children-no-focusable-content"), 1) << "the button holding a link";
    EXPECT_EQ(count(first, "bypass-blocks"), 0);
    ASSERT_EQ(count(first, "table-header-cell-has-assigned-cells"), 1) << "C: its column has no cell";
    const auto header = std::find_if(first.begin(), first.end(), [](const RuleFinding& f) {
        return f.rule->id == "table-header-cell-has-assigned-cells";
    });
    EXPECT_EQ(header->position.line, 3u);
    const std::vector<RuleFinding> second = Check(head + "</head><body><p>Text</p></body></html>", Wcag22Target::kAA);
    EXPECT_EQ(count(second, "bypass-blocks"), 1) << "the first page's main landmark is not this one's";
}

TEST(Wcag22Target, IsWrittenAsTheSettingsWriteIt)
{
    Wcag22Target target = Wcag22Target::kA;
    EXPECT_TRUE(ParseWcag22Target("2.2-AA", target));
    EXPECT_EQ(target, Wcag22Target::kAA);
    EXPECT_TRUE(ParseWcag22Target("2.2-aaa", target));
    EXPECT_EQ(Wcag22TargetText(target), "2.2-AAA");
    EXPECT_FALSE(ParseWcag22Target("AA", target));
    EXPECT_FALSE(ParseWcag22Target("2.1-AA", target));
}

} // namespace
} // namespace orvane::rules
