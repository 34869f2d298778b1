#include "option_table.h"

#include <array>

#ifndef ORVANE_VERSION
#error "ORVANE_VERSION is set from the project's version by the build"
#endif

namespace orvane::cli {
namespace {

using namespace std::string_view_literals;

constexpr OptionSpec kHelpOption{OptionId::Help, "--help", "-h", ValueKind::None, {}, {}, false, {},
                                 "show this help and exit", {}};

constexpr std::array kProgramOptions{
    kHelpOption,
    OptionSpec{OptionId::Version, "--version", {}, ValueKind::None, {}, {}, false, {},
               "print the program's name and version and exit", {}},
};

constexpr std::array kLevels{"A"sv, "AA"sv, "AAA"sv, "508"sv};
constexpr std::array kFormats{"text"sv, "json"sv, "sarif"sv, "junit"sv, "html"sv};

constexpr std::array kCheckOptions{
    OptionSpec{OptionId::Level, "--level", {}, ValueKind::Choice, "LEVEL", kLevels, true, {},
               "the conformance target (default: the target in the user's settings)", {}},
    OptionSpec{OptionId::Format, "--format", {}, ValueKind::Choice, "FORMAT", kFormats, false, {},
               "the report's form (default text)", {}},
    OptionSpec{OptionId::Output, "--output", {}, ValueKind::File, "FILE", {}, false, "a file name",
               "write the report there (default standard output); written whole or not at all", {}},
    OptionSpec{OptionId::All, "--all", {}, ValueKind::None, {}, {}, false, {},
               "also report the problems that do not count at the target", {}},
    OptionSpec{OptionId::Jobs, "--jobs", {}, ValueKind::Number, "N", {}, false, "a number from 1 up",
               "check N files at a time (default: one per processor); the report keeps the files' order", {}},
    OptionSpec{OptionId::Registry, "--registry", {}, ValueKind::File, "FILE", {}, false, "a file name",
               "take remembered decisions (long descriptions, table types, ...) from this object registry "
               "(default: the user's own); it is only read",
               "--no-registry"},
    OptionSpec{OptionId::NoRegistry, "--no-registry", {}, ValueKind::None, {}, {}, false, {},
               "use no remembered decisions", "--registry"},
    OptionSpec{OptionId::HelpBase, "--help-base", {}, ValueKind::Text, "URL", {}, false,
               "an address (empty for no links)",
               "HTML report: link help topics as URL/TOPIC (empty: name them without links); by default the "
               "installed help pages as file:// links, topics without a page as text",
               {}},
    kHelpOption,
};

constexpr std::array kHelpOnly{kHelpOption};

constexpr std::array kCommands{
    CommandSpec{"check", "PATH...", ValueKind::Path, 1, -1, "no page or folder to check",
                "check pages and folders of pages",
                "Checks each PATH for accessibility problems and reports them. A PATH is a page or a folder; "
                "folders are searched through for .htm, .html, .shtml and .shtm files, in name order. A file "
                "named explicitly is checked whatever its extension. Each problem of the text report is one "
                "line starting FILE:LINE:COLUMN:, then its priority, the check and the problem. General "
                "warnings stay open until someone confirms them in the desktop tool, so reports also give the "
                "level a page would reach once they are confirmed.",
                kCheckOptions},
    CommandSpec{"elements", "FILE", ValueKind::File, 1, 1, {}, "list the elements of a page, one a line",
                "Lists the elements of the page FILE as the checker reads it, one a line: index, kind, "
                "partner, line:column and text, separated by tabs.",
                kHelpOnly},
    CommandSpec{"rewrite", "IN OUT", ValueKind::File, 2, 2, {}, "take a page in and write it out again",
                "Takes the page IN in as the checker does and writes it to OUT, through a temporary file, so "
                "OUT is either the complete new page or left as it was. An unchanged page comes back byte "
                "for byte.",
                kHelpOnly},
    CommandSpec{"help", "[COMMAND]", ValueKind::Command, 0, 1, {}, "show the commands, or one command's options",
                "Shows the commands, or with COMMAND that command's options, and exits.", {}},
};

constexpr std::array kExitStatuses{
    DescribedItem{"0", "no page has a problem that counts at the target; the other commands succeeded"},
    DescribedItem{"1", "some page has a problem that counts at the target"},
    DescribedItem{"2", "a usage error, or a page could not be read (the other pages are still checked) or a "
                       "file not written"},
};

constexpr std::array kEnvironment{
    DescribedItem{"ORVANE_HOME", "the folder of the per-user state, the settings and the object registry "
                                 "among it (default: ~/.local/share/Orvane)"},
    DescribedItem{"ORVANE_LANG", "de or en: the language of the problems' texts (default: the locale's)"},
};

constexpr std::array kFiles{
    DescribedItem{"share/orvane/", "beside the folder of the installed program: the resource bundle, the "
                                   "language codes and the help pages the HTML report links to"},
    DescribedItem{"~/.local/share/Orvane/ObjectRegistry.xml",
                  "the user's object registry, whose decisions check takes into account; never changed by "
                  "this command"},
};

constexpr ProgramSpec kProgram{
    "orvane",
    ORVANE_VERSION,
    "check HTML pages for accessibility problems",
    "orvane checks HTML pages for accessibility problems against WCAG 1.0 (levels A, AA and AAA) or "
    "Section 508, as the desktop checker's overview does, for batch and continuous-integration use. The "
    "priorities of the problems are also given in BITV terms.",
    kProgramOptions,
    kCommands,
    kExitStatuses,
    kEnvironment,
    kFiles,
};

} // namespace

const ProgramSpec& Program()
{
    return kProgram;
}

const CommandSpec* FindCommand(std::string_view name)
{
    for (const CommandSpec& command : kProgram.commands) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

const OptionSpec* FindOption(std::span<const OptionSpec> options, std::string_view word)
{
    for (const OptionSpec& option : options) {
        if (option.name == word || (!option.shortName.empty() && option.shortName == word))
            return &option;
    }
    return nullptr;
}

const OptionSpec* FindOption(const CommandSpec& command, std::string_view word)
{
    return FindOption(command.options, word);
}

} // namespace orvane::cli
