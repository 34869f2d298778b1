#include "rule_findings.h"

#include "rule_engine.h"
#include "rule_table.h"

#include "library/a11y/accessibility_tree.h"
#include "library/html/text_util.h"
#include "platform/services.h"

#include <algorithm>
#include <array>
#include <memory>
#include <tuple>
#include <unordered_map>

namespace orvane::rules {

namespace {

constexpr int kJudgeText = 1350;
constexpr int kFindingText = 1351;

// The string of each rule's title.
int TitleString(std::string_view id)
{
    static const std::unordered_map<std::string_view, int> kTitles = {
        {"aria-attr-defined", 1300},
        {"aria-hidden-no-focusable-content", 1301},
        {"aria-required-context-role", 1302},
        {"aria-required-id-references", 1303},
        {"aria-required-owned-element", 1304},
        {"aria-state-or-property-permitted", 1305},
        {"aria-state-or-property-valid-value", 1306},
        {"attr-not-duplicated", 1307},
        {"autocomplete-valid-value", 1308},
        {"button-non-empty-accessible-name", 1309},
        {"bypass-blocks", 1310},
        {"css-restrict-orientation", 1311},
        {"element-lang-valid", 1312},
        {"element-marked-decorative-is-not-exposed", 1313},
        {"explicit-SVG-image-non-empty-accessible-name", 1314},
        {"form-field-non-empty-accessible-name", 1315},
        {"heading-non-empty-accessible-name", 1316},
        {"html-page-lang", 1317},
        {"html-page-lang-valid", 1318},
        {"html-page-lang-xml-lang-match", 1319},
        {"html-page-non-empty-title", 1320},
        {"id-value-unique", 1321},
        {"iframe-non-empty-accessible-name", 1322},
        {"iframe-with-interactive-content-in-tab-order", 1323},
        {"image-button-non-empty-accessible-name", 1324},
        {"image-non-empty-accessible-name", 1325},
        {"important-letter-spacing-wide-enough", 1326},
        {"important-line-height-wide-enough", 1327},
        {"important-word-spacing-wide-enough", 1328},
        {"link-non-empty-accessible-name", 1329},
        {"menuitem-non-empty-name", 1330},
        {"meta-refresh-no-delay", 1331},
        {"meta-refresh-no-delay-no-exception", 1332},
        {"meta-viewport", 1333},
        {"object-has-accessible-name", 1334},
        {"presentational-children-no-focusable-content", 1335},
        {"role-attribute-valid-value", 1336},
        {"role-required-states-and-properties", 1337},
        {"summary-non-empty-accessible-name", 1338},
        {"table-header-cell-has-assigned-cells", 1339},
        {"table-headers-attribute-refer-to-data-cells", 1340},
        {"visible-label-in-accessible-name", 1341},
    };
    const auto it = kTitles.find(id);
    return it == kTitles.end() ? 0 : it->second;
}

int LevelRank(std::string_view level) { return static_cast<int>(level.size()); }  // "A" 1, "AA" 2, "AAA" 3

bool OnlyObsoleteCriteria(std::string_view criteria)
{
    // 4.1.1 Parsing was taken out of WCAG 2.2.
    return criteria.empty() || Trim(criteria) == "4.1.1";
}

} // namespace

std::vector<std::string_view> SplitCriteria(std::string_view criteria)
{
    std::vector<std::string_view> numbers;
    while (!criteria.empty()) {
        const std::size_t blank = criteria.find(' ');
        if (blank != 0)
            numbers.push_back(criteria.substr(0, blank));
        if (blank == std::string_view::npos)
            break;
        criteria.remove_prefix(blank + 1);
    }
    return numbers;
}

bool ParseWcag22Target(std::string_view text, Wcag22Target& target)
{
    const std::string lower = ToLower(Trim(text));
    if (lower == "2.2-a")
        target = Wcag22Target::kA;
    else if (lower == "2.2-aa")
        target = Wcag22Target::kAA;
    else if (lower == "2.2-aaa")
        target = Wcag22Target::kAAA;
    else
        return false;
    return true;
}

std::string_view Wcag22TargetText(Wcag22Target target)
{
    switch (target) {
    case Wcag22Target::kA: return "2.2-A";
    case Wcag22Target::kAA: return "2.2-AA";
    case Wcag22Target::kAAA: return "2.2-AAA";
    }
    return "2.2-AA";
}

bool RuleCountsAt(const RuleDefinition& rule, Wcag22Target target)
{
    const int wanted = static_cast<int>(target) + 1;
    if (OnlyObsoleteCriteria(rule.criteria))
        return wanted == 3;
    return LevelRank(rule.level) <= wanted;
}

std::string RuleTitle(const RuleDefinition& rule)
{
    const int id = TitleString(rule.id);
    std::string title = id ? platform::Strings().Get(id) : std::string();
    return title.empty() ? std::string(rule.id) : title;
}

namespace {

// The rules counting at each target, indexed once for the program's life.
const RuleSet& RulesAt(Wcag22Target target)
{
    static const std::array<std::unique_ptr<const RuleSet>, 3> sets = [] {
        std::array<std::unique_ptr<const RuleSet>, 3> made;
        for (Wcag22Target t : {Wcag22Target::kA, Wcag22Target::kAA, Wcag22Target::kAAA}) {
            std::vector<const RuleDefinition*> rows;
            for (const RuleDefinition& rule : RuleTable())
                if (RuleCountsAt(rule, t))
                    rows.push_back(&rule);
            made[static_cast<std::size_t>(t)] = std::make_unique<const RuleSet>(rows);
        }
        return made;
    }();
    return *sets[static_cast<std::size_t>(target)];
}

} // namespace

std::vector<RuleFinding> CheckWcag22(const CHtmlDocument& document, Wcag22Target target,
                                     std::vector<const RuleDefinition*>* applied)
{
    const RuleSet& rules = RulesAt(target);
    const a11y::AccessibilityTree tree(document);
    const PageContext page{tree, true};
    std::vector<RuleFinding> findings;
    std::vector<bool> seen;
    const std::vector<RuleResult> results = RunRulesForFindings(page, rules, seen);
    if (applied) {
        for (std::size_t at = 0; at < rules.Size(); ++at) {
            if (seen[at])
                applied->push_back(&rules.Rule(at));
        }
    }
    // A page's findings of one rule share its title.
    std::unordered_map<const RuleDefinition*, std::string> titles;
    for (const RuleResult& result : results) {
        if (result.outcome != Outcome::Failed && result.outcome != Outcome::CannotTell)
            continue;
        RuleFinding finding;
        finding.element = tree.At(result.node).element;
        if (finding.element)
            finding.position = document.LocationOf(*finding.element);
        const RuleDefinition* row = result.rule;
        finding.rule = row;
        finding.helpTopic = std::string(row->helpTopic);
        auto title = titles.find(row);
        if (title == titles.end())
            title = titles.emplace(row, RuleTitle(*row)).first;
        std::string text = title->second;
        if (!result.detail.empty())
            text += ": " + result.detail;
        // Without the string tables (a test, a tool) the plain text is kept.
        auto format = [](int id, std::initializer_list<std::string_view> args, std::string plain) {
            std::string formatted = platform::Strings().Format(id, args);
            return formatted.empty() ? plain : formatted;
        };
        text = format(kFindingText, {text, row->criteria.empty() ? std::string_view("-") : row->criteria}, text);
        finding.cannotTell = result.outcome == Outcome::CannotTell;
        if (finding.cannotTell)
            text = format(kJudgeText, {text}, text);
        finding.text = std::move(text);
        findings.push_back(std::move(finding));
    }
    std::stable_sort(findings.begin(), findings.end(), [](const RuleFinding& a, const RuleFinding& b) {
        return std::tie(a.position.line, a.position.column) < std::tie(b.position.line, b.position.column);
    });
    return findings;
}

} // namespace orvane::rules
