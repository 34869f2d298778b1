#include "check_report.h"

#include <nlohmann/json.hpp>

#include <ostream>

namespace orvane::cli {
namespace {

using nlohmann::json;

json ProblemJson(const ReportProblem& p)
{
    return json{{"check", p.check},       {"family", p.family},     {"bit", p.bit},
                {"title", p.title},       {"priority", p.priority}, {"section508", p.section508},
                {"grouped", p.grouped},   {"atLevel", p.atLevel},   {"line", p.line},
                {"column", p.column},     {"text", p.text},         {"helpTopic", p.helpTopic}};
}

} // namespace

void WriteJsonReport(const Report& report, std::ostream& out)
{
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
        json problems = json::array();
        for (const ReportProblem& problem : file.problems)
            problems.push_back(ProblemJson(problem));
        entry["problems"] = std::move(problems);
        files.push_back(std::move(entry));
        atLevel += file.ProblemsAtLevel();
        std::string level = LevelLabel(file.achieved);
        byLevel[level] = byLevel.value(level, 0) + 1;
    }
    json document{{"files", std::move(files)},
                  {"summary",
                   {{"files", report.files.size()},
                    {"target", LevelLabel(report.target)},
                    {"problemsAtTarget", atLevel},
                    {"filesByAchievedLevel", std::move(byLevel)}}}};
    // Page texts are bytes of any code page: what is not UTF-8 is replaced.
    out << document.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
}

} // namespace orvane::cli
