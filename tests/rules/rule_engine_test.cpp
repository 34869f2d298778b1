// The engine offers a node only to the rules its index names. On every page
// we have, that must be exactly the rules whose applicability holds there:
// an index that leaves a rule out hides findings without a trace.
#include "act_examples.h"

#include "library/a11y/accessibility_tree.h"
#include "library/html/html_document.h"
#include "library/rules/rule_engine.h"
#include "library/rules/rule_table.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvane::test {
namespace {

// A rule applying to a node, as (rule id, node).
using Applying = std::vector<std::pair<std::string_view, int>>;

// Every element asked of every rule, matcher by matcher, as the rows say.
Applying ApplyingByAsking(const rules::PageContext& page, const std::vector<rules::RuleDefinition>& table)
{
    Applying applying;
    for (int node = 0; node < static_cast<int>(page.tree.Nodes().size()); ++node) {
        if (!page.tree.At(node).IsElement())
            continue;
        for (const rules::RuleDefinition& rule : table) {
            bool holds = true;
            for (std::string_view name : rule.applicability) {
                const std::size_t equals = name.find('=');
                const std::string_view arg =
                    equals == std::string_view::npos ? std::string_view() : name.substr(equals + 1);
                holds = holds && rules::FindMatcher(name.substr(0, equals))(page, node, arg);
            }
            if (holds)
                applying.emplace_back(rule.id, node);
        }
    }
    return applying;
}

class RuleIndex : public ::testing::Test {
protected:
    // The indexed walk and the asking of every rule agree on the page.
    void ExpectSameRulesApply(const std::string& html, bool isHtml, const std::string& what,
                              const std::vector<rules::RuleDefinition>& table = rules::RuleTable())
    {
        CHtmlDocument document;
        document.Start(1, false);
        std::istringstream in(html);
        if (document.Load(in) != 1)
            return;
        const a11y::AccessibilityTree tree(document);
        const rules::PageContext page{tree, isHtml};
        const rules::RuleSet set(table);
        Applying indexed;
        for (const rules::RuleResult& result : rules::RunRules(page, set))
            indexed.emplace_back(result.rule->id, result.node);
        const Applying asked = ApplyingByAsking(page, table);
        EXPECT_EQ(indexed, asked) << what;
        std::vector<bool> applied;
        rules::RunRulesForFindings(page, set, applied);
        for (std::size_t r = 0; r < table.size(); ++r) {
            const bool appliedSomewhere = std::any_of(asked.begin(), asked.end(),
                                                      [&](const auto& pair) { return pair.first == table[r].id; });
            EXPECT_EQ(applied[r], appliedSomewhere) << what << ": " << table[r].id;
        }
        ++m_pages;
    }

    int m_pages = 0;
};

TEST_F(RuleIndex, OffersEachNodeExactlyTheRulesThatApplyOnTheActExamples)
{
    const std::string folder = ActRulesDirectory();
    if (folder.empty())
        GTEST_SKIP() << "the ACT rule files are not beside the project (../shared/act-rules/rules)";
    for (const ActRuleFile& file : ReadActRuleFiles(folder))
        for (const ActExample& example : file.examples)
            ExpectSameRulesApply(example.page, example.language == "html" || example.language.empty(),
                                 file.name + " " + example.expected + " example " + std::to_string(example.number));
    EXPECT_GT(m_pages, 500);
}

TEST_F(RuleIndex, OffersEachNodeExactlyTheRulesThatApplyOnTheCorpus)
{
    const std::vector<std::string> pages = CorpusPages();
    if (pages.empty())
        GTEST_SKIP() << "the corpus is not beside the project";
    for (const std::string& path : pages)
        ExpectSameRulesApply(ReadFileBytes(path), true, path);
    EXPECT_EQ(m_pages, static_cast<int>(pages.size()));
}

// What the index reads a node by: upper-case attribute names, role tokens
// with fallbacks and unknown words, roles given up for focus, a role the
// ARIA table does not know, an XML page, roles that are kinds of others.
TEST_F(RuleIndex, OffersEachNodeExactlyTheRulesThatApplyOnMarkupTheIndexReads)
{
    const std::string page =
        "<!DOCTYPE html><HTML LANG=en XML:LANG=fr><head><title> </title>"
        "<META HTTP-EQUIV=Refresh CONTENT=5><meta name=viewport content='user-scalable=no'>"
        "<style>@media (orientation: portrait) { .r { transform: rotate(90deg) } }</style></head>"
        "<body><div ARIA-HIDDEN=TRUE><a href=#x>x</a></div><span Role='nonsense button'></span>"
        "<img role=presentation tabindex=0 src=a.png><img alt='' aria-label=x src=b.png>"
        "<div role=doc-biblioref>ref</div><a href=y role=doc-backlink></a><svg role=img><title></title></svg>"
        "<input type=IMAGE src=i.png><input autocomplete='shipping email' id=d><input id=d>"
        "<p lang=xx style='letter-spacing: 0.01em !important'>some words here</p>"
        "<table><tr><th id=h>H</th><td headers='h q'>1</td></tr></table><details><summary></summary></details>"
        "<div role=listbox aria-busy=true aria-owns=o><span id=o role=option>o</span></div>"
        "<div class=r>turned</div><object data=movie.mp4></object><iframe srcdoc='<a href=z>z</a>' tabindex=-1>"
        "</iframe><button aria-label='Go on'>Next</button><div role=combobox aria-expanded=true "
        "aria-controls=none></div><p dir=ltr aria-unknown=1 aria-checked=maybe>x</p></body></HTML>";
    ExpectSameRulesApply(page, true, "the page of cases");
    ExpectSameRulesApply(page, false, "the page of cases as XML");
}

// Rows the index cannot key (a role ARIA does not define, no words at all)
// are offered every node, not none; an attribute named in capitals is still
// the attribute.
TEST_F(RuleIndex, OffersOddRowsWhatTheyApplyTo)
{
    const std::vector<rules::RuleDefinition> table = {
        {"unknown-role", "x1", "", "A", "", {"role-in=button no-such-role"}, {}, {}, {}},
        {"empty-tag", "x2", "", "A", "", {"tag="}, {}, {}, {}},
        {"no-applicability", "x3", "", "A", "", {}, {}, {}, {}},
        {"kinds-of-link", "x4", "", "A", "", {"role-is-a=link", "not-foreign"}, {}, {}, {}},
        {"capital-attribute", "x5", "", "A", "", {"has-attribute=ID"}, {}, {}, {}},
        {"attribute-with-colon", "x6", "", "A", "", {"has-attribute=xml:lang"}, {}, {}, {}},
        {"attribute-and-value", "x7", "", "A", "", {"attribute-value=dir:rtl"}, {}, {}, {}},
    };
    ExpectSameRulesApply(
        "<html xml:lang=en><body><button>b</button><a href=x id=a>a</a><p dir=RTL>p</p></body></html>", true,
        "odd rows", table);
}

} // namespace
} // namespace orvane::test
