// Every repair page, on pages nobody here wrote, walked as users walk the
// wizard: the proposal of every page, then each other answer the pages offer.
// What each walk must leave behind is in tests/support/repair_walk.h. A page
// added, or a page's answers changed, is reached here without a test of its own.
#include "ui_fixture.h"

#include "library/tables/table_record.h"
#include "tests/support/repair_walk.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <random>

namespace orvane::test {
namespace {

// The corpus is walked a share at a time, the share chosen by the seed: a run
// stays within the test budget, and a run with another seed
// (ORVANE_REPAIR_SEED) walks other pages. ORVANE_REPAIR_SHARE=all walks every one.
constexpr unsigned kCorpusSeed = 39;
constexpr std::size_t kCorpusShare = 8;

// Checks still reported after a run marked their problems repaired: each is
// open, printed when met, not counted, until its line goes with its fix.
// Answers that are a person's judgement are no repaired markup and not
// listed here: their pages say so (AnswerIsJudgement).
struct OpenFinding {
    std::string_view check;
    std::string_view reason;
};
// None is open now.
constexpr std::array<OpenFinding, 0> kStillReportedOpen{};

std::string Describe(const WalkAnswers& answers)
{
    const std::string tables = answers.tables == table_type::kData     ? ", tables taken as data tables"
                               : answers.tables == table_type::kLayout ? ", tables taken as layout tables"
                                                                       : "";
    if (answers.unmerge)
        return "every proposal, merged pages unmerged" + tables;
    if (answers.radio > 0)
        return "radio button " + std::to_string(answers.radio) + " of every page offering it" + tables;
    return "every proposal" + tables;
}

std::vector<std::filesystem::path> ExamplePages()
{
    std::vector<std::filesystem::path> pages;
    for (const auto& entry : std::filesystem::directory_iterator(ORVANE_EXAMPLES_DIR)) {
        const std::string extension = entry.path().extension().string();
        if (entry.is_regular_file() && (extension == ".html" || extension == ".htm"))
            pages.push_back(entry.path());
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

// ORVANE_REPAIR_PAGE names the one page to walk, to look into what a walk found.
bool Chosen(const std::filesystem::path& file)
{
    const char* only = std::getenv("ORVANE_REPAIR_PAGE");
    return !only || file.filename().string() == only;
}

std::vector<std::string> CorpusShare(unsigned seed)
{
    std::vector<std::string> pages = CorpusPages();
    const char* share = std::getenv("ORVANE_REPAIR_SHARE");
    if (share && std::string_view(share) == "all")
        return pages;
    std::mt19937 generator(seed);
    std::shuffle(pages.begin(), pages.end(), generator);
    pages.resize(std::min(pages.size(), kCorpusShare));
    std::sort(pages.begin(), pages.end());
    return pages;
}

class RepairHarnessTest : public RepairRunAtLevelTest<3> {
protected:
    // The page, saved in the test's folder under its name, walked with the
    // answers at AAA.
    RepairWalk Walk(const std::filesystem::path& file, const WalkAnswers& answers)
    {
        const std::string page = ReadFileBytes(file.string());
        const std::string path = InFolder(file.filename().string());
        std::ofstream(path, std::ios::binary) << page;
        RepairWalk walk = WalkRepairs(page, path, settings, answers);
        const std::string where = file.filename().string() + ", " + Describe(answers);
        EXPECT_EQ(walk.failure, "") << where;
        if (walk.stillReported.empty())
            return walk;
        const auto open = std::find_if(std::begin(kStillReportedOpen), std::end(kStillReportedOpen),
                                       [&](const OpenFinding& f) { return f.check == walk.stillReportedCheck; });
        if (open != std::end(kStillReportedOpen))
            std::cout << "open finding: " << where << ": " << walk.stillReported << " (" << open->reason << ")\n";
        else
            ADD_FAILURE() << where << ": " << walk.stillReported;
        return walk;
    }
};

// Every example page, with every answer the pages offer: the proposals, each
// radio button, merged pages unmerged, and tables taken as either type.
TEST_F(RepairHarnessTest, EveryExamplePageTakesEveryAnswerAndGivesItBack)
{
    int walked = 0;
    for (const std::filesystem::path& file : ExamplePages()) {
        if (!Chosen(file))
            continue;
        // Tables as data tables, where most pages are; then as layout tables.
        const RepairWalk proposals = Walk(file, {.tables = table_type::kData});
        walked += proposals.pages > 0;
        for (int radio = 1; radio <= proposals.mostRadios; ++radio)
            Walk(file, {.radio = radio, .tables = table_type::kData});
        if (proposals.offeredMerge)
            Walk(file, {.unmerge = true, .tables = table_type::kData});
        Walk(file, {.tables = table_type::kLayout});
    }
    if (!std::getenv("ORVANE_REPAIR_PAGE"))
        EXPECT_GT(walked, 20);
}

// The corpus pages of the seed's share (all of them with ORVANE_REPAIR_SHARE=all),
// every proposal taken.
TEST_F(RepairHarnessTest, AShareOfTheCorpusTakesEveryProposalAndGivesItBack)
{
    if (CorpusDirectory().empty())
        GTEST_SKIP() << "no corpus beside the project";
    const char* seedText = std::getenv("ORVANE_REPAIR_SEED");
    const unsigned seed = seedText ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10)) : kCorpusSeed;
    RecordProperty("seed", static_cast<int>(seed));
    for (const std::string& path : CorpusShare(seed)) {
        if (Chosen(path))
            Walk(path, {.tables = table_type::kData});
    }
}

// The pages the repair walk fuzz target found faults on, walked as it walks
// them (every proposal; what the user types aside), so that they are
// replayed by every build, not only the fuzzing one.
TEST_F(RepairHarnessTest, ThePagesFuzzingFoundKeepTheWalksInvariants)
{
    const std::filesystem::path folder = std::filesystem::path(ORVANE_SOURCE_DIR) / "fuzz" / "regressions" / "page";
    int walked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.path().filename().string().starts_with("repair-walk-") || !Chosen(entry.path()))
            continue;
        const std::string page = ReadFileBytes(entry.path().string());
        const std::string path = InFolder(entry.path().filename().string());
        std::ofstream(path, std::ios::binary) << page;
        const RepairWalk walk = WalkRepairs(page, path, settings, {.assertions = 1u | 2u | 8u});
        EXPECT_EQ(walk.failure, "") << entry.path().filename();
        ++walked;
    }
    if (!std::getenv("ORVANE_REPAIR_PAGE"))
        EXPECT_GT(walked, 8);
}

} // namespace
} // namespace orvane::test
