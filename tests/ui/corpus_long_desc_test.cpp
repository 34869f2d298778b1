#include "ui_fixture.h"

#include "library/ui/pages/text_alternatives/page_img_long_desc.h"

#include <sstream>

namespace orvane::test {
namespace {

using Page = CPageImgLongDesc;

// Walks the wizard to its end, giving each page the user reaches what steps does.
void WalkEveryPage(CMemoryWindow& w, const CValidatorSheet& run, const std::function<void(CMemoryWindow&)>& steps)
{
    for (int guard = 0; guard < run.PageCount() && !w.HasEnded(); ++guard) {
        steps(w.PageWindow(w.CurrentPage()));
        w.Click(w.IsVisible(platform::kIdNext) ? platform::kIdNext : platform::kIdFinish);
    }
}

// Every image of the real pages that is reported for its long description:
// judged to need none, the page is written back byte for byte; linked to a
// description, the page written passes both long description checks.
TEST_F(RepairRunTest, TheCorpusImagesGetTheirLongDescriptionOrNoneAndNothingElseChanges)
{
    int pagesWithImages = 0;
    for (const std::string& path : CorpusPages()) {
        SCOPED_TRACE(path);
        const std::string original = ReadFileBytes(path);
        for (const bool describe : {false, true}) {
            Load(original);
            CValidatorSheet run;
            StartSheet(run, path);
            const int added = AddPages(run, [](std::string_view check) { return check == "ImgLongdesc"; });
            if (added == 0)
                break;
            pagesWithImages += describe ? 0 : 1;
            windows.WhenShown(CValidatorSheet::kTemplate, [&](CMemoryWindow& w) {
                WalkEveryPage(w, run, [&](CMemoryWindow& page) {
                    if (page.IsChecked(Page::kNotNeeded) == describe)
                        page.Click(Page::kNotNeeded);
                    if (describe) {
                        page.Click(Page::kLinkExisting);
                        page.Type(Page::kAddress, "described.html");
                    }
                });
            });
            EXPECT_EQ(run.DoModal(nullptr), platform::kIdFinish);
            if (!describe) {
                EXPECT_TRUE(document.Text() == original) << "the page changed though no image got a description";
                continue;
            }
            CHtmlDocument written{CFamilyElementFactory::Instance()};
            written.Start(1, false);
            std::istringstream in{document.Text()};
            ASSERT_EQ(written.Load(in), 1);
            for (const CFoundProblem& problem : RunCheckPass(written, settings, nullptr)) {
                const std::string name = problem.element->GetCheckName(problem.bit);
                EXPECT_TRUE(name != "ImgLongdesc" && name != "ImageDLink") << name << ": " << problem.element->GetText();
            }
        }
    }
    if (!CorpusPages().empty()) {
        EXPECT_GT(pagesWithImages, 0);
    }
}

} // namespace
} // namespace orvane::test
