#include "batch_options.h"

namespace orvane::cli {

bool ParseBatchOption(const std::vector<std::string>& args, std::size_t& i, BatchOptions& options,
                      std::string& error)
{
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--tables") {
        std::optional<TableMode> mode;
        if (!hasValue || !(mode = ParseTableMode(args[++i])))
            error = "--tables takes skip, data, layout or guess";
        else
            options.tables = *mode;
        return true;
    }
    if (arg == "--shard") {
        std::optional<Shard> shard;
        if (!hasValue || !(shard = ParseShard(args[++i])))
            error = "--shard takes K/N, the K-th of N shares (1 <= K <= N)";
        else
            options.shard = shard;
        return true;
    }
    if (arg == "--quiet") {
        options.quiet = true;
        return true;
    }
    return false;
}

std::string TakeBatchOption(const GivenOption& given, BatchOptions& options)
{
    std::vector<std::string> args{std::string(given.spec->name)};
    if (given.spec->kind != ValueKind::None)
        args.push_back(given.value);
    std::size_t i = 0;
    std::string error;
    if (!ParseBatchOption(args, i, options, error))
        return "unknown option " + args.front();
    return error;
}

} // namespace orvane::cli
