// Runs of `orvane check` as a CI job makes them: tables nobody classified,
// sites split over several runners, and long runs on a terminal.
#include "command_fixture.h"

#include "cli/commands.h"
#include "cli/progress.h"
#include "cli/shard.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/registry/object_digest.h"
#include "platform/bundle_strings.h"
#include "platform/terminal.h"
#include "tests/support/test_support.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// One table a line, each showing one sign of what it is.
const char* const kTablesPage =
    "<html lang=en><body>\n"
    "<table role=\"presentation\"><tr><th>A</th><th>B</th></tr><tr><td>1</td><td>2</td></tr></table>\n"
    "<table><tr><td><table><tr><td>x</td><td>y</td></tr></table></td><td>z</td></tr></table>\n"
    "<table><tr><th>Name</th><th>Price</th></tr><tr><td>Tea</td><td>2</td></tr></table>\n"
    "<table><caption>Prices</caption><tr><td>Tea</td><td>2</td></tr><tr><td>Milk</td><td>1</td></tr></table>\n"
    "<table><tr><td>Home</td></tr><tr><td>News</td></tr></table>\n"
    "<table><tr><td><form action=s><input name=q></form></td><td>Go</td></tr><tr><td>a</td><td>b</td></tr></table>\n"
    "<table><tr><td>Tea</td><td>2</td></tr><tr><td>Milk</td><td>1</td></tr><tr><td>Jam</td><td>3</td></tr></table>\n"
    "<table><tr><td>Logo</td><td>Menu</td></tr><tr><td>Text</td><td>Ads</td></tr></table>\n"
    "<table summary=\"Opening hours\"><tr><td>Mon</td><td>9</td></tr></table>\n"
    "<table><thead><tr><td>Name</td><td>Price</td></tr></thead><tr><td>Tea</td><td>2</td></tr></table>\n"
    "<table><tr><td scope=col>Name</td><td scope=col>Price</td></tr><tr><td>Tea</td><td>2</td></tr></table>\n"
    "<table><tr><td><h2>News</h2><p>Today</p></td><td>Links</td></tr><tr><td>a</td><td>b</td></tr></table>\n"
    "</body></html>\n";

class BatchRuns : public test::CommandFixture {
protected:
    BatchRuns() : CommandFixture("batch") {}

    // A site of pages in folders, some with problems, some with tables.
    std::string Site(const std::string& name)
    {
        for (int i = 0; i < 14; ++i) {
            const std::string n = std::to_string(i);
            std::string page = i % 3 == 0 ? "<html><body><img src=\"p" + n + ".gif\"></body></html>\n"
                             : i % 3 == 1 ? std::string(kTablesPage)
                                          : "<html lang=en><head><title>" + n + "</title></head><body><p>" + n +
                                                "</p></body></html>\n";
            Write(name + "/" + (i % 2 ? "docs/" : "") + "page" + n + ".html", page);
        }
        return (folder / name).string();
    }
    int Check(Arguments args)
    {
        args.insert(args.begin(), {"check", "--no-registry", "--jobs", "2"});
        return Run(args);
    }
    // A check as a user the folder's permissions bind: root reads every
    // folder, so under root it runs in a child process as nobody.
    int CheckAsAnotherUser(Arguments args)
    {
        if (::geteuid() != 0)
            return Check(std::move(args));
        int pipes[2][2];
        if (::pipe(pipes[0]) != 0 || ::pipe(pipes[1]) != 0)
            return -1;
        const pid_t child = ::fork();
        if (child == 0) {
            std::ostringstream childOut, childErr;
            int status = 3;
            if (::setgid(65534) == 0 && ::setuid(65534) == 0) {
                args.insert(args.begin(), {"check", "--no-registry", "--jobs", "1"});
                status = RunMain(args, childOut, childErr);
            }
            const std::string texts[2] = {childOut.str(), childErr.str()};
            for (int i = 0; i < 2; ++i) {
                ::close(pipes[i][0]);
                (void)!::write(pipes[i][1], texts[i].data(), texts[i].size());
                ::close(pipes[i][1]);
            }
            ::_exit(status);
        }
        ::close(pipes[0][1]);
        ::close(pipes[1][1]);
        std::ostringstream* streams[2] = {&out, &err};
        for (int i = 0; i < 2; ++i) {
            streams[i]->str("");
            char buffer[4096];
            for (ssize_t n; (n = ::read(pipes[i][0], buffer, sizeof buffer)) > 0;)
                streams[i]->write(buffer, n);
            ::close(pipes[i][0]);
        }
        int status = 0;
        if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
            return -1;
        return WEXITSTATUS(status);
    }
};

TEST_F(BatchRuns, GuessedTablesAreCheckedAndReportedWithTheRuleThatDecided)
{
    const std::string page = Write("tables.html", kTablesPage);
    ASSERT_EQ(Check({"--level", "AAA", "--format", "json", "--tables", "guess", page}), kExitFindings);
    const json file = json::parse(out.str())["files"][0];
    EXPECT_EQ(file["unclassifiedTables"], 0);
    std::vector<std::string> rules;
    for (const json& table : file["assumedTables"])
        rules.push_back(table["type"].get<std::string>() + " " + table["rule"].get<std::string>());
    EXPECT_EQ(rules, (std::vector<std::string>{
                         "layout presentation-role", "layout nested-table", "layout single-row-or-column",
                         "data header-cells", "data caption", "layout single-row-or-column", "layout form-controls",
                         "data regular-grid", "layout no-data-signs", "data summary", "data head-section",
                         "data header-associations", "layout long-text"}));
    // The guessed types are checked as chosen ones are: a data table without caption.
    bool captionAsked = false;
    for (const json& problem : file["problems"])
        captionAsked = captionAsked || (problem["check"] == "TableCaption" && problem["line"] == 4);
    EXPECT_TRUE(captionAsked);

    EXPECT_EQ(Check({"--level", "AAA", "--tables", "guess", page}), kExitFindings) << err.str();
    EXPECT_NE(out.str().find(page + ":4:1: guessed data table (rule: header cells)\n"), std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find(page + ":9:1: guessed layout table (rule: no sign of a data table)\n"),
              std::string::npos);

    EXPECT_EQ(Check({"--level", "AAA", "--format", "sarif", "--tables", "guess", page}), kExitFindings) << err.str();
    const json run = json::parse(out.str())["runs"][0];
    EXPECT_EQ(run["properties"]["assumedTables"].size(), 13u);
    bool marked = false;
    for (const json& result : run["results"]) {
        if (result["ruleId"] == "TableCaption" && result["locations"][0]["physicalLocation"]["region"]["startLine"] == 4)
            marked = result["properties"]["tableType"] == "data" &&
                     result["properties"]["tableTypeRule"] == "header-cells";
    }
    EXPECT_TRUE(marked);
}

TEST_F(BatchRuns, TablesAreSkippedByDefaultOrAllTakenAsTheKindNamed)
{
    const std::string page = Write("tables.html", kTablesPage);
    EXPECT_EQ(Check({"--level", "AAA", "--format", "json", page}), kExitFindings) << err.str();
    json file = json::parse(out.str())["files"][0];
    EXPECT_EQ(file["unclassifiedTables"], 13);
    EXPECT_FALSE(file.contains("assumedTables"));

    EXPECT_EQ(Check({"--level", "AAA", "--format", "json", "--tables", "layout", page}), kExitFindings) << err.str();
    file = json::parse(out.str())["files"][0];
    EXPECT_EQ(file["unclassifiedTables"], 0);
    ASSERT_EQ(file["assumedTables"].size(), 13u);
    EXPECT_EQ(file["assumedTables"][3], (json{{"column", 1}, {"line", 4}, {"rule", "tables-option"}, {"type", "layout"}}));
    EXPECT_EQ(Check({"--level", "AAA", "--tables", "data", page}), kExitFindings) << err.str();
    EXPECT_NE(out.str().find(page + ":2:1: taken as data table (--tables data)\n"), std::string::npos) << out.str();
}

TEST_F(BatchRuns, ADecisionInTheRegistryWinsOverTheGuess)
{
    const std::string page = Write("menu.html", "<html><body>\n<table summary=\"Menu\"><tr><th>Home</th><th>News</th>"
                                                "</tr><tr><td>a</td><td>b</td></tr></table>\n</body></html>\n");
    const std::string registry = Write(
        "ObjectRegistry.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root>\n<document filename=\"" + page +
                                  "\" framesneeddescription=\"false\">\n<table id=\"" + ObjectDigest("Menu") +
                                  "\" type=\"layout\" rowheaders=\"false\" colheaders=\"false\" "
                                  "rowheaders_abbrev=\"false\" colheaders_abbrev=\"false\" linearize=\"false\" />\n"
                                  "</document>\n</root>");
    const std::string before = test::ReadFileBytes(registry);
    ASSERT_EQ(Run({"check", "--registry", registry, "--level", "AAA", "--format", "json", "--tables", "guess", page}),
              kExitFindings);
    const json file = json::parse(out.str())["files"][0];
    EXPECT_FALSE(file.contains("assumedTables"));
    std::set<std::string> checks;
    for (const json& problem : file["problems"])
        checks.insert(problem["check"]);
    EXPECT_TRUE(checks.count("TableStructMarkup"));  // header cells in a layout table
    EXPECT_FALSE(checks.count("TableCaption"));
    EXPECT_EQ(test::ReadFileBytes(registry), before);
}

TEST_F(BatchRuns, ThreeSharesMergeIntoTheReportOfTheWholeSite)
{
    const std::string site = Site("site");
    ASSERT_EQ(Check({"--format", "json", "--tables", "guess", site}), kExitFindings);
    const std::string whole = out.str();
    std::vector<std::string> shares;
    std::size_t files = 0;
    for (int k = 1; k <= 3; ++k) {
        shares.push_back((folder / ("share" + std::to_string(k) + ".json")).string());
        EXPECT_EQ(Check({"--format", "json", "--tables", "guess", "--shard", std::to_string(k) + "/3", "--output",
               shares.back(), site}), kExitFindings) << err.str();
        const std::size_t taken = json::parse(test::ReadFileBytes(shares.back()))["files"].size();
        EXPECT_GT(taken, 0u) << "share " << k;
        files += taken;
    }
    EXPECT_EQ(files, 14u);
    EXPECT_EQ(Run({"merge-reports", shares[2], shares[0], shares[1]}), kExitFindings) << err.str();
    EXPECT_EQ(out.str(), whole);

    // SARIF: code scanning keeps each share's results under a category of its own.
    EXPECT_EQ(Check({"--format", "sarif", "--tables", "guess", site}), kExitFindings) << err.str();
    const std::size_t results = json::parse(out.str())["runs"][0]["results"].size();
    std::size_t shared = 0;
    std::set<std::string> categories;
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(Check({"--format", "sarif", "--tables", "guess", "--shard", std::to_string(k) + "/3", site}), kExitFindings) << err.str();
        const json run = json::parse(out.str())["runs"][0];
        shared += run["results"].size();
        categories.insert(run["automationDetails"]["id"].get<std::string>());
    }
    EXPECT_EQ(shared, results);
    EXPECT_EQ(categories, (std::set<std::string>{"orvane/shard-1-of-3/", "orvane/shard-2-of-3/",
                                                 "orvane/shard-3-of-3/"}));
}

TEST_F(BatchRuns, EveryRunnerGivesAPageTheSameShareWhereverTheSiteLies)
{
    // FNV-1a of 64 bits, so that other tools can compute the shares too.
    EXPECT_EQ(ShardHash(""), 0xcbf29ce484222325ull);
    EXPECT_EQ(ShardHash("a"), 0xaf63dc4c8601ec8cull);

    auto share = [&](const std::string& path) {
        EXPECT_EQ(Check({"--format", "json", "--shard", "2/3", path}), kExitFindings) << err.str();
        const json report = json::parse(out.str());
        std::set<std::string> names;
        for (const json& file : report["files"])
            names.insert(fs::path(file["path"].get<std::string>()).lexically_relative(path).generic_string());
        return names;
    };
    const std::set<std::string> here = share(Site("here"));
    EXPECT_FALSE(here.empty());
    EXPECT_EQ(share(Site("elsewhere/deeper")), here);
    EXPECT_EQ(share((folder / "here" / "").string()), here);
}

TEST_F(BatchRuns, MergingRefusesSharesThatDoNotFit)
{
    const std::string site = Site("site");
    const std::string a = (folder / "a.json").string();
    const std::string aa = (folder / "aa.json").string();
    EXPECT_EQ(Check({"--format", "json", "--level", "A", "--shard", "1/2", "--output", a, site}), kExitFindings) << err.str();
    EXPECT_EQ(Check({"--format", "json", "--level", "AA", "--shard", "2/2", "--output", aa, site}), kExitFindings) << err.str();
    const std::string text = Write("report.txt", "site/page0.html: target A\n");
    const std::string output = Write("site.json", "the old report\n");

    EXPECT_EQ(Run({"merge-reports", "--output", output, a, a}), kExitError);
    EXPECT_NE(err.str().find("is in more than one report"), std::string::npos) << err.str();
    EXPECT_EQ(Run({"merge-reports", "--output", output, a, aa}), kExitError);
    EXPECT_NE(err.str().find("was checked against AA"), std::string::npos) << err.str();
    EXPECT_EQ(Run({"merge-reports", "--output", output, a, text}), kExitError);
    EXPECT_NE(err.str().find(text + " is no JSON report of orvane check"), std::string::npos) << err.str();
    EXPECT_EQ(Run({"merge-reports", "--output", output, a, (folder / "missing.json").string()}), kExitError);
    EXPECT_EQ(test::ReadFileBytes(output), "the old report\n");
    EXPECT_EQ(Run({"merge-reports"}), kExitError);
}

TEST_F(BatchRuns, BadValuesOfTheBatchOptionsAreNamed)
{
    const std::string page = Write("p.html", "<html></html>");
    for (const char* shard : {"0/3", "4/3", "1/0", "1", "a/b", "1/3/3", "-1/3", ""}) {
        EXPECT_EQ(Check({"--shard", shard, page}), kExitError) << shard;
        EXPECT_NE(err.str().find("--shard takes K/N"), std::string::npos) << shard;
    }
    EXPECT_EQ(Check({"--tables", "maybe", page}), kExitError);
    EXPECT_NE(err.str().find("--tables takes skip, data, layout or guess"), std::string::npos);
    EXPECT_EQ(Check({page, "--tables"}), kExitError);
}

// A pipeline must never take part of a run for the whole: merging wants
// every share of one run, each once, and says what is wrong.
TEST_F(BatchRuns, MergingRefusesAnIncompleteSetOrSharesOfDifferentRuns)
{
    const std::string site = Site("site");
    auto share = [&](const std::string& name, Arguments options) {
        const std::string path = (folder / name).string();
        options.insert(options.end(), {"--format", "json", "--output", path, site});
        EXPECT_EQ(Check(options), kExitFindings) << err.str();
        return path;
    };
    const std::string one = share("1of3.json", {"--shard", "1/3"});
    const std::string three = share("3of3.json", {"--shard", "3/3"});
    const std::string output = Write("merged.json", "the old report\n");
    EXPECT_EQ(Run({"merge-reports", "--output", output, one, three}), kExitError);
    EXPECT_NE(err.str().find("the share(s) 2/3 are missing"), std::string::npos) << err.str();

    const std::string all = share("2of3-all.json", {"--shard", "2/3", "--all"});
    EXPECT_EQ(Run({"merge-reports", "--output", output, one, all, three}), kExitError);
    EXPECT_NE(err.str().find(all + " was a run with --all"), std::string::npos) << err.str();
    const std::string guessed = share("2of3-guess.json", {"--shard", "2/3", "--tables", "guess"});
    EXPECT_EQ(Run({"merge-reports", "--output", output, one, guessed, three}), kExitError);
    EXPECT_NE(err.str().find("--tables guess"), std::string::npos) << err.str();
    const std::string half = share("1of2.json", {"--shard", "1/2"});
    EXPECT_EQ(Run({"merge-reports", "--output", output, one, half}), kExitError);
    EXPECT_NE(err.str().find("no share of the same number of shares"), std::string::npos) << err.str();
    const std::string whole = share("whole.json", {});
    EXPECT_EQ(Run({"merge-reports", "--output", output, whole}), kExitError);
    EXPECT_NE(err.str().find("the report of a whole run"), std::string::npos) << err.str();

    // A report whose files are no list is no report.
    json bent = json::parse(test::ReadFileBytes(one));
    bent["files"] = json::object({{"a", bent["files"][0]}});
    const std::string object = Write("object.json", bent.dump());
    EXPECT_EQ(Run({"merge-reports", "--output", output, object}), kExitError);
    EXPECT_NE(err.str().find("\"files\" is no array"), std::string::npos) << err.str();
    // Nor may the merged report take the place of one of the shares.
    const std::string two = share("2of3.json", {"--shard", "2/3"});
    const std::string before = test::ReadFileBytes(two);
    EXPECT_EQ(Run({"merge-reports", "--output", two, one, two, three}), kExitError);
    EXPECT_NE(err.str().find("is one of the inputs"), std::string::npos) << err.str();
    EXPECT_EQ(test::ReadFileBytes(two), before);
    EXPECT_EQ(test::ReadFileBytes(output), "the old report\n");

    // Every share once: the report of the whole run, with its record.
    EXPECT_EQ(Run({"merge-reports", "--output", output, three, one, two}), kExitFindings) << err.str();
    EXPECT_EQ(test::ReadFileBytes(output), test::ReadFileBytes(whole));
    const json run = json::parse(test::ReadFileBytes(output))["run"];
    EXPECT_FALSE(run.contains("share"));
    EXPECT_EQ(run["paths"], json::array({site}));
    EXPECT_EQ(run["tables"], "skip");

    // Shares of an empty folder are still only whole when all are there.
    fs::create_directories(folder / "empty");
    const std::string empty = (folder / "empty").string();
    for (const char* k : {"1", "2"}) {
        EXPECT_EQ(Check({"--format", "json", "--allow-empty", "--shard", std::string(k) + "/3", "--output",
                         (folder / (std::string("e") + k + ".json")).string(), empty}),
                  kExitOk)
            << err.str();
    }
    EXPECT_EQ(Run({"merge-reports", (folder / "e1.json").string(), (folder / "e2.json").string()}), kExitError);
    EXPECT_NE(err.str().find("3/3 are missing"), std::string::npos) << err.str();
}

// A page's share is the same whether its folder or the page itself is named,
// as long as the names start from the same folder.
TEST_F(BatchRuns, APageHasOneShareWhetherItsFolderOrItselfIsNamed)
{
    const std::string site = Site("site");
    const fs::path before = fs::current_path();
    fs::current_path(site);
    auto share = [&](Arguments paths) {
        Arguments args{"--format", "json", "--shard", "1/2"};
        args.insert(args.end(), paths.begin(), paths.end());
        EXPECT_NE(Check(args), kExitError) << err.str();
        const json report = json::parse(out.str());
        std::set<std::string> names;
        for (const json& file : report["files"])
            names.insert(fs::path(file["path"].get<std::string>()).lexically_normal().generic_string());
        return names;
    };
    Arguments pages, dotted;
    for (const auto& entry : fs::recursive_directory_iterator(".")) {
        if (entry.is_regular_file()) {
            pages.push_back(entry.path().lexically_normal().generic_string());
            dotted.push_back("./" + entry.path().lexically_normal().generic_string());
        }
    }
    const std::set<std::string> byFolder = share({"."});
    const std::set<std::string> byPages = share(pages);
    const std::set<std::string> byDotted = share(dotted);
    fs::current_path(before);
    EXPECT_FALSE(byFolder.empty());
    EXPECT_LT(byFolder.size(), 14u);
    EXPECT_EQ(byPages, byFolder);
    EXPECT_EQ(byDotted, byFolder);
}

// Pages a run misses make it fail: a folder named that holds no page (a
// wrong name, most likely), and a folder that cannot be read.
TEST_F(BatchRuns, FoldersWithoutPagesOrNotReadAreErrors)
{
    fs::create_directories(folder / "empty");
    const std::string empty = (folder / "empty").string();
    EXPECT_EQ(Check({empty}), kExitError);
    EXPECT_NE(err.str().find("no page in the folder " + empty), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(Check({"--allow-empty", empty}), kExitOk) << err.str();
    EXPECT_NE(out.str().find("checked 0 of 0 page(s)"), std::string::npos) << out.str();

    const std::string site = Site("site");
    fs::create_directory_symlink(folder / "empty", folder / "site" / "linked");
    EXPECT_EQ(Check({"--format", "json", site}), kExitFindings) << err.str();
    EXPECT_NE(err.str().find("a link to a folder is not followed: " + (folder / "site" / "linked").string()),
              std::string::npos)
        << err.str();
    EXPECT_EQ(json::parse(out.str())["run"]["linksNotFollowed"].size(), 1u);

    fs::permissions(folder / "site" / "docs", fs::perms::none);
    const int status = CheckAsAnotherUser({"--format", "json", site});
    fs::permissions(folder / "site" / "docs", fs::perms::owner_all);
    EXPECT_EQ(status, kExitError);
    EXPECT_NE(err.str().find("a folder was not read: " + (folder / "site" / "docs").string()), std::string::npos)
        << err.str();
    const json report = json::parse(out.str());
    EXPECT_EQ(report["run"]["foldersNotRead"].size(), 1u);
    EXPECT_EQ(report["files"].size(), 7u);
}

// A stream that takes nothing, as standard output on a full disk.
class CFullBuffer final : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

// Where the report goes: standard output that fails is an error, "-" is
// standard output, and a report never takes the place of a page checked.
TEST_F(BatchRuns, AReportThatCannotBeWrittenOrWouldReplaceAPageIsAnError)
{
    const std::string page = Write("site/p1.html", "<html><body><img src=a.gif></body></html>\n");
    const std::string other = Write("site/p2.html", "<html lang=en><body><p>x</p></body></html>\n");
    CFullBuffer full;
    std::ostream devFull(&full);
    std::ostringstream errors;
    EXPECT_EQ(RunMain({"check", "--no-registry", page}, devFull, errors), kExitError);
    EXPECT_NE(errors.str().find("could not be written to standard output"), std::string::npos) << errors.str();

    EXPECT_EQ(Check({"--output", "-", page}), kExitFindings) << err.str();
    EXPECT_NE(out.str().find(page + ":"), std::string::npos) << out.str();
    EXPECT_FALSE(fs::exists("-"));

    const std::string original = test::ReadFileBytes(page);
    EXPECT_EQ(Check({"--output", page, page, other}), kExitError);
    EXPECT_NE(err.str().find(page + " is one of the inputs"), std::string::npos) << err.str();
    EXPECT_EQ(Check({"--output", (folder / "site" / "." / "p2.html").string(), (folder / "site").string()}),
              kExitError);
    EXPECT_EQ(test::ReadFileBytes(page), original);
    EXPECT_EQ(Check({"--output", "--all", page}), kExitError);
    EXPECT_NE(err.str().find("--output takes a file name"), std::string::npos) << err.str();
    EXPECT_FALSE(fs::exists("--all"));
}

// The command line as other programs read theirs: "--" ends the options,
// "--name=value" gives a value, and an option with a value is given once.
TEST_F(BatchRuns, OptionsEndAtTwoDashesTakeValuesAfterEqualsAndAreGivenOnce)
{
    const std::string dashed = Write("--odd.html", "<html><body><img src=a.gif></body></html>\n");
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    const int ended = Check({"--format=json", "--level=A", "--", "--odd.html"});
    fs::current_path(before);
    EXPECT_EQ(ended, kExitFindings) << err.str();
    const json report = json::parse(out.str());
    EXPECT_EQ(report["summary"]["target"], "A");
    EXPECT_EQ(report["files"][0]["path"], "--odd.html");

    EXPECT_EQ(Check({"--level", "A", "--level", "AA", dashed}), kExitError);
    EXPECT_NE(err.str().find("--level is given more than once"), std::string::npos) << err.str();
    EXPECT_EQ(Check({"--all=yes", dashed}), kExitError);
    EXPECT_NE(err.str().find("--all takes no value"), std::string::npos) << err.str();
    EXPECT_EQ(Check({"--level=B", dashed}), kExitError);
    EXPECT_NE(err.str().find("--level takes"), std::string::npos) << err.str();
}

TEST_F(BatchRuns, AFolderRunWithoutATerminalWritesNoProgress)
{
    // Under ctest standard error is no terminal; run by hand on one, the test
    // sees the progress a person would.
    const bool terminal = platform::StandardErrorIsTerminal();
    const std::string site = Site("site");
    EXPECT_EQ(Check({site}), kExitFindings) << err.str();
    EXPECT_EQ(err.str().find("\r[0/14] ") != std::string::npos, terminal) << err.str();
    if (!terminal) {
        EXPECT_EQ(err.str(), "");
    }
    EXPECT_EQ(Check({"--quiet", site}), kExitFindings) << err.str();
    EXPECT_EQ(err.str(), "");
}

TEST(ProgressLine, ShowsFilesDoneOfAllAndTheCurrentFileOnOneLine)
{
    EXPECT_TRUE(ShowsProgress(false, true));
    EXPECT_FALSE(ShowsProgress(true, true));
    EXPECT_FALSE(ShowsProgress(false, false));

    std::ostringstream terminal;
    {
        ProgressLine progress(terminal, 340, true);
        progress.Starting("site/index.html");
        progress.Finished();
        progress.Starting("site/a.html");
        EXPECT_EQ(terminal.str(), "\r[0/340] site/index.html\r[1/340] site/a.html    ");
        terminal.str("");
        progress.Finished();
        progress.Starting(std::string(50, 'd') + "/" + "n\xc3\xa4me.html");
        EXPECT_EQ(terminal.str(), "\r[2/340] ..." + std::string(46, 'd') + "/n\xc3\xa4me.html");
        terminal.str("");
    }
    // Cleared at the end, so that the report starts on a clean line.
    EXPECT_EQ(terminal.str(), "\r" + std::string(68, ' ') + "\r");

    std::ostringstream quiet;
    ProgressLine hidden(quiet, 340, false);
    hidden.Starting("site/index.html");
    hidden.End();
    ProgressLine single(quiet, 1, true);
    single.Starting("page.html");
    single.End();
    EXPECT_EQ(quiet.str(), "");
}

} // namespace
} // namespace orvane::cli
