#include "cli/check_report.h"

#include "library/checks/wcag2_criteria.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>
#include <tuple>

namespace orvane::cli {
namespace {

using nlohmann::json;

// The report as a whole JSON document, dumped at once: what the streaming
// writer must produce byte for byte.
std::string DocumentJson(const Report& report)
{
    auto problemJson = [](const ReportProblem& p) {
        json wcag2 = json::array();
        for (const SuccessCriterion* criterion : p.Wcag2())
            wcag2.push_back({{"number", criterion->number},
                             {"name", criterion->name},
                             {"level", Wcag2LevelText(criterion->level)}});
        return json{{"check", p.CheckName()},       {"family", p.family},     {"bit", p.bit},
                    {"title", p.Title()},       {"priority", p.priority}, {"section508", p.section508},
                    {"grouped", p.grouped},   {"atLevel", p.atLevel},   {"line", p.line},
                    {"column", p.column},     {"text", p.text},         {"helpTopic", p.HelpTopic()},
                    {"wcag2", wcag2}};
    };
    json files = json::array();
    json byLevel = json::object();
    int atLevel = 0;
    for (const ReportFile& file : report.files) {
        json entry{{"path", file.path}};
        if (!file.error.empty()) {
            entry["error"] = file.error;
            files.push_back(std::move(entry));
            continue;
        }
        entry["target"] = LevelLabel(file.target);
        entry["achieved"] = LevelLabel(file.achieved);
        entry["achievedIfWarningsConfirmed"] = LevelLabel(file.achievedIfWarningsConfirmed);
        entry["unclassifiedTables"] = file.unclassifiedTables;
        if (!file.assumedTables.empty()) {
            json tables = json::array();
            for (const AssumedTable& table : file.assumedTables)
                tables.push_back({{"line", table.line},
                                  {"column", table.column},
                                  {"rule", table.rule},
                                  {"type", table.type == 2 ? "data" : "layout"}});
            entry["assumedTables"] = std::move(tables);
        }
        if (!file.encoding.empty())
            entry["encoding"] = file.encoding;
        json problems = json::array();
        for (const ReportProblem& problem : file.problems)
            problems.push_back(problemJson(problem));
        entry["problems"] = std::move(problems);
        files.push_back(std::move(entry));
        atLevel += file.ProblemsAtLevel();
        std::string level = LevelLabel(file.achieved);
        byLevel[level] = byLevel.value(level, 0) + 1;
    }
    json run{{"all", report.all},
             {"aria", report.ariaNames},
             {"foldersNotRead", report.foldersNotRead},
             {"linksNotFollowed", report.linksNotFollowed},
             {"paths", report.paths},
             {"registry", report.registry},
             {"tables", report.tables}};
    if (report.shard)
        run["share"] = std::to_string(report.shard->index) + "/" + std::to_string(report.shard->count);
    json document{{"files", std::move(files)},
                  {"run", std::move(run)},
                  {"summary",
                   {{"files", report.files.size()},
                    {"target", LevelLabel(report.target)},
                    {"problemsAtTarget", atLevel},
                    {"filesByAchievedLevel", std::move(byLevel)}}}};
    return document.dump(2, ' ', false, json::error_handler_t::replace) + '\n';
}

std::string StreamedJson(const Report& report)
{
    std::ostringstream out;
    WriteJsonReport(report, out);
    return out.str();
}

// Texts of every kind a page can put into a report: plain words, quotes and
// backslashes, control characters, UTF-8 of every length, and bytes that are
// not UTF-8 at all (other code pages, overlong forms, surrogates, sequences
// cut short, also at the very end).
std::string RandomText(std::mt19937& random)
{
    static const std::vector<std::string> kPieces = {
        "alt", " text ", "\"", "\\", "/", "\n", "\r\n", "\t", "\b", "\f", std::string(1, '\0'), "\x01", "\x1f",
        "\x7f", "caf\xc3\xa9", "\xe2\x80\x94", "\xf0\x9f\x98\x80", "r\xe9sum\xe9", "\xc0\xaf", "\xe0\x80\xaf",
        "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xf8\x88\x80\x80\x80", "\xc3", "\xe2\x80", "\xf0\x9f\x98", "\x80",
        "\xbf\xbf", "\xff", "\xfe", "\xc2\xa0", "\xef\xbb\xbf", "\xed\x9f\xbf", "\xf4\x8f\xbf\xbf", "<img>"};
    std::string text;
    const int pieces = std::uniform_int_distribution<int>(0, 6)(random);
    for (int i = 0; i < pieces; ++i)
        text += kPieces[std::uniform_int_distribution<std::size_t>(0, kPieces.size() - 1)(random)];
    return text;
}

Report RandomReport(std::mt19937& random)
{
    auto number = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    Report report;
    // A check's criteria follow from the check: two problems whose check,
    // title and help topic happen to be the same random texts share them.
    std::map<std::tuple<std::string, std::string, std::string>, Wcag2Criteria> criteriaOf;
    report.target = number(1, 4);
    report.all = number(0, 1);
    report.ariaNames = number(0, 1);
    report.tables = number(0, 1) ? "skip" : "guess";
    report.registry = number(0, 2) ? "" : RandomText(random);
    for (int n = number(0, 2); n > 0; --n)
        report.paths.push_back(RandomText(random));
    for (int n = number(-3, 1); n > 0; --n)
        report.foldersNotRead.push_back(RandomText(random) + ": " + RandomText(random));
    for (int n = number(-3, 1); n > 0; --n)
        report.linksNotFollowed.push_back(RandomText(random));
    if (number(0, 1)) {
        const unsigned count = static_cast<unsigned>(number(1, 9));
        report.shard = Shard{static_cast<unsigned>(number(1, static_cast<int>(count))), count};
    }
    const int files = number(0, 4);
    for (int f = 0; f < files; ++f) {
        ReportFile file;
        file.path = RandomText(random) + ".html";
        if (number(0, 5) == 0) {
            file.error = "cannot read " + RandomText(random);
            report.files.push_back(std::move(file));
            continue;
        }
        file.target = report.target;
        file.achieved = number(0, 3);
        file.achievedIfWarningsConfirmed = number(0, 3);
        file.unclassifiedTables = number(0, 3);
        if (number(0, 2))
            file.encoding = number(0, 1) ? "windows-1252" : "UTF-8";
        const int tables = number(-3, 3);
        for (int t = 0; t < tables; ++t)
            file.assumedTables.push_back({static_cast<std::uint64_t>(number(1, 1 << 20)),
                                          static_cast<std::uint64_t>(number(1, 300)), number(1, 2),
                                          number(0, 1) ? "header-cells" : "tables-option"});
        const int problems = number(0, 5);
        for (int p = 0; p < problems; ++p) {
            ReportProblem problem;
            problem.family = number(-6, 90);
            problem.bit = 1u << number(0, 31);
            problem.priority = number(1, 3);
            problem.section508 = number(0, 1);
            problem.grouped = number(0, 1);
            problem.atLevel = number(0, 1);
            problem.line = static_cast<std::uint64_t>(number(0, 1 << 30)) << number(0, 30);
            problem.column = static_cast<std::uint64_t>(number(0, 500));
            problem.text = RandomText(random);
            Wcag2Criteria criteria;
            const auto all = Wcag2SuccessCriteria();
            for (int c = number(0, 3); c > 0; --c)
                criteria.push_back(&all[static_cast<std::size_t>(number(0, static_cast<int>(all.size()) - 1))]);
            std::string name = RandomText(random);
            std::string title = RandomText(random);
            std::string help = RandomText(random);
            criteria = criteriaOf.try_emplace({name, title, help}, std::move(criteria)).first->second;
            problem.check = std::make_shared<ReportCheck>(
                ReportCheck{std::move(name), std::move(title), std::move(help), std::move(criteria)});
            file.problems.push_back(std::move(problem));
        }
        report.files.push_back(std::move(file));
    }
    return report;
}

TEST(JsonReport, IsWrittenByteForByteAsTheWholeDocumentWouldBeDumped)
{
    std::mt19937 random(17);
    for (int round = 0; round < 3000; ++round) {
        Report report = RandomReport(random);
        ASSERT_EQ(StreamedJson(report), DocumentJson(report)) << "round " << round;
    }
}

// What merging the reports of shares of a site stands on: a report read back
// is written again byte for byte.
TEST(JsonReport, ReadsBackToTheSameReport)
{
    std::mt19937 random(29);
    for (int round = 0; round < 1000; ++round) {
        const std::string written = StreamedJson(RandomReport(random));
        Report read;
        std::string reason;
        ASSERT_TRUE(ReadJsonReport(written, read, reason)) << "round " << round << ": " << reason;
        ASSERT_EQ(StreamedJson(read), written) << "round " << round;
    }
    Report read;
    std::string reason;
    EXPECT_FALSE(ReadJsonReport("{\"files\": []}", read, reason));
    EXPECT_FALSE(ReadJsonReport("not json", read, reason));
    EXPECT_FALSE(reason.empty());
}

TEST(JsonReport, ALargeReportIsWrittenWholeThroughTheBuffer)
{
    std::mt19937 random(1);
    Report report;
    report.target = 3;
    for (int f = 0; f < 3; ++f) {
        ReportFile file;
        file.path = "page" + std::to_string(f) + ".html";
        file.target = 3;
        for (int p = 0; p < 4000; ++p) {
            ReportProblem problem;
            const std::string title = std::string(static_cast<std::size_t>(p % 300), 'x') + RandomText(random);
            problem.check = std::make_shared<ReportCheck>(ReportCheck{"Check" + std::to_string(p % 50), title, "", {}});
            problem.text = RandomText(random);
            problem.line = static_cast<std::uint64_t>(p + 1);
            if (p == 1000)
                problem.text = std::string(100000, 'z') + "\n";  // more than the writer holds at once
            file.problems.push_back(std::move(problem));
        }
        report.files.push_back(std::move(file));
    }
    EXPECT_EQ(StreamedJson(report), DocumentJson(report));
}

} // namespace
} // namespace orvane::cli
