// The reports of fixed pages, held against fingerprints of the reports they
// gave when recorded: work on the speed of loading, checking and writing must
// not change a single byte of what users get. A change of the checks that is
// meant to change the reports records new fingerprints (the failure message
// names them, and where the report was left to compare).
#include "bench/page_generator.h"
#include "cli/commands.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "platform/bundle_strings.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

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

    std::string Report(const std::string& format, const std::vector<std::string>& pages)
    {
        Arguments args{"check", "--no-registry", "--format", format, "--level", "AAA", "--all", "--jobs", "2"};
        args.insert(args.end(), pages.begin(), pages.end());
        std::ostringstream out;
        std::ostringstream err;
        RunMain(args, out, err);
        EXPECT_EQ(err.str(), "");
        return out.str();
    }

    void ExpectFingerprint(const std::string& report, std::uint64_t recorded, const std::string& name)
    {
        const std::uint64_t now = Fingerprint(report);
        if (now == recorded)
            return;
        fs::path kept = fs::temp_directory_path() / ("orvane-report-" + name);
        std::ofstream(kept, std::ios::binary) << report;
        ADD_FAILURE() << "the report " << name << " changed: fingerprint 0x" << std::hex << now << " instead of 0x"
                      << recorded << "; it is kept in " << kept.string();
    }
};

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
    ExpectFingerprint(WithoutFolder(Report("json", pages), folder.string()), 0x39deb7f02bc06dull, "generated.json");
    ExpectFingerprint(WithoutFolder(Report("text", pages), folder.string()), 0x4f4b4b7b12e75cc3ull, "generated.text");
    fs::remove_all(folder);
}

TEST_F(RecordedReports, CorpusPagesGiveTheRecordedReport)
{
    std::vector<std::string> pages = test::CorpusPages();
    if (pages.empty())
        GTEST_SKIP() << "no corpus beside the project";
    ExpectFingerprint(WithoutFolder(Report("json", pages), test::CorpusDirectory()), 0x330905bb59ef7318ull, "corpus.json");
}

} // namespace
} // namespace orvane::cli
