#pragma once

#include "command_line.h"
#include "shard.h"
#include "table_guess.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orvane::cli {

// The options every command over folders of pages shares: --tables, --shard
// and --quiet.
struct BatchOptions {
    TableMode tables = TableMode::kSkip;
    std::optional<Shard> shard;
    bool quiet = false;
};

// Takes args[i] (and the value after it, moving i on) when it is one of the
// shared options; false for any other argument. A bad value gives a message
// in error.
bool ParseBatchOption(const std::vector<std::string>& args, std::size_t& i, BatchOptions& options,
                      std::string& error);

// The same for an option the command line's table has read: --tables, --shard
// or --quiet. Returns what is wrong with its value, empty when it is sound.
std::string TakeBatchOption(const GivenOption& given, BatchOptions& options);

// For the commands' usage lines.
inline constexpr const char* kBatchUsage = "[--tables skip|data|layout|guess] [--shard K/N] [--quiet]";

} // namespace orvane::cli
