// Rules that ask about an element's ancestors or subtree (busy regions, the
// accessible parent, the font size, the visible text) keep what they found
// for the page, so that deeply nested pages stay linear. What they keep
// must hold however deep the element stands, and must not outlive its page.
#include "library/a11y/accessibility_tree.h"
#include "library/html/html_document.h"
#include "library/rules/rule_engine.h"
#include "library/rules/rule_table.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

namespace orvane::test {
namespace {

std::string Nested(int depth, const std::string& inside)
{
    std::string html;
    for (int i = 0; i < depth; ++i)
        html += "<div>";
    html += inside;
    for (int i = 0; i < depth; ++i)
        html += "</div>";
    return html;
}

// The outcome per (rule id, id attribute of the judged element).
using Outcomes = std::map<std::pair<std::string, std::string>, rules::Outcome>;

Outcomes Judge(const std::string& html)
{
    CHtmlDocument document;
    document.Start(1, false);
    std::istringstream in(html);
    EXPECT_EQ(document.Load(in), 1);
    const a11y::AccessibilityTree tree(document);
    const rules::PageContext page{tree, true};
    Outcomes outcomes;
    for (const rules::RuleResult& result : rules::RunRules(page, rules::RuleTable()))
        if (const std::string_view* id = tree.Attribute(result.node, "id"))
            outcomes[{std::string(result.rule->id), std::string(*id)}] = result.outcome;
    return outcomes;
}

TEST(DeepPage, WhatRulesKeepHoldsDeepInsideAndOnlyForItsPage)
{
    constexpr int kDepth = 300;
    const std::string deep =
        "<!DOCTYPE html><html lang=en><head><title>Deep</title></head><body>"
        "<div style='font-size: 40px'>" +
        Nested(kDepth, "<p id=spaced style='letter-spacing: 2px !important'>some words</p>") + "</div>" +
        "<div role=list>" + Nested(kDepth, "<span role=listitem id=item>x</span>") + "</div>" +
        "<div aria-busy=true>" + Nested(kDepth, "<div role=list id=waiting><span>o</span></div>") + "</div>" +
        "<div role=button tabindex=0 aria-label=Send id=send>" + Nested(kDepth, "Send now") + "</div>" +
        "<div role=button tabindex=0 aria-label='Send now' id=sent>" + Nested(kDepth, "Send now") + "</div>" +
        "</body></html>";
    const std::string shallow =
        "<!DOCTYPE html><html lang=en><head><title>Flat</title></head><body>"
        "<p id=spaced style='letter-spacing: 2px !important'>some words</p>"
        "<span role=listitem id=item>x</span><div role=list id=waiting><span>o</span></div></body></html>";
    const auto spacing = std::make_pair(std::string("important-letter-spacing-wide-enough"), std::string("spaced"));
    const auto context = std::make_pair(std::string("aria-required-context-role"), std::string("item"));
    const auto busy = std::make_pair(std::string("aria-required-owned-element"), std::string("waiting"));
    const auto send = std::make_pair(std::string("visible-label-in-accessible-name"), std::string("send"));
    const auto sent = std::make_pair(std::string("visible-label-in-accessible-name"), std::string("sent"));

    const Outcomes first = Judge(deep);
    // 2px is less than 0.12 of the 40px set 300 levels up.
    ASSERT_TRUE(first.count(spacing));
    EXPECT_EQ(first.at(spacing), rules::Outcome::Failed);
    ASSERT_TRUE(first.count(context));
    EXPECT_EQ(first.at(context), rules::Outcome::Passed);
    EXPECT_FALSE(first.count(busy)) << "a busy region far up leaves what it holds unjudged";
    ASSERT_TRUE(first.count(send) && first.count(sent));
    EXPECT_EQ(first.at(send), rules::Outcome::Failed);
    EXPECT_EQ(first.at(sent), rules::Outcome::Passed);

    // Nodes with the same numbers on another page are judged afresh.
    const Outcomes other = Judge(shallow);
    ASSERT_TRUE(other.count(spacing) && other.count(context) && other.count(busy));
    EXPECT_EQ(other.at(spacing), rules::Outcome::Passed);
    EXPECT_EQ(other.at(context), rules::Outcome::Failed);
    EXPECT_EQ(other.at(busy), rules::Outcome::Failed);

    EXPECT_EQ(Judge(deep), first);
}

} // namespace
} // namespace orvane::test
