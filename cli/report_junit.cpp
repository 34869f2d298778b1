#include "check_report.h"

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
        for (const ReportRule& rule : report.rules) {
            if (!rule.appliesAtTarget)
                continue;
            ++tests;
            for (const ReportProblem& problem : file.problems) {
                if (problem.atLevel && problem.family == rule.family && problem.bit == rule.bit) {
                    ++failures;
                    break;
                }
            }
        }
        out << "  <testsuite name=\"" << text(file.path) << "\" tests=\"" << tests << "\" failures=\"" << failures
            << "\" errors=\"0\">\n";
        for (const ReportRule& rule : report.rules) {
            if (!rule.appliesAtTarget)
                continue;
            out << "    <testcase name=\"" << text(rule.check) << "\" classname=\"" << text(file.path) << "\">\n"
                << "      <properties><property name=\"wcag2\" value=\"" << text(Wcag2Text(rule.wcag2, rule.check))
                << "\"/></properties>\n";
            std::string found;
            int count = 0;
            for (const ReportProblem& problem : file.problems) {
                if (!problem.atLevel || problem.family != rule.family || problem.bit != rule.bit)
                    continue;
                ++count;
                found += file.path + ":" + std::to_string(problem.line) + ":" + std::to_string(problem.column) + ": " +
                         problem.text + "\n";
            }
            if (count > 0)
                out << "      <failure message=\"" << text(rule.title) << " (" << count << ")\">" << text(found)
                    << "</failure>\n";
            out << "    </testcase>\n";
        }
        out << "  </testsuite>\n";
    }
    out << "</testsuites>\n";
}

} // namespace orvane::cli
