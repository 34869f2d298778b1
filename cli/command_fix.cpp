#include "batch_options.h"
#include "command_line.h"
#include "commands.h"
#include "shard.h"
#include "table_guess.h"
#include "page_loading.h"

#include "common/line_diff.h"
#include "common/orvane_settings.h"
#include "common/page_saving.h"
#include "library/checks/family_factory.h"
#include "library/registry/object_database.h"
#include "library/rules/rule_repairs.h"
#include "library/ui/checking_session.h"
#include "library/ui/problem_list.h"
#include "platform/file_system.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <ostream>
#include <sstream>

namespace orvane::cli {
namespace {

struct FixOptions {
    std::vector<std::string> only;
    bool dryRun = false;
    bool diff = false;
    std::optional<int> save;
    BatchOptions batch;
};

// Returns the exit status when the command line is all there is to do.
std::optional<int> ParseOptions(const Arguments& args, FixOptions& options, std::ostream& out, std::ostream& err)
{
    return ReadBatchCommandLine("fix", args, options.batch, [&](const GivenOption& given) {
        switch (given.spec->id) {
        case OptionId::Only:
            if (SplitList(given.value).empty())
                return TakesMessage(*given.spec);
            for (std::string& name : SplitList(given.value))
                options.only.push_back(std::move(name));
            break;
        case OptionId::DryRun:
            options.dryRun = true;
            break;
        case OptionId::Diff:
            options.diff = true;
            break;
        case OptionId::Save:
            options.save = given.value == "replace"  ? filesaves::kReplace
                           : given.value == "backup" ? filesaves::kReplaceKeepOriginal
                                                     : filesaves::kBeside;
            break;
        default:
            break;
        }
        return std::string();
    }, out, err);
}

// The repairs a run makes are the automatic ones of the checks chosen, switched
// on in the run's own copy of the settings (which is never saved), so that
// the repair code asks the settings as it does in a session. The remembered
// choices the repairs put in stay the user's. An empty text names every such check.
std::string ChooseRepairs(COrvaneSettings& settings, const std::vector<std::string>& only)
{
    std::vector<std::string> offered;
    for (const auto& check : settings.CheckSettings()) {
        if (check->AutoRepairMode() != autorepair::kNotOffered)
            offered.push_back(check->Name());
    }
    for (const std::string& name : only) {
        if (std::find(offered.begin(), offered.end(), name) == offered.end())
            return "--only: " + name + " is no check with an automatic repair; those are: " + JoinList(offered);
    }
    for (const auto& check : settings.CheckSettings()) {
        if (check->AutoRepairMode() == autorepair::kNotOffered)
            continue;
        const bool chosen = only.empty() || std::find(only.begin(), only.end(), check->Name()) != only.end();
        check->SetAutoRepairMode(chosen ? autorepair::kOn : autorepair::kOff);
    }
    return {};
}

std::string Where(const std::string& path, const SourceLocation& at)
{
    if (at.line == 0)
        return path;
    return path + ":" + std::to_string(at.line) + ":" + std::to_string(at.column);
}

// "path:line:col: what CheckName: the check's title" for each problem that
// counts at the target, with the ones repaired (true) or still open (false).
void ListProblems(std::ostream& out, const std::string& path, const CHtmlDocument& document,
                  const CProblemList& problems, const std::string& what, bool repaired)
{
    for (const auto& entry : problems.AllEntries()) {
        if (!problems.IsShown(*entry) || !problems.IsAtLevel(*entry) || entry->IsRepaired() != repaired)
            continue;
        const CElement& element = entry->Element();
        out << Where(path, document.LocationOf(element)) << ": " << what << ' ' << element.GetCheckName(entry->Bit())
            << ": " << element.GetCheckTitle(entry->Bit()) << '\n';
    }
}

// At a WCAG 2.2 target the rule set judges the page, and the automatic
// repairs made are those of the WCAG 1.0 checks that mend what a rule fails
// on (the page language, a refresh). For one page it narrows the run's
// repairs to those and lets the checks find their problems at every priority;
// the settings are as they were when it ends.
class CWcag22RepairScope {
public:
    CWcag22RepairScope(COrvaneSettings& settings, const CHtmlDocument& document) : m_settings(settings)
    {
        m_target = settings.GetConformanceLevel();
        if (!level::IsWcag22(m_target))
            return;
        std::set<std::string_view> mending;
        for (const rules::RuleFinding& finding : rules::CheckWcag22(document, RulesTargetOf(m_target))) {
            if (finding.cannotTell)
                continue;
            for (std::string_view check : rules::RepairingChecks(*finding.rule))
                mending.insert(check);
        }
        for (const auto& check : settings.CheckSettings()) {
            if (check->AutoRepairMode() == autorepair::kOn && !mending.contains(check->Name())) {
                check->SetAutoRepairMode(autorepair::kOff);
                m_switchedOff.push_back(check.get());
            }
        }
        settings.SetConformanceLevel(level::kAAA);
    }
    ~CWcag22RepairScope()
    {
        for (CheckSetting* check : m_switchedOff)
            check->SetAutoRepairMode(autorepair::kOn);
        m_settings.SetConformanceLevel(m_target);
    }
    CWcag22RepairScope(const CWcag22RepairScope&) = delete;
    CWcag22RepairScope& operator=(const CWcag22RepairScope&) = delete;

private:
    COrvaneSettings& m_settings;
    int m_target = 0;
    std::vector<CheckSetting*> m_switchedOff;
};

// "path:line:col: still counts rule-id: the rule's title" for each failed
// finding of the rule set at a WCAG 2.2 target; how many there are.
int ListRuleFindings(std::ostream& out, const std::string& path, const CHtmlDocument& document, int target)
{
    int count = 0;
    for (const rules::RuleFinding& finding : rules::CheckWcag22(document, RulesTargetOf(target))) {
        if (finding.cannotTell)
            continue;
        out << Where(path, finding.position) << ": still counts " << finding.rule->id << ": "
            << rules::RuleTitle(*finding.rule) << '\n';
        ++count;
    }
    return count;
}

struct FileOutcome {
    bool error = false;
    bool stillCounts = false;
};

class CFixRun {
public:
    CFixRun(const FixOptions& options, COrvaneSettings& settings, CRunRegistries& registry, std::ostream& out,
            std::ostream& err)
        : m_options(options), m_settings(settings), m_registry(registry), m_out(out), m_err(err)
    {
    }

    // The folders named: a page found in one is not written through a link that leads out of them all.
    void SetFolders(std::vector<std::string> folders) { m_folders = std::move(folders); }
    FileOutcome Fix(const FoundPage& page);

private:
    std::optional<std::string> ReadPage(const std::string& path);
    // Writes the repaired page by the file-save mode; the name it went to, or
    // nothing (with the message given) when it went nowhere.
    std::optional<std::string> Save(const std::string& path, const std::string& repaired);
    // How many problems count at the target in the page as it is written.
    std::optional<int> CountAfter(const std::string& path, const std::string& repaired);

    const FixOptions& m_options;
    COrvaneSettings& m_settings;
    CRunRegistries& m_registry;
    std::ostream& m_out;
    std::ostream& m_err;
    std::vector<std::string> m_folders;
};

std::optional<std::string> CFixRun::ReadPage(const std::string& path)
{
    std::string reason;
    std::unique_ptr<std::istream> in = platform::OpenForReading(path, &reason);
    if (!in) {
        m_err << "orvane: cannot read " << path << ": " << reason << '\n';
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in->rdbuf();
    if (in->bad()) {
        m_err << "orvane: reading " << path << " failed\n";
        return std::nullopt;
    }
    return bytes.str();
}

int ModeOf(const FixOptions& options, const COrvaneSettings& settings)
{
    if (options.save)
        return *options.save;
    // There is nobody to ask for a name: beside the page leaves it as it is.
    return settings.GetFileSaves() == filesaves::kAsk ? filesaves::kBeside : settings.GetFileSaves();
}

std::optional<std::string> CFixRun::Save(const std::string& path, const std::string& repaired)
{
    CDiskPageSaveFiles files;
    std::string reason;
    const PageWriter write = [&](const std::string& target) {
        return platform::WriteFileAtomically(
            target,
            [&](std::ostream& file) {
                file.write(repaired.data(), static_cast<std::streamsize>(repaired.size()));
                return static_cast<bool>(file);
            },
            &reason);
    };
    PageSaveResult result;
    switch (ModeOf(m_options, m_settings)) {
    case filesaves::kReplace: result = SavePageReplacing(files, write, path); break;
    case filesaves::kReplaceKeepOriginal:
        result = SavePageKeepingBackup(files, write, path, m_settings.GetOriginalExtension());
        break;
    default: result = SavePageBeside(files, write, path, m_settings.GetValidateExtension()); break;
    }
    if (result.noCopyAside && !result.saved.empty()) {
        m_err << "orvane: no copy of " << path << " could be kept while it was written, so it was left as it is; "
              << "the repaired page is " << result.saved << '\n';
    }
    if (result.saved.empty()) {
        m_err << "orvane: cannot write the repaired " << path;
        if (!reason.empty())
            m_err << ": " << reason;
        if (!result.originalKeptIn.empty())
            m_err << "; the page as it was is in " << result.originalKeptIn;
        else
            m_err << "; the page is as it was";
        m_err << '\n';
        return std::nullopt;
    }
    if (!result.backup.empty())
        m_out << path << ": the page as it was is kept in " << result.backup << '\n';
    return result.saved;
}

std::optional<int> CFixRun::CountAfter(const std::string& path, const std::string& repaired)
{
    CHtmlDocument document(CFamilyElementFactory::Instance());
    std::istringstream in(repaired);
    if (!LoadPageFrom(document, path, in, m_err))
        return std::nullopt;
    if (level::IsWcag22(m_settings.GetConformanceLevel()))
        return ListRuleFindings(m_out, path, document, m_settings.GetConformanceLevel());
    CProblemList problems;
    FindProblems(problems, document, m_settings, &m_registry.For(path), m_options.batch.tables);
    document.SetObjectRegistry(nullptr);
    ListProblems(m_out, path, document, problems, "still counts", false);
    const auto& all = problems.AllEntries();
    return static_cast<int>(std::count_if(all.begin(), all.end(), [&](const auto& entry) {
        return problems.IsShown(*entry) && problems.IsAtLevel(*entry);
    }));
}

FileOutcome CFixRun::Fix(const FoundPage& page)
{
    const std::string& path = page.path;
    FileOutcome outcome;
    const std::optional<std::string> original = ReadPage(path);
    CHtmlDocument document(CFamilyElementFactory::Instance());
    std::istringstream in(original.value_or(std::string()));
    if (!original || !LoadPageFrom(document, path, in, m_err)) {
        outcome.error = true;
        return outcome;
    }
    const std::string level = LevelName(m_settings.GetConformanceLevel());
    std::optional<CWcag22RepairScope> wcag22(std::in_place, m_settings, document);
    CProblemList problems;
    CSrcObjectDatabase& registry = m_registry.For(path);
    FindProblems(problems, document, m_settings, &registry, m_options.batch.tables);
    std::vector<CValidatorSheet::NotRepairedNote> notRepaired;
    RepairAutomatically(problems, document, m_settings, registry, path, &notRepaired);
    document.SetObjectRegistry(nullptr);
    ListProblems(m_out, path, document, problems, m_options.dryRun ? "would repair" : "repaired", true);
    // Written in part, the problem is still open (and listed again below as counting).
    for (const auto& entry : problems.AllEntries()) {
        if (!problems.IsShown(*entry) || !problems.IsAtLevel(*entry) || !entry->IsPartlyRepaired(false))
            continue;
        const CElement& element = entry->Element();
        m_out << Where(path, document.LocationOf(element)) << ": "
              << (m_options.dryRun ? "would repair in part " : "repaired in part ") << element.GetCheckName(entry->Bit())
              << ": " << element.GetCheckTitle(entry->Bit()) << '\n';
    }
    // A repair that would have had to guess says so, and why.
    for (const CValidatorSheet::NotRepairedNote& note : notRepaired) {
        m_out << Where(path, document.LocationOf(*note.element)) << ": " << note.element->GetCheckName(note.bit) << ' '
              << note.why << '\n';
    }

    wcag22.reset();

    std::ostringstream written;
    if (document.Write(written) != 1) {
        m_err << "orvane: the repaired " << path << " could not be made; the page is as it was\n";
        outcome.error = true;
        return outcome;
    }
    const std::string repaired = written.str();
    std::string target = path;
    std::error_code linkError;
    if (repaired != *original && !m_options.dryRun && !page.folder.empty() &&
        std::filesystem::is_symlink(path, linkError) && !LeadsInto(path, m_folders)) {
        m_err << "orvane: " << path << " is a link to a file outside the folders named; it is not written\n";
        outcome.error = true;
        return outcome;
    }
    if (repaired != *original && !m_options.dryRun) {
        std::optional<std::string> saved = Save(path, repaired);
        if (!saved) {
            outcome.error = true;
            return outcome;
        }
        target = *saved;
    }
    const std::optional<int> open = CountAfter(target, repaired);
    if (!open) {
        outcome.error = true;
        return outcome;
    }
    outcome.stillCounts = *open > 0;
    m_out << path << ": ";
    if (repaired == *original)
        m_out << "nothing repaired";
    else if (m_options.dryRun)
        m_out << "would be written to " << target;
    else
        m_out << "written to " << target;
    m_out << "; " << *open << (*open == 1 ? " problem still counts" : " problems still count") << " at level "
          << level << '\n';
    if (m_options.diff)
        m_out << UnifiedDiff(*original, repaired, path, target);
    return outcome;
}

} // namespace

int RunFix(const Arguments& args, std::ostream& out, std::ostream& err)
{
    FixOptions options;
    if (std::optional<int> status = ParseOptions(args, options, out, err))
        return *status;
    COrvaneSettings settings;
    LoadRunSettings(settings, options.batch);
    if (std::string problem = ChooseRepairs(settings, options.only); !problem.empty()) {
        err << "orvane fix: " << problem << '\n';
        return kExitError;
    }
    std::vector<FoundPage> pages;
    std::vector<std::string> notRead;
    if (!StartBatchRun("fix", options.batch, pages, err, &notRead))
        return kExitError;
    // The registry is only read: what a run repairs is no decision of the user's to remember.
    CRunRegistries registries("fix", options.batch.registryFile, options.batch.noRegistry, err);

    CFixRun run(options, settings, registries, out, err);
    std::vector<std::string> folders;
    for (const std::string& path : options.batch.paths) {
        std::error_code ignored;
        if (std::filesystem::is_directory(path, ignored))
            folders.push_back(path);
    }
    run.SetFolders(std::move(folders));
    bool error = !notRead.empty();
    bool stillCounts = false;
    // Each page's report follows as soon as it is repaired, so a progress line
    // would only be written over by it: fix shows none.
    for (const FoundPage& page : pages) {
        const FileOutcome outcome = run.Fix(page);
        error = error || outcome.error;
        stillCounts = stillCounts || outcome.stillCounts;
    }
    if (error)
        return kExitError;
    return stillCounts ? kExitFindings : kExitOk;
}

} // namespace orvane::cli
