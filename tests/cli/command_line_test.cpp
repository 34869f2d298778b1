// What a user reads of `orvane --help`, `--version` and the usage of the
// commands, and that the option table and the commands' parsing agree.
#include "cli/command_line.h"
#include "cli/commands.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvane::cli {
namespace {

struct Ran {
    int status;
    std::string out;
    std::string err;
};

Ran Orvane(const Arguments& args)
{
    std::ostringstream out;
    std::ostringstream err;
    int status = RunMain(args, out, err);
    return {status, out.str(), err.str()};
}

bool Contains(const std::string& text, std::string_view part)
{
    return text.find(part) != std::string::npos;
}

std::size_t LongestLine(const std::string& text)
{
    std::size_t longest = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        longest = std::max(longest, line.size());
    return longest;
}

TEST(ProgramHelp, VersionIsTheProjectsAndHelpListsEveryCommandAndOption)
{
    Ran version = Orvane({"--version"});
    EXPECT_EQ(version.status, kExitOk);
    EXPECT_EQ(version.out, "orvane " ORVANE_PROJECT_VERSION "\n");
    EXPECT_EQ(version.err, "");

    for (const Arguments& asked : {Arguments{"--help"}, Arguments{"-h"}, Arguments{"help"}, Arguments{"help", "-h"}}) {
        Ran help = Orvane(asked);
        EXPECT_EQ(help.status, kExitOk) << asked[0];
        EXPECT_EQ(help.err, "");
        EXPECT_TRUE(help.out.starts_with("usage: orvane COMMAND [OPTIONS] [ARGUMENTS]\n"
                                         "       orvane --help | --version\n"
                                         "commands:\n"
                                         "  check [OPTIONS] PATH...\n"
                                         "                        check pages and folders of pages\n"
                                         "  elements FILE         list the elements of a page, one a line\n"))
            << help.out;
        for (const CommandSpec& command : Program().commands) {
            EXPECT_TRUE(Contains(help.out, "  " + std::string(command.name) + " ")) << command.name;
            for (const OptionSpec& option : command.options)
                EXPECT_TRUE(Contains(help.out, option.name)) << option.name;
        }
        EXPECT_TRUE(Contains(help.out, "  --version             print the program's name and version and exit\n"));
        EXPECT_TRUE(Contains(help.out, "exit status:\n  0 "));
        EXPECT_TRUE(Contains(help.out, "  ORVANE_HOME           the folder of the per-user state"));
        EXPECT_LE(LongestLine(help.out), 79u);
    }
}

TEST(ProgramHelp, EachCommandShowsItsOwnUsageAndOptions)
{
    const std::string checkUsage =
        "usage: orvane check [--level A|AA|AAA|508|2.2-A|2.2-AA|2.2-AAA]\n"
        "                    [--format text|json|sarif|junit|html|earl] [--output FILE]\n"
        "                    [--all] [--wcag2] [--jobs N]\n"
        "                    [--registry FILE | --no-registry] [--help-base URL]\n"
        "                    [--aria] [--tables skip|data|layout|guess] [--shard K/N]\n"
        "                    [--allow-empty] [--quiet] PATH...\n";
    Ran check = Orvane({"check", "--help"});
    EXPECT_EQ(check.status, kExitOk);
    EXPECT_TRUE(check.out.starts_with(checkUsage + "\nChecks each PATH for accessibility problems")) << check.out;
    EXPECT_TRUE(Contains(check.out, "\noptions:\n  --level A|AA|AAA|508|2.2-A|2.2-AA|2.2-AAA\n"
                                    "                        the conformance target (default: the target in the\n"
                                    "                        user's settings)\n"))
        << check.out;
    EXPECT_TRUE(Contains(check.out, "  --format text|json|sarif|junit|html|earl\n                        the report's form"));
    EXPECT_TRUE(Contains(check.out, "  -h, --help            show this help and exit\n"));
    EXPECT_EQ(Orvane({"help", "check"}).out, check.out);
    EXPECT_LE(LongestLine(check.out), 79u);

    // Help wins over whatever else is given, a missing PATH included.
    EXPECT_EQ(Orvane({"check", "--all", "-h"}).status, kExitOk);

    Ran rewrite = Orvane({"rewrite", "--help"});
    EXPECT_EQ(rewrite.status, kExitOk);
    EXPECT_TRUE(rewrite.out.starts_with("usage: orvane rewrite IN OUT\n\nTakes the page IN in")) << rewrite.out;

    Ran unknown = Orvane({"help", "frobnicate"});
    EXPECT_EQ(unknown.status, kExitError);
    EXPECT_TRUE(Contains(unknown.err, "orvane help: unknown command 'frobnicate'\nusage: orvane COMMAND"));

    // A usage error names the problem, then the usage, on standard error.
    Ran wrong = Orvane({"check", "--jobs", "0", "page.html"});
    EXPECT_EQ(wrong.status, kExitError);
    EXPECT_EQ(wrong.out, "");
    EXPECT_EQ(wrong.err, "orvane check: --jobs takes a number from 1 up\n" + checkUsage);
}

TEST(ProgramHelp, UsageErrorsSayWhatIsWrong)
{
    auto problem = [](Arguments args) {
        Ran ran = Orvane(args);
        EXPECT_EQ(ran.status, kExitError);
        return ran.err.substr(0, ran.err.find('\n'));
    };
    EXPECT_EQ(problem({"check"}), "orvane check: no page or folder to check");
    EXPECT_EQ(problem({"check", "--level", "B", "x.html"}), "orvane check: --level takes A, AA, AAA, 508, 2.2-A, 2.2-AA or 2.2-AAA");
    EXPECT_EQ(problem({"check", "--format", "pdf", "x.html"}),
              "orvane check: --format takes text, json, sarif, junit, html or earl");
    EXPECT_EQ(problem({"check", "x.html", "--output"}), "orvane check: --output takes a file name");
    EXPECT_EQ(problem({"check", "--jobs", "10000", "x.html"}), "orvane check: --jobs takes a number from 1 up");
    EXPECT_EQ(problem({"check", "x.html", "--help-base"}),
              "orvane check: --help-base takes an address (empty for no links)");
    EXPECT_EQ(problem({"check", "--no-registry", "--registry", "r.xml", "x.html"}),
              "orvane check: --registry and --no-registry exclude each other");
    EXPECT_EQ(problem({"check", "--bogus", "x.html"}), "orvane check: unknown option --bogus");
    EXPECT_EQ(problem({"elements"}), "orvane elements: expects FILE");
    EXPECT_EQ(problem({"elements", "a.html", "b.html"}), "orvane elements: expects FILE");
    EXPECT_EQ(problem({"rewrite", "in.html"}), "orvane rewrite: expects IN OUT");
    EXPECT_EQ(problem({"frobnicate"}), "orvane: unknown command 'frobnicate'");
    EXPECT_EQ(problem({}), "usage: orvane COMMAND [OPTIONS] [ARGUMENTS]");
}

// A value the table calls valid for each option, as a user would give it.
std::string ValidValue(const OptionSpec& option)
{
    switch (option.kind) {
    case ValueKind::Choice:
        return std::string(option.values.back());
    case ValueKind::Number:
        return "3";
    default:
        return "value-of-" + std::string(option.name.substr(2));
    }
}

TEST(OptionTable, EveryOptionIsTakenWithItsValue)
{
    for (const CommandSpec& command : Program().commands) {
        for (const OptionSpec& option : command.options) {
            if (option.id == OptionId::Help)
                continue;
            CommandLine line;
            Arguments args{std::string(option.name)};
            if (option.kind != ValueKind::None)
                args.push_back(ValidValue(option));
            for (int i = 0; i < command.minOperands; ++i)
                args.push_back("operand");
            EXPECT_EQ(ParseCommandLine(command, args, line), "") << option.name;
            ASSERT_EQ(line.options.size(), 1u) << option.name;
            EXPECT_EQ(line.options[0].spec, &option);
            EXPECT_EQ(line.options[0].value, option.kind == ValueKind::None ? "" : ValidValue(option));
            EXPECT_EQ(line.operands.size(), static_cast<std::size_t>(command.minOperands));
        }
    }
    // Levels in either case, as before; values are words a shell completes unquoted
    // (a dot, as in 2.2-AA, is no word break for bash).
    CommandLine line;
    EXPECT_EQ(ParseCommandLine(*FindCommand("check"), {"--level", "aa", "x.html"}, line), "");
    CommandLine wcag22Check;
    EXPECT_EQ(ParseCommandLine(*FindCommand("check"), {"--level", "2.2-aa", "x.html"}, wcag22Check), "");
    CommandLine wcag22Fix;
    EXPECT_EQ(ParseCommandLine(*FindCommand("fix"), {"--level", "2.2-AA", "x.html"}, wcag22Fix), "");
    for (const CommandSpec& command : Program().commands) {
        for (const OptionSpec& option : command.options) {
            EXPECT_TRUE(option.name.starts_with("--")) << option.name;
            for (std::string_view word : option.values)
                EXPECT_EQ(word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-."),
                          std::string_view::npos);
            EXPECT_NE(option.help, "");
            if (option.kind != ValueKind::None && option.kind != ValueKind::Choice) {
                EXPECT_NE(option.takes, "") << option.name;
            }
        }
    }
}

} // namespace
} // namespace orvane::cli
