#include "check_invariants.h"

#include "fuzz_services.h"

#include "common/orvane_settings.h"
#include "library/checks/check_pass.h"
#include "library/checks/family_factory.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/registry/object_database.h"
#include "library/ui/problem_list.h"

#include <map>
#include <sstream>
#include <vector>

namespace orvane::fuzz {
namespace {

constexpr std::string_view kPageName = "page.html";

enum class Intake { File, Text, Lines };

const char* NameOf(Intake intake)
{
    switch (intake) {
    case Intake::File: return "file";
    case Intake::Text: return "text";
    default: return "lines";
    }
}

void TakeIn(CHtmlDocument& document, std::string_view page, Intake intake)
{
    if (intake == Intake::File) {
        std::istringstream in{std::string(page)};
        document.Load(in);
    } else {
        document.Start(intake == Intake::Text ? 0 : 1, false);
        if (intake == Intake::Text) {
            document.AddLine(page);
        } else {
            AddLineByLine(document, page);
        }
        document.Finish();
    }
    document.SetName(std::string(kPageName));
}

bool IsSingleBit(std::uint32_t bit) { return bit != 0 && (bit & (bit - 1)) == 0; }

// The problems as positions in the document, so two passes can be compared.
using Found = std::vector<std::pair<std::size_t, std::uint32_t>>;

std::string Validate(const CHtmlDocument& document, const std::vector<CFoundProblem>& problems, Found& found)
{
    found.clear();
    std::size_t lastIndex = 0;
    std::uint32_t lastBit = 0;
    for (const CFoundProblem& problem : problems) {
        if (!problem.element || !document.Find(problem.element))
            return "a problem points at an element that is not in the page";
        const std::size_t index = document.IndexOf(*problem.element);
        if (problem.element->IsDeleted())
            return "a problem points at a deleted element (" + std::to_string(index) + ")";
        if (!IsSingleBit(problem.bit) || (problem.element->ProblemMask() & problem.bit) == 0)
            return "a problem's bit is not one bit of its element's problem mask (element " + std::to_string(index) +
                   ")";
        if (!found.empty() && (index < lastIndex || (index == lastIndex && problem.bit <= lastBit)))
            return "the problems are not in page order (element " + std::to_string(index) + ")";
        lastIndex = index;
        lastBit = problem.bit;
        found.emplace_back(index, problem.bit);
    }
    return {};
}

// Problems by family and check, leaving out the page-wide ones of the
// document element, whose text runs the intakes cut differently.
std::map<std::pair<int, std::uint32_t>, int> Summary(const std::vector<CFoundProblem>& problems)
{
    std::map<std::pair<int, std::uint32_t>, int> summary;
    for (const CFoundProblem& problem : problems) {
        if (problem.element->Kind() != kind::kDocument)
            ++summary[{problem.element->Kind(), problem.bit}];
    }
    return summary;
}

using CheckCounts = std::map<std::pair<int, std::uint32_t>, int>;

// The first check counted differently, as "family/bit: a vs b".
std::string FirstDifference(const CheckCounts& expected, const CheckCounts& actual)
{
    auto count = [](const CheckCounts& counts, const CheckCounts::key_type& key) {
        auto it = counts.find(key);
        return it == counts.end() ? 0 : it->second;
    };
    CheckCounts keys = expected;
    keys.insert(actual.begin(), actual.end());
    for (const auto& [key, ignored] : keys) {
        if (count(expected, key) != count(actual, key))
            return "check " + std::to_string(key.first) + "/" + std::to_string(key.second) + " is found " +
                   std::to_string(count(actual, key)) + " times, " + std::to_string(count(expected, key)) +
                   " as a file";
    }
    return {};
}

// Some checks run only where they count at the target level, so the list is
// compared with a pass at the same level.
std::string CheckProblemList(CHtmlDocument& document, COrvaneSettings& settings, CSrcObjectDatabase& registry)
{
    struct LevelRestorer {
        COrvaneSettings& settings;
        int level;
        ~LevelRestorer() { settings.SetConformanceLevel(level); }
    } restore{settings, settings.GetConformanceLevel()};

    for (int target : {level::kA, level::kAA, level::kAAA, level::kSection508}) {
        settings.SetConformanceLevel(target);
        const std::vector<CFoundProblem> problems = RunCheckPass(document, settings, &registry);
        const std::size_t expected = problems.size();
        CProblemList list;
        list.Prepare(document, settings, &registry);
        if (list.AllEntries().size() != expected)
            return "the problem list holds " + std::to_string(list.AllEntries().size()) + " entries, the pass found " +
                   std::to_string(expected);
        for (std::size_t i = 0; i < expected; ++i) {
            const CProblemEntry& entry = *list.AllEntries()[i];
            if (&entry.Element() != problems[i].element || entry.Bit() != problems[i].bit)
                return "entry " + std::to_string(i) + " of the problem list is not the problem the pass found";
        }
        list.Group(settings);
        // Every entry lands in one group, as a head or under one, but for a
        // general warning met again, which is shown once per check.
        std::size_t grouped = 0;
        for (const auto* group : {&list.AtLevelGroup(), &list.OtherGroup()}) {
            for (const CProblemEntry* head : *group)
                grouped += 1 + head->Grouped().size();
        }
        std::size_t repeated = 0;
        for (const auto& entry : list.AllEntries()) {
            if (list.IsShown(*entry))
                continue;
            if (entry->IsGrouped())
                return "a problem of a grouped check is not shown at level " + std::to_string(target);
            ++repeated;
        }
        if (grouped + repeated != expected)
            return "the groups at level " + std::to_string(target) + " hold " + std::to_string(grouped) +
                   " entries and " + std::to_string(repeated) + " repeated warnings of " + std::to_string(expected);
        for (const auto& entry : list.AllEntries()) {
            (void)entry->Description(document.Encoding());
            (void)entry->Name();
        }
        for (bool confirmed : {false, true}) {
            CProblemSummary summary = list.Summarize(target, confirmed);
            if (summary.achievedLevel < kLevelNone || summary.achievedLevel > level::kSection508)
                return "the achieved level " + std::to_string(summary.achievedLevel) + " is no level";
            if (summary.open < 0 || summary.repaired < 0)
                return "the summary counts are negative";
        }
        const int result = list.SessionResult();
        if (result < 0 || result > 3)
            return "the session result " + std::to_string(result) + " is out of range";
    }
    return {};
}

} // namespace

std::string CheckPageChecks(std::string_view page)
{
    COrvaneSettings settings;
    settings.Load();
    // A registry that is not loaded: lookups find nothing, additions stay in memory.
    CSrcObjectDatabase registry("unused-" + std::string(CSrcObjectDatabase::kFileName));

    CheckCounts fromFile;
    for (Intake intake : {Intake::File, Intake::Text, Intake::Lines}) {
        const std::string name = NameOf(intake);
        CHtmlDocument document(CFamilyElementFactory::Instance());
        TakeIn(document, page, intake);

        std::vector<CFoundProblem> problems = RunCheckPass(document, settings, &registry);
        Found first;
        if (std::string failure = Validate(document, problems, first); !failure.empty())
            return name + ": " + failure;

        std::ostringstream out;
        if (!document.Write(out) || out.str() != page)
            return name + ": the page does not write back byte for byte after the check pass";

        Found again;
        if (std::string failure = Validate(document, RunCheckPass(document, settings, &registry), again);
            !failure.empty())
            return name + " checked again: " + failure;
        if (again != first)
            return name + ": checking again finds " + std::to_string(again.size()) + " problems, not " +
                   std::to_string(first.size());

        if (intake == Intake::File) {
            fromFile = Summary(problems);
            if (std::string failure = CheckProblemList(document, settings, registry); !failure.empty())
                return name + ": " + failure;
        } else if (intake == Intake::Lines) {
            // Line by line, the elements are the file's, only long lines come
            // whole instead of in pieces. (Given as one text, the lines of a
            // text run are one text element, which the length rules of some
            // checks judge otherwise than the line-long elements of a file.)
            if (CheckCounts counts = Summary(problems); counts != fromFile)
                return name + ": the page is judged otherwise than as a file: " + FirstDifference(fromFile, counts);
        }
    }
    return {};
}

} // namespace orvane::fuzz
