#include "check_report.h"

#include "library/tables/table_record.h"
#include "library/checks/wcag2_criteria.h"
#include "library/ui/problem_list.h"

#include <algorithm>

namespace orvane::cli {

int ReportFile::ProblemsAtLevel() const
{
    return static_cast<int>(std::count_if(problems.begin(), problems.end(),
                                          [](const ReportProblem& problem) { return problem.atLevel; }));
}

std::string PriorityLabel(int priority) { return PriorityName(priority); }

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
