#include "batch_options.h"
#include "check_report.h"
#include "command_line.h"
#include "commands.h"
#include "page_loading.h"
#include "progress.h"
#include "shard.h"
#include "table_guess.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/check_info.h"
#include "library/checks/element_table.h"
#include "library/checks/family_factory.h"
#include "library/checks/wcag2_criteria.h"
#include "library/html/tag_table.h"
#include "library/registry/object_database.h"
#include "library/rules/rule_findings.h"
#include "library/rules/rule_table.h"
#include "library/ui/settled_lookup.h"
#include "library/ui/problem_list.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/terminal.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>
#include <thread>
#include <typeinfo>

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;

struct CheckOptions {
    std::string format = "text";
    std::string output;
    bool all = false;
    bool wcag2 = false;
    unsigned jobs = 0;
    std::optional<std::string> helpBase;
    BatchOptions batch;
};

// Returns the exit status when the command line is all there is to do.
std::optional<int> ParseOptions(const Arguments& args, CheckOptions& options, std::ostream& out, std::ostream& err)
{
    return ReadBatchCommandLine("check", args, options.batch, [&](const GivenOption& given) {
        switch (given.spec->id) {
        case OptionId::Format:
            options.format = given.value;
            break;
        case OptionId::Output:
            options.output = given.value;
            break;
        case OptionId::All:
            options.all = true;
            break;
        case OptionId::Wcag2:
            options.wcag2 = true;
            break;
        case OptionId::Jobs:
            options.jobs = static_cast<unsigned>(std::stoi(given.value));
            break;
        case OptionId::HelpBase:
            options.helpBase = given.value;
            break;
        default:
            break;
        }
        return std::string();
    }, out, err);
}

std::string HelpTopicOf(const CElement& element, std::uint32_t bit)
{
    if (!element.IsGrouped(bit))
        return element.GetWarningHelpTopic(bit);
    if (const auto* family = dynamic_cast<const CCatalogueElement*>(&element))
        return family->RepairHelpTopic(bit);
    return {};
}

// Everything one worker needs of its own: checks change what they look at.
struct Worker {
    COrvaneSettings settings;
    std::unique_ptr<CRunRegistries> registries;
};

// Tables nobody said are layout or data tables get no type checks.
int CountUnclassifiedTables(const CHtmlDocument& document)
{
    int count = 0;
    for (const CElement* e : document.Elements()) {
        // The kind first: a cast of every element of a large page costs more than its check.
        if (e->Kind() != tag::kTable || e->IsDeleted())
            continue;
        const auto* table = dynamic_cast<const CElementTable*>(e);
        if (table && table->TableRecord().Type() == 0)
            ++count;
    }
    return count;
}

constexpr std::size_t kNotReported = static_cast<std::size_t>(-1);

// The success criteria a rule maps to, as the reports name them.
Wcag2Criteria CriteriaOf(const rules::RuleDefinition& rule)
{
    Wcag2Criteria wcag2;
    for (const std::string_view number : rules::SplitCriteria(rule.criteria))
        if (const SuccessCriterion* criterion = FindSuccessCriterion(number))
            wcag2.push_back(criterion);
    return wcag2;
}

// At a WCAG 2.2 target: the rule set's findings, each rule a check of the
// report; what a person must judge is a warning outside the target's count.
void CheckPageWcag22(ReportFile& file, const CHtmlDocument& document, const std::string& page, bool withSource,
                     const CSrcObjectDatabase* registry)
{
    // What a person judged of the rules' findings in the desktop checker.
    CSettledLookup judged(document, registry ? registry->FindDocument(document.Name()) : nullptr);
    const int target = file.target;
    const rules::Wcag22Target rulesTarget = RulesTargetOf(target);
    std::map<const rules::RuleDefinition*, std::shared_ptr<const ReportCheck>> checkOf;
    std::map<const rules::RuleDefinition*, std::size_t> groupOf;
    bool failed = false;
    std::vector<const rules::RuleDefinition*> applied;
    for (const rules::RuleFinding& finding : rules::CheckWcag22(document, rulesTarget, &applied)) {
        auto [check, added] = checkOf.try_emplace(finding.rule);
        if (added) {
            check->second = std::make_shared<const ReportCheck>(
                ReportCheck{std::string(finding.rule->id), rules::RuleTitle(*finding.rule), finding.helpTopic,
                            CriteriaOf(*finding.rule), std::string(finding.rule->actId)});
        }
        ReportProblem problem;
        problem.check = check->second;
        problem.priority = finding.cannotTell ? 3 : 1;
        problem.atLevel = !finding.cannotTell;
        problem.line = finding.position.line;
        problem.column = finding.position.column;
        problem.text = finding.text;
        if (finding.cannotTell && !judged.Empty()) {
            if (const CSrcJudgement* judgement = judged.FindRule(finding.rule->id, finding.element))
                problem.settled = std::make_unique<const ReportSettlement>(
                    ReportSettlement{judgement->verdict, judgement->by, judgement->date});
        }
        if (withSource && problem.line > 0 && finding.element)
            problem.source = std::make_unique<SourceExcerpt>(ExcerptAround(
                page, document.SourceOffsetOf(*finding.element), finding.element->Text().size()));
        failed = failed || !finding.cannotTell;
        auto [group, newGroup] = groupOf.try_emplace(finding.rule, file.groups.size());
        if (newGroup) {
            ReportGroup added;
            added.atLevel = !finding.cannotTell;
            added.name = check->second->title;
            file.groups.push_back(std::move(added));
        }
        file.groups[group->second].problems.push_back(file.problems.size());
        file.problems.push_back(std::move(problem));
    }
    std::stable_sort(file.groups.begin(), file.groups.end(),
                     [](const ReportGroup& a, const ReportGroup& b) { return a.name < b.name; });
    for (const rules::RuleDefinition* rule : applied)
        file.rulesApplied.emplace_back(rule->id);
    file.achieved = failed ? kLevelNone : target;
    file.achievedIfWarningsConfirmed = file.achieved;
}

// At a WCAG 2.2 target the rule set's rules follow the WCAG 1.0 checks
// (which apply there only when always included).
void AddRuleSetRules(std::vector<ReportRule>& rules, int target)
{
    if (!level::IsWcag22(target))
        return;
    for (const rules::RuleDefinition& row : rules::RuleTable()) {
        ReportRule rule;
        rule.check = std::string(row.id);
        rule.title = rules::RuleTitle(row);
        rule.priority = 1;
        rule.helpTopic = std::string(row.helpTopic);
        rule.appliesAtTarget = rules::RuleCountsAt(row, RulesTargetOf(target));
        rule.wcag2 = CriteriaOf(row);
        rule.act = std::string(row.actId);
        rules.push_back(std::move(rule));
    }
}

ReportFile CheckPage(const std::string& path, Worker& worker, bool all, bool withSource, TableMode tables)
{
    ReportFile file;
    file.path = path;
    file.target = worker.settings.GetConformanceLevel();
    CHtmlDocument document(CFamilyElementFactory::Instance());
    std::ostringstream error;
    if (!LoadPage(document, path, error)) {
        file.error = error.str();
        while (!file.error.empty() && file.error.back() == '\n')
            file.error.pop_back();
        return file;
    }
    // Taken before the checks run, so the excerpts show the page as it is on disk.
    std::string page = withSource ? document.Text() : std::string();
    file.encoding = document.Encoding().name;
    if (level::IsWcag22(file.target)) {
        CheckPageWcag22(file, document, page, withSource, &worker.registries->For(path));
        return file;
    }
    CProblemList problems;
    file.assumedTables = FindProblems(problems, document, worker.settings, &worker.registries->For(path), tables);
    file.achieved = problems.Summarize(file.target).achievedLevel;
    file.achievedIfWarningsConfirmed = problems.Summarize(file.target, true).achievedLevel;
    file.unclassifiedTables = CountUnclassifiedTables(document);

    auto reported = [&](const CProblemEntry& entry) {
        return problems.IsShown(entry) && (all || problems.IsAtLevel(entry));
    };
    file.problems.reserve(static_cast<std::size_t>(std::count_if(
        problems.AllEntries().begin(), problems.AllEntries().end(),
        [&](const auto& entry) { return reported(*entry); })));
    // A check's name, title and help topic belong to the element's class, not
    // to the element: looked up once per check, not once per problem. (Keyed
    // by the class's type record: comparing class names costs more.)
    std::map<std::pair<const std::type_info*, std::uint32_t>, std::shared_ptr<const ReportCheck>> checkOf;
    std::vector<std::size_t> reportIndexOf(problems.AllEntries().size(), kNotReported);
    for (std::size_t i = 0; i < problems.AllEntries().size(); ++i) {
        const CProblemEntry* entry = problems.AllEntries()[i].get();
        if (!reported(*entry))
            continue;
        const bool atLevel = problems.IsAtLevel(*entry);
        const CElement& element = entry->Element();
        auto [check, added] = checkOf.try_emplace({&typeid(element), entry->Bit()});
        if (added) {
            std::string name = element.GetCheckName(entry->Bit());
            Wcag2Criteria wcag2 = Wcag2CriteriaOf(name);
            check->second = std::make_shared<const ReportCheck>(ReportCheck{std::move(name),
                                                                            element.GetCheckTitle(entry->Bit()),
                                                                            HelpTopicOf(element, entry->Bit()),
                                                                            std::move(wcag2), {}});
        }
        ReportProblem problem;
        problem.check = check->second;
        problem.family = entry->Kind();
        problem.bit = entry->Bit();
        problem.priority = entry->Priority();
        problem.section508 = entry->IsSection508();
        problem.grouped = entry->IsGrouped();
        problem.atLevel = atLevel;
        SourceLocation at = document.LocationOf(element);
        problem.line = at.line;
        problem.column = at.column;
        problem.text = entry->Description(document.Encoding());
        if (const CSrcJudgement* judgement = entry->Settlement())
            problem.settled = std::make_unique<const ReportSettlement>(
                ReportSettlement{judgement->verdict, judgement->by, judgement->date});
        if (withSource && problem.line > 0)
            problem.source = std::make_unique<SourceExcerpt>(DecodedExcerpt(
                ExcerptAround(page, document.SourceOffsetOf(element), element.Text().size()), document.Encoding()));
        reportIndexOf[i] = file.problems.size();
        file.problems.push_back(std::move(problem));
    }
    auto addGroups = [&](const std::vector<CProblemEntry*>& heads, bool atLevel) {
        std::vector<ReportGroup> groups;
        for (const CProblemEntry* head : heads) {
            ReportGroup group;
            group.atLevel = atLevel;
            group.name = head->Name();
            auto take = [&](const CProblemEntry* member) {
                if (member->Settlement())
                    return;
                if (std::size_t index = reportIndexOf[member->Position()]; index != kNotReported)
                    group.problems.push_back(index);
            };
            take(head);
            for (const CProblemEntry* member : head->Grouped())
                take(member);
            if (!group.problems.empty())
                groups.push_back(std::move(group));
        }
        // The overview lists the checks of a group alphabetically.
        std::stable_sort(groups.begin(), groups.end(),
                         [](const ReportGroup& a, const ReportGroup& b) { return a.name < b.name; });
        file.groups.insert(file.groups.end(), groups.begin(), groups.end());
    };
    addGroups(problems.AtLevelGroup(), true);
    if (all)
        addGroups(problems.OtherGroup(), false);
    return file;
}

std::vector<ReportRule> CatalogueRules(const COrvaneSettings& settings)
{
    std::vector<ReportRule> rules;
    for (const ElementPtr& family : CreateCatalogueFamilies()) {
        std::uint32_t mask = family->GetCheckMask();
        for (std::uint32_t bit = 1; bit != 0; bit <<= 1) {
            if (!(mask & bit) || family->GetCheckName(bit).empty())
                continue;
            ReportRule rule;
            rule.check = family->GetCheckName(bit);
            rule.family = ReportedKind(*family);
            rule.bit = bit;
            rule.title = family->GetCheckTitle(bit);
            rule.priority = family->GetPriority(bit);
            rule.section508 = family->IsSection508(bit);
            rule.grouped = family->IsGrouped(bit);
            rule.helpTopic = HelpTopicOf(*family, bit);
            rule.appliesAtTarget = CheckApplies(*family, settings, bit);
            rule.wcag2 = Wcag2CriteriaOf(rule.check);
            // pre and xmp share their checks: list them once.
            bool known = std::any_of(rules.begin(), rules.end(), [&](const ReportRule& other) {
                return other.family == rule.family && other.bit == rule.bit;
            });
            if (!known)
                rules.push_back(std::move(rule));
        }
    }
    return rules;
}

std::string FileUrl(const fs::path& folder)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : fs::absolute(folder).lexically_normal().string()) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            url.push_back(static_cast<char>(c));
        } else {
            url.push_back('%');
            url.push_back(kHex[c >> 4]);
            url.push_back(kHex[c & 15]);
        }
    }
    if (url.back() != '/')
        url.push_back('/');
    return url;
}

// The help pages installed as plain HTML, found as every data file is.
std::optional<fs::path> InstalledHelpFolder()
{
    std::error_code error;
    if (std::string found = platform::FindDataFile("help"); !found.empty() && fs::is_directory(found, error))
        return fs::path(found);
    return std::nullopt;
}

// A topic named with --help-base is linked whether or not it exists (the
// address may be a web server); the installed help only where the page is there.
std::map<std::string, std::string> HelpLinks(const Report& report, const std::optional<std::string>& helpBase)
{
    std::map<std::string, std::string> links;
    std::string base;
    std::optional<fs::path> folder;
    if (helpBase) {
        base = *helpBase;
        if (!base.empty() && base.back() != '/')
            base.push_back('/');
    } else if ((folder = InstalledHelpFolder())) {
        base = FileUrl(*folder);
    }
    if (base.empty())
        return links;
    for (const ReportFile& file : report.files) {
        for (const ReportProblem& problem : file.problems) {
            const std::string& topic = problem.HelpTopic();
            if (topic.empty() || links.count(topic))
                continue;
            std::error_code error;
            if (!folder || fs::is_regular_file(*folder / topic, error))
                links.emplace(topic, base + topic);
        }
    }
    return links;
}

} // namespace

int RunCheck(const Arguments& args, std::ostream& out, std::ostream& err)
{
    CheckOptions options;
    if (std::optional<int> status = ParseOptions(args, options, out, err))
        return *status;
    std::vector<FoundPage> pages;
    std::vector<std::string> notRead;
    std::vector<std::string> linksToFolders;
    if (!StartBatchRun("check", options.batch, pages, err, &notRead, &linksToFolders))
        return kExitError;
    std::vector<std::string> inputs = options.batch.paths;
    for (const FoundPage& page : pages)
        inputs.push_back(page.path);
    if (std::string problem = OutputProblem(options.output, inputs); !problem.empty()) {
        err << "orvane check: " << problem << '\n';
        return kExitError;
    }

    unsigned jobs = options.jobs ? options.jobs : platform::ProcessorCount();
    jobs = std::max(1u, std::min<unsigned>(jobs, static_cast<unsigned>(std::max<std::size_t>(pages.size(), 1))));
    std::vector<std::unique_ptr<Worker>> workers;
    for (unsigned i = 0; i < jobs; ++i) {
        auto worker = std::make_unique<Worker>();
        LoadRunSettings(worker->settings, options.batch);
        worker->registries =
            std::make_unique<CRunRegistries>("check", options.batch.registryFile, options.batch.noRegistry, err);
        workers.push_back(std::move(worker));
    }

    Report report;
    report.target = workers.front()->settings.GetConformanceLevel();
    report.all = options.all;
    report.wcag2 = options.wcag2;
    report.rules = CatalogueRules(workers.front()->settings);
    AddRuleSetRules(report.rules, report.target);
    report.shard = options.batch.shard;
    report.paths = options.batch.paths;
    static constexpr const char* kTableModes[] = {"skip", "data", "layout", "guess"};
    report.tables = kTableModes[static_cast<int>(options.batch.tables)];
    report.ariaNames = workers.front()->settings.GetAriaNames();
    report.registry = options.batch.noRegistry ? "none" : options.batch.registryFile;
    report.foldersNotRead = std::move(notRead);
    report.linksNotFollowed = std::move(linksToFolders);
    report.files.resize(pages.size());

    ProgressLine progress(err, pages.size(), ShowsProgress(options.batch.quiet));
    std::atomic<std::size_t> next{0};
    auto work = [&](Worker& worker) {
        for (std::size_t i; (i = next++) < pages.size();) {
            progress.Starting(pages[i].path);
            report.files[i] =
                CheckPage(pages[i].path, worker, options.all, options.format == "html", options.batch.tables);
            progress.Finished();
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t i = 1; i < workers.size(); ++i)
        threads.emplace_back(work, std::ref(*workers[i]));
    work(*workers.front());
    for (std::thread& thread : threads)
        thread.join();
    progress.End();

    if (options.format == "html")
        report.helpLinks = HelpLinks(report, options.helpBase);

    bool unreadable = false;
    bool findings = false;
    for (const ReportFile& file : report.files) {
        if (!file.error.empty()) {
            err << file.error << '\n';
            unreadable = true;
        }
        findings = findings || file.ProblemsAtLevel() > 0;
    }

    auto write = [&](std::ostream& stream) {
        if (options.format == "json")
            WriteJsonReport(report, stream);
        else if (options.format == "sarif")
            WriteSarifReport(report, stream);
        else if (options.format == "junit")
            WriteJunitReport(report, stream);
        else if (options.format == "html")
            WriteHtmlReport(report, stream);
        else if (options.format == "earl")
            WriteEarlReport(report, stream);
        else
            WriteTextReport(report, stream);
        return static_cast<bool>(stream);
    };
    if (!WriteReportTo("check", options.output, write, out, err))
        return kExitError;
    if (unreadable || !report.foldersNotRead.empty())
        return kExitError;
    return findings ? kExitFindings : kExitOk;
}

} // namespace orvane::cli
