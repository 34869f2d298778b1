#pragma once

#include "command_line.h"
#include "commands.h"
#include "shard.h"
#include "table_guess.h"

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {
class COrvaneSettings;
}

namespace orvane::cli {

// The options every command over folders of pages shares, and the pages and
// folders it was given.
struct BatchOptions {
    std::optional<int> level;
    bool ariaNames = false;
    std::string registryFile;
    bool noRegistry = false;
    TableMode tables = TableMode::kSkip;
    std::optional<Shard> shard;
    bool quiet = false;
    bool allowEmpty = false;
    std::vector<std::string> paths;
};

// Takes one of the shared options the command line's table has read:
// --tables, --shard or --quiet. Returns what is wrong with its value, empty
// when it is sound.
std::string TakeBatchOption(const GivenOption& given, BatchOptions& options);

// Takes an option of the command's own; returns what is wrong with its
// value, empty when it is sound.
using CommandOptionTaker = std::function<std::string(const GivenOption&)>;

// Reads the command line of a command over folders of pages: the shared
// options into options, each of its own to takeOwn, in the order given, so
// the first bad value is the one named. Returns the exit status when the
// command line is all there is to do.
std::optional<int> ReadBatchCommandLine(std::string_view command, const Arguments& args, BatchOptions& options,
                                        const CommandOptionTaker& takeOwn, std::ostream& out, std::ostream& err);

// The user's settings, with the target and the ARIA names the command line
// chose for this run only: the stored choices are what the user made.
void LoadRunSettings(COrvaneSettings& settings, const BatchOptions& options);

// Readies a run: a registry named must be there, the language codes the
// checks ask are loaded, and pages gets the pages of the run's share. Each
// folder that could not be read is named on err and in notRead, when given,
// and so is each link to a folder (not followed) in linksToFolders.
// False, with why on err, when the run cannot start: a folder named that
// holds no page is taken for a wrong name, unless options.allowEmpty.
bool StartBatchRun(std::string_view command, const BatchOptions& options, std::vector<FoundPage>& pages,
                   std::ostream& err, std::vector<std::string>* notRead = nullptr,
                   std::vector<std::string>* linksToFolders = nullptr);

} // namespace orvane::cli
