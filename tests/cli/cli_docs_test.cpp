// The manual page and the bash completion the build wrote and the
// installation ships: read as man shows it and as bash completes with it.
#include "cli/command_line.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;

bool HaveProgram(const std::string& name)
{
    int status = 0;
    test::ShellOutput("command -v " + name + " >/dev/null 2>&1", status);
    return status == 0;
}

std::string Written(void (*write)(std::ostream&))
{
    std::ostringstream text;
    write(text);
    return text.str();
}

TEST(ManualPage, TheBuiltPageIsTheTablesAndManShowsEveryCommandAndOption)
{
    EXPECT_EQ(test::ReadFileBytes(ORVANE_MANUAL_PAGE), Written(WriteManualPage))
        << "the installed manual page is not the one the option table gives";
    if (!HaveProgram("groff"))
        GTEST_SKIP() << "groff is not installed (scripts/install-deps installs it)";

    int status = 0;
    std::string warnings = test::ShellOutput("groff -man -Tutf8 -ww -z " + test::ShellQuoted(ORVANE_MANUAL_PAGE) + " 2>&1", status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(warnings, "") << "groff warns about the manual page";
    // Plain text without overstriking, as a reader sees the words.
    std::string shown =
        test::ShellOutput("GROFF_NO_SGR=1 groff -man -Tascii -P-cbou " + test::ShellQuoted(ORVANE_MANUAL_PAGE) + " 2>/dev/null", status);
    ASSERT_EQ(status, 0);
    EXPECT_NE(shown.find("orvane - check HTML pages for accessibility problems"), std::string::npos) << shown;
    EXPECT_NE(shown.find("orvane " ORVANE_PROJECT_VERSION), std::string::npos);
    for (const char* section : {"SYNOPSIS", "DESCRIPTION", "COMMANDS", "OPTIONS", "EXIT STATUS", "ENVIRONMENT", "FILES"})
        EXPECT_NE(shown.find(std::string("\n") + section + "\n"), std::string::npos) << section;
    // The synopsis breaks its lines between the bracketed items only.
    for (const char* item : {"orvane check [--level A|AA|AAA|508|2.2-A|2.2-AA|2.2-AAA]", "[--format text|json|sarif|junit|html|earl]",
                             "[--registry FILE | --no-registry]", "orvane rewrite IN OUT"})
        EXPECT_NE(shown.find(item), std::string::npos) << item << " in\n" << shown;
    // The words as read, whatever the lines and the justification.
    std::string flat;
    for (char c : shown) {
        bool space = c == ' ' || c == '\n';
        if (!space)
            flat += c;
        else if (!flat.empty() && flat.back() != ' ')
            flat += ' ';
    }
    for (const CommandSpec& command : Program().commands) {
        EXPECT_NE(shown.find("orvane " + std::string(command.name)), std::string::npos) << command.name;
        EXPECT_NE(flat.find(command.description), std::string::npos) << command.description;
        for (const OptionSpec& option : command.options) {
            EXPECT_NE(shown.find(std::string(option.name)), std::string::npos) << option.name;
            EXPECT_NE(flat.find(option.help), std::string::npos) << option.help;
        }
    }
    for (const OptionSpec& option : Program().options)
        EXPECT_NE(shown.find(std::string(option.name)), std::string::npos) << option.name;
    for (const DescribedItem& variable : Program().environment)
        EXPECT_NE(shown.find(std::string(variable.name)), std::string::npos) << variable.name;
}

class BashCompletion : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveProgram("bash"))
            GTEST_SKIP() << "bash is not installed";
        folder = fs::path(::testing::TempDir()) /
                 ("orvane-completion-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder / "site folder");
        std::ofstream(folder / "sample.html") << "<p>x</p>";
        std::ofstream(folder / "saved.json") << "{}";
    }
    void TearDown() override { fs::remove_all(folder); }

    // What bash offers for the last word (empty: the cursor after a space).
    std::set<std::string> Complete(const std::vector<std::string>& words)
    {
        std::string command = "cd " + test::ShellQuoted(folder.string()) +
                              " && bash --norc --noprofile -c 'source \"$1\"; shift; COMP_WORDS=(\"$@\"); "
                              "COMP_CWORD=$(( $# - 1 )); _orvane; printf \"%s\\n\" \"${COMPREPLY[@]}\"' _ " +
                              test::ShellQuoted(ORVANE_BASH_COMPLETION);
        for (const std::string& word : words)
            command += " " + test::ShellQuoted(word);
        int status = 0;
        std::istringstream lines(test::ShellOutput(command, status));
        EXPECT_EQ(status, 0);
        std::set<std::string> offered;
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty())
                offered.insert(line);
        }
        return offered;
    }

    fs::path folder;
};

using Words = std::set<std::string>;

TEST_F(BashCompletion, CompletesCommandsOptionsTheirValuesAndFileNames)
{
    EXPECT_EQ(test::ReadFileBytes(ORVANE_BASH_COMPLETION), Written(WriteBashCompletion));
    int status = 0;
    test::ShellOutput("bash -n " + test::ShellQuoted(ORVANE_BASH_COMPLETION), status);
    EXPECT_EQ(status, 0) << "the completion is no valid bash";

    EXPECT_EQ(Complete({"orvane", ""}),
              (Words{"check", "elements", "fix", "settings", "merge-reports", "rewrite", "registry", "help"}));
    EXPECT_EQ(Complete({"orvane", "re"}), (Words{"rewrite", "registry"}));
    EXPECT_EQ(Complete({"orvane", "rew"}), (Words{"rewrite"}));
    EXPECT_EQ(Complete({"orvane", "--"}), (Words{"--help", "--version"}));
    EXPECT_EQ(Complete({"orvane", "check", "--f"}), (Words{"--format"}));
    EXPECT_EQ(Complete({"orvane", "check", "--format", ""}), (Words{"text", "json", "sarif", "junit", "html", "earl"}));
    EXPECT_EQ(Complete({"orvane", "check", "--all", "--level", "A"}), (Words{"A", "AA", "AAA"}));
    EXPECT_EQ(Complete({"orvane", "fix", "--level", "2.2-A"}), (Words{"2.2-A", "2.2-AA", "2.2-AAA"}));
    EXPECT_EQ(Complete({"orvane", "check", "--output", "sa"}), (Words{"sample.html", "saved.json"}));
    EXPECT_EQ(Complete({"orvane", "check", "--jobs", ""}), Words{});
    // Pages and folders to check, as many as wanted.
    EXPECT_EQ(Complete({"orvane", "check", "--jobs", "2", "sample.html", "s"}),
              (Words{"sample.html", "saved.json", "site folder"}));
    // rewrite takes two files and no more.
    EXPECT_EQ(Complete({"orvane", "rewrite", "sam"}), (Words{"sample.html"}));
    EXPECT_EQ(Complete({"orvane", "rewrite", "sample.html", "out.html", ""}), Words{});
    EXPECT_EQ(Complete({"orvane", "help", "e"}), (Words{"elements"}));
}

TEST_F(BashCompletion, OffersEveryOptionOfEachCommand)
{
    for (const CommandSpec& command : Program().commands) {
        Words expected;
        for (const OptionSpec& option : command.options) {
            expected.insert(std::string(option.name));
            if (!option.shortName.empty())
                expected.insert(std::string(option.shortName));
        }
        EXPECT_EQ(Complete({"orvane", std::string(command.name), "-"}), expected) << command.name;
    }
}

} // namespace
} // namespace orvane::cli
