#include "command_fixture.h"

#include "cli/commands.h"

#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;

using CommandTest = test::CommandFixture;

TEST_F(CommandTest, ElementsListsIndexKindPartnerPositionAndEscapedText)
{
    std::string page = Write("p.html", "<p>a\tb\r\n</p>");
    ASSERT_EQ(Run({"elements", page}), kExitOk) << err.str();
    EXPECT_EQ(out.str(),
              "0\t-4\t-\t-\t\n"
              "1\t64\t3\t1:1\t<p>\n"
              "2\t-1\t-\t1:4\ta\\tb\\r\\n\n"
              "3\t1064\t1\t2:1\t</p>\n");
}

TEST_F(CommandTest, RewriteGivesTheSameBytesBack)
{
    std::string bytes = "<html>\r\n<body bgcolor=#fff>\r\n<!-- x -->\r\n\xe9t\xe9\0end</body>\r\n";
    bytes.push_back('\0');
    std::string in = Write("in.html", bytes);
    std::string outPath = (folder / "out.html").string();
    ASSERT_EQ(Run({"rewrite", in, outPath}), kExitOk) << err.str();
    EXPECT_EQ(test::ReadFileBytes(outPath), bytes);
}

TEST_F(CommandTest, AMissingFileIsNamedAndNothingIsWritten)
{
    std::string missing = (folder / "missing.html").string();
    std::string outPath = (folder / "out.html").string();
    EXPECT_EQ(Run({"rewrite", missing, outPath}), kExitError);
    EXPECT_NE(err.str().find(missing), std::string::npos);
    EXPECT_FALSE(fs::exists(outPath));
}

TEST_F(CommandTest, APageWithoutTagsIsRefusedAndTheTargetKept)
{
    std::string in = Write("plain.html", "no markup here\n");
    std::string outPath = Write("out.html", "<p>keep me</p>");
    EXPECT_EQ(Run({"rewrite", in, outPath}), kExitError);
    EXPECT_NE(err.str().find(in), std::string::npos);
    EXPECT_EQ(test::ReadFileBytes(outPath), "<p>keep me</p>");
}

TEST_F(CommandTest, AnUnwritableTargetIsReported)
{
    std::string in = Write("in.html", "<p>x</p>");
    std::string blocker = Write("file", "x");
    std::string outPath = blocker + "/out.html";  // a folder that cannot exist
    EXPECT_EQ(Run({"rewrite", in, outPath}), kExitError);
    EXPECT_NE(err.str().find(outPath), std::string::npos);
}

TEST_F(CommandTest, AFolderIsNotAPage)
{
    EXPECT_EQ(Run({"elements", folder.string()}), kExitError);
    EXPECT_NE(err.str().find(folder.string()), std::string::npos);
}

TEST_F(CommandTest, UsageErrors)
{
    EXPECT_EQ(Run({}), kExitError);
    EXPECT_EQ(Run({"frobnicate"}), kExitError);
    EXPECT_EQ(Run({"elements"}), kExitError);
    EXPECT_EQ(Run({"rewrite", "only-one"}), kExitError);
    EXPECT_EQ(Run({"--help"}), kExitOk);
    EXPECT_NE(out.str().find("rewrite"), std::string::npos);
}

} // namespace
} // namespace orvane::cli
