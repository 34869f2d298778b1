// W3C EARL 1.0 in JSON-LD, the form ACT implementation reports are made
// from: each page a test subject, each rule of the run one assertion on it.
#include "check_report.h"

#include "common/orvane_settings.h"
#include "library/checks/wcag2_criteria.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <ostream>

namespace orvane::cli {
namespace {

using nlohmann::json;

json Context()
{
    return {{"@vocab", "http://www.w3.org/ns/earl#"},
            {"earl", "http://www.w3.org/ns/earl#"},
            {"WCAG22", "https://www.w3.org/TR/WCAG22/#"},
            {"dct", "http://purl.org/dc/terms/"},
            {"doap", "http://usefulinc.com/ns/doap#"},
            {"sch", "https://schema.org/"},
            {"source", {{"@id", "dct:source"}}},
            {"title", {{"@id", "dct:title"}}},
            {"description", {{"@id", "dct:description"}}},
            {"isPartOf", {{"@id", "dct:isPartOf"}, {"@type", "@id"}}},
            {"assertedBy", {{"@type", "@id"}}},
            {"outcome", {{"@type", "@id"}}},
            {"mode", {{"@type", "@id"}}},
            {"pointer", {{"@id", "ptr:pointer"}}},
            {"ptr", "http://www.w3.org/2009/pointers#"}};
}

// What the rule found on the page: failed where a finding at the target is
// open; cannot tell where only a person could say; passed where the rule
// applied and found nothing; otherwise it did not apply. A WCAG 1.0 check
// has no applicability of its own to tell: without a problem it passed.
std::string Outcome(const ReportFile& file, const ReportRule& rule)
{
    bool cannotTell = false;
    for (const ReportProblem& problem : file.problems) {
        if (!IsOfRule(problem, rule) || problem.settled)
            continue;
        if (problem.atLevel)
            return "earl:failed";
        cannotTell = cannotTell || !rule.act.empty();
    }
    if (cannotTell)
        return "earl:cantTell";
    if (rule.act.empty())
        return "earl:passed";
    const bool applied =
        std::find(file.rulesApplied.begin(), file.rulesApplied.end(), rule.check) != file.rulesApplied.end();
    return applied ? "earl:passed" : "earl:inapplicable";
}

json Test(const ReportRule& rule)
{
    json test{{"@type", "TestCase"}, {"title", rule.title}, {"sch:identifier", rule.check}};
    if (!rule.act.empty())
        test["@id"] = "https://www.w3.org/WAI/standards-guidelines/act/rules/" + rule.act + "/";
    json parts = json::array();
    for (const SuccessCriterion* criterion : rule.wcag2)
        parts.push_back("WCAG22:" + std::string(criterion->number));
    if (!parts.empty())
        test["isPartOf"] = std::move(parts);
    return test;
}

// Where the first open problem of the rule stands, for a reader to find it.
json Pointers(const ReportFile& file, const ReportRule& rule)
{
    json pointers = json::array();
    for (const ReportProblem& problem : file.problems) {
        if (!IsOfRule(problem, rule) || problem.settled || problem.line == 0)
            continue;
        pointers.push_back({{"@type", "ptr:LineCharPointer"},
                            {"ptr:lineNumber", problem.line},
                            {"ptr:charNumber", problem.column},
                            {"description", ValidUtf8(problem.text)}});
    }
    return pointers;
}

} // namespace

void WriteEarlReport(const Report& report, std::ostream& out)
{
    const json assertor{{"@id", "_:orvane"},
                        {"@type", json::array({"earl:Assertor", "earl:Software", "doap:Project"})},
                        {"doap:name", "Orvane"},
                        {"doap:release", {{"doap:revision", "0.1.0"}}}};
    json graph = json::array();
    for (const ReportFile& file : report.files) {
        json subject{{"@type", json::array({"earl:TestSubject", "sch:WebPage"})}, {"source", ValidUtf8(file.path)}};
        json assertions = json::array();
        if (file.error.empty()) {
            for (const ReportRule& rule : report.rules) {
                // Every rule of the run that counts at the target; at a WCAG 2.2
                // target those are the rule set's alone.
                if (!rule.appliesAtTarget || (level::IsWcag22(report.target) && rule.act.empty()))
                    continue;
                json result{{"@type", "TestResult"}, {"outcome", Outcome(file, rule)}};
                if (json pointers = Pointers(file, rule); !pointers.empty())
                    result["pointer"] = std::move(pointers);
                assertions.push_back({{"@type", "Assertion"},
                                      {"assertedBy", "_:orvane"},
                                      {"mode", "earl:automatic"},
                                      {"test", Test(rule)},
                                      {"result", std::move(result)}});
            }
        } else {
            subject["description"] = ValidUtf8(file.error);
        }
        subject["assertions"] = std::move(assertions);
        graph.push_back(std::move(subject));
    }
    graph.push_back(assertor);
    json log{{"@context", Context()}, {"@graph", std::move(graph)}};
    out << log.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
}

} // namespace orvane::cli
