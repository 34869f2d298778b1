// The rule set judged on the W3C ACT rules' own test cases: for each rule
// built, every failed example must report it and no passed or inapplicable
// example may.
#include "act_examples.h"

#include "library/a11y/accessibility_tree.h"
#include "library/html/html_document.h"
#include "library/rules/rule_engine.h"
#include "library/rules/rule_table.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <sstream>

namespace orvane::test {
namespace {

using rules::Outcome;

struct Judged {
    bool failed = false;      // the rule reported a failure
    bool cannotTell = false;  // ... or could not tell
};

Judged Judge(const ActExample& example, const rules::RuleDefinition& rule)
{
    CHtmlDocument document;
    document.Start(1, false);
    std::istringstream in(example.page);
    Judged judged;
    if (document.Load(in) != 1)
        return judged;
    const a11y::AccessibilityTree tree(document);
    const bool html = example.language == "html" || example.language.empty();
    const rules::PageContext page{tree, html};
    for (const rules::RuleResult& result : rules::RunRules(page, {rule})) {
        judged.failed |= result.outcome == Outcome::Failed;
        judged.cannotTell |= result.outcome == Outcome::CannotTell;
    }
    return judged;
}

TEST(ActExamples, EveryRuleBuiltIsConsistentWithItsExamples)
{
    const std::string folder = ActRulesDirectory();
    if (folder.empty())
        GTEST_SKIP() << "the ACT rule files are not beside the project (../shared/act-rules/rules)";
    const std::vector<ActRuleFile> files = ReadActRuleFiles(folder);
    ASSERT_FALSE(files.empty());
    int consistent = 0;
    std::vector<std::string> notBuilt;
    for (const ActRuleFile& file : files) {
        ASSERT_FALSE(file.examples.empty()) << file.name;
        const rules::RuleDefinition* rule = nullptr;
        for (const rules::RuleDefinition& row : rules::RuleTable())
            if (row.actId == file.id)
                rule = &row;
        if (!rule) {
            notBuilt.push_back(file.name);
            continue;
        }
        EXPECT_EQ(rule->id, file.name) << "a rule is named after its ACT rule";
        bool ok = true;
        for (const ActExample& example : file.examples) {
            const Judged judged = Judge(example, *rule);
            if (example.expected == "failed" && !judged.failed) {
                if (judged.cannotTell) {
                    std::cout << "[ cannot tell ] " << file.name << " failed example " << example.number << "\n";
                    continue;
                }
                ADD_FAILURE() << file.name << ": failed example " << example.number << " not reported\n"
                              << example.page;
                ok = false;
            } else if (example.expected != "failed" && judged.failed) {
                ADD_FAILURE() << file.name << ": " << example.expected << " example " << example.number
                              << " reported\n"
                              << example.page;
                ok = false;
            }
        }
        consistent += ok ? 1 : 0;
    }
    for (const std::string& name : notBuilt)
        std::cout << "[ not built ] " << name << "\n";
    std::cout << "consistent with " << consistent << " of " << files.size() << " rules\n";
}

TEST(ActExamples, EveryNameARuleUsesIsRegistered)
{
    EXPECT_EQ(rules::UnknownNames(rules::RuleTable()), std::vector<std::string>{});
}

} // namespace
} // namespace orvane::test

namespace orvane::test {
namespace {

// ORVANE_DUMP_PAGE=file prints the tree of a page, for looking into a rule.
TEST(ActExamples, DumpTreeWhenAsked)
{
    const char* path = std::getenv("ORVANE_DUMP_PAGE");
    if (!path)
        GTEST_SKIP();
    CHtmlDocument document;
    document.Start(1, false);
    std::istringstream in(ReadFileBytes(path));
    ASSERT_EQ(document.Load(in), 1);
    const a11y::AccessibilityTree tree(document);
    for (int i = 0; i < static_cast<int>(tree.Nodes().size()); ++i) {
        const a11y::Node& n = tree.At(i);
        if (n.IsText() && n.text.find_first_not_of(" \n\t") == std::string::npos)
            continue;
        int depth = 0;
        for (int p = n.parent; p > 0; p = tree.At(p).parent)
            ++depth;
        std::cout << std::string(depth * 2, ' ') << n.tag << (n.IsText() ? " \"" + std::string(n.text) + "\"" : "")
                  << " role=" << n.role << " inc=" << n.included << " vis=" << n.visible << " foc=" << n.focusable
                  << " tab=" << n.inTabOrder << " name=\"" << (n.IsElement() ? tree.Name(i) : "") << "\"";
        for (const auto& a : tree.Attributes(i))
            std::cout << " [" << a.name << "=" << a.value << "]";
        std::cout << "\n";
    }
}

} // namespace
} // namespace orvane::test
