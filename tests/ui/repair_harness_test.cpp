// Every repair page, on pages nobody here wrote, walked as users walk the
// wizard: the proposal of every page, then each other answer the pages offer.
// What each walk must leave behind is in tests/support/repair_walk.h. A page
// added, or a page's answers changed, is reached here without a test of its own.
#include "ui_fixture.h"

#include "common/orvane_settings.h"
#include "library/html/tag_table.h"
#include "library/rules/rule_findings.h"
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
    std::string tables = answers.tables == table_type::kData     ? ", tables taken as data tables"
                         : answers.tables == table_type::kLayout ? ", tables taken as layout tables"
                                                                 : "";
    if (!answers.typed.empty())
        tables += ", \"" + std::string(answers.typed) + "\" typed where a text is asked for";
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
// radio button, merged pages unmerged, tables taken as either type, and words
// typed wherever a page asks for a text.
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
        // A user who writes every text a page asks for, not only where it
        // will not go on without one.
        Walk(file, {.tables = table_type::kData, .typed = kWrittenWords});
    }
    if (!std::getenv("ORVANE_REPAIR_PAGE")) {
        EXPECT_GT(walked, 20);
    }
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
// them (every proposal, and words typed where a page asks for a text; whether
// the problems are gone aside), so that they are replayed by every build, not
// only the fuzzing one.
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
        for (const std::string_view typed : {std::string_view(), kWrittenWords}) {
            const RepairWalk walk = WalkRepairs(page, path, settings, {.typed = typed, .assertions = 1u | 2u | 8u});
            EXPECT_EQ(walk.failure, "") << entry.path().filename() << (typed.empty() ? "" : ", words typed")
                                        << "\nwritten:\n" << walk.written;
        }
        ++walked;
    }
    if (!std::getenv("ORVANE_REPAIR_PAGE")) {
        EXPECT_GT(walked, 8);
    }
}

// At a WCAG 2.2 target the wizard opens, for each rule's finding that a page
// of the checks mends, that page on that element: walked with every
// proposal, and again as a user who writes the texts the pages ask for, the
// finding is gone when the page written is judged again, nothing else
// changes and undo gives the page back (the walk's assertions).
class RuleFindingRepairHarnessTest : public RepairRunAtLevelTest<level::kWcag22AA> {};

TEST_F(RuleFindingRepairHarnessTest, EveryFindingAPageMendsIsGoneAfterItsProposal)
{
    constexpr std::string_view kHead = "<!DOCTYPE html>\n<html lang=\"en\">\n<head><title>Harbour</title></head>\n";
    // The text alternative pages propose no words of their own: what mends
    // their findings is the user's text, which the page written must carry
    // where it names the element (wordsWritten).
    constexpr std::string_view kWords = "Boats in the bay";
    const struct {
        std::string_view rule;
        std::string page;
        std::string_view wordsWritten = {};
    } kPages[] = {
        {"image-non-empty-accessible-name",
         std::string(kHead) + "<body>\n<p>Boats <img src=\"boat.png\" width=\"300\" height=\"200\"> in the bay.</p>\n</body>\n</html>\n",
         "<img src=\"boat.png\" alt=\"Boats in the bay\" width=\"300\" height=\"200\">"},
        {"image-button-non-empty-accessible-name",
         std::string(kHead) + "<body>\n<form action=\"go\"><p><input type=\"image\" src=\"go.png\"></p></form>\n</body>\n</html>\n",
         "<input type=\"image\" src=\"go.png\" alt=\"Boats in the bay\">"},
        {"form-field-non-empty-accessible-name",
         std::string(kHead) + "<body>\n<form action=\"find\"><p><input type=\"text\" name=\"q\"></p></form>\n</body>\n</html>\n"},
        {"html-page-lang",
         "<!DOCTYPE html>\n<html>\n<head><title>Harbour</title></head>\n<body>\n<p>The harbour opens at six in the "
         "morning and the ferries to the islands leave every hour until the evening.</p>\n</body>\n</html>\n"},
        {"html-page-non-empty-title",
         "<!DOCTYPE html>\n<html lang=\"en\">\n<head><title></title></head>\n<body>\n<p>Harbour times.</p>\n</body>\n</html>\n"},
        {"meta-refresh-no-delay",
         "<!DOCTYPE html>\n<html lang=\"en\">\n<head><title>Harbour</title><meta http-equiv=\"refresh\" "
         "content=\"30\"></head>\n<body>\n<p>Harbour times.</p>\n</body>\n</html>\n"},
    };
    // The language chosen last is what the language page proposes; a page too
    // short to tell its language by would propose none.
    settings.SetText1(tag::kHtml, 0x2, "en");
    for (const auto& row : kPages) {
        const std::string_view rule = row.rule;
        const std::string& page = row.page;
        const auto findsRule = [&](std::string_view markup) {
            CHtmlDocument judged(CFamilyElementFactory::Instance());
            judged.Start(1, false);
            std::istringstream in{std::string(markup)};
            EXPECT_EQ(judged.Load(in), 1);
            const auto findings = rules::CheckWcag22(judged, rules::Wcag22Target::kAA);
            return std::any_of(findings.begin(), findings.end(), [&](const rules::RuleFinding& finding) {
                return finding.rule->id == rule && !finding.cannotTell;
            });
        };
        ASSERT_TRUE(findsRule(page)) << rule;
        const std::string path = InFolder(std::string(rule) + ".html");
        std::ofstream(path, std::ios::binary) << page;
        // Every proposal, then each other answer the pages offer, each taken
        // as it is proposed and with the user's words: each walk holds the
        // walk's assertions, and some answer repairs what the rule finds.
        bool mended = false;
        for (const std::string_view typed : {std::string_view(), kWords}) {
            const std::string how = typed.empty() ? "proposals" : "words typed";
            for (int radio = 0, radios = 0; radio <= radios; ++radio) {
                const RepairWalk walk = WalkRepairs(page, path, settings, {.radio = radio, .typed = typed});
                EXPECT_EQ(walk.failure, "") << rule << ", " << how << ", radio " << radio;
                EXPECT_EQ(walk.stillReported, "") << rule << ", " << how << ", radio " << radio;
                EXPECT_GT(walk.pages, 0) << rule;
                radios = walk.mostRadios;
                mended = mended || !findsRule(walk.written);
                if (!typed.empty() && radio == 0 && !row.wordsWritten.empty()) {
                    EXPECT_FALSE(findsRule(walk.written)) << rule << ": " << walk.written;
                    EXPECT_NE(walk.written.find(row.wordsWritten), std::string::npos) << rule << ": " << walk.written;
                }
            }
        }
        EXPECT_TRUE(mended) << rule;
    }
}

} // namespace
} // namespace orvane::test
