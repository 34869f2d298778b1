#include "check_report.h"
#include "page_loading.h"

#include <map>
#include <ostream>

namespace orvane::cli {

void WriteTextReport(const Report& report, std::ostream& out)
{
    std::map<int, int> filesByLevel;
    int atLevel = 0;
    int checked = 0;
    int settledTotal = 0;
    for (const ReportFile& file : report.files) {
        if (!file.error.empty()) {
            out << file.path << ": not checked: " << file.error << '\n';
            continue;
        }
        ++checked;
        ++filesByLevel[file.achieved];
        atLevel += file.ProblemsAtLevel();
        out << file.path << ": target " << LevelLabel(file.target) << ", achieved " << LevelLabel(file.achieved)
            << " (" << LevelLabel(file.achievedIfWarningsConfirmed) << " once its general warnings are confirmed)\n";
        if (file.unclassifiedTables > 0)
            out << file.path << ": " << file.unclassifiedTables
                << " table(s) not classified as layout or data tables: their type checks were not run\n";
        for (const AssumedTable& table : file.assumedTables)
            out << file.path << ':' << table.line << ':' << table.column << ": " << AssumedTableText(table) << '\n';
        for (const ReportGroup& group : file.groups) {
            out << "  " << (group.atLevel ? "" : "[outside the target] ") << EscapeControls(group.name) << '\n';
            for (std::size_t index : group.problems) {
                const ReportProblem& p = file.problems[index];
                // A problem of the page as a whole points at its start.
                std::uint64_t line = p.line ? p.line : 1;
                std::uint64_t column = p.line ? p.column : 1;
                out << file.path << ':' << line << ':' << column << ": " << PriorityLabel(p.priority)
                    << (p.section508 ? " [508]" : "") << ' ' << EscapeControls(p.Title()) << " (" << p.CheckName()
                    << ')';
                if (!p.OwnText().empty())
                    out << ": " << EscapeControls(p.OwnText());
                if (!p.HelpTopic().empty())
                    out << " [help: " << p.HelpTopic() << ']';
                if (report.wcag2)
                    out << " [WCAG 2: " << Wcag2Text(p.Wcag2(), p.CheckName()) << ']';
                out << '\n';
            }
        }
        int settled = 0;
        for (const ReportProblem& p : file.problems) {
            if (!p.settled)
                continue;
            ++settled;
            std::uint64_t line = p.line ? p.line : 1;
            std::uint64_t column = p.line ? p.column : 1;
            out << file.path << ':' << line << ':' << column << ": settled: " << EscapeControls(p.Title()) << " ("
                << p.CheckName() << "): " << EscapeControls(p.settled->verdict);
            if (!p.settled->by.empty())
                out << " by " << EscapeControls(p.settled->by);
            if (!p.settled->date.empty())
                out << " on " << p.settled->date;
            out << '\n';
        }
        settledTotal += settled;
    }
    out << "checked " << checked << " of " << report.files.size() << " page(s); " << atLevel
        << " problem(s) count at the target";
    if (settledTotal > 0)
        out << "; " << settledTotal << " settled by remembered verdicts";
    for (const auto& [level, count] : filesByLevel)
        out << "; " << count << " reach " << LevelLabel(level);
    if (!report.foldersNotRead.empty())
        out << "; " << report.foldersNotRead.size() << " folder(s) not read";
    if (!report.linksNotFollowed.empty())
        out << "; " << report.linksNotFollowed.size() << " link(s) to folders not followed";
    out << '\n';
}

} // namespace orvane::cli
