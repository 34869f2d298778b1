#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace orvane::cli {

// What `orvane check` found on one page, taken from the overview's problem
// model; every output format writes it.
struct ReportProblem {
    std::string check;  // the check's name
    int family = 0;     // the family the problem counts under
    std::uint32_t bit = 0;
    std::string title;
    int priority = 3;
    bool section508 = false;
    bool grouped = true;
    bool atLevel = false;
    std::uint64_t line = 0;  // 0 for the page as a whole
    std::uint64_t column = 0;
    std::string text;
    std::string helpTopic;
};

// A node of the overview: a check, or the general warnings.
struct ReportGroup {
    bool atLevel = false;
    std::string name;
    std::vector<std::size_t> problems;  // indexes into ReportFile::problems
};

struct ReportFile {
    std::string path;
    std::string error;  // not empty: the page could not be checked
    int target = 0;
    int achieved = 0;
    int achievedIfWarningsConfirmed = 0;
    int unclassifiedTables = 0;
    std::vector<ReportProblem> problems;  // in page order
    std::vector<ReportGroup> groups;      // in the overview's order
    int ProblemsAtLevel() const;
};

// A check of the catalogue, for formats that list the rules.
struct ReportRule {
    std::string check;
    int family = 0;
    std::uint32_t bit = 0;
    std::string title;
    int priority = 3;
    bool section508 = false;
    bool grouped = true;
    std::string helpTopic;
    bool appliesAtTarget = false;
};

struct Report {
    int target = 0;
    bool all = false;
    std::vector<ReportFile> files;
    std::vector<ReportRule> rules;
};

void WriteTextReport(const Report& report, std::ostream& out);
void WriteJsonReport(const Report& report, std::ostream& out);
void WriteSarifReport(const Report& report, std::ostream& out);
void WriteJunitReport(const Report& report, std::ostream& out);
void WriteHtmlReport(const Report& report, std::ostream& out);

// The priority as the overview writes it: "1", "BITV I-2", "BITV II-3".
std::string PriorityLabel(int priority);
std::string LevelLabel(int level);
// Escapes for XML and HTML text and attribute values.
std::string EscapeMarkup(std::string_view text);

} // namespace orvane::cli
