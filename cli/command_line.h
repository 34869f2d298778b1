#pragma once

#include "option_table.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace orvane::cli {

struct GivenOption {
    const OptionSpec* spec;
    std::string value;  // empty for a switch
};

struct CommandLine {
    std::vector<GivenOption> options;  // in the order given
    std::vector<std::string> operands;
    bool helpAsked = false;
};

// Reads a command's arguments (those after its name) by its table: an option
// that takes a value takes the next argument unless that is an option
// ("--..."), or the part after "=" in "--name=value"; an option with one
// value given twice is an error; "-" is an operand, and everything after
// "--" is one. Returns what is wrong, empty when the arguments are sound; once
// --help is seen nothing else is judged.
std::string ParseCommandLine(const CommandSpec& command, const std::vector<std::string>& args, CommandLine& line);

// One bracketed group of a command's synopsis: an option, with the one it
// excludes where there is one ("[--registry FILE | --no-registry]").
struct SynopsisGroup {
    const OptionSpec* option;
    const OptionSpec* partner;
};
// The groups in the table's order; --help is left to the option list.
std::vector<SynopsisGroup> SynopsisGroups(const CommandSpec& command);

// "--jobs takes a number from 1 up": what an option needs, as its errors say.
std::string TakesMessage(const OptionSpec& option);

// The items of a list value ("a,b,c"), empty ones dropped.
std::vector<std::string> SplitList(const std::string& text);
// "a, b, c": a list as messages name what would do.
std::string JoinList(const std::vector<std::string>& items);

// "usage: orvane check [--level A|AA|AAA|508] ... PATH...", wrapped.
void WriteUsage(const CommandSpec& command, std::ostream& out);
// The usage, what the command does and its options.
void WriteCommandHelp(const CommandSpec& command, std::ostream& out);
// The program's usage and its commands, for a command line it cannot run.
void WriteProgramUsage(std::ostream& out);
// Everything: the commands with their options, the exit statuses, the environment.
void WriteProgramHelp(std::ostream& out);
// "orvane 0.1.0"
void WriteVersion(std::ostream& out);

// The manual page orvane(1), in troff.
void WriteManualPage(std::ostream& out);
// A bash completion of the commands, options, their values and file names.
void WriteBashCompletion(std::ostream& out);

} // namespace orvane::cli
