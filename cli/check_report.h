#pragma once

#include <functional>

#include "shard.h"
#include "table_guess.h"

#include <cstdint>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {
struct PageEncoding;
struct SuccessCriterion;
}

namespace orvane::cli {

// The WCAG 2.2 success criteria of a check; empty when WCAG 2 has none for it.
using Wcag2Criteria = std::vector<const SuccessCriterion*>;

// The source line at fault, cut to a window around the problem when the line
// is long, so a report of a minified page stays readable and small.
struct SourceExcerpt {
    std::string text;  // bytes of the page, without the line break
    std::size_t markStart = 0;  // where the problem's markup starts in text
    std::size_t markLength = 0;
    bool cutBefore = false;  // text starts after the line's start
    bool cutAfter = false;   // text ends before the line's end
};

// The excerpt of the line of page holding offset; the mark covers length
// bytes from offset as far as they lie in the line and the window.
SourceExcerpt ExcerptAround(std::string_view page, std::size_t offset, std::size_t length);
// The excerpt as UTF-8, read in the page's encoding, the mark moved with it;
// the markup stays as written, references and all.
SourceExcerpt DecodedExcerpt(SourceExcerpt excerpt, const PageEncoding& encoding);

// A check's own texts, the same for every problem it finds: shared by them,
// as a large page has tens of thousands of problems of a few dozen checks.
struct ReportCheck {
    std::string name;
    std::string title;
    std::string helpTopic;
    Wcag2Criteria wcag2;
    // The W3C ACT rule of a WCAG 2.2 rule's findings ("c487ae"); empty for a WCAG 1.0 check.
    std::string act = {};
};

// A remembered verdict that settles a problem: someone judged it, so it
// counts as closed, and the reports say by whom and when.
struct ReportSettlement {
    std::string verdict;
    std::string by;
    std::string date;
};

// What `orvane check` found on one page, taken from the overview's problem
// model; every output format writes it.
struct ReportProblem {
    std::shared_ptr<const ReportCheck> check;
    int family = 0;  // the family the problem counts under
    std::uint32_t bit = 0;
    int priority = 3;
    bool section508 = false;
    bool grouped = true;
    bool atLevel = false;
    std::uint64_t line = 0;  // 0 for the page as a whole
    std::uint64_t column = 0;
    std::string text;
    // Only gathered for the formats that show it: most reports have none.
    std::unique_ptr<SourceExcerpt> source;
    // Set when a remembered verdict settles the problem; it is then in no
    // group. Held apart, so that a page no one judged carries one null
    // pointer per problem.
    std::unique_ptr<const ReportSettlement> settled;

    const std::string& CheckName() const { return check ? check->name : Empty(); }
    // The text that tells the problem apart from the others of its check;
    // empty where it would only say the check's title again (a general
    // warning's text is its title).
    std::string_view OwnText() const { return text == Title() ? std::string_view() : std::string_view(text); }
    const std::string& Title() const { return check ? check->title : Empty(); }
    const std::string& HelpTopic() const { return check ? check->helpTopic : Empty(); }
    const Wcag2Criteria& Wcag2() const
    {
        static const Wcag2Criteria none;
        return check ? check->wcag2 : none;
    }

private:
    static const std::string& Empty()
    {
        static const std::string empty;
        return empty;
    }
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
    // What the page's bytes were read as ("windows-1252"); the texts of its
    // problems are UTF-8 whatever it is.
    std::string encoding;
    int target = 0;
    int achieved = 0;
    int achievedIfWarningsConfirmed = 0;
    int unclassifiedTables = 0;
    // Tables taken as layout or data tables for this run, for someone to confirm.
    std::vector<AssumedTable> assumedTables;
    std::vector<ReportProblem> problems;  // in page order
    std::vector<ReportGroup> groups;      // in the overview's order, without the settled problems
    // At a WCAG 2.2 target, the rules that applied to some element of the page,
    // so that a rule that passed is told from one that did not apply.
    std::vector<std::string> rulesApplied;
    // The problems at the target still open; those settled are counted apart.
    int ProblemsAtLevel() const;
    int SettledAtLevel() const;
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
    Wcag2Criteria wcag2;
    // The W3C ACT rule of a WCAG 2.2 rule ("c487ae"); empty for a WCAG 1.0 check.
    std::string act;
};

// Whether the problem is one the rule reports: a WCAG 1.0 check's by its
// family and bit, a WCAG 2.2 rule's by its name.
bool IsOfRule(const ReportProblem& problem, const ReportRule& rule);

struct Report {
    int target = 0;
    bool all = false;
    // The text format names each problem's WCAG 2 criteria only when asked.
    bool wcag2 = false;
    std::vector<ReportFile> files;
    std::vector<ReportRule> rules;
    // The address of each help topic that has one; other topics are named as text.
    std::map<std::string, std::string> helpLinks;
    // The share of the pages this run took, when it took one.
    std::optional<Shard> shard;
    // What else decides which pages a run saw and what it found in them, so
    // that only shares of one run are merged: the paths named, and the
    // options besides the target that change findings.
    std::vector<std::string> paths;
    std::string tables = "skip";
    bool ariaNames = false;
    // The registry the decisions came from: a file's name, "none", or empty for the user's own.
    std::string registry;
    // Folders the run could not read, with why, and links to folders it did not follow.
    std::vector<std::string> foldersNotRead;
    std::vector<std::string> linksNotFollowed;
};

void WriteTextReport(const Report& report, std::ostream& out);
void WriteJsonReport(const Report& report, std::ostream& out);
void WriteSarifReport(const Report& report, std::ostream& out);
void WriteJunitReport(const Report& report, std::ostream& out);
void WriteHtmlReport(const Report& report, std::ostream& out);
// W3C EARL in JSON-LD: one assertion per page and rule, its outcome failed,
// passed, inapplicable or cannot tell, as ACT implementation reports take it.
void WriteEarlReport(const Report& report, std::ostream& out);

// Where a report goes: empty or "-" is standard output. An output that is
// one of the inputs (the same file, by whatever name) is refused before
// anything is read or written: a report must never take the place of a
// page or a share. Returns what is wrong, empty when it is sound.
std::string OutputProblem(const std::string& output, const std::vector<std::string>& inputs);
// Writes the report there, whole or not at all; false, with why on err
// (after "orvane COMMAND: "), when it did not get there, standard output
// that could not take it (a full disk) included.
bool WriteReportTo(std::string_view command, const std::string& output,
                   const std::function<bool(std::ostream&)>& write, std::ostream& out, std::ostream& err);

// The priority as the overview writes it: "1", "BITV I-2", "BITV II-3".
std::string PriorityLabel(int priority);
std::string LevelLabel(int level);
// "data table" or "layout table".
std::string_view TableTypeLabel(int type);
// "guessed data table (rule: header cells)", "taken as layout table (--tables layout)".
std::string AssumedTableText(const AssumedTable& table);
// Reads a JSON report as WriteJsonReport writes it. False, with the reason,
// for anything else.
bool ReadJsonReport(std::string_view text, Report& report, std::string& reason);

// Text that is no page's (paths, errors) as valid UTF-8, for the formats
// that must be: a sequence that is not becomes U+FFFD.
std::string ValidUtf8(std::string_view text);

// Escapes for XML and HTML text and attribute values.
std::string EscapeMarkup(std::string_view text);
// "1.1.1 Non-text Content (A); 2.1.1 Keyboard (A)", or the words telling that
// WCAG 2 has no counterpart; "closest criterion: ..." where WCAG 2 does not
// require the check as such.
std::string Wcag2Text(const Wcag2Criteria& criteria, std::string_view check);
inline constexpr std::string_view kClosestWcag2 = "closest criterion: ";
inline constexpr std::string_view kNoWcag2Counterpart = "no WCAG 2 counterpart";

} // namespace orvane::cli
