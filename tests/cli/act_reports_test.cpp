// The reports at a WCAG 2.2 target as ACT implementation reports and code
// scanning read them: EARL assertions per page and rule, SARIF rules with
// their ACT ids, criteria and W3C pages.
#include "cli/commands.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "platform/bundle_strings.h"
#include "tests/rules/act_examples.h"
#include "tests/support/test_support.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class ActReports : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        platform::InstallBundleStrings("OrvaneResources.rcc");
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
    }
    void SetUp() override
    {
        const char* home = std::getenv("ORVANE_HOME");
        ASSERT_TRUE(home && *home);
        folder = fs::path(home) / "act-pages";
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Page(const std::string& name, const std::string& bytes)
    {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    json Report(Arguments args)
    {
        out.str("");
        err.str("");
        args.insert(args.begin(), "check");
        const int status = RunMain(args, out, err);
        EXPECT_NE(status, kExitError) << err.str();
        return json::parse(out.str(), nullptr, false);
    }
    // The assertions of each page (by its file name) by the rule's name.
    static std::map<std::string, std::map<std::string, std::string>> Outcomes(const json& earl)
    {
        std::map<std::string, std::map<std::string, std::string>> outcomes;
        for (const json& node : earl.at("@graph")) {
            if (!node.contains("assertions"))
                continue;
            auto& page = outcomes[fs::path(node.at("source").get<std::string>()).filename().string()];
            for (const json& assertion : node.at("assertions")) {
                const std::string rule = assertion.at("test").at("sch:identifier");
                EXPECT_FALSE(page.contains(rule)) << "one assertion per page and rule: " << rule;
                page[rule] = assertion.at("result").at("outcome");
            }
        }
        return outcomes;
    }

    fs::path folder;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(ActReports, EarlGivesEachPageAnOutcomeOfEveryRuleAtTheTarget)
{
    const std::string page = Page("mixed.html",
                                  "<!DOCTYPE html>\n<html>\n<head><title>Mixed</title></head>\n<body>\n"
                                  "<img src=\"a.png\">\n<a href=\"/\">Home</a>\n</body>\n</html>\n");
    const json earl = Report({"--level", "2.2-AA", "--format", "earl", "--no-registry", page});
    ASSERT_FALSE(earl.is_discarded()) << out.str();
    EXPECT_EQ(earl.at("@context").at("@vocab"), "http://www.w3.org/ns/earl#");
    const auto outcomes = Outcomes(earl);
    ASSERT_EQ(outcomes.size(), 1u);
    const auto& rules = outcomes.at("mixed.html");
    EXPECT_EQ(rules.at("html-page-lang"), "earl:failed");
    EXPECT_EQ(rules.at("image-non-empty-accessible-name"), "earl:failed");
    EXPECT_EQ(rules.at("html-page-non-empty-title"), "earl:passed");
    EXPECT_EQ(rules.at("link-non-empty-accessible-name"), "earl:passed");
    EXPECT_EQ(rules.at("meta-refresh-no-delay"), "earl:inapplicable");
    // A rule of level AAA only is not asserted at AA.
    EXPECT_FALSE(rules.contains("meta-refresh-no-delay-no-exception"));
    for (const json& node : earl.at("@graph")) {
        for (const json& assertion : node.value("assertions", json::array())) {
            const json& test = assertion.at("test");
            EXPECT_EQ(test.at("@id").get<std::string>().rfind("https://www.w3.org/WAI/standards-guidelines/act/rules/", 0),
                      0u);
            EXPECT_EQ(assertion.at("mode"), "earl:automatic");
        }
    }
}

TEST_F(ActReports, SarifRulesCarryTheActIdTheCriteriaAndTheW3cPage)
{
    const std::string page = Page("lang.html", "<html><head><title>T</title></head><body><p>x</p></body></html>\n");
    const json sarif = Report({"--level", "2.2-AA", "--format", "sarif", "--no-registry", page});
    ASSERT_FALSE(sarif.is_discarded()) << out.str();
    const json& run = sarif.at("runs").at(0);
    const json& rules = run.at("tool").at("driver").at("rules");
    const json* lang = nullptr;
    for (const json& rule : rules)
        if (rule.at("id") == "html-page-lang")
            lang = &rule;
    ASSERT_NE(lang, nullptr);
    EXPECT_EQ(lang->at("helpUri"), "https://www.w3.org/WAI/standards-guidelines/act/rules/b5c3f8/");
    EXPECT_EQ(lang->at("properties").at("act"), "b5c3f8");
    const json& tags = lang->at("properties").at("tags");
    for (const char* tag : {"accessibility", "ACT:b5c3f8", "WCAG2.2:3.1.1", "WCAG2.2:A"})
        EXPECT_NE(std::find(tags.begin(), tags.end(), tag), tags.end()) << tag;
    bool found = false;
    for (const json& result : run.at("results")) {
        if (result.at("ruleId") != "html-page-lang")
            continue;
        found = true;
        ASSERT_TRUE(result.contains("ruleIndex"));
        EXPECT_EQ(rules.at(result.at("ruleIndex").get<std::size_t>()).at("id"), "html-page-lang");
        EXPECT_EQ(result.at("level"), "error");
    }
    EXPECT_TRUE(found) << run.at("results").dump(1);
}

// What an ACT implementation report is made from: every example of every
// rule checked as a page, one assertion each, consistent with the example's
// expectation (a failed example fails, or cannot be told where the rule
// needs rendering; a passed or inapplicable one never fails).
TEST_F(ActReports, EarlOnTheActExamplesIsConsistentWithEachExample)
{
    const std::string rulesFolder = test::ActRulesDirectory();
    if (rulesFolder.empty())
        GTEST_SKIP() << "the ACT rule files are not beside the project (../shared/act-rules/rules)";
    struct Expected {
        std::string rule;
        std::string outcome;
    };
    std::map<std::string, Expected> expected;
    for (const test::ActRuleFile& file : test::ReadActRuleFiles(rulesFolder)) {
        for (const test::ActExample& example : file.examples) {
            // Pages served as SVG or XML are not what check reads.
            if (!example.language.empty() && example.language != "html")
                continue;
            const std::string name =
                file.id + "-" + example.expected + "-" + std::to_string(example.number) + ".html";
            Page(name, example.page);
            expected[name] = {file.name, example.expected};
        }
    }
    ASSERT_GT(expected.size(), 500u);
    const json earl = Report({"--level", "2.2-AAA", "--format", "earl", "--no-registry", "--quiet", folder.string()});
    ASSERT_FALSE(earl.is_discarded());
    const auto outcomes = Outcomes(earl);
    EXPECT_EQ(outcomes.size(), expected.size());
    int cannotTell = 0;
    for (const auto& [page, want] : expected) {
        const auto found = outcomes.find(page);
        ASSERT_NE(found, outcomes.end()) << page;
        const auto outcome = found->second.find(want.rule);
        ASSERT_NE(outcome, found->second.end()) << page << " has no assertion of " << want.rule;
        if (want.outcome == "failed") {
            if (outcome->second == "earl:cantTell") {
                ++cannotTell;
                continue;
            }
            EXPECT_EQ(outcome->second, "earl:failed") << page << " " << want.rule;
        } else {
            EXPECT_NE(outcome->second, "earl:failed") << page << " " << want.rule << " " << want.outcome;
        }
    }
    std::cout << "[ cannot tell ] " << cannotTell << " failed examples\n";
}

} // namespace
} // namespace orvane::cli
