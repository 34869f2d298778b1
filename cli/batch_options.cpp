#include "batch_options.h"

#include "page_loading.h"

#include "common/orvane_settings.h"
#include "library/html/lang_codes.h"

namespace orvane::cli {

std::string TakeBatchOption(const GivenOption& given, BatchOptions& options)
{
    switch (given.spec->id) {
    case OptionId::Tables:
        if (std::optional<TableMode> mode = ParseTableMode(given.value)) {
            options.tables = *mode;
            return {};
        }
        return "--tables takes skip, data, layout or guess";
    case OptionId::Shard:
        if (std::optional<Shard> shard = ParseShard(given.value)) {
            options.shard = shard;
            return {};
        }
        return "--shard takes K/N, the K-th of N shares (1 <= K <= N)";
    case OptionId::Quiet:
        options.quiet = true;
        return {};
    case OptionId::AllowEmpty:
        options.allowEmpty = true;
        return {};
    default:
        return "unknown option " + std::string(given.spec->name);
    }
}

std::optional<int> ReadBatchCommandLine(std::string_view command, const Arguments& args, BatchOptions& options,
                                        const CommandOptionTaker& takeOwn, std::ostream& out, std::ostream& err)
{
    CommandLine line;
    if (std::optional<int> status = ReadCommandLine(command, args, line, out, err))
        return status;
    for (const GivenOption& given : line.options) {
        std::string problem;
        switch (given.spec->id) {
        case OptionId::Level:
            options.level = ParseLevel(given.value);
            break;
        case OptionId::Aria:
            options.ariaNames = true;
            break;
        case OptionId::Registry:
            options.registryFile = given.value;
            break;
        case OptionId::NoRegistry:
            options.noRegistry = true;
            break;
        case OptionId::Tables:
        case OptionId::Shard:
        case OptionId::Quiet:
        case OptionId::AllowEmpty:
            problem = TakeBatchOption(given, options);
            break;
        default:
            problem = takeOwn(given);
            break;
        }
        if (!problem.empty())
            return UsageError(command, problem, err);
    }
    options.paths = std::move(line.operands);
    return std::nullopt;
}

void LoadRunSettings(COrvaneSettings& settings, const BatchOptions& options)
{
    settings.Load();
    if (options.level)
        settings.SetConformanceLevel(*options.level);
    if (options.ariaNames)
        settings.SetAriaNames(true);
}

bool StartBatchRun(std::string_view command, const BatchOptions& options, std::vector<FoundPage>& pages,
                   std::ostream& err, std::vector<std::string>* notRead,
                   std::vector<std::string>* linksToFolders)
{
    if (!NamedRegistryReadable(command, options.registryFile, err))
        return false;
    PageSearch search = SearchPages(options.paths);
    if (!options.allowEmpty && !search.withoutPages.empty()) {
        for (const std::string& folder : search.withoutPages)
            err << "orvane " << command << ": no page in the folder " << folder
                << " (.htm, .html, .shtml, .shtm); --allow-empty accepts that\n";
        return false;
    }
    for (const std::string& folder : search.notRead)
        err << "orvane " << command << ": a folder was not read: " << folder << '\n';
    for (const std::string& link : search.linksToFolders)
        err << "orvane " << command << ": a link to a folder is not followed: " << link << '\n';
    if (notRead)
        *notRead = search.notRead;
    if (linksToFolders)
        *linksToFolders = search.linksToFolders;
    CLanguageCodeList::Library().Load();
    pages = PagesOfShard(std::move(search.pages), options.shard);
    return true;
}

} // namespace orvane::cli
