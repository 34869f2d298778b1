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

constexpr std::array kLevels{"A"sv, "AA"sv, "AAA"sv, "508"sv, "2.2-A"sv, "2.2-AA"sv, "2.2-AAA"sv};
constexpr std::array kFormats{"text"sv, "json"sv, "sarif"sv, "junit"sv, "html"sv, "earl"sv};
constexpr std::array kTableModes{"skip"sv, "data"sv, "layout"sv, "guess"sv};
constexpr std::array kSaveModes{"replace"sv, "backup"sv, "beside"sv};

constexpr OptionSpec kLevelOption{OptionId::Level, "--level", {}, ValueKind::Choice, "LEVEL", kLevels, true, {},
                                  "the conformance target (default: the target in the user's settings)", {}};
constexpr OptionSpec kRegistryOption{OptionId::Registry, "--registry", {}, ValueKind::File, "FILE", {}, false,
                                     "a file name",
                                     "take remembered decisions (long descriptions, table types, ...) from this "
                                     "object registry (default: the user's own); it is only read",
                                     "--no-registry"};
constexpr OptionSpec kNoRegistryOption{OptionId::NoRegistry, "--no-registry", {}, ValueKind::None, {}, {}, false,
                                       {}, "use no remembered decisions", "--registry"};
constexpr OptionSpec kTablesOption{
    OptionId::Tables, "--tables", {}, ValueKind::Choice, "MODE", kTableModes, false, {},
    "tables nobody has said are data or layout tables: skip them (default), take them all as data or as "
    "layout tables, or guess each one's kind and report the rule that decided it; remembered decisions win",
    {}};
constexpr OptionSpec kShardOption{OptionId::Shard, "--shard", {}, ValueKind::Text, "K/N", {}, false,
                                  "K/N, the K-th of N shares (1 <= K <= N)",
                                  "take only the K-th of N shares of the pages found, by a stable hash of each "
                                  "page's path below the folder given (of a page named directly, its path "
                                  "from the current folder)",
                                  {}};
constexpr OptionSpec kAriaOption{OptionId::Aria, "--aria", {}, ValueKind::None, {}, {}, false, {},
                                 "take the names ARIA gives (aria-labelledby, aria-label, role=\"presentation\") "
                                 "into account in the text-alternative and label checks, for this run "
                                 "(default: the setting \"Take ARIA names into account\", off unless chosen)",
                                 {}};
constexpr OptionSpec kAllowEmptyOption{OptionId::AllowEmpty, "--allow-empty", {}, ValueKind::None, {}, {}, false, {},
                                       "accept a folder named in which no page is found (by default an "
                                       "error, as a wrong folder would miss the site)",
                                       {}};
constexpr OptionSpec kQuietOption{OptionId::Quiet, "--quiet", "-q", ValueKind::None, {}, {}, false, {},
                                  "show no progress on a terminal's standard error", {}};

constexpr std::array kCheckOptions{
    kLevelOption,
    OptionSpec{OptionId::Format, "--format", {}, ValueKind::Choice, "FORMAT", kFormats, false, {},
               "the report's form (default text); earl is the W3C EARL report in JSON-LD that ACT implementation "
               "reports take, one assertion per page and rule", {}},
    OptionSpec{OptionId::Output, "--output", {}, ValueKind::File, "FILE", {}, false, "a file name",
               "write the report there (default, or -: standard output); written whole or not at all, "
               "and never over one of the pages checked", {}},
    OptionSpec{OptionId::All, "--all", {}, ValueKind::None, {}, {}, false, {},
               "also report the problems that do not count at the target", {}},
    OptionSpec{OptionId::Wcag2, "--wcag2", {}, ValueKind::None, {}, {}, false, {},
               "text report: give each problem's WCAG 2.2 success criteria (the other forms always do)", {}},
    OptionSpec{OptionId::Jobs, "--jobs", {}, ValueKind::Number, "N", {}, false, "a number from 1 up",
               "check N files at a time (default: one per processor); the report keeps the files' order", {}},
    kRegistryOption,
    kNoRegistryOption,
    OptionSpec{OptionId::HelpBase, "--help-base", {}, ValueKind::Text, "URL", {}, false,
               "an address (empty for no links)",
               "HTML report: link help topics as URL/TOPIC (empty: name them without links); by default the "
               "installed help pages as file:// links, topics without a page as text",
               {}},
    kAriaOption,
    kTablesOption,
    kShardOption,
    kAllowEmptyOption,
    kQuietOption,
    kHelpOption,
};

constexpr std::array kFixOptions{
    kLevelOption,
    OptionSpec{OptionId::Only, "--only", {}, ValueKind::Text, "CHECK[,CHECK...]", {}, false,
               "check names, separated by commas",
               "make only these checks' automatic repairs (default: every check that has one)", {}},
    OptionSpec{OptionId::DryRun, "--dry-run", {}, ValueKind::None, {}, {}, false, {},
               "change no file; report what would be repaired", {}},
    OptionSpec{OptionId::Diff, "--diff", {}, ValueKind::None, {}, {}, false, {},
               "print a unified diff of what changes (or, with --dry-run, would change)", {}},
    OptionSpec{OptionId::Save, "--save", {}, ValueKind::Choice, "MODE", kSaveModes, false, {},
               "replace the page, replace it and keep the original as a backup, or write the repaired page "
               "beside it (default: the file-save mode of the settings; beside where they say to ask)",
               {}},
    kRegistryOption,
    kNoRegistryOption,
    kAriaOption,
    kTablesOption,
    kShardOption,
    kAllowEmptyOption,
    kHelpOption,
};

constexpr std::array kSettingsOptions{
    OptionSpec{OptionId::Set, "--set", {}, ValueKind::Text, "NAME=VALUE", {}, false, "NAME=VALUE",
               "change one setting (level, file-save, extensions, auto-repair, always-include, language, "
               "doctype, ...); may be given several times, and nothing is saved unless every one is sound",
               {}},
    kHelpOption,
};

constexpr std::array kMergeOptions{
    OptionSpec{OptionId::Output, "--output", {}, ValueKind::File, "FILE", {}, false, "a file name",
               "write the merged report there (default, or -: standard output); written whole or not at "
               "all, and never over one of the reports merged", {}},
    kHelpOption,
};

constexpr std::array kRegistryOptions{
    OptionSpec{OptionId::Registry, "--registry", {}, ValueKind::File, "FILE", {}, false, "a file name",
               "show or forget in this registry (default: the site's, found above the current folder, else the "
               "user's own)",
               {}},
    OptionSpec{OptionId::Check, "--check", {}, ValueKind::Text, "NAME", {}, false, "a check's name",
               "forget: only the judgements of this check", {}},
    OptionSpec{OptionId::Output, "--output", "-o", ValueKind::File, "FILE", {}, false, "a file name",
               "merge: write the merged registry there, whole or not at all", {}},
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
    CommandSpec{"fix", "PATH...", ValueKind::Path, 1, -1, "no page or folder to repair",
                "make the automatic repairs and write the pages",
                "Makes the automatic repairs of the checks (document type, page language, blinking text, "
                "refreshes and redirects, device-dependent events, d-links) on the problems that count at the "
                "target, through the same repair code as the desktop tool, and writes the pages by the "
                "file-save mode: the original is never lost, and a failed write leaves it whole. Reports per "
                "file what was repaired and what still counts at the target; exits 0 when nothing counts any "
                "more, 1 when something still does, 2 on errors.",
                kFixOptions},
    CommandSpec{"settings", {}, ValueKind::None, 0, 0, {}, "show or change the settings",
                "Shows the settings record the desktop tool uses (target, file-save mode and extensions, icon "
                "options, and per check: applies at the target, always included, automatic repair), or changes "
                "it with --set. A bad name or value is named with the valid ones, and the store is left as it "
                "was.",
                kSettingsOptions},
    CommandSpec{"merge-reports", "REPORT.json...", ValueKind::File, 1, -1, "no report to merge",
                "merge the JSON reports of shares of a site",
                "Reads the JSON reports of the shares of one site (check --shard K/N --format json) and writes "
                "the report one run over the whole site gives, with its exit status.",
                kMergeOptions},
    CommandSpec{"registry", "ACTION [ARG...]", ValueKind::Text, 1, 3, "no action (show, forget, merge or init)",
                "show, forget, merge or start object registries",
                "Works on the object registry, where the decisions people made are remembered: the verdicts "
                "they gave (nothing flickers, not a quotation, ...), table types and descriptions. 'show "
                "[PAGE]' lists what is remembered, for the site or one page, with who decided and when; "
                "'forget PAGE [--check NAME]' forgets it; 'merge A B -o OUT' writes the union of two "
                "registries, where a verdict both judged differently takes the later one and the conflict is "
                "listed; 'init' starts the site's own registry, .orvane/registry.xml, in the current folder. A "
                "site's registry is found by walking up from a page's folder, so check and fix use it for "
                "every page below; pages are kept by their path relative to the site.",
                kRegistryOptions},
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
    "orvane checks HTML pages for accessibility problems against WCAG 2.2 (levels 2.2-A, 2.2-AA and "
    "2.2-AAA: the rule set named after the W3C ACT rules), WCAG 1.0 (levels A, AA and AAA) or Section 508, as the desktop checker's overview does, for batch and continuous-integration use. The "
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
