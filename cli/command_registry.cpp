// orvane registry: what a site's (or the user's) object registry remembers,
// forgetting part of it, merging two, and starting a site's own.
#include "command_line.h"
#include "commands.h"

#include "library/html/page_encoding.h"
#include "library/html/page_text.h"
#include "library/registry/object_database.h"
#include "platform/file_system.h"

#include <filesystem>
#include <ostream>

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kCommand = "registry";

// The registry keeps texts as they came in: typed texts in UTF-8, page texts
// in the page's bytes. What is not UTF-8 is read as a browser reads an
// undeclared page.
std::string ToUtf8(std::string_view text)
{
    if (IsValidUtf8(text))
        return std::string(text);
    PageEncoding encoding;
    encoding.name = "windows-1252";
    return PageBytesToUtf8(text, encoding);
}

struct RegistryOptions {
    std::string file;
    std::string check;
    std::string output;
};

// The registry the current folder's site keeps, else the user's own; the one
// named with --registry before both.
std::unique_ptr<CSrcObjectDatabase> OpenChosen(const RegistryOptions& options)
{
    auto registry = std::make_unique<CSrcObjectDatabase>();
    if (!options.file.empty()) {
        registry->SetFilePath(options.file);
        if (fs::path(options.file).parent_path().filename() == ".orvane")
            registry->UseSiteRegistry(options.file);
    } else {
        registry->UseSiteOf((fs::current_path() / "page").string());
    }
    return registry;
}

// Why a registry that is there could not be used; empty when it loaded or is missing.
std::string LoadProblem(CSrcObjectDatabase& registry)
{
    if (registry.Load() || !platform::FileExists(registry.FilePath()))
        return {};
    return registry.HadMergeConflict() ? "holds the marks of an unfinished merge (lines beginning with <<<<<<<)"
                                       : "cannot be read";
}

void ShowJudgement(std::ostream& out, const CSrcJudgement& judgement)
{
    out << "  " << judgement.check << ' ' << judgement.key << ": " << ToUtf8(judgement.verdict);
    if (!judgement.by.empty())
        out << " by " << ToUtf8(judgement.by);
    if (!judgement.date.empty())
        out << " on " << judgement.date;
    out << '\n';
}

void ShowDocument(std::ostream& out, const CSrcDocument& document)
{
    out << ToUtf8(document.Name()) << '\n';
    for (const CSrcJudgement* judgement : document.Judgements())
        ShowJudgement(out, *judgement);
    int tables = 0;
    for (const auto& table : document.Tables())
        tables += table->IsJudged() && !table->Id().empty() ? 1 : 0;
    if (tables > 0)
        out << "  " << tables << " table(s) judged\n";
    if (!document.Applets().empty())
        out << "  " << document.Applets().size() << " applet(s)\n";
    if (!document.AsciiArts().empty())
        out << "  " << document.AsciiArts().size() << " ASCII-art block(s)\n";
    if (!document.Links().empty())
        out << "  " << document.Links().size() << " link(s)\n";
}

bool SaveAs(CSrcObjectDatabase& registry, const std::string& path, std::ostream& err)
{
    registry.SetFilePath(path);
    CSrcObjectDatabase::SetChanged(true);
    if (registry.Save())
        return true;
    err << "orvane registry: " << path << " could not be written\n";
    return false;
}

int Show(const RegistryOptions& options, const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() > 1)
        return UsageError(kCommand, "show takes at most one PAGE", err);
    std::unique_ptr<CSrcObjectDatabase> registry = OpenChosen(options);
    if (std::string problem = LoadProblem(*registry); !problem.empty()) {
        err << "orvane registry: " << registry->FilePath() << ' ' << problem << '\n';
        return kExitError;
    }
    out << "registry " << registry->FilePath() << (registry->IsSiteRegistry() ? " (the site's)" : "") << '\n';
    if (!args.empty()) {
        const CSrcDocument* document = registry->FindDocument(args[0]);
        if (!document) {
            out << args[0] << ": nothing remembered\n";
            return kExitOk;
        }
        ShowDocument(out, *document);
        return kExitOk;
    }
    for (const auto& document : registry->Documents())
        ShowDocument(out, *document);
    if (!registry->Images().empty())
        out << registry->Images().size() << " image(s) with remembered texts\n";
    return kExitOk;
}

int Forget(const RegistryOptions& options, const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err)
{
    if (args.size() != 1)
        return UsageError(kCommand, "forget takes one PAGE", err);
    std::unique_ptr<CSrcObjectDatabase> registry = OpenChosen(options);
    if (std::string problem = LoadProblem(*registry); !problem.empty()) {
        // Nothing is written over a registry someone has to mend.
        err << "orvane registry: " << registry->FilePath() << ' ' << problem << "; nothing was changed\n";
        return kExitError;
    }
    CSrcDocument* document = registry->FindDocument(args[0]);
    if (!document) {
        out << args[0] << ": nothing remembered\n";
        return kExitOk;
    }
    const std::string name = document->Name();
    if (options.check.empty()) {
        registry->RemoveDocument(name);
        out << name << ": everything forgotten\n";
    } else {
        out << name << ": " << document->ForgetJudgements(options.check) << " judgement(s) of " << options.check
            << " forgotten\n";
    }
    return SaveAs(*registry, registry->FilePath(), err) ? kExitOk : kExitError;
}

int Merge(const RegistryOptions& options, const std::vector<std::string>& args, std::ostream& out,
          std::ostream& err)
{
    if (args.size() != 2)
        return UsageError(kCommand, "merge takes two registries, A and B", err);
    if (options.output.empty())
        return UsageError(kCommand, "merge writes to the file --output names", err);
    CSrcObjectDatabase merged(args[0]);
    CSrcObjectDatabase other(args[1]);
    for (CSrcObjectDatabase* registry : {&merged, &other}) {
        if (!registry->Load()) {
            err << "orvane registry: " << registry->FilePath() << ' '
                << (registry->HadMergeConflict() ? "holds the marks of an unfinished merge (lines beginning with <<<<<<<)"
                                                 : "is missing or cannot be read")
                << '\n';
            return kExitError;
        }
    }
    for (const CSrcObjectDatabase::JudgementConflict& conflict : merged.MergeFrom(std::move(other))) {
        out << "conflict: " << ToUtf8(conflict.document) << ' ' << conflict.kept.check << ' ' << conflict.kept.key
            << ": kept \"" << ToUtf8(conflict.kept.verdict) << "\" (" << ToUtf8(conflict.kept.by) << ", "
            << conflict.kept.date << "), dropped \"" << ToUtf8(conflict.dropped.verdict) << "\" ("
            << ToUtf8(conflict.dropped.by) << ", " << conflict.dropped.date << ")\n";
    }
    return SaveAs(merged, options.output, err) ? kExitOk : kExitError;
}

int Init(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (!args.empty())
        return UsageError(kCommand, "init takes nothing more", err);
    const fs::path file = fs::current_path() / fs::path(CSrcObjectDatabase::kSiteFile);
    if (platform::FileExists(file.string())) {
        err << "orvane registry: " << file.string() << " is there already\n";
        return kExitError;
    }
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    CSrcObjectDatabase registry;
    registry.UseSiteRegistry(file.string());
    if (!SaveAs(registry, file.string(), err))
        return kExitError;
    out << "started the site registry " << file.string() << '\n';
    return kExitOk;
}

} // namespace

int RunRegistry(const Arguments& args, std::ostream& out, std::ostream& err)
{
    CommandLine line;
    if (std::optional<int> status = ReadCommandLine(kCommand, args, line, out, err))
        return *status;
    RegistryOptions options;
    for (const GivenOption& given : line.options) {
        if (given.spec->id == OptionId::Registry)
            options.file = given.value;
        else if (given.spec->id == OptionId::Check)
            options.check = given.value;
        else if (given.spec->id == OptionId::Output)
            options.output = given.value;
    }
    const std::string action = line.operands.front();
    const std::vector<std::string> rest(line.operands.begin() + 1, line.operands.end());
    if (action == "show")
        return Show(options, rest, out, err);
    if (action == "forget")
        return Forget(options, rest, out, err);
    if (action == "merge")
        return Merge(options, rest, out, err);
    if (action == "init")
        return Init(rest, out, err);
    return UsageError(kCommand, "unknown action '" + action + "' (show, forget, merge or init)", err);
}

} // namespace orvane::cli
