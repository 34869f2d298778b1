#pragma once

// What the orvane command accepts, as data: the parser, the help text, the
// manual page and the shell completion are all written from these tables, so
// an option added here is known to all four at once.

#include <span>
#include <string_view>

namespace orvane::cli {

// Every option of every command, for the commands' switches over what was given.
enum class OptionId {
    Help,
    Version,
    Level,
    Format,
    Output,
    All,
    Jobs,
    Registry,
    NoRegistry,
    HelpBase,
    Tables,
    Shard,
    Quiet,
    Only,
    DryRun,
    Diff,
    Save,
    Set,
    Wcag2,
    Aria,
    AllowEmpty,
    Check,
};

// What follows an option, or an operand, and how a shell completes it.
enum class ValueKind {
    None,    // a switch without a value
    Choice,  // one of the option's values
    Number,  // a whole number from 1 to 9999
    File,    // a file name
    Path,    // a file or a folder
    Text,    // anything, an address for instance
    Command, // the name of one of the commands
};

struct OptionSpec {
    OptionId id;
    std::string_view name;       // "--level"
    std::string_view shortName;  // "-h", or empty
    ValueKind kind;
    std::string_view argument;   // how the value is named in the usage ("FILE"); choices show their values
    std::span<const std::string_view> values;  // the valid values of a choice
    bool anyCase;                // a choice's values are taken in upper or lower case
    std::string_view takes;      // "a file name": the end of "--output takes a file name"
    std::string_view help;       // one sentence for the option list
    std::string_view excludes;   // the option that may not be given with this one, or empty
};

struct CommandSpec {
    std::string_view name;      // "check"; empty for the program itself
    std::string_view operands;  // "PATH...", as the usage shows them
    ValueKind operandKind;
    int minOperands;
    int maxOperands;            // -1: no limit
    std::string_view missingOperands;  // the message when too few are given, or empty for the usage alone
    std::string_view summary;   // one line for the list of commands
    std::string_view description;  // a paragraph for the manual page and the command's help
    std::span<const OptionSpec> options;
};

struct DescribedItem {
    std::string_view name;
    std::string_view text;
};

struct ProgramSpec {
    std::string_view name;
    std::string_view version;
    std::string_view summary;
    std::string_view description;
    std::span<const OptionSpec> options;    // given before a command
    std::span<const CommandSpec> commands;
    std::span<const DescribedItem> exitStatuses;
    std::span<const DescribedItem> environment;
    std::span<const DescribedItem> files;
};

const ProgramSpec& Program();
// The command of that name, or null.
const CommandSpec* FindCommand(std::string_view name);
// The option of the command given as that word (long or short name), or null.
const OptionSpec* FindOption(const CommandSpec& command, std::string_view word);
const OptionSpec* FindOption(std::span<const OptionSpec> options, std::string_view word);

} // namespace orvane::cli
