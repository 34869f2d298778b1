#include "check_report.h"

#include "library/checks/wcag2_criteria.h"

#include <algorithm>
#include <functional>
#include <map>
#include <ostream>
#include <set>

namespace orvane::cli {
namespace {

// The report is itself a page people read with assistive technology, so it
// is written to pass the checks it reports: a language, a title and
// description, a style sheet, headings in order, tables with a summary and
// headers with their scope, and a skip link past the overview. Everything
// lives in the one file. It has no script: every script is flagged as
// possible flicker, a priority 1 problem. The pages table is sortable all
// the same: each order is written out, and links show one at a time.
constexpr const char* kStyle = R"(<style>
:root { --ink: #1a1a1a; --muted: #555; --line: #d0d4da; --head: #eef1f5; --accent: #1f5fa8;
  --bad: #a11d1d; --bad-bg: #fde8e8; --good: #1b6b2f; --good-bg: #e3f4e7; --mark: #ffe27a }
body { font-family: system-ui, "Segoe UI", "DejaVu Sans", sans-serif; color: var(--ink); margin: 0 auto;
  padding: 1.5em 2em 4em; max-width: 76em; line-height: 1.45 }
a { color: var(--accent) }
.skip { position: absolute; left: -100em }
.skip:focus { position: static; display: inline-block; padding: .3em .6em; background: var(--head) }
h1 { margin: 0 0 .2em; font-size: 1.7em }
h2 { margin: 1.6em 0 .6em; font-size: 1.35em; border-bottom: 2px solid var(--line); padding-bottom: .2em }
h3 { font-size: 1.1em; margin: 1.2em 0 .5em }
h4 { font-size: 1em; margin: 1.2em 0 .3em }
.lead { color: var(--muted); margin-top: 0 }
.totals { display: flex; flex-wrap: wrap; gap: .8em; list-style: none; padding: 0; margin: 1em 0 }
.totals li { border: 1px solid var(--line); border-radius: 6px; padding: .5em .9em; min-width: 9em }
.totals strong { display: block; font-size: 1.5em }
table { border-collapse: collapse; width: 100% }
th, td { text-align: left; vertical-align: top; padding: .3em .6em; border-bottom: 1px solid var(--line) }
thead th { background: var(--head); white-space: nowrap }
tfoot th, tfoot td { font-weight: bold; border-top: 2px solid var(--line) }
td.num, th.num { text-align: right; font-variant-numeric: tabular-nums }
.view tbody th { font-weight: normal }
.view table { table-layout: fixed }
.view thead th { white-space: normal }
.view th:nth-child(1) { width: 26% }
.view th:nth-child(2) { width: 4em }
.view th:nth-child(3), .view th:nth-child(4) { width: 6.5em }
.view th:nth-child(5), .view th:nth-child(6) { width: 6em }
.help { white-space: nowrap }
.view tbody th { word-break: break-all }
.level { display: inline-block; padding: 0 .45em; border-radius: 4px; font-weight: bold }
.level.bad { color: var(--bad); background: var(--bad-bg) }
.level.good { color: var(--good); background: var(--good-bg) }
.chart { max-width: 100%; height: auto }
.chart text { font-size: 13px; fill: var(--ink) }
.page { border-top: 1px solid var(--line); margin-top: 2em; content-visibility: auto; contain-intrinsic-size: auto 40em }
.page h3 { word-break: break-all; margin-top: .8em }
.facts { margin: .2em 0 .8em }
.error { color: var(--bad); font-weight: bold }
.rule { margin: 0 0 .4em; color: var(--muted) }
.outside { font-style: italic }
.problems { table-layout: fixed }
.problems th:nth-child(1), .problems th:nth-child(2) { width: 4.5em }
.problems th.problem { width: 28% }
.problems th.check { width: 26% }
code { font-family: "DejaVu Sans Mono", Consolas, monospace; font-size: .88em; white-space: pre-wrap;
  word-break: break-all; tab-size: 4 }
code mark { background: var(--mark); color: inherit; border-bottom: 2px solid #b8860b }
.cut { color: var(--muted) }
.top { font-size: .9em; margin: .8em 0 0 }
.sorting { margin: .3em 0 .6em }
.sorting a[aria-current] { font-weight: bold; color: var(--ink); text-decoration: none }
th[aria-sort] { text-decoration: underline }
.view { display: none }
.view:target, .view.unsorted { display: block }
.view:target ~ .view.unsorted { display: none }
@media print { .page { content-visibility: visible } .skip, .sorting { display: none } }
</style>
)";

std::string Text(std::string_view value) { return EscapeMarkup(ValidUtf8(value)); }

const char* LevelClass(int achieved, int target) { return achieved >= target ? "level good" : "level bad"; }

// A problem per check, all pages together.
struct CheckCount {
    std::string title;
    std::size_t atTarget = 0;
    std::size_t outside = 0;
    std::size_t Total() const { return atTarget + outside; }
};

std::vector<CheckCount> CountByCheck(const Report& report)
{
    std::map<std::string, CheckCount> byCheck;
    for (const ReportFile& file : report.files) {
        for (const ReportProblem& problem : file.problems) {
            CheckCount& count = byCheck[problem.CheckName()];
            if (count.title.empty())
                count.title = problem.Title();
            ++(problem.atLevel ? count.atTarget : count.outside);
        }
    }
    std::vector<CheckCount> counts;
    counts.reserve(byCheck.size());
    for (auto& [check, count] : byCheck)
        counts.push_back(std::move(count));
    std::stable_sort(counts.begin(), counts.end(),
                     [](const CheckCount& a, const CheckCount& b) { return a.Total() > b.Total(); });
    return counts;
}

// Cuts a label for the chart on a character boundary; the whole title stays
// in the bar's tooltip and in the chart's description.
std::string ChartLabel(const std::string& title)
{
    constexpr std::size_t kMaxBytes = 66;
    if (title.size() <= kMaxBytes)
        return title;
    std::size_t cut = kMaxBytes - 1;
    while (cut > 0 && (static_cast<unsigned char>(title[cut]) & 0xC0) == 0x80)
        --cut;
    return title.substr(0, cut) + "\u2026";
}

std::string CommonFolder(const Report& report)
{
    if (report.files.empty())
        return {};
    std::string_view common = report.files.front().path;
    common = common.substr(0, common.find_last_of('/') + 1);  // empty when there is no folder
    for (const ReportFile& file : report.files) {
        std::size_t same = 0;
        while (same < common.size() && same < file.path.size() && common[same] == file.path[same])
            ++same;
        common = common.substr(0, same);
        common = common.substr(0, common.find_last_of('/') + 1);
    }
    return std::string(common);
}

// The check with the most problems that count on the page, and their number.
std::pair<const ReportGroup*, std::size_t> MostFrequent(const ReportFile& file)
{
    const ReportGroup* most = nullptr;
    for (const ReportGroup& group : file.groups) {
        if (group.atLevel && (!most || group.problems.size() > most->problems.size()))
            most = &group;
    }
    return {most, most ? most->problems.size() : 0};
}

class HtmlReportWriter {
public:
    HtmlReportWriter(const Report& report, std::ostream& out)
        : m_report(report), m_out(out), m_folder(CommonFolder(report))
    {
    }

    void Write()
    {
        const std::size_t pages = m_report.files.size();
        m_out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
              << "<title>Accessibility report: " << pages << (pages == 1 ? " page" : " pages") << "</title>\n"
              << "<meta name=\"description\" content=\"Accessibility problems found by orvane check\">\n"
              << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
              << kStyle << "</head>\n<body>\n"
              << "<p><a class=\"skip\" href=\"#pages\">Skip the overview</a></p>\n"
              << "<h1>Accessibility report</h1>\n";
        WriteOverview();
        m_out << "<h2 id=\"pages\">Pages</h2>\n";
        for (std::size_t i = 0; i < m_report.files.size(); ++i)
            WritePage(m_report.files[i], i);
        m_out << "</body>\n</html>\n";
    }

private:
    void WriteOverview()
    {
        std::size_t checked = 0;
        std::size_t reached = 0;
        std::size_t reachedOnceConfirmed = 0;
        long long counting = 0;
        long long tables = 0;
        for (const ReportFile& file : m_report.files) {
            if (!file.error.empty())
                continue;
            ++checked;
            reached += file.achieved >= file.target;
            reachedOnceConfirmed += file.achievedIfWarningsConfirmed >= file.target;
            counting += file.ProblemsAtLevel();
            tables += file.unclassifiedTables;
        }
        const std::size_t failed = m_report.files.size() - checked;
        m_out << "<p class=\"lead\">" << m_report.files.size() << (m_report.files.size() == 1 ? " page" : " pages");
        if (!m_folder.empty())
            m_out << " in " << Text(m_folder);
        m_out << " checked against " << Text(LevelLabel(m_report.target))
              << (m_report.all ? "; problems outside the target are listed too" : "") << ".</p>\n"
              << "<h2 id=\"overview\">Overview</h2>\n<ul class=\"totals\">\n"
              << "<li><strong>" << checked << "</strong> pages checked</li>\n";
        if (failed > 0)
            m_out << "<li><strong>" << failed << "</strong> pages could not be checked</li>\n";
        m_out << "<li><strong>" << counting << "</strong> problems that count</li>\n"
              << "<li><strong>" << reached << "</strong> pages reach the target</li>\n"
              << "<li><strong>" << reachedOnceConfirmed << "</strong> reach it once warnings are confirmed</li>\n"
              << "<li><strong>" << tables << "</strong> unclassified tables</li>\n</ul>\n";
        WriteChart();
        WriteCriteriaSummary();
        WritePagesTable(counting, tables);
    }

    // One order of the pages table: the column it sorts by (-1 for the
    // order the pages were given in) and how it compares two pages.
    struct TableOrder {
        const char* id;
        const char* name;
        int column;
        std::function<int(const ReportFile&)> key;  // lower first
    };

    void WritePagesTable(long long counting, long long tables)
    {
        const std::vector<TableOrder> orders = {
            {"by-level", "lowest level reached first", 2, [](const ReportFile& f) { return f.achieved; }},
            {"by-confirmed", "lowest level once confirmed first", 3,
             [](const ReportFile& f) { return f.achievedIfWarningsConfirmed; }},
            {"by-problems", "most problems first", 4, [](const ReportFile& f) { return -f.ProblemsAtLevel(); }},
            {"by-tables", "most unclassified tables first", 5, [](const ReportFile& f) { return -f.unclassifiedTables; }},
            {"as-given", "as checked", -1, nullptr},
        };
        m_out << "<h3 id=\"pages-checked\">Pages checked</h3>\n";
        std::vector<std::size_t> rows(m_report.files.size());
        for (const TableOrder& order : orders) {
            for (std::size_t i = 0; i < rows.size(); ++i)
                rows[i] = i;
            if (order.key) {
                // Pages that could not be checked go last in every order.
                auto key = [&](std::size_t i) {
                    const ReportFile& file = m_report.files[i];
                    return std::pair<bool, int>(!file.error.empty(), file.error.empty() ? order.key(file) : 0);
                };
                std::stable_sort(rows.begin(), rows.end(), [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
            }
            m_out << "<div class=\"view" << (order.key ? "" : " unsorted") << "\" id=\"" << order.id
                  << "\">\n<p class=\"sorting\">Sort the pages:";
            for (std::size_t k = 0; k < orders.size(); ++k) {
                const TableOrder& other = orders[k];
                m_out << (k ? " \u00b7 " : " ") << "<a href=\"#" << other.id << "\""
                      << (&other == &order ? " aria-current=\"true\"" : "") << ">" << other.name << "</a>";
            }
            m_out << "</p>\n";
            WritePagesTableRows(rows, order.column, counting, tables);
            m_out << "</div>\n";
        }
    }

    void WritePagesTableRows(const std::vector<std::size_t>& rows, int sortedColumn, long long counting,
                             long long tables)
    {
        static const char* const kColumns[] = {"Page",           "Target",
                                               "Level reached",  "Once warnings are confirmed",
                                               "Problems that count", "Unclassified tables",
                                               "Most frequent problem"};
        m_out << "<table summary=\"One row per page: its target, the level it reaches, the level once its general "
                 "warnings are confirmed, and its counts.\">\n<thead><tr>";
        for (int column = 0; column < 7; ++column) {
            m_out << "<th scope=\"col\"" << (column == 4 || column == 5 ? " class=\"num\"" : "");
            if (column == sortedColumn)
                m_out << " aria-sort=\"" << (column >= 4 ? "descending" : "ascending") << "\"";
            m_out << ">" << kColumns[column] << "</th>";
        }
        m_out << "</tr></thead>\n<tbody>\n";
        for (std::size_t i : rows) {
            const ReportFile& file = m_report.files[i];
            m_out << "<tr><th scope=\"row\"><a href=\"#p" << i + 1 << "\">" << Text(file.path.substr(m_folder.size()))
                  << "</a></th><td>" << Text(LevelLabel(file.target)) << "</td>";
            if (!file.error.empty()) {
                m_out << "<td>not checked</td><td>not checked</td><td class=\"num\"></td><td class=\"num\"></td>"
                      << "<td>The page could not be checked.</td></tr>\n";
                continue;
            }
            for (int level : {file.achieved, file.achievedIfWarningsConfirmed}) {
                m_out << "<td><span class=\"" << LevelClass(level, file.target) << "\">" << Text(LevelLabel(level))
                      << "</span></td>";
            }
            // Besides telling where to start, this text keeps the rows' links
            // from reading as one long group of links without a way past.
            auto [most, count] = MostFrequent(file);
            m_out << "<td class=\"num\">" << file.ProblemsAtLevel() << "</td><td class=\"num\">"
                  << file.unclassifiedTables << "</td><td>";
            if (most)
                m_out << Text(most->name) << " (" << count << ")";
            else
                m_out << "None that count.";
            m_out << "</td></tr>\n";
        }
        m_out << "</tbody>\n<tfoot><tr><th scope=\"row\">All pages</th><td></td><td></td><td></td>"
              << "<td class=\"num\">" << counting << "</td><td class=\"num\">" << tables
              << "</td><td></td></tr></tfoot>\n</table>\n";
    }

    void WriteChart()
    {
        std::vector<CheckCount> counts = CountByCheck(m_report);
        m_out << "<h3 id=\"by-check\">Problems per check</h3>\n";
        if (counts.empty()) {
            m_out << "<p>No problems were found.</p>\n";
            return;
        }
        constexpr int kLabelWidth = 520;
        constexpr int kBarWidth = 370;
        constexpr int kRow = 21;
        constexpr int kWidth = 960;
        const bool twoParts = std::any_of(counts.begin(), counts.end(), [](const CheckCount& c) { return c.outside; });
        const int top = twoParts ? 28 : 4;
        const int height = top + kRow * static_cast<int>(counts.size()) + 4;
        const double longest = static_cast<double>(counts.front().Total());
        m_out << "<svg class=\"chart\" role=\"img\" aria-labelledby=\"chart-title chart-desc\" width=\"" << kWidth
              << "\" height=\"" << height << "\" viewBox=\"0 0 " << kWidth << ' ' << height
              << "\" xmlns=\"http://www.w3.org/2000/svg\">\n<title id=\"chart-title\">Problems per check across "
                 "all pages, most first</title>\n<desc id=\"chart-desc\">";
        for (std::size_t i = 0; i < counts.size(); ++i)
            m_out << (i ? "; " : "") << Text(counts[i].title) << ": " << counts[i].Total();
        m_out << "</desc>\n";
        if (twoParts) {
            m_out << "<rect x=\"" << kLabelWidth << "\" y=\"6\" width=\"14\" height=\"14\" fill=\"#1f5fa8\"/>"
                  << "<text x=\"" << kLabelWidth + 20 << "\" y=\"18\">count at the target</text>"
                  << "<rect x=\"" << kLabelWidth + 180 << "\" y=\"6\" width=\"14\" height=\"14\" fill=\"#9dbbe0\"/>"
                  << "<text x=\"" << kLabelWidth + 200 << "\" y=\"18\">outside the target</text>\n";
        }
        for (std::size_t i = 0; i < counts.size(); ++i) {
            const CheckCount& count = counts[i];
            const int y = top + kRow * static_cast<int>(i);
            const int inWidth = static_cast<int>(kBarWidth * static_cast<double>(count.atTarget) / longest + 0.5);
            const int outWidth = static_cast<int>(kBarWidth * static_cast<double>(count.Total()) / longest + 0.5) - inWidth;
            m_out << "<g><title>" << Text(count.title) << ": " << count.atTarget << " at the target";
            if (count.outside)
                m_out << ", " << count.outside << " outside";
            m_out << "</title><text x=\"" << kLabelWidth - 10 << "\" y=\"" << y + 15 << "\" text-anchor=\"end\">"
                  << Text(ChartLabel(count.title)) << "</text>";
            if (inWidth > 0)
                m_out << "<rect x=\"" << kLabelWidth << "\" y=\"" << y + 3 << "\" width=\"" << inWidth
                      << "\" height=\"" << kRow - 6 << "\" fill=\"#1f5fa8\"/>";
            if (outWidth > 0)
                m_out << "<rect x=\"" << kLabelWidth + inWidth << "\" y=\"" << y + 3 << "\" width=\"" << outWidth
                      << "\" height=\"" << kRow - 6 << "\" fill=\"#9dbbe0\"/>";
            m_out << "<text x=\"" << kLabelWidth + std::max(inWidth + outWidth, 1) + 6 << "\" y=\"" << y + 15
                  << "\">" << count.Total() << "</text></g>\n";
        }
        m_out << "</svg>\n";
    }

    // The problems per WCAG 2.2 success criterion, in the criteria's order,
    // and those of checks that WCAG 2 has no counterpart for.
    void WriteCriteriaSummary()
    {
        struct Count {
            std::size_t atTarget = 0;
            std::size_t outside = 0;
            std::set<std::string_view> checks;
        };
        std::map<const SuccessCriterion*, Count> byCriterion;
        Count none;
        for (const ReportFile& file : m_report.files) {
            for (const ReportProblem& problem : file.problems) {
                auto add = [&](Count& count) {
                    ++(problem.atLevel ? count.atTarget : count.outside);
                    count.checks.insert(problem.CheckName());
                };
                if (problem.Wcag2().empty())
                    add(none);
                for (const SuccessCriterion* criterion : problem.Wcag2())
                    add(byCriterion[criterion]);
            }
        }
        m_out << "<h3 id=\"by-wcag2\">Problems per WCAG 2.2 success criterion</h3>\n";
        if (byCriterion.empty() && none.checks.empty()) {
            m_out << "<p>No problems were found.</p>\n";
            return;
        }
        m_out << "<table class=\"wcag2\" summary=\"One row per WCAG 2.2 success criterion that problems were found "
                 "for: its level, the problems that count at the target, those outside it, and the checks that "
                 "found them.\">\n<thead><tr><th scope=\"col\">Success criterion</th><th scope=\"col\">Level</th>"
                 "<th scope=\"col\" class=\"num\">At the target</th><th scope=\"col\" class=\"num\">Outside</th>"
                 "<th scope=\"col\">Checks</th></tr></thead>\n<tbody>\n";
        auto row = [&](std::string_view name, std::string_view level, const Count& count) {
            m_out << "<tr><th scope=\"row\">" << Text(name) << "</th><td>" << Text(level) << "</td><td class=\"num\">"
                  << count.atTarget << "</td><td class=\"num\">" << count.outside << "</td><td>";
            bool first = true;
            for (std::string_view check : count.checks) {
                m_out << (first ? "" : ", ") << Text(check);
                first = false;
            }
            m_out << "</td></tr>\n";
        };
        for (const SuccessCriterion& criterion : Wcag2SuccessCriteria()) {
            if (auto it = byCriterion.find(&criterion); it != byCriterion.end())
                row(std::string(criterion.number) + " " + std::string(criterion.name), Wcag2LevelText(criterion.level),
                    it->second);
        }
        if (!none.checks.empty())
            row("No WCAG 2 counterpart", "", none);
        m_out << "</tbody>\n</table>\n";
    }

    void WritePage(const ReportFile& file, std::size_t index)
    {
        m_out << "<div class=\"page\" id=\"p" << index + 1 << "\">\n<h3>" << Text(file.path) << "</h3>\n";
        if (!file.error.empty()) {
            m_out << "<p class=\"error\">This page could not be checked: " << Text(file.error) << "</p>\n";
        } else {
            const int counting = file.ProblemsAtLevel();
            m_out << "<p class=\"facts\">Target " << Text(LevelLabel(file.target)) << ". Level reached: <span class=\""
                  << LevelClass(file.achieved, file.target) << "\">" << Text(LevelLabel(file.achieved))
                  << "</span>; once its general warnings are confirmed: <span class=\""
                  << LevelClass(file.achievedIfWarningsConfirmed, file.target) << "\">"
                  << Text(LevelLabel(file.achievedIfWarningsConfirmed)) << "</span>. " << counting
                  << (counting == 1 ? " problem counts" : " problems count") << " at the target";
            if (file.unclassifiedTables > 0)
                m_out << "; " << file.unclassifiedTables
                      << (file.unclassifiedTables == 1 ? " table is" : " tables are")
                      << " not yet classified as a layout or data table";
            m_out << ".</p>\n";
            if (!file.assumedTables.empty()) {
                m_out << "<p>Tables this run took as a kind, for someone to confirm in the desktop checker:</p>\n"
                         "<ul class=\"assumed\">\n";
                for (const AssumedTable& table : file.assumedTables)
                    m_out << "<li>Line " << table.line << ", column " << table.column << ": "
                          << Text(AssumedTableText(table)) << "</li>\n";
                m_out << "</ul>\n";
            }
            if (file.groups.empty() && file.SettledAtLevel() == 0)
                m_out << "<p>No problems were found.</p>\n";
            for (const ReportGroup& group : file.groups)
                WriteGroup(file, group);
            WriteSettled(file);
        }
        m_out << "<p class=\"top\"><a href=\"#overview\">Back to the overview</a></p>\n</div>\n";
    }

    // Problems someone judged, kept apart: they count as closed.
    void WriteSettled(const ReportFile& file)
    {
        bool any = false;
        for (const ReportProblem& p : file.problems) {
            if (!p.settled)
                continue;
            if (!any) {
                m_out << "<div class=\"settled\">\n<h4>Settled by remembered verdicts</h4>\n"
                         "<table class=\"problems\" summary=\"The problems people judged, with the verdict, who gave "
                         "it and when.\">\n<thead><tr><th scope=\"col\">Line</th><th scope=\"col\">Check</th>"
                         "<th scope=\"col\">Problem</th><th scope=\"col\">Verdict</th><th scope=\"col\">By</th>"
                         "<th scope=\"col\">Date</th></tr></thead>\n<tbody>\n";
                any = true;
            }
            m_out << "<tr><td>" << (p.line == 0 ? std::string("page") : std::to_string(p.line)) << "</td><td>"
                  << Text(p.Title()) << "</td><td>" << Text(p.text) << "</td><td>" << Text(p.settled->verdict)
                  << "</td><td>" << Text(p.settled->by) << "</td><td>" << Text(p.settled->date) << "</td></tr>\n";
        }
        if (any)
            m_out << "</tbody>\n</table>\n</div>\n";
    }

    // Whether every problem of the group is of one check, so the check's
    // facts are said once above the rows; general warnings mix checks.
    static bool OfOneCheck(const ReportFile& file, const ReportGroup& group)
    {
        const ReportProblem& first = file.problems[group.problems.front()];
        return std::all_of(group.problems.begin(), group.problems.end(), [&](std::size_t index) {
            const ReportProblem& p = file.problems[index];
            return p.Title() == first.Title() && p.priority == first.priority && p.section508 == first.section508 &&
                   p.HelpTopic() == first.HelpTopic();
        });
    }

    void WriteGroup(const ReportFile& file, const ReportGroup& group)
    {
        const bool oneCheck = OfOneCheck(file, group);
        const ReportProblem& first = file.problems[group.problems.front()];
        m_out << "<div class=\"group\" data-group=\"" << Text(group.name) << "\" data-level=\""
              << (group.atLevel ? "target" : "outside") << "\">\n<h4>" << Text(group.name) << " ("
              << group.problems.size() << ")</h4>\n<p class=\"rule\">";
        if (oneCheck) {
            WriteCheckFacts(first);
        } else {
            m_out << "Things a person must judge; each check is named in its row.";
        }
        if (!group.atLevel)
            m_out << " <span class=\"outside\">Outside the target: does not count.</span>";
        m_out << "</p>\n<table class=\"problems\" summary=\"The problems of this check on the page, in page order, "
                 "with the source line at fault.\">\n<thead><tr><th scope=\"col\">Line</th>"
              << "<th scope=\"col\">Column</th>" << (oneCheck ? "" : "<th scope=\"col\" class=\"check\">Check</th>")
              << "<th scope=\"col\" class=\"problem\">Problem</th><th scope=\"col\">WCAG 2</th>"
              << "<th scope=\"col\">Source</th></tr></thead>\n<tbody>\n";
        for (std::size_t index : group.problems) {
            const ReportProblem& p = file.problems[index];
            if (p.line == 0)
                m_out << "<tr><td>page</td><td></td>";
            else
                m_out << "<tr><td class=\"num\">" << p.line << "</td><td class=\"num\">" << p.column << "</td>";
            if (!oneCheck) {
                m_out << "<td>" << Text(p.Title()) << "<br>";
                WriteCheckFacts(p);
                m_out << "</td>";
            }
            m_out << "<td>" << Text(p.text) << "</td><td>";
            WriteCriteriaCell(p.Wcag2());
            m_out << "</td><td>";
            if (p.line == 0)
                m_out << "the page as a whole";
            else if (p.source)
                WriteSource(*p.source);
            m_out << "</td></tr>\n";
        }
        m_out << "</tbody>\n</table>\n</div>\n";
    }

    // The numbers and levels; the whole names are in each number's tooltip.
    void WriteCriteriaCell(const Wcag2Criteria& criteria)
    {
        if (criteria.empty()) {
            m_out << "none";
            return;
        }
        bool first = true;
        for (const SuccessCriterion* criterion : criteria) {
            m_out << (first ? "" : ", ") << "<abbr title=\"" << Text(criterion->name) << "\">" << Text(criterion->number)
                  << "</abbr>\u00a0" << Text(Wcag2LevelText(criterion->level));
            first = false;
        }
    }

    void WriteCheckFacts(const ReportProblem& problem)
    {
        m_out << "Priority " << Text(PriorityLabel(problem.priority));
        if (problem.section508)
            m_out << " \u00b7 Section 508";
        m_out << " \u00b7 WCAG 2.2: " << Text(Wcag2Text(problem.Wcag2(), problem.CheckName()));
        if (problem.HelpTopic().empty())
            return;
        if (auto link = m_report.helpLinks.find(problem.HelpTopic()); link != m_report.helpLinks.end())
            m_out << " \u00b7 <a class=\"help\" href=\"" << Text(link->second) << "\">Help topic "
                  << Text(problem.HelpTopic()) << "</a>";
        else
            m_out << " \u00b7 <span class=\"help\">Help topic " << Text(problem.HelpTopic()) << "</span>";
    }

    void WriteSource(const SourceExcerpt& source)
    {
        if (source.text.empty())
            return;
        std::string_view text = source.text;
        std::size_t markStart = std::min(source.markStart, text.size());
        std::size_t markEnd = std::min(text.size(), markStart + std::max<std::size_t>(source.markLength, 1));
        m_out << "<code>";
        if (source.cutBefore)
            m_out << "<span class=\"cut\">\u2026</span>";
        m_out << Text(text.substr(0, markStart)) << "<mark>" << Text(text.substr(markStart, markEnd - markStart))
              << "</mark>" << Text(text.substr(markEnd));
        if (source.cutAfter)
            m_out << "<span class=\"cut\">\u2026</span>";
        m_out << "</code>";
    }

    const Report& m_report;
    std::ostream& m_out;
    // The folder all pages lie in, said once so the table names pages briefly.
    const std::string m_folder;
};

} // namespace

void WriteHtmlReport(const Report& report, std::ostream& out) { HtmlReportWriter(report, out).Write(); }

} // namespace orvane::cli
