#include "check_report.h"

#include <algorithm>
#include <ostream>

namespace orvane::cli {

void WriteJunitReport(const Report& report, std::ostream& out)
{
    auto text = [](std::string_view value) { return EscapeMarkup(ValidUtf8(value)); };
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"orvane\">\n";
    for (const ReportFile& file : report.files) {
        if (!file.error.empty()) {
            out << "  <testsuite name=\"" << text(file.path) << "\" tests=\"1\" failures=\"0\" errors=\"1\">\n"
                << "    <testcase name=\"read\" classname=\"" << text(file.path) << "\">\n"
                << "      <error message=\"" << text(file.error) << "\"/>\n    </testcase>\n  </testsuite>\n";
            continue;
        }
        int tests = 0;
        int failures = 0;
        int skipped = 0;
        // A check whose every problem on the page is settled by a verdict is skipped, not failed.
        auto counts = [&](const ReportRule& rule, bool settled) {
            return std::count_if(file.problems.begin(), file.problems.end(), [&](const ReportProblem& problem) {
                return problem.atLevel && IsOfRule(problem, rule) && (problem.settled != nullptr) == settled;
            });
        };
        for (const ReportRule& rule : report.rules) {
            if (!rule.appliesAtTarget)
                continue;
            ++tests;
            if (counts(rule, false) > 0)
                ++failures;
            else if (counts(rule, true) > 0)
                ++skipped;
        }
        out << "  <testsuite name=\"" << text(file.path) << "\" tests=\"" << tests << "\" failures=\"" << failures
            << "\" errors=\"0\"";
        if (skipped > 0)
            out << " skipped=\"" << skipped << "\"";
        out << ">\n";
        for (const ReportRule& rule : report.rules) {
            if (!rule.appliesAtTarget)
                continue;
            out << "    <testcase name=\"" << text(rule.check) << "\" classname=\"" << text(file.path) << "\">\n"
                << "      <properties><property name=\"wcag2\" value=\"" << text(Wcag2Text(rule.wcag2, rule.check))
                << "\"/></properties>\n";
            std::string found;
            std::string settledBy;
            int count = 0;
            for (const ReportProblem& problem : file.problems) {
                if (!problem.atLevel || !IsOfRule(problem, rule))
                    continue;
                if (problem.settled) {
                    if (settledBy.empty())
                        settledBy = "settled: " + problem.settled->verdict +
                                    (problem.settled->by.empty() ? "" : " by " + problem.settled->by) +
                                    (problem.settled->date.empty() ? "" : " on " + problem.settled->date);
                    continue;
                }
                ++count;
                found += file.path + ":" + std::to_string(problem.line) + ":" + std::to_string(problem.column) + ": " +
                         problem.text + "\n";
            }
            if (count > 0)
                out << "      <failure message=\"" << text(rule.title) << " (" << count << ")\">" << text(found)
                    << "</failure>\n";
            else if (!settledBy.empty())
                out << "      <skipped message=\"" << text(settledBy) << "\"/>\n";
            out << "    </testcase>\n";
        }
        out << "  </testsuite>\n";
    }
    out << "</testsuites>\n";
}

} // namespace orvane::cli
