#include "check_report.h"

#include "library/html/page_text.h"
#include "library/tables/table_record.h"
#include "library/checks/wcag2_criteria.h"
#include "library/ui/problem_list.h"

#include "platform/file_system.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace orvane::cli {

std::string ValidUtf8(std::string_view text) { return PageBytesToUtf8(text); }

int ReportFile::ProblemsAtLevel() const
{
    return static_cast<int>(std::count_if(problems.begin(), problems.end(),
                                          [](const ReportProblem& problem) {
                                              return problem.atLevel && !problem.settled;
                                          }));
}

int ReportFile::SettledAtLevel() const
{
    return static_cast<int>(std::count_if(problems.begin(), problems.end(), [](const ReportProblem& problem) {
        return problem.atLevel && problem.settled != nullptr;
    }));
}

std::string OutputProblem(const std::string& output, const std::vector<std::string>& inputs)
{
    if (output.empty() || output == "-")
        return {};
    for (const std::string& input : inputs) {
        std::error_code error;
        if (input == output || std::filesystem::equivalent(input, output, error))
            return output + " is one of the inputs; the report would take its place";
    }
    return {};
}

bool WriteReportTo(std::string_view command, const std::string& output,
                   const std::function<bool(std::ostream&)>& write, std::ostream& out, std::ostream& err)
{
    if (output.empty() || output == "-") {
        const bool written = write(out);
        out.flush();
        if (written && out)
            return true;
        err << "orvane " << command << ": the report could not be written to standard output\n";
        return false;
    }
    std::string reason;
    if (platform::WriteFileAtomically(output, write, &reason))
        return true;
    err << "orvane " << command << ": cannot write " << output << ": " << reason << '\n';
    return false;
}

std::string PriorityLabel(int priority) { return PriorityName(priority); }

bool IsOfRule(const ReportProblem& problem, const ReportRule& rule)
{
    if (!rule.act.empty())
        return problem.check && problem.check->act == rule.act && problem.CheckName() == rule.check;
    return problem.family == rule.family && problem.bit == rule.bit && (!problem.check || problem.check->act.empty());
}

std::string LevelLabel(int level) { return LevelName(level); }

std::string_view TableTypeLabel(int type) { return type == table_type::kData ? "data table" : "layout table"; }

std::string AssumedTableText(const AssumedTable& table)
{
    const std::string label(TableTypeLabel(table.type));
    if (const TableGuessRule* rule = FindTableGuessRule(table.rule))
        return "guessed " + label + " (rule: " + std::string(rule->name) + ")";
    return "taken as " + label + " (--tables " + (table.type == table_type::kData ? "data" : "layout") + ")";
}

std::string EscapeMarkup(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default:
            // XML has no place for other control characters.
            if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t')
                out += ' ';
            else
                out.push_back(c);
        }
    }
    return out;
}

std::string Wcag2Text(const Wcag2Criteria& criteria, std::string_view check)
{
    if (criteria.empty())
        return std::string(kNoWcag2Counterpart);
    std::string text;
    if (Wcag2MatchOf(check) == Wcag2Match::kClosest)
        text = kClosestWcag2;
    for (const SuccessCriterion* criterion : criteria) {
        if (!text.empty() && !text.ends_with(": "))
            text += "; ";
        text += Wcag2CriterionLabel(*criterion);
    }
    return text;
}

} // namespace orvane::cli
