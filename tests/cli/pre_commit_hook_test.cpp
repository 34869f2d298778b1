// The hook a site adds to its pre-commit configuration, tried as pre-commit
// tries a hook repository before anyone commits to it: the project's own
// hook definition, the orvane program of this build, a sample site.
#include "cli/commands.h"

#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;

// What the shell command printed, both streams; its exit status is set.
std::string Shell(const std::string& command, int& status) { return test::ShellOutput(command + " 2>&1", status); }

TEST(PreCommitHook, TryRepoPassesASiteWhosePagesReachTheirLevelAndFailsOneThatDoesNot)
{
    int status = 0;
    Shell("pre-commit --version", status);
    if (status != 0)
        GTEST_SKIP() << "pre-commit is not on PATH: the hook is not tried (apt-get install pre-commit)";
    const fs::path program = fs::read_symlink("/proc/self/exe").parent_path() / "orvane";
    ASSERT_TRUE(fs::exists(program)) << program;

    const fs::path site = fs::path(std::getenv("ORVANE_HOME")) / "pre-commit-site";
    fs::remove_all(site);
    fs::create_directories(site / ".orvane");
    // Its one general warning judged by a colleague: the page reaches A by the site registry.
    std::ofstream(site / ".orvane" / "registry.xml")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n"
           "<document filename=\"index.html\" framesneeddescription=\"false\">\n"
           "<judgement check=\"BodyLanguageChange\" key=\"page\" verdict=\"warnings considered\" by=\"alice\" "
           "date=\"2026-12-01\" />\n</document>\n</root>\n";
    std::ofstream(site / "index.html")
        << "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\n"
           "<html lang=\"en\"><head><title>Harbour</title></head>\n"
           "<body><h1>Harbour</h1><p>The harbour office opens at nine every morning.</p></body></html>\n";
    const std::string inSite = "cd " + test::ShellQuoted(site.string()) + " && PATH=" + test::ShellQuoted(program.parent_path().string()) +
                               ":\"$PATH\" PRE_COMMIT_HOME=" + test::ShellQuoted((site.parent_path() / "pre-commit-cache").string()) +
                               " ";
    Shell(inSite + "git init -q && git add -A", status);
    ASSERT_EQ(status, 0);
    const std::string tryHook = inSite + "pre-commit try-repo " + test::ShellQuoted(ORVANE_SOURCE_DIR) + " orvane-check --files ";

    std::string output = Shell(tryHook + "index.html", status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("Passed"), std::string::npos) << output;

    // A picture without a text alternative: the commit is stopped.
    std::ofstream(site / "ferry.html")
        << "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\n"
           "<html lang=\"en\"><head><title>Ferry</title></head>\n"
           "<body><h1>Ferry</h1><p><img src=\"ferry.png\"></p></body></html>\n";
    Shell(inSite + "git add -A", status);
    output = Shell(tryHook + "ferry.html", status);
    EXPECT_NE(status, 0) << output;
    EXPECT_NE(output.find("Failed"), std::string::npos) << output;
}

} // namespace
} // namespace orvane::cli
