#include "batch_options.h"

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
    default:
        return "unknown option " + std::string(given.spec->name);
    }
}

} // namespace orvane::cli
