// The reports of fixed pages, held against what they gave when recorded.
//
// The examples and a fixed part of the corpus are held against golden files
// in tests/cli/golden: per page each problem's check, line, column, text and
// WCAG 2 criteria, and the examples' whole SARIF, JUnit and HTML reports, so
// that a change of the checks shows as a diff to review. After a change that
// is meant, ORVANE_RECORD_GOLDEN=1 writes the files anew (run the test
// program once with it set, then review and commit the diff).
//
// Large generated pages are held against fingerprints: work on the speed of
// loading, checking and writing must not change a single byte of what users
// get (the failure message names the new fingerprint, and where the report
// was left to compare).
#include "bench/page_generator.h"
#include "cli/commands.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "platform/bundle_strings.h"
#include "tests/support/test_support.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;

std::uint64_t Fingerprint(std::string_view bytes)
{
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// The folder the pages lie in is named the same wherever the test runs.
std::string WithoutFolder(std::string report, const std::string& folder)
{
    for (std::size_t at; (at = report.find(folder)) != std::string::npos;)
        report.replace(at, folder.size(), "PAGES");
    return report;
}

class RecordedReports : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        platform::InstallBundleStrings("OrvaneResources.rcc");
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
    }

    std::string Report(const std::string& format, const std::vector<std::string>& pages, const Arguments& more = {})
    {
        Arguments args{"check", "--no-registry", "--format", format, "--level", "AAA", "--all", "--jobs", "2"};
        args.insert(args.end(), more.begin(), more.end());
        args.insert(args.end(), pages.begin(), pages.end());
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunMain(args, out, err), kExitFindings) << err.str();
        EXPECT_EQ(err.str(), "");
        return out.str();
    }

    void ExpectFingerprint(const std::string& report, std::uint64_t recorded, const std::string& name)
    {
        const std::uint64_t now = Fingerprint(report);
        if (now == recorded)
            return;
        const char* home = std::getenv("ORVANE_HOME");
        fs::path kept = fs::path(home ? home : ".") / ("orvane-report-" + name);
        std::ofstream(kept, std::ios::binary) << report;
        ADD_FAILURE() << "the report " << name << " changed: fingerprint 0x" << std::hex << now << " instead of 0x"
                      << recorded << "; it is kept in " << kept.string();
    }
};

// The findings of a JSON report as the golden files keep them: per page
// (named without its folder) each problem's check, place, text and criteria.
std::string Findings(const std::string& report, const std::string& folder)
{
    using nlohmann::json;
    const json document = json::parse(report);
    json pages = json::array();
    for (const json& file : document.at("files")) {
        json problems = json::array();
        for (const json& problem : file.value("problems", json::array())) {
            json criteria = json::array();
            for (const json& criterion : problem.value("wcag2", json::array()))
                criteria.push_back(criterion.at("number"));
            problems.push_back({{"check", problem.at("check")},
                                {"line", problem.at("line")},
                                {"column", problem.at("column")},
                                {"text", problem.at("text")},
                                {"criteria", criteria}});
        }
        std::string path = file.at("path").get<std::string>();
        if (path.rfind(folder, 0) == 0)
            path = path.substr(folder.size() + 1);
        pages.push_back({{"page", path}, {"problems", problems}});
    }
    return pages.dump(1) + "\n";
}

// Compares a report with its golden file, or records it there when asked.
void ExpectGolden(const std::string& report, const std::string& name)
{
    const std::string golden = std::string(ORVANE_GOLDEN_DIR) + "/" + name;
    const char* record = std::getenv("ORVANE_RECORD_GOLDEN");
    if (record && std::string(record) == "1") {
        std::ofstream(golden, std::ios::binary | std::ios::trunc) << report;
        return;
    }
    ASSERT_TRUE(fs::exists(golden)) << golden << " is missing; ORVANE_RECORD_GOLDEN=1 records it";
    const std::string expected = test::ReadFileBytes(golden);
    if (expected == report)
        return;
    const char* home = std::getenv("ORVANE_HOME");
    const fs::path kept = fs::path(home ? home : ".") / name;
    std::ofstream(kept, std::ios::binary) << report;
    ADD_FAILURE() << "the report differs from " << golden << "; what it is now is in " << kept.string()
                  << " (diff the two; ORVANE_RECORD_GOLDEN=1 records it when the change is meant)";
}

TEST_F(RecordedReports, ExamplesGiveTheGoldenReports)
{
    std::vector<std::string> pages;
    for (const auto& entry : fs::directory_iterator(ORVANE_EXAMPLES_DIR)) {
        if (entry.is_regular_file() && entry.path().extension() == ".html")
            pages.push_back(entry.path().string());
    }
    std::sort(pages.begin(), pages.end());
    ASSERT_GT(pages.size(), 10u);
    const std::string folder = fs::path(ORVANE_EXAMPLES_DIR).string();
    ExpectGolden(Findings(Report("json", pages), folder), "examples.json");

    // The other forms whole, for three pages of different kinds.
    const std::vector<std::string> few = {folder + "/booking.html", folder + "/departures.html",
                                          folder + "/harbour-frames.html"};
    ExpectGolden(WithoutFolder(Report("sarif", few), folder), "examples.sarif");
    ExpectGolden(WithoutFolder(Report("junit", few), folder), "examples.junit.xml");
    ExpectGolden(WithoutFolder(Report("html", few, {"--help-base", "https://help.example/"}), folder),
                 "examples.report.html");
}

TEST_F(RecordedReports, PartOfTheCorpusGivesTheGoldenReport)
{
    // The smaller pages of the corpus, fixed by name, so that a page added to
    // the corpus changes nothing here.
    const std::vector<std::string> names = {"crlf-w3c-amaya-document-views.html", "crlf-w3c-libwww-webcommander.html",
                                            "legacy-debian-guide-index.htm", "legacy-httpd2000-directives.html",
                                            "legacy-httpd2000-mod_autoindex.html", "legacy-junit-cookstour.htm"};
    const std::string folder = test::CorpusDirectory();
    if (folder.empty())
        GTEST_SKIP() << "no corpus beside the project";
    std::vector<std::string> pages;
    for (const std::string& name : names)
        pages.push_back(folder + "/" + name);
    ExpectGolden(Findings(Report("json", pages), folder), "corpus.json");
}

TEST_F(RecordedReports, GeneratedPagesGiveTheRecordedReports)
{
    // The test's own home: a folder in the shared temporary folder would be
    // emptied by the same test of another build running beside this one.
    const char* home = std::getenv("ORVANE_HOME");
    ASSERT_TRUE(home && *home);
    const fs::path folder = fs::path(home) / "recorded-pages";
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::vector<std::string> pages;
    for (std::uint32_t seed = 1; seed <= 5; ++seed) {
        fs::path page = folder / ("g" + std::to_string(seed) + ".html");
        std::ofstream(page, std::ios::binary) << bench::GeneratePage(seed * 150000, seed);
        pages.push_back(page.string());
    }
    ExpectFingerprint(WithoutFolder(Report("json", pages), folder.string()), 0x696b5c9cf0aa78b3ull, "generated.json");
    ExpectFingerprint(WithoutFolder(Report("text", pages), folder.string()), 0x7587b788d94c0c3full, "generated.text");
    fs::remove_all(folder);
}

TEST_F(RecordedReports, CorpusPagesGiveTheRecordedReport)
{
    std::vector<std::string> pages = test::CorpusPages();
    if (pages.empty())
        GTEST_SKIP() << "no corpus beside the project";
    ExpectFingerprint(WithoutFolder(Report("json", pages), test::CorpusDirectory()), 0x3b77f1251f99363dull, "corpus.json");
}

} // namespace
} // namespace orvane::cli
