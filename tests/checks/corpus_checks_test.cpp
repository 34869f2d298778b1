#include "check_fixture.h"

#include "library/html/tag_table.h"
#include "tests/support/test_support.h"

#include <map>

namespace orvane::test {
namespace {

// Problems by check, counted, leaving out the document element's own.
std::map<std::string, int> Summary(const std::vector<CFoundProblem>& problems)
{
    std::map<std::string, int> summary;
    for (const CFoundProblem& problem : problems) {
        if (problem.element->Kind() != kind::kDocument)
            ++summary[problem.element->GetCheckName(problem.bit)];
    }
    return summary;
}

using CorpusChecks = CheckedPage;

TEST_F(CorpusChecks, EveryPageChecksAlikeFromAFileAndAsOneText)
{
    std::vector<std::string> pages = CorpusPages();
    if (pages.empty())
        GTEST_SKIP() << "the page corpus is not beside the project";
    for (const std::string& path : pages) {
        std::string bytes = ReadFileBytes(path);
        Check(bytes);
        std::map<std::string, int> fromFile = Summary(found);
        CHtmlDocument asText(CFamilyElementFactory::Instance());
        asText.Start(0, false);
        asText.SetName("page.html");
        asText.AddLine(bytes);
        asText.Finish();
        EXPECT_EQ(Summary(RunCheckPass(asText, settings, nullptr)), fromFile) << path;
    }
}

} // namespace
} // namespace orvane::test
