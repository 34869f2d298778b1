#include "check_report.h"

#include "library/html/tag_table.h"
#include "library/tables/table_record.h"
#include "library/checks/wcag2_criteria.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>
#include <ostream>

namespace orvane::cli {
namespace {

using nlohmann::json;

std::string RuleKey(int family, std::uint32_t bit) { return std::to_string(family) + ":" + std::to_string(bit); }

// A WCAG 2.2 rule is known by its name, a WCAG 1.0 check by its family and bit.
std::string RuleKey(const ReportRule& rule)
{
    return rule.act.empty() ? RuleKey(rule.family, rule.bit) : "act:" + rule.check;
}
std::string RuleKey(const ReportProblem& problem)
{
    return problem.check && !problem.check->act.empty() ? "act:" + problem.CheckName()
                                                         : RuleKey(problem.family, problem.bit);
}

const std::string kActRulePages = "https://www.w3.org/WAI/standards-guidelines/act/rules/";

std::string TableTypeName(int type) { return type == table_type::kData ? "data" : "layout"; }

std::string SarifLevel(const ReportProblem& problem)
{
    if (!problem.grouped)
        return "note";  // a general warning for the user to judge
    return problem.priority == 1 ? "error" : "warning";
}

} // namespace

void WriteSarifReport(const Report& report, std::ostream& out)
{
    json rules = json::array();
    std::map<std::string, std::size_t> ruleIndex;
    for (const ReportRule& rule : report.rules) {
        ruleIndex[RuleKey(rule)] = rules.size();
        json entry{{"id", rule.check}, {"shortDescription", {{"text", rule.title}}}};
        if (rule.act.empty()) {
            entry["properties"] = {{"priority", rule.priority},
                                   {"section508", rule.section508},
                                   {"generalWarning", !rule.grouped},
                                   {"family", rule.family}};
            if (!rule.helpTopic.empty())
                entry["helpUri"] = "help/" + rule.helpTopic;
        } else {
            // The W3C page of the ACT rule says what passes and fails, with examples.
            entry["properties"] = {{"act", rule.act}, {"appliesAtTarget", rule.appliesAtTarget}};
            entry["helpUri"] = kActRulePages + rule.act + "/";
            entry["fullDescription"] = {{"text", rule.title + " (W3C ACT rule " + rule.act + ")"}};
        }
        // Tags as code-scanning tools filter by them: "WCAG2.2:1.1.1" and the
        // criterion's level, "WCAG2.2:A"; a rule's ACT id as "ACT:c487ae".
        json tags = json::array({"accessibility"});
        if (!rule.act.empty())
            tags.push_back("ACT:" + rule.act);
        // A consumer files what the help lists as failures, so the criteria
        // of a check WCAG 2 does not require say that they are only the closest.
        std::string help = rule.wcag2.empty() ? "WCAG 2.2: " + std::string(kNoWcag2Counterpart) + "."
                           : rule.act.empty() && Wcag2MatchOf(rule.check) == Wcag2Match::kClosest
                               ? "WCAG 2.2 has no counterpart; closest success criteria:"
                               : "WCAG 2.2 success criteria:";
        for (const SuccessCriterion* criterion : rule.wcag2) {
            tags.push_back("WCAG2.2:" + std::string(criterion->number));
            const std::string level = "WCAG2.2:" + std::string(Wcag2LevelText(criterion->level));
            if (std::find(tags.begin(), tags.end(), level) == tags.end())
                tags.push_back(level);
            help += "\n- " + Wcag2CriterionLabel(*criterion);
        }
        entry["properties"]["tags"] = std::move(tags);
        entry["help"] = {{"text", help}};
        rules.push_back(std::move(entry));
    }
    json results = json::array();
    json assumedTables = json::array();
    for (const ReportFile& file : report.files) {
        // A table's own problems sit where its start tag does.
        std::map<std::pair<std::uint64_t, std::uint64_t>, const AssumedTable*> assumedAt;
        for (const AssumedTable& table : file.assumedTables) {
            assumedAt[{table.line, table.column}] = &table;
            assumedTables.push_back({{"uri", file.path},
                                     {"startLine", table.line},
                                     {"startColumn", table.column},
                                     {"type", TableTypeName(table.type)},
                                     {"rule", table.rule}});
        }
        for (const ReportProblem& problem : file.problems) {
            json location{{"physicalLocation", {{"artifactLocation", {{"uri", file.path}}}}}};
            if (problem.line > 0)
                location["physicalLocation"]["region"] = {{"startLine", problem.line}, {"startColumn", problem.column}};
            const std::string message = problem.OwnText().empty()
                                            ? problem.Title()
                                            : problem.Title() + ": " + std::string(problem.OwnText());
            json result{{"ruleId", problem.CheckName()},
                        {"level", SarifLevel(problem)},
                        {"message", {{"text", message}}},
                        {"locations", json::array({location})},
                        {"properties", {{"atTarget", problem.atLevel}}}};
            if (auto it = ruleIndex.find(RuleKey(problem)); it != ruleIndex.end())
                result["ruleIndex"] = it->second;
            // Decided by a person and remembered: code scanning shows it dismissed.
            if (problem.settled) {
                json suppression{{"kind", "external"}, {"justification", problem.settled->verdict}};
                json by{{"verdict", problem.settled->verdict}};
                if (!problem.settled->by.empty())
                    by["by"] = problem.settled->by;
                if (!problem.settled->date.empty())
                    by["date"] = problem.settled->date;
                suppression["properties"] = std::move(by);
                result["suppressions"] = json::array({std::move(suppression)});
            }
            if (problem.family == tag::kTable) {
                if (auto it = assumedAt.find({problem.line, problem.column}); it != assumedAt.end()) {
                    result["properties"]["tableType"] = TableTypeName(it->second->type);
                    result["properties"]["tableTypeRule"] = it->second->rule;
                }
            }
            results.push_back(std::move(result));
        }
    }
    json run{{"tool", {{"driver", {{"name", "orvane"}, {"version", "0.1.0"}, {"rules", rules}}}}},
             {"results", results}};
    // Code scanning keeps one analysis per category and replaces it with the
    // next upload: each share of a site needs its own to be kept beside the others.
    if (report.shard)
        run["automationDetails"] = {{"id", "orvane/shard-" + std::to_string(report.shard->index) + "-of-" +
                                               std::to_string(report.shard->count) + "/"}};
    if (!assumedTables.empty())
        run["properties"] = {{"assumedTables", std::move(assumedTables)}};
    json log{{"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
             {"version", "2.1.0"},
             {"runs", json::array({std::move(run)})}};
    out << log.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
}

} // namespace orvane::cli
