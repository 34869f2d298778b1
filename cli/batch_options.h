#pragma once

#include "command_line.h"
#include "shard.h"
#include "table_guess.h"

#include <optional>
#include <string>

namespace orvane::cli {

// The options every command over folders of pages shares: --tables, --shard
// and --quiet.
struct BatchOptions {
    TableMode tables = TableMode::kSkip;
    std::optional<Shard> shard;
    bool quiet = false;
};

// Takes one of the shared options the command line's table has read:
// --tables, --shard or --quiet. Returns what is wrong with its value, empty
// when it is sound.
std::string TakeBatchOption(const GivenOption& given, BatchOptions& options);

} // namespace orvane::cli
